// Files dropped on a widget: the names as the port hands them on, joined by one carriage
// return in the order the drag source lists them.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QMimeData;
class QUrl;

namespace tolvek::desktop {

// The bytes of the local file name that `url` carries, as the system spells it: a name that
// is not UTF-8 keeps its bytes instead of turning into replacement characters.
std::string LocalFileName(const QUrl& url);

// The local files that `data` carries, joined by '\r'; nothing when it carries none.
std::optional<std::string> DroppedFileNames(const QMimeData& data);

// Receives dropped file names joined by '\r'.
using DropHandler = std::function<void(const std::string& names)>;

// Takes file drops away from the widgets it watches and hands the names to `onDrop`, or to
// `onCtrlDrop` when there is one and Ctrl is held at the drop; every other drag (text dragged
// into an edit field) goes on to the widget as usual.
class FileDropFilter final : public QObject {
public:
    FileDropFilter(QObject* parent, DropHandler onDrop, DropHandler onCtrlDrop = {});

    // Watches `widget`, and lets it accept drops.
    void watch(QWidget& widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DropHandler m_onDrop;
    DropHandler m_onCtrlDrop;
};

}  // namespace tolvek::desktop
