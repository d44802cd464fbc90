#include "app/qt/ProgressRow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <chrono>

namespace tolvek::desktop {

namespace {

// How long "Cancelled" stays before the row goes and the window takes its own size again.
constexpr std::chrono::seconds kEndedShownFor{4};

// The first line holds the subject on the left and the figures on the right; the second the
// bar and Cancel.
constexpr QRect kTextLine{16, 4, 425, 16};
constexpr int kTextGap = 8;
// Room for rounding when the text is drawn at a scale other than 100%.
constexpr int kTextSlack = 2;

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
      m_subject(plainLabel(this, kTextLine)),
      m_bar(new QProgressBar(this)),
      m_state(plainLabel(this, kTextLine)),
      m_cancel(new QPushButton(this)) {
    setObjectName(QStringLiteral("ProgressRow"));
    setGeometry(kProgressRowArea);
    m_subject->setObjectName(QStringLiteral("ProgressSubject"));
    m_state->setObjectName(QStringLiteral("ProgressState"));
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setGeometry(16, 22, 314, 20);
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

void ProgressRow::display(const window::ProgressDisplay& display) {
    placeTexts(QString::fromStdString(display.subject), QString::fromStdString(display.state));
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

// The figures take the room they need at the right; the subject, whose file name is what may be
// long, gets the rest and gives way in its middle, its whole text in the tooltip.
void ProgressRow::placeTexts(const QString& subject, const QString& state) {
    const int stateWidth = std::min(
        m_state->fontMetrics().horizontalAdvance(state) + kTextSlack, kTextLine.width());
    m_state->setGeometry(kTextLine.right() + 1 - stateWidth, kTextLine.y(), stateWidth,
                         kTextLine.height());
    m_state->setText(state);
    const int subjectWidth = std::max(0, m_state->x() - kTextGap - kTextLine.x());
    m_subject->setGeometry(kTextLine.x(), kTextLine.y(), subjectWidth, kTextLine.height());
    m_subject->setText(
        m_subject->fontMetrics().elidedText(subject, Qt::ElideMiddle, subjectWidth));
    m_subject->setToolTip(subject);
}

}  // namespace tolvek::desktop
