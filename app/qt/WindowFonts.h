// The fonts of the windows: the desktop's sans-serif family at sizes comparable to the small
// dialog font the layout was measured in.
#pragma once

#include <QFont>

namespace tolvek::desktop {

// The main window, the string-input and About windows and their controls.
QFont WindowFont();

// The About window's clickable lines: underlined, in the largest size whose cell is at most 17
// pixels high and at which `text` fits `width` pixels.
QFont LinkFont(const QString& text, int width);

// The About window's product name.
QFont NameFont();

}  // namespace tolvek::desktop
