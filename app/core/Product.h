// The product's name, version and credit, shared by the window titles and the About window.
#pragma once

#include <string_view>

namespace tolvek::app {

inline constexpr std::string_view kProductName = "TOLVEK";
inline constexpr std::string_view kMakerCredit = "(c) 1997-2009 TOLVEK team";
// The main window's title before the language texts are applied.
inline constexpr std::string_view kInitialTitle = "TOLVEK version 1.99 (c) 1997-2009 TOLVEK team";

}  // namespace tolvek::app
