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

void OfferRow::display(const window::OfferDisplay& offer) {
    // A long digest or name does not fit: the label shows where the text starts, the tooltip
    // all of it.
    const QString text = QString::fromStdString(offer.text);
    m_text->setText(m_text->fontMetrics().elidedText(text, Qt::ElideRight, m_text->width()));
    m_text->setToolTip(text);
    m_accept->setText(QString::fromStdString(offer.acceptCaption));
    m_accept->setVisible(!offer.acceptCaption.empty());
    m_decline->setText(QString::fromStdString(offer.declineCaption));
    show();
}

}  // namespace tolvek::desktop
