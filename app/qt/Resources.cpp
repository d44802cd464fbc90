#include "app/qt/Resources.h"

#include <QBitmap>
#include <QDir>
#include <QFileInfo>

// The resources live in a static library; the executable only links them in when something
// references them, which this call does. It must stand outside any namespace.
static void initTolvekResources() {
    Q_INIT_RESOURCE(tolvek);
}

namespace tolvek::desktop {

QIcon MainIcon() {
    initTolvekResources();
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/MAINICON")).entryInfoList()) {
        icon.addFile(size.filePath());
    }
    return icon;
}

QPixmap AboutPicture() {
    initTolvekResources();
    QPixmap picture(QStringLiteral(":/FORM3_IMAGELIST1"));
    picture.setMask(picture.createMaskFromColor(Qt::white));
    return picture;
}

}  // namespace tolvek::desktop
