#include "app/qt/StringInputWindow.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/window/SecondaryWindows.h"
#include "app/qt/MainWindowView.h"
#include "app/qt/ModalResults.h"
#include "app/qt/WindowFonts.h"

namespace tolvek::desktop {

namespace {

constexpr QPoint kScreenPosition{401, 428};
constexpr QSize kClientSize{379, 81};
constexpr QRect kFieldGeometry{16, 16, 353, 22};
constexpr QRect kOkButtonGeometry{152, 48, 64, 22};

}  // namespace

StringInputWindow::StringInputWindow(QWidget* owner)
    : QDialog(owner), m_field(NewEditField(this)) {
    setWindowTitle(QString::fromUtf8(window::kStringInputInitialTitle));
    move(kScreenPosition);
    setFixedSize(kClientSize);
    setFont(WindowFont());

    m_field->setObjectName(QStringLiteral("StringField"));
    m_field->setGeometry(kFieldGeometry);

    auto* okButton = new QPushButton(QString::fromUtf8(window::kStringInputOkCaption), this);
    okButton->setObjectName(QStringLiteral("OkButton"));
    okButton->setGeometry(kOkButtonGeometry);
    // Enter in the field stands for OK.
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this,
            [this] { done(ModalCode(window::ModalResult::Ok)); });
}

std::string StringInputWindow::text() const {
    return m_field->text().toStdString();
}

void StringInputWindow::reject() {
    done(ModalCode(window::ModalResult::Closed));
}

}  // namespace tolvek::desktop
