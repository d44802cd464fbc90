#include "app/qt/QtWindowSystem.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QStandardItemModel>
#include <QStyle>
#include <QTimer>

#include "app/window/SystemPaths.h"
#include "app/qt/AboutWindow.h"
#include "app/qt/Accessibility.h"
#include "app/qt/BoxButtons.h"
#include "app/qt/FileDrops.h"
#include "app/qt/MainWindowView.h"
#include "app/qt/ModalResults.h"
#include "app/qt/ProgressRow.h"
#include "app/qt/StringInputWindow.h"

namespace tolvek::desktop {

namespace {

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

// The labels above the edit fields: a screen reader names each field by its label.
constexpr std::pair<window::Control, window::Control> kFieldLabels[] = {
    {window::Control::HashLabel, window::Control::DigestField},
    {window::Control::CompareLabel, window::Control::CompareField},
};

QMessageBox::Icon boxIcon(window::MessageIcon icon) {
    switch (icon) {
        case window::MessageIcon::Warning:
            return QMessageBox::Warning;
        case window::MessageIcon::Information:
            return QMessageBox::Information;
        case window::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

void showMessageBox(const QString& text, const QString& caption, QMessageBox::Icon icon,
                    const window::BoxButtons& buttons) {
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok);
    NameStandardButtons(*box, buttons);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void askWithMessageBox(const QString& text, const QString& caption, QMessageBox::Icon icon,
                       const window::BoxButtons& buttons, std::function<void(bool yes)> answered) {
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Yes | QMessageBox::No);
    NameStandardButtons(*box, buttons);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setEscapeButton(QMessageBox::No);
    QObject::connect(box, &QMessageBox::finished, box, [answered = std::move(answered)](int code) {
        answered(code == QMessageBox::Yes);
    });
    box->show();
}

std::optional<QUrl> runFileDialog(QWidget* owner, const QString& initialName) {
    const QUrl chosen =
        QFileDialog::getOpenFileUrl(owner, QString(), QUrl::fromLocalFile(initialName));
    return chosen.isEmpty() ? std::nullopt : std::optional<QUrl>(chosen);
}

}  // namespace

DesktopServices DesktopServices::System() {
    return {showMessageBox, askWithMessageBox, runFileDialog,
            [](const QUrl& target) { QDesktopServices::openUrl(target); }};
}

ProgramFolders ProgramFolders::OfThisProcess() {
    return {window::ExecutableFolder(), window::ConfigFolder()};
}

QUrl TargetUrl(const std::string& target) {
    return QUrl(fromBytes(target), QUrl::TolerantMode);
}

QtWindowSystem::QtWindowSystem(MainWindowView& view, DesktopServices services,
                               ProgramFolders folders)
    : m_view(view),
      m_services(std::move(services)),
      m_folders(std::move(folders)),
      m_announcer(new Announcer(view)) {
    for (const auto& [label, field] : kFieldLabels) {
        qobject_cast<QLabel*>(&m_view.control(label))->setBuddy(&m_view.control(field));
    }
}

std::string QtWindowSystem::text(window::Control control) const {
    const QString shown = m_view.text(control);
    const auto written = m_written.find(control);
    return written != m_written.end() && written->second.shown == shown ? written->second.bytes
                                                                        : shown.toStdString();
}

void QtWindowSystem::setText(window::Control control, const std::string& text) {
    m_view.setText(control, fromBytes(text));
    m_written[control] = {text, m_view.text(control)};
}

void QtWindowSystem::setListEntries(window::Control list, const std::vector<std::string>& entries) {
    QComboBox& box = m_view.list(list);
    const QSignalBlocker quiet(box);
    box.clear();
    // Each item carries its position, which headings and another order leave unchanged.
    for (std::size_t position = 0; position < entries.size(); ++position) {
        box.addItem(fromBytes(entries[position]), static_cast<int>(position));
    }
}

int QtWindowSystem::selectedPosition(window::Control list) const {
    const QVariant position = m_view.list(list).currentData();
    return position.isValid() ? position.toInt() : -1;
}

void QtWindowSystem::selectPosition(window::Control list, int position) {
    QComboBox& box = m_view.list(list);
    box.setCurrentIndex(position >= 0 ? box.findData(position) : -1);
}

void QtWindowSystem::setListGroups(window::Control list,
                                   const std::vector<window::ListGroupDisplay>& groups,
                                   const std::vector<std::string>& tooltips) {
    QComboBox& box = m_view.list(list);
    const QSignalBlocker quiet(box);
    const int selected = selectedPosition(list);
    std::vector<QString> captions(static_cast<std::size_t>(box.count()));
    for (int row = 0; row < box.count(); ++row) {
        if (const QVariant position = box.itemData(row); position.isValid()) {
            captions.at(static_cast<std::size_t>(position.toInt())) = box.itemText(row);
        }
    }
    box.clear();
    auto& model = *qobject_cast<QStandardItemModel*>(box.model());
    int widestHeading = 0;
    for (const window::ListGroupDisplay& group : groups) {
        if (!group.heading.empty()) {
            // A heading is a bold row that cannot be chosen.
            auto* heading = new QStandardItem(fromBytes(group.heading));
            heading->setFlags(Qt::NoItemFlags);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            model.appendRow(heading);
            widestHeading = std::max(widestHeading,
                                     QFontMetrics(bold).horizontalAdvance(heading->text()));
        }
        for (const int position : group.positions) {
            const auto index = static_cast<std::size_t>(position);
            box.addItem(captions.at(index), position);
            box.setItemData(box.count() - 1, fromBytes(tooltips.at(index)), Qt::ToolTipRole);
        }
    }
    // The popup may be wider than the list's fixed size, so that no heading is cut short.
    QAbstractItemView& view = *box.view();
    const int textMargins = 4 * view.fontMetrics().averageCharWidth();
    view.setMinimumWidth(std::max(view.sizeHintForColumn(0), widestHeading + textMargins) +
                         2 * view.frameWidth() +
                         view.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    selectPosition(list, selected);
}

std::optional<std::string> QtWindowSystem::runOpenFileDialog(const std::string& initialName) {
    const std::optional<QUrl> chosen = m_services.chooseFile(&m_view, fromBytes(initialName));
    return chosen ? std::optional<std::string>(LocalFileName(*chosen)) : std::nullopt;
}

void QtWindowSystem::showMessage(const std::string& text, const std::string& caption,
                                 window::MessageIcon icon, const window::BoxButtons& buttons) {
    const QString shownCaption =
        caption.empty() ? QCoreApplication::applicationName() : fromBytes(caption);
    m_services.showMessage(fromBytes(text), shownCaption, boxIcon(icon), buttons);
}

void QtWindowSystem::askQuestion(const std::string& text, const std::string& caption,
                                 window::MessageIcon icon, const window::BoxButtons& buttons,
                                 std::function<void(bool yes)> answered) {
    m_services.askQuestion(fromBytes(text), fromBytes(caption), boxIcon(icon), buttons,
                           std::move(answered));
}

window::StringInputResult QtWindowSystem::runStringInputWindow(const std::string& title) {
    StringInputWindow window(&m_view);
    window.setWindowTitle(fromBytes(title));
    ApplyAccessibleText(window, "StringField", m_stringFieldName);
    const int code = window.exec();
    return {ModalResultOf(code), window.text()};
}

void QtWindowSystem::runAboutWindow() {
    AboutWindow window(&m_view, [this](window::AboutLink link) { window::OpenAboutLink(*this, link); });
    window.exec();
}

std::optional<std::string> QtWindowSystem::clipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return data->text().toStdString();
}

void QtWindowSystem::setClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (text.empty()) {
        clipboard->clear();
    } else {
        clipboard->setText(fromBytes(text));
    }
}

bool QtWindowSystem::isExistingFile(const std::string& name) const {
    return window::IsExistingFile(name);
}

void QtUiThread::post(std::function<void()> call) {
    QMetaObject::invokeMethod(&m_context, std::move(call), Qt::QueuedConnection);
}

void QtUiThread::postAfter(std::chrono::milliseconds delay, std::function<void()> call) {
    QTimer::singleShot(delay, &m_context, std::move(call));
}

void QtWindowSystem::showProgress(const window::ProgressDisplay& display) {
    m_view.showProgress(display);
}

void QtWindowSystem::hideProgress() {
    m_view.hideProgress();
}

void QtWindowSystem::showOffer(const window::OfferDisplay& offer) {
    m_view.showOffer(offer);
}

void QtWindowSystem::hideOffer() {
    m_view.hideOffer();
}

void QtWindowSystem::setAccessibleNames(const window::AccessibleNames& names) {
    for (const auto& [control, text] : names.controls) {
        ApplyAccessibleText(m_view.control(control), text);
    }
    ApplyAccessibleText(m_view.progressRow(), "ProgressBar", names.progressBar);
    ApplyAccessibleText(m_view.progressRow(), "CancelButton", names.cancelButton);
    m_stringFieldName = names.stringField;
}

void QtWindowSystem::announce(const std::string& text) {
    m_announcer->say(text);
}

void QtWindowSystem::setHashControlsEnabled(bool enabled) {
    for (const window::Control control : {window::Control::HashStringButton, window::Control::HashFileButton,
                                       window::Control::RenewButton}) {
        m_view.control(control).setEnabled(enabled);
    }
}

void QtWindowSystem::postClose() {
    QTimer::singleShot(0, &m_view, &QWidget::close);
}

void QtWindowSystem::showMainWindow() {
    m_view.show();
}

// The other windows do not keep the program running, and the event loop ends with the main
// window even when another window is open.
void QtWindowSystem::endProgram() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &m_view) {
            window->close();
        }
    }
    QCoreApplication::quit();
}

void QtWindowSystem::openUrl(const std::string& target) {
    m_services.openUrl(TargetUrl(target));
}

}  // namespace tolvek::desktop
