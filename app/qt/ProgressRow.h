// The progress display of the main window: a row below the fifteen controls, shown only while
// a long file hash runs (and a moment after it was cancelled), so that no control moves.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/window/WindowSystem.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tolvek::desktop {

// The row's place: the window's client area grows by its height while it is shown.
inline constexpr QRect kProgressRowArea{0, 198, 453, 46};

class ProgressRow final : public QWidget {
    Q_OBJECT

public:
    // `onCancel` runs when its Cancel button is clicked; `onGone` when it hides itself a few
    // seconds after showing that there is nothing left to cancel.
    ProgressRow(QWidget* parent, std::function<void()> onCancel, std::function<void()> onGone);

    void display(const window::ProgressDisplay& display);

private:
    void placeTexts(const QString& subject, const QString& state);

    QLabel* m_subject;
    QProgressBar* m_bar;
    QLabel* m_state;
    QPushButton* m_cancel;
    QTimer m_goneTimer;
};

}  // namespace tolvek::desktop
