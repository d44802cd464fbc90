#include "app/qt/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tolvek::desktop {

std::string LocalFileName(const QUrl& url) {
    QByteArray name = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    // A host makes the name a network path, as QUrl::toLocalFile gives it.
    if (const QString host = url.host(); !host.isEmpty()) {
        name.prepend(QByteArray("//") + host.toUtf8());
    }
    return name.toStdString();
}

std::optional<std::string> DroppedFileNames(const QMimeData& data) {
    std::optional<std::string> names;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        if (names) {
            names->push_back('\r');
        } else {
            names.emplace();
        }
        names->append(LocalFileName(url));
    }
    return names;
}

FileDropFilter::FileDropFilter(QObject* parent, DropHandler onDrop, DropHandler onCtrlDrop)
    : QObject(parent), m_onDrop(std::move(onDrop)), m_onCtrlDrop(std::move(onCtrlDrop)) {}

void FileDropFilter::watch(QWidget& widget) {
    widget.setAcceptDrops(true);
    widget.installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drag = static_cast<QDropEvent*>(event);
    const std::optional<std::string> names = DroppedFileNames(*drag->mimeData());
    if (!names) {
        return false;
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop) {
        const bool ctrlHeld = drag->modifiers().testFlag(Qt::ControlModifier);
        (ctrlHeld && m_onCtrlDrop ? m_onCtrlDrop : m_onDrop)(*names);
    }
    return true;
}

}  // namespace tolvek::desktop
