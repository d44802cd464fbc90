#include "app/qt/ProgressRow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>

namespace tolvek::desktop {

namespace {

// How long "Cancelled" stays before the row goes and the window takes its own size again.
constexpr std::chrono::seconds kEndedShownFor{4};

QLabel* plainLabel(QWidget* parent, QRect place) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    return label;
}

}  // namespace

ProgressRow::ProgressRow(QWidget* parent, std::function<void()> onCancel,
                         std::function<void()> onGone)
    : QWidget(parent),
      m_subject(plainLabel(this, {16, 4, 425, 16})),
      m_bar(new QProgressBar(this)),
      m_state(plainLabel(this, {112, 22, 218, 20})),
      m_cancel(new QPushButton(this)) {
    setObjectName(QStringLiteral("ProgressRow"));
    setGeometry(kProgressRowArea);
    m_subject->setObjectName(QStringLiteral("ProgressSubject"));
    m_state->setObjectName(QStringLiteral("ProgressState"));
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setGeometry(16, 22, 90, 20);
    m_bar->setRange(0, 1000);
    m_bar->setTextVisible(false);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setGeometry(336, 21, 105, 22);
    connect(m_cancel, &QPushButton::clicked, this,
            [onCancel = std::move(onCancel)] { onCancel(); });
    m_goneTimer.setSingleShot(true);
    m_goneTimer.setInterval(kEndedShownFor);
    connect(&m_goneTimer, &QTimer::timeout, this, [onGone = std::move(onGone)] { onGone(); });
    hide();
}

void ProgressRow::display(const app::ProgressDisplay& display) {
    m_subject->setText(QString::fromStdString(display.subject));
    m_state->setText(QString::fromStdString(display.state));
    m_state->setToolTip(m_state->text());
    if (display.permille) {
        m_bar->setRange(0, 1000);
        m_bar->setValue(*display.permille);
    } else {
        m_bar->setRange(0, 0);  // a busy bar: the total is unknown
    }
    const bool cancellable = !display.cancelCaption.empty();
    m_cancel->setText(QString::fromStdString(display.cancelCaption));
    m_cancel->setVisible(cancellable);
    if (cancellable) {
        m_goneTimer.stop();
    } else {
        m_goneTimer.start();
    }
    show();
}

}  // namespace tolvek::desktop
