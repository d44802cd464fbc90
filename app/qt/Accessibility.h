// What the windows tell screen readers beyond their captions: accessible texts applied to
// widgets, the window role of our top-level windows, an announcer for changes that take no
// focus, and the shortcuts' keys.
#pragma once

#include <QKeySequence>
#include <QTimer>
#include <QWidget>
#include <string>
#include <string_view>

#include "app/window/WindowSystem.h"

namespace tolvek::desktop {

// Top-level windows built on a plain QWidget are windows (a "frame" on Linux), not fillers, and
// an Announcer is a notification. Installed once, before the first window is built.
void InstallAccessibleRoles();

// Sets a widget's accessible name and description; empty ones leave its caption or label.
void ApplyAccessibleText(QWidget& widget, const window::AccessibleText& text);
// The same for the child of `parent` named `objectName`.
void ApplyAccessibleText(QWidget& parent, const char* objectName,
                         const window::AccessibleText& text);

// Keys given in the portable form, "Ctrl+Shift+V".
inline QKeySequence ShortcutKeys(std::string_view keys) {
    return QKeySequence(QString::fromLatin1(keys.data(), static_cast<qsizetype>(keys.size())),
                        QKeySequence::PortableText);
}

// An invisible notification inside a window: what it says is announced by screen readers as a
// notification that has just been shown, without taking the focus. Qt 6.4 has no announcement
// event of its own.
class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget& window);

    // Nothing is said while the window is hidden.
    void say(const std::string& text);

private:
    // Hides the notification once it has been read, so that no old news stays in the window.
    QTimer m_heardTimer;
};

}  // namespace tolvek::desktop
