// The product's name, version and credit, shared by the window titles and the About window.
#pragma once

#include <string_view>

namespace tolvek::app {

inline constexpr std::string_view kProductName = "TOLVEK";
inline constexpr std::string_view kMakerCredit = "(c) 1997-2009 TOLVEK team";
// The main window's title before the language texts are applied.
inline constexpr std::string_view kInitialTitle = "TOLVEK version 1.99 (c) 1997-2009 TOLVEK team";
// The version the title names, for tolvek-cli --version.
inline constexpr std::string_view kVersion = "1.99";
static_assert(kInitialTitle.find(kVersion) != std::string_view::npos);

}  // namespace tolvek::app
