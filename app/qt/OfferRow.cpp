#include "app/qt/OfferRow.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "app/qt/ProgressRow.h"

namespace tolvek::desktop {

namespace {

constexpr int kTextLeft = 16;
constexpr int kAcceptLeft = 224;
constexpr int kButtonTop = 21;
constexpr int kButtonWidth = 105;
constexpr int kButtonHeight = 22;

}  // namespace

OfferRow::OfferRow(QWidget* parent)
    : QWidget(parent),
      m_text(new QLabel(this)),
      m_accept(new QPushButton(this)),
      m_decline(new QPushButton(this)) {
    setObjectName(QStringLiteral("OfferRow"));
    setGeometry(kProgressRowArea);
    m_text->setObjectName(QStringLiteral("OfferText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setGeometry(kTextLeft, 2, 425, 18);
    m_accept->setObjectName(QStringLiteral("OfferAcceptButton"));
    m_accept->setGeometry(kAcceptLeft, kButtonTop, kButtonWidth, kButtonHeight);
    m_decline->setObjectName(QStringLiteral("OfferDeclineButton"));
    m_decline->setGeometry(336, kButtonTop, kButtonWidth, kButtonHeight);
    connect(m_accept, &QPushButton::clicked, this, &OfferRow::accepted);
    connect(m_decline, &QPushButton::clicked, this, &OfferRow::declined);
    hide();
}

void OfferRow::display(const window::OfferDisplay& offer) {
    // A long digest or name does not fit: the label shows where the text starts, the tooltip
    // all of it.
    const QString text = QString::fromStdString(offer.text);
    m_text->setText(m_text->fontMetrics().elidedText(text, Qt::ElideRight, m_text->width()));
    m_text->setToolTip(text);
    m_accept->setText(QString::fromStdString(offer.acceptCaption));
    m_accept->setVisible(!offer.acceptCaption.empty());
    fitAcceptCaption();
    m_decline->setText(QString::fromStdString(offer.declineCaption));
    // "Dismiss" alone does not say what: a screen reader reads the row's text with each button.
    for (QPushButton* button : {m_accept, m_decline}) {
        button->setAccessibleDescription(text);
    }
    show();
}

// A caption that names an algorithm ("Check with BLAKE2b-512") may not fit the button's usual
// width: the button grows to the left, its right edge where it was.
void OfferRow::fitAcceptCaption() {
    const int right = kAcceptLeft + kButtonWidth;
    const int width = std::clamp(m_accept->sizeHint().width(), kButtonWidth, right - kTextLeft);
    m_accept->setGeometry(right - width, kButtonTop, width, kButtonHeight);
}

}  // namespace tolvek::desktop
