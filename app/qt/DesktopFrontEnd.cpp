#include "app/qt/DesktopFrontEnd.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <array>
#include <utility>

#include "app/qt/OfferRow.h"

namespace tolvek::desktop {

using window::Control;

namespace {

using Action = void (*)(window::MainWindow&);

// What a click on each button starts.
const std::array<std::pair<Control, Action>, 8> kClickActions = {{
    {Control::HashStringButton,
     [](window::MainWindow& window) { window.HashStringAction(Control::HashStringButton); }},
    {Control::HashFileButton,
     [](window::MainWindow& window) { window.HashFileAction(Control::HashFileButton); }},
    {Control::RenewButton, [](window::MainWindow& window) { window.RenewHashAction(); }},
    {Control::CopyButton, [](window::MainWindow& window) { window.CopyDigestAction(); }},
    {Control::PasteButton, [](window::MainWindow& window) { window.PasteDigestAction(); }},
    {Control::CompareButton, [](window::MainWindow& window) { window.CompareAction(); }},
    {Control::CloseButton, [](window::MainWindow& window) { window.CloseButtonAction(); }},
    {Control::AboutButton, [](window::MainWindow& window) { window.ShowAboutAction(); }},
}};

}  // namespace

DesktopFrontEnd::DesktopFrontEnd(DesktopServices services, ProgramFolders folders,
                                 window::SelfTest selfTest,
                                 std::span<const window::AlgorithmEntry> entries,
                                 ListWindowServices listServices)
    : m_view(std::make_unique<MainWindowView>(MainWindowHandlers{
          .windowDrop = [this](const std::string& names) { m_window.WindowDropHandler(names); },
          .pathFieldDrop =
              [this](const std::string& names) { m_window.PathFieldDropHandler(names); },
          .compareFieldCtrlDrop =
              [this](const std::string& names) { m_window.CompareFieldDropHandler(names); },
          .close = [this] { m_window.CloseHandler(); },
          .cancel = [this] { m_window.CancelHashAction(); },
      })),
      m_windows(*m_view, std::move(services), std::move(folders)),
      m_ui(*m_view),
      m_window(m_windows, {m_jobs, m_ui}, std::move(selfTest), entries),
      m_listView(std::make_unique<ListWindowView>(*m_view, std::move(listServices))),
      m_listWindow(*m_listView, m_ui, m_listGathering, m_listChecking,
                   [this](int number) { return m_window.LoadText(number); }) {
    m_listView->connectTo(m_listWindow);
    m_window.AttachListWindow(m_listWindow);
    connectHandlers();
}

void DesktopFrontEnd::connectHandlers() {
    for (const auto& [control, action] : kClickActions) {
        auto* button = qobject_cast<QPushButton*>(&m_view->control(control));
        QObject::connect(button, &QPushButton::clicked, button,
                         [this, run = action] { run(m_window); });
    }
    auto* pasteAndCompare =
        new QShortcut(ShortcutKeys(window::kPasteAndCompareShortcut), m_view.get());
    QObject::connect(pasteAndCompare, &QShortcut::activated, m_view.get(),
                     [this] { m_window.PasteAndCompareAction(); });
    connectCompareFieldMenu();
    // Only the user's choice: a selection made by the program starts nothing.
    QComboBox& languages = m_view->list(Control::LanguageList);
    QObject::connect(&languages, &QComboBox::activated, &languages,
                     [this] { m_window.LanguageChangeHandler(); });
    QComboBox& algorithms = m_view->list(Control::AlgorithmList);
    QObject::connect(&algorithms, &QComboBox::activated, &algorithms,
                     [this] { m_window.AlgorithmChangeHandler(); });
    auto* openList = new QShortcut(kOpenListWindowKeys, m_view.get());
    QObject::connect(openList, &QShortcut::activated, openList,
                     [this] { m_window.OpenListWindowAction(); });
    OfferRow& offer = m_view->offerRow();
    QObject::connect(&offer, &OfferRow::accepted, &offer, [this] { m_window.AcceptOfferAction(); });
    QObject::connect(&offer, &OfferRow::declined, &offer,
                     [this] { m_window.DeclineOfferAction(); });
}

// The edit field's own menu, with "Compare with file…" at its end.
void DesktopFrontEnd::connectCompareFieldMenu() {
    auto* field = qobject_cast<QLineEdit*>(&m_view->control(Control::CompareField));
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(field, &QWidget::customContextMenuRequested, field, [this, field](QPoint at) {
        QMenu* menu = field->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        QAction* compare =
            menu->addAction(QString::fromStdString(m_window.CompareWithFileCaption()));
        compare->setObjectName(QStringLiteral("CompareWithFileAction"));
        QObject::connect(compare, &QAction::triggered, field,
                         [this] { m_window.CompareWithFileAction(); });
        menu->popup(field->mapToGlobal(at));
    });
}

window::StartUpOutcome DesktopFrontEnd::startUp(const std::vector<std::string>& arguments) {
    m_view->centreOnScreen();
    return m_window.StartUpHandler(arguments);
}

window::StartUpOutcome DesktopFrontEnd::startUpFilesWindow(const std::vector<std::string>& names) {
    m_view->centreOnScreen();
    const window::StartUpOutcome outcome = m_window.StartUpHidden();
    if (outcome == window::StartUpOutcome::ShowWindow) {
        openInFilesWindow(names);
    }
    return outcome;
}

void DesktopFrontEnd::openInFilesWindow(const std::vector<std::string>& names) {
    // The files window's algorithm is the one saved; with no names it only comes forward.
    m_window.OpenListWindowAction();
    if (!names.empty()) {
        m_listWindow.OpenNames(names);
    }
}

}  // namespace tolvek::desktop
