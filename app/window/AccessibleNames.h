// What screen readers say that nothing shows: the names and descriptions of the main window's
// controls in the current language, the keys of its shortcuts, and how a change that takes no
// focus is announced.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/window/WindowSystem.h"

namespace tolvek::window {

// The main window's shortcuts, in the portable form the window binds them in and their
// descriptions name them by.
inline constexpr std::string_view kOpenListWindowShortcut = "Ctrl+L";
inline constexpr std::string_view kPasteAndCompareShortcut = "Ctrl+Shift+V";
inline constexpr std::string_view kCancelHashShortcut = "Esc";

// The main window's accessible texts in the language `loadText` gives texts of.
AccessibleNames MainWindowAccessibleNames(const std::function<std::string(int)>& loadText);

// What a screen reader is told of a progress display: "SHA256: a.iso – 1.0 MiB of 4.0 MiB".
std::string Announcement(const ProgressDisplay& display);

}  // namespace tolvek::window
