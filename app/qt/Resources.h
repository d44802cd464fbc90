// The program's pictures from its compiled-in resources: the main window's icon ("MAINICON")
// and the About window's picture ("FORM3_IMAGELIST1").
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tolvek::desktop {

// The icon group in every size it holds.
QIcon MainIcon();

// The 32 x 32 About picture with its white pixels transparent.
QPixmap AboutPicture();

}  // namespace tolvek::desktop
