// The offer row of the main window: what the window offers once a file hash has ended, or a
// note on the digest shown, with a control to accept (when there is something to accept) and
// one to decline, below the fifteen controls where the progress row would be, so that no
// control moves or is covered.
#pragma once

#include <QWidget>

#include "app/window/WindowSystem.h"

class QLabel;
class QPushButton;

namespace tolvek::desktop {

class OfferRow final : public QWidget {
    Q_OBJECT

public:
    explicit OfferRow(QWidget* parent);

    void display(const window::OfferDisplay& offer);

signals:
    void accepted();
    void declined();

private:
    void fitAcceptCaption();

    QLabel* m_text;
    QPushButton* m_accept;
    QPushButton* m_decline;
};

}  // namespace tolvek::desktop
