#include "app/qt/AboutWindow.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include "app/window/Product.h"
#include "app/qt/ModalResults.h"
#include "app/qt/Resources.h"
#include "app/qt/WindowFonts.h"

namespace tolvek::desktop {

namespace {

constexpr QPoint kScreenPosition{431, 286};
constexpr QSize kClientSize{303, 217};
constexpr QRect kOkButtonGeometry{120, 192, 64, 22};
constexpr int kPanelHeight = 183;

// Places inside the panel.
constexpr QRect kCreditGeometry{-1, 65, 297, 24};
constexpr QRect kFreewareGeometry{103, 93, 64, 22};
constexpr QRect kWebGeometry{39, 112, 177, 22};
constexpr QRect kMailGeometry{39, 153, 185, 22};
constexpr QRect kContactGeometry{39, 133, 177, 22};
constexpr QRect kNameGeometry{55, 13, 200, 35};
constexpr QRect kPictureGeometry{7, 7, 38, 38};

const QColor kCreditBackground{0, 128, 128};
const QColor kLinkColour{0, 0, 255};
const QColor kNameColour{240, 251, 255};
constexpr int kShadowDepth = 1;

// A label that reports a left click.
class LinkLabel final : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            m_onClick();
        }
    }

private:
    std::function<void()> m_onClick;
};

// A label whose text is drawn over a copy of itself shifted down and right in the shadow
// colour.
class ShadowLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        const QRect area = contentsRect();
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawText(area.translated(kShadowDepth, kShadowDepth), int(alignment()), text());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, int(alignment()), text());
    }
};

// Names and places a label made inside the panel.
template <typename Label>
Label* place(Label* label, const char* name, QRect geometry) {
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    return label;
}

void setColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

AboutWindow::AboutWindow(QWidget* owner, LinkHandler onLink)
    : QDialog(owner), m_onLink(std::move(onLink)) {
    setWindowTitle(fromUtf8(window::kAboutTitle));
    move(kScreenPosition);
    setFixedSize(kClientSize);
    setFont(WindowFont());

    auto* okButton = new QPushButton(fromUtf8(window::kAboutOkCaption), this);
    okButton->setObjectName(QStringLiteral("OkButton"));
    okButton->setGeometry(kOkButtonGeometry);
    connect(okButton, &QPushButton::clicked, this,
            [this] { done(ModalCode(window::ModalResult::Ok)); });

    createPanel();
    okButton->setFocus();
}

void AboutWindow::createPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(0, 0, kClientSize.width(), kPanelHeight);

    QLabel* credit =
        place(new QLabel(fromUtf8(window::kMakerCredit), panel), "CreditLabel", kCreditGeometry);
    credit->setAlignment(Qt::AlignCenter);
    credit->setAutoFillBackground(true);
    setColour(*credit, QPalette::Window, kCreditBackground);

    place(new QLabel(fromUtf8(window::kAboutFreeware), panel), "FreewareLabel", kFreewareGeometry);

    // The web line names the site by its host; like the contact line it opens the contact page.
    const QString webSite = QUrl(fromUtf8(window::kWebSiteAddress)).host();
    addLink(*panel, "WebLabel", kWebGeometry, webSite, window::AboutLink::WebSite);
    addLink(*panel, "MailLabel", kMailGeometry, fromUtf8(window::kTranslationContact),
            window::AboutLink::Mail);
    addLink(*panel, "ContactLabel", kContactGeometry, fromUtf8(window::kContactLabelText),
            window::AboutLink::ContactForm);

    auto* name =
        place(new ShadowLabel(fromUtf8(tolvek::kProductName), panel), "NameLabel", kNameGeometry);
    name->setFont(NameFont());
    setColour(*name, QPalette::WindowText, kNameColour);

    auto* picture = place(new QLabel(panel), "Picture", kPictureGeometry);
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setLineWidth(1);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(AboutPicture());
}

void AboutWindow::addLink(QWidget& panel, const char* name, QRect geometry, const QString& text,
                          window::AboutLink link) {
    auto* label =
        place(new LinkLabel(text, &panel, [this, link] { m_onLink(link); }), name, geometry);
    label->setFont(LinkFont(text, geometry.width()));
    setColour(*label, QPalette::WindowText, kLinkColour);
}

void AboutWindow::reject() {
    done(ModalCode(window::ModalResult::Closed));
}

}  // namespace tolvek::desktop
