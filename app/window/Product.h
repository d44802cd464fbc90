// The product's name, version and credit, shared by the window titles and the About window.
#pragma once

#include <cstddef>
#include <string_view>

#include "app/Version.h"

namespace tolvek::window {

inline constexpr std::string_view kMakerCredit = "(c) 1997-2009 TOLVEK team";
// The main window's title before the language texts are applied.
inline constexpr std::string_view kInitialTitle = "TOLVEK version 1.99 (c) 1997-2009 TOLVEK team";
// The version, for tolvek-cli --version: the build's, which the title's fixed text must name as a
// word of its own ("1.9" inside "1.99" does not count).
inline constexpr std::string_view kVersion = kProjectVersion;
static_assert(
    [] {
        const std::size_t at = kInitialTitle.find(kVersion);
        return at != std::string_view::npos && kInitialTitle[at - 1] == ' ' &&
               kInitialTitle[at + kVersion.size()] == ' ';
    }(),
    "the window title names another version than CMake's project()");

}  // namespace tolvek::window
