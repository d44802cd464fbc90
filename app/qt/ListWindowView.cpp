#include "app/qt/ListWindowView.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt/Accessibility.h"
#include "app/qt/BoxButtons.h"
#include "app/qt/FileDrops.h"
#include "app/qt/ListRowsModel.h"
#include "app/qt/StatusIcons.h"

namespace tolvek::desktop {

namespace {

constexpr int kCommandCount = 5;
constexpr int kFirstDigestColumn = ListRowsModel::kFirstDigestColumn;
constexpr int kSetCommandCount = 8;
// Its caption is the set commands' last; its button sits beside the verify field, where checks
// against what the user holds are, and where the window has room for it.
constexpr std::size_t kCheckFolderCommand = 8;

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

// A row of `count` buttons named from `namePattern`, which `buttons` receives too.
QHBoxLayout* commandRow(QWidget& owner, const char* namePattern, int count,
                        std::vector<QPushButton*>& buttons) {
    auto* row = new QHBoxLayout;
    for (int command = 0; command < count; ++command) {
        auto* button = new QPushButton(&owner);
        button->setAutoDefault(true);  // Enter on it acts, as in a dialog
        button->setObjectName(QString::fromLatin1(namePattern).arg(command));
        row->addWidget(button);
        buttons.push_back(button);
    }
    return row;
}

}  // namespace

ListWindowView::ListWindowView(QWidget& beside, ListWindowServices services)
    : QWidget(nullptr, Qt::Window),
      m_beside(beside),
      m_services(std::move(services)),
      m_rows(new QTreeView(this)),
      m_model(new ListRowsModel(
          this,
          [this](const window::ListRowView& row) {
              return row.auditMark ? AuditIcon(*style(), *row.auditMark)
                                   : StatusIcon(*style(), row.mark.value());
          },
          style()->standardIcon(QStyle::SP_DialogApplyButton))),
      m_hint(new QLabel(this)),
      m_subject(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_summary(new QLabel(this)),
      m_verify(new QLineEdit(this)),
      m_verifyOutcome(new QLabel(this)),
      m_checkFolder(new QPushButton(this)),
      m_cancel(new QPushButton(this)),
      m_copyCell(new QMenu(this)),
      m_copyColumn(new QMenu(this)) {
    InstallAccessibleRoles();
    setObjectName(QStringLiteral("ListWindow"));
    m_rows->setObjectName(QStringLiteral("ListRows"));
    m_rows->setModel(m_model);
    m_rows->setRootIsDecorated(false);
    // One line a row: the view places rows without asking each its height.
    m_rows->setUniformRowHeights(true);
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A path cut short keeps its file's name.
    m_rows->setTextElideMode(Qt::ElideMiddle);
    m_copyCell->setObjectName(QStringLiteral("ListCopyCellMenu"));
    m_copyColumn->setObjectName(QStringLiteral("ListCopyColumnMenu"));
    m_rows->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_rows->addAction(m_copyCell->menuAction());
    m_rows->addAction(m_copyColumn->menuAction());
    m_hint->setObjectName(QStringLiteral("ListEmptyHint"));
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setTextFormat(Qt::PlainText);
    m_model->setHeadings(QStringList(kFirstDigestColumn + 1, QString()));
    m_rows->header()->setStretchLastSection(false);
    m_rows->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_summary->setObjectName(QStringLiteral("ListSummary"));
    m_subject->setObjectName(QStringLiteral("ListProgressSubject"));
    m_cancel->setObjectName(QStringLiteral("ListCancelButton"));
    m_cancel->setAutoDefault(true);
    // Shown with its caption while there is something to cancel.
    m_cancel->hide();
    m_bar->setRange(0, 1000);
    m_subject->setTextFormat(Qt::PlainText);
    m_summary->setTextFormat(Qt::PlainText);
    m_verify->setObjectName(QStringLiteral("ListVerifyField"));
    m_verify->setClearButtonEnabled(true);
    m_verifyOutcome->setObjectName(QStringLiteral("ListVerifyOutcome"));
    m_verifyOutcome->setTextFormat(Qt::PlainText);
    m_verifyOutcome->setWordWrap(true);
    m_verifyOutcome->hide();
    m_checkFolder->setObjectName(QStringLiteral("ListCheckFolderButton"));
    m_checkFolder->setAutoDefault(true);

    auto* setCommands = commandRow(*this, "ListSetCommand%1", kSetCommandCount, m_setCommands);
    setCommands->addStretch(1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_subject);
    progress->addWidget(m_bar, 1);
    progress->addWidget(m_cancel);
    auto* verify = new QHBoxLayout;
    verify->addWidget(m_verify, 1);
    verify->addWidget(m_verifyOutcome, 1);
    verify->addWidget(m_checkFolder);
    auto* commands = commandRow(*this, "ListCommand%1", kCommandCount, m_commands);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(setCommands);
    layout->addWidget(m_hint, 1);
    layout->addWidget(m_rows, 1);
    layout->addLayout(verify);
    layout->addLayout(progress);
    layout->addWidget(m_summary);
    layout->addLayout(commands);
    m_hint->hide();
    orderTabs();
    resize(920, 420);
    // After the roles are installed, so that it is a notification.
    m_announcer = new Announcer(*this);
}

// Tab goes the way the window reads: the set commands left to right, the rows, the verify
// field and the check of a folder beside it, Cancel while it shows, the bottom commands.
void ListWindowView::orderTabs() {
    std::vector<QWidget*> order(m_setCommands.begin(), m_setCommands.end());
    order.insert(order.end(), {m_rows, m_verify, m_checkFolder, m_cancel});
    order.insert(order.end(), m_commands.begin(), m_commands.end());
    for (std::size_t next = 1; next < order.size(); ++next) {
        setTabOrder(order[next - 1], order[next]);
    }
}

void ListWindowView::connectTo(window::ListWindow& window) {
    connect(m_cancel, &QPushButton::clicked, this, [&window] { window.CancelAction(); });
    const auto currentRow = [this] {
        return static_cast<std::size_t>(m_rows->currentIndex().row());
    };
    const std::function<void()> actions[kCommandCount] = {
        [&window, currentRow] { window.CopyRowAction(currentRow(), window::LineStyle::Gnu); },
        [&window, currentRow] { window.CopyRowAction(currentRow(), window::LineStyle::Bsd); },
        [&window] { window.CopyAllAction(window::LineStyle::Gnu); },
        [&window] { window.CopyAllAction(window::LineStyle::Bsd); },
        [&window] { window.SaveListAction(); },
    };
    for (int command = 0; command < kCommandCount; ++command) {
        connect(m_commands[static_cast<std::size_t>(command)], &QPushButton::clicked, this,
                actions[command]);
    }
    const std::function<void()> setActions[kSetCommandCount] = {
        [&window] { window.OpenAction(); },
        [&window] { window.AddFilesAction(); },
        [&window] { window.AddFolderAction(); },
        [&window] { window.PasteNamesAction(); },
        [this, &window] { window.RemoveRowsAction(selectedRows()); },
        [&window] { window.ClearAction(); },
        [&window] { window.ExportReportAction(); },
        [&window] { window.ChooseAlgorithmsAction(); },
    };
    for (int command = 0; command < kSetCommandCount; ++command) {
        connect(m_setCommands[static_cast<std::size_t>(command)], &QPushButton::clicked, this,
                setActions[command]);
    }
    connect(m_checkFolder, &QPushButton::clicked, this,
            [&window] { window.CheckFolderAgainstListAction(); });
    connect(m_copyCell, &QMenu::triggered, this, [this, &window](const QAction* column) {
        if (const QModelIndex current = m_rows->currentIndex(); current.isValid()) {
            window.CopyCellAction(static_cast<std::size_t>(current.row()),
                                  static_cast<std::size_t>(column->data().toInt()));
        }
    });
    connect(m_copyColumn, &QMenu::triggered, this, [&window](const QAction* column) {
        window.CopyColumnAction(static_cast<std::size_t>(column->data().toInt()));
    });
    connect(m_verify, &QLineEdit::textChanged, this,
            [&window](const QString& text) { window.VerifyChangedHandler(text.toStdString()); });
    connectKeys(window);
    auto* drops = new FileDropFilter(
        this, [&window](const std::string& names) { window.DropHandler(names); });
    drops->watch(*this);
    drops->watch(*m_rows->viewport());
}

void ListWindowView::connectKeys(window::ListWindow& window) {
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence::Open, [&window] { window.OpenAction(); }},
        {QKeySequence::Paste, [&window] { window.PasteNamesAction(); }},
        {QKeySequence::Delete, [this, &window] { window.RemoveRowsAction(selectedRows()); }},
        {QKeySequence::Copy,
         [this, &window] {
             const std::vector<std::size_t> rows = selectedRows();
             if (!rows.empty()) {
                 window.CopyRowAction(rows.front(), window::LineStyle::Gnu);
             }
         }},
        {QKeySequence(Qt::Key_Escape), [&window] { window.CancelAction(); }},
        {ShortcutKeys(window::kCheckFolderShortcut),
         [&window] { window.CheckFolderAgainstListAction(); }},
        // The digest the user holds, to find among the rows'.
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
         [this] {
             m_verify->setText(QGuiApplication::clipboard()->text());
             m_verify->setFocus();
         }},
    };
    for (const auto& [sequence, action] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, action);
    }
}

std::vector<std::size_t> ListWindowView::selectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& selected : m_rows->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(selected.row()));
    }
    std::ranges::sort(rows);
    return rows;
}

void ListWindowView::setTexts(const window::ListWindowTexts& texts) {
    m_texts = texts;
    m_measuredStatuses.clear();
    setWindowTitle(fromBytes(texts.title));
    showHeadings();
    for (std::size_t command = 0; command < m_commands.size(); ++command) {
        m_commands[command]->setText(fromBytes(texts.commands.at(command)));
    }
    for (std::size_t command = 0; command < m_setCommands.size(); ++command) {
        m_setCommands[command]->setText(fromBytes(texts.setCommands.at(command)));
    }
    m_checkFolder->setText(fromBytes(texts.setCommands.at(kCheckFolderCommand)));
    m_checkFolder->setToolTip(fromBytes(texts.checkFolderDescription));
    ApplyAccessibleText(*m_checkFolder, {{}, texts.checkFolderDescription});
    m_hint->setText(fromBytes(texts.emptyHint));
    m_hint->setAccessibleName(fromBytes(texts.emptyHint));
    ApplyAccessibleText(*m_rows, {texts.rowsName, {}});
    ApplyAccessibleText(*m_bar, {texts.progressBarName, {}});
    m_copyCell->setTitle(fromBytes(texts.cellCommands.at(0)));
    m_copyColumn->setTitle(fromBytes(texts.cellCommands.at(1)));
    m_verify->setPlaceholderText(fromBytes(texts.verifyName));
    ApplyAccessibleText(*m_verify, {texts.verifyName, {}});
}

void ListWindowView::showWindow() {
    if (!isVisible()) {
        placeOnScreen();
    }
    show();
    raise();
    activateWindow();
}

// Beside the main window when it shows, else (tolvek-files) in the middle of the screen; pushed
// back inside the screen where it would reach past an edge, as beside a centred main window on a
// small screen it would.
void ListWindowView::placeOnScreen() {
    const QScreen* screen = m_beside.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    // The size the window's words need, which may exceed the size it was given.
    layout()->activate();
    const QSize size = frameGeometry().size();
    const QPoint wanted = m_beside.isVisible()
                              ? m_beside.frameGeometry().topRight() + QPoint(16, 0)
                              : available.center() - QPoint(size.width() / 2, size.height() / 2);
    const auto within = [](int at, int first, int last, int length) {
        return std::max(first, std::min(at, last + 1 - length));
    };
    move(within(wanted.x(), available.left(), available.right(), size.width()),
         within(wanted.y(), available.top(), available.bottom(), size.height()));
}

void ListWindowView::setRow(std::size_t index, const window::ListRowView& row) {
    for (std::size_t column = 0; column < row.digests.size(); ++column) {
        widenToShow(column, row.digests[column],
                    column < row.verified.size() && row.verified[column]);
    }
    widenStatusFor(row.status);
    m_model->setRow(index, row);
}

void ListWindowView::setRowCount(std::size_t count) {
    m_model->setRowCount(count);
}

void ListWindowView::showEmptyHint(bool shown) {
    m_hint->setVisible(shown);
    m_rows->setVisible(!shown);
}

void ListWindowView::showProgress(const window::ProgressDisplay& display) {
    m_subject->setText(fromBytes(display.subject));
    m_summary->setText(fromBytes(display.state));
    m_bar->setValue(display.permille.value_or(0));
    m_cancel->setText(fromBytes(display.cancelCaption));
    m_cancel->setVisible(!display.cancelCaption.empty());
}

void ListWindowView::showVerifyOutcome(const std::string& text) {
    m_verifyOutcome->setText(fromBytes(text));
    m_verifyOutcome->setVisible(!text.empty());
}

void ListWindowView::announce(const std::string& text) {
    m_announcer->say(text);
}

void ListWindowView::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(fromBytes(text));
}

std::optional<std::string> ListWindowView::clipboardText() {
    const QMimeData* held = QGuiApplication::clipboard()->mimeData();
    if (held == nullptr || !held->hasText()) {
        return std::nullopt;
    }
    return held->text().toStdString();
}

std::vector<std::string> ListWindowView::chooseOpenNames() {
    return m_services.chooseOpenNames(this);
}

std::optional<std::string> ListWindowView::chooseFolder() {
    return m_services.chooseFolder(this);
}

std::optional<std::vector<const hashing::AlgorithmEntry*>> ListWindowView::chooseAlgorithms(
    const std::vector<const hashing::AlgorithmEntry*>& chosen) {
    return m_services.chooseAlgorithms(this, m_texts, chosen);
}

std::optional<std::string> ListWindowView::chooseSaveName(const std::string& suggested) {
    return m_services.chooseSaveName(this, suggested);
}

bool ListWindowView::confirm(const std::string& question) {
    return m_services.confirm(this, question, m_texts.boxButtons);
}

void ListWindowView::showMessage(const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), fromBytes(text),
                                QMessageBox::Ok, this);
    NameStandardButtons(*box, m_texts.boxButtons);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

}  // namespace tolvek::desktop
