#include "app/qt/OfferRow.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/ProgressRow.h"

namespace tolvek::desktop {

OfferRow::OfferRow(QWidget* parent)
    : QWidget(parent),
      m_text(new QLabel(this)),
      m_accept(new QPushButton(this)),
      m_decline(new QPushButton(this)) {
    setObjectName(QStringLiteral("OfferRow"));
    setGeometry(kProgressRowArea);
    m_text->setObjectName(QStringLiteral("OfferText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setGeometry(16, 2, 425, 18);
    m_accept->setObjectName(QStringLiteral("OfferAcceptButton"));
    m_accept->setGeometry(224, 21, 105, 22);
    m_decline->setObjectName(QStringLiteral("OfferDeclineButton"));
    m_decline->setGeometry(336, 21, 105, 22);
    connect(m_accept, &QPushButton::clicked, this, &OfferRow::accepted);
    connect(m_decline, &QPushButton::clicked, this, &OfferRow::declined);
    hide();
}

void OfferRow::display(const app::OfferDisplay& offer) {
    // A long digest does not fit: the label shows where it starts, the tooltip all of it.
    m_text->setText(QString::fromStdString(offer.text));
    m_text->setToolTip(m_text->text());
    m_accept->setText(QString::fromStdString(offer.acceptCaption));
    m_decline->setText(QString::fromStdString(offer.declineCaption));
    show();
}

}  // namespace tolvek::desktop
