#include "app/qt/ListWindowView.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt/FileDrops.h"

namespace tolvek::desktop {

namespace {

constexpr int kCommandCount = 5;
constexpr int kSetCommandCount = 7;
constexpr int kStatusColumn = 3;

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

// An icon for each status, so that no status is told by colour alone.
QIcon statusIcon(const QStyle& style, std::optional<checks::CheckStatus> status) {
    if (!status) {
        return {};
    }
    switch (*status) {
        case checks::CheckStatus::Ok:
            return style.standardIcon(QStyle::SP_DialogApplyButton);
        case checks::CheckStatus::Failed:
            return style.standardIcon(QStyle::SP_MessageBoxCritical);
        case checks::CheckStatus::Missing:
            return style.standardIcon(QStyle::SP_MessageBoxQuestion);
        case checks::CheckStatus::Unreadable:
            return style.standardIcon(QStyle::SP_MessageBoxWarning);
        case checks::CheckStatus::Cancelled:
            return style.standardIcon(QStyle::SP_BrowserStop);
    }
    return {};
}

}  // namespace

ListWindowServices ListWindowServices::System() {
    return {[](QWidget* owner, const std::string& suggested) -> std::optional<std::string> {
                // The list window asks before it replaces a file, and writes atomically itself.
                const QString chosen =
                    QFileDialog::getSaveFileName(owner, QString(), fromBytes(suggested), QString(),
                                                 nullptr, QFileDialog::DontConfirmOverwrite);
                return chosen.isEmpty() ? std::nullopt
                                        : std::optional(QFile::encodeName(chosen).toStdString());
            },
            [](QWidget* owner, const std::string& question) {
                return QMessageBox::question(owner, QString(), fromBytes(question)) ==
                       QMessageBox::Yes;
            },
            [](QWidget* owner) {
                std::vector<std::string> names;
                for (const QString& name : QFileDialog::getOpenFileNames(owner)) {
                    names.push_back(QFile::encodeName(name).toStdString());
                }
                return names;
            },
            [](QWidget* owner) -> std::optional<std::string> {
                const QString chosen = QFileDialog::getExistingDirectory(owner);
                return chosen.isEmpty() ? std::nullopt
                                        : std::optional(QFile::encodeName(chosen).toStdString());
            }};
}

ListWindowView::ListWindowView(QWidget& beside, ListWindowServices services)
    : QWidget(nullptr, Qt::Window),
      m_beside(beside),
      m_services(std::move(services)),
      m_rows(new QTreeWidget(this)),
      m_hint(new QLabel(this)),
      m_subject(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_summary(new QLabel(this)),
      m_cancel(new QPushButton(this)) {
    setObjectName(QStringLiteral("ListWindow"));
    m_rows->setObjectName(QStringLiteral("ListRows"));
    m_rows->setRootIsDecorated(false);
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_hint->setObjectName(QStringLiteral("ListEmptyHint"));
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setTextFormat(Qt::PlainText);
    m_rows->setColumnCount(4);
    m_rows->header()->setStretchLastSection(false);
    m_rows->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_summary->setObjectName(QStringLiteral("ListSummary"));
    m_subject->setObjectName(QStringLiteral("ListProgressSubject"));
    m_cancel->setObjectName(QStringLiteral("ListCancelButton"));
    m_bar->setRange(0, 1000);
    m_subject->setTextFormat(Qt::PlainText);
    m_summary->setTextFormat(Qt::PlainText);

    auto* setCommands = new QHBoxLayout;
    for (int command = 0; command < kSetCommandCount; ++command) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("ListSetCommand%1").arg(command));
        setCommands->addWidget(button);
        m_setCommands.push_back(button);
    }
    setCommands->addStretch(1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_subject);
    progress->addWidget(m_bar, 1);
    progress->addWidget(m_cancel);
    auto* commands = new QHBoxLayout;
    for (int command = 0; command < kCommandCount; ++command) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("ListCommand%1").arg(command));
        commands->addWidget(button);
        m_commands.push_back(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(setCommands);
    layout->addWidget(m_hint, 1);
    layout->addWidget(m_rows, 1);
    layout->addLayout(progress);
    layout->addWidget(m_summary);
    layout->addLayout(commands);
    m_hint->hide();
    resize(820, 420);
}

void ListWindowView::connectTo(window::ListWindow& window) {
    connect(m_cancel, &QPushButton::clicked, this, [&window] { window.CancelAction(); });
    const auto currentRow = [this] {
        return static_cast<std::size_t>(m_rows->indexOfTopLevelItem(m_rows->currentItem()));
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
    };
    for (int command = 0; command < kSetCommandCount; ++command) {
        connect(m_setCommands[static_cast<std::size_t>(command)], &QPushButton::clicked, this,
                setActions[command]);
    }
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
    };
    for (const auto& [sequence, action] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, action);
    }
}

std::vector<std::size_t> ListWindowView::selectedRows() const {
    std::vector<std::size_t> rows;
    for (QTreeWidgetItem* item : m_rows->selectedItems()) {
        rows.push_back(static_cast<std::size_t>(m_rows->indexOfTopLevelItem(item)));
    }
    std::ranges::sort(rows);
    return rows;
}

void ListWindowView::setTexts(const window::ListWindowTexts& texts) {
    setWindowTitle(fromBytes(texts.title));
    QStringList headings;
    for (const std::string& heading : texts.headings) {
        headings.push_back(fromBytes(heading));
    }
    m_rows->setHeaderLabels(headings);
    for (std::size_t command = 0; command < m_commands.size(); ++command) {
        m_commands[command]->setText(fromBytes(texts.commands.at(command)));
    }
    for (std::size_t command = 0; command < m_setCommands.size(); ++command) {
        m_setCommands[command]->setText(fromBytes(texts.setCommands.at(command)));
    }
    m_hint->setText(fromBytes(texts.emptyHint));
    m_hint->setAccessibleName(fromBytes(texts.emptyHint));
    m_rows->setAccessibleName(fromBytes(texts.title));
    m_bar->setAccessibleName(fromBytes(texts.title));
}

void ListWindowView::showWindow() {
    if (!isVisible()) {
        move(m_beside.frameGeometry().topRight() + QPoint(16, 0));
    }
    show();
    raise();
    activateWindow();
}

void ListWindowView::setRow(std::size_t index, const window::ListRowView& row) {
    const int position = static_cast<int>(index);
    QTreeWidgetItem* item = m_rows->topLevelItem(position);
    if (item == nullptr) {
        item = new QTreeWidgetItem(m_rows);
    }
    item->setText(0, fromBytes(row.file));
    item->setText(1, fromBytes(row.algorithm));
    item->setText(2, fromBytes(row.digest));
    item->setText(kStatusColumn, fromBytes(row.status));
    item->setIcon(kStatusColumn, statusIcon(*style(), row.mark));
}

void ListWindowView::setRowCount(std::size_t count) {
    while (static_cast<std::size_t>(m_rows->topLevelItemCount()) > count) {
        delete m_rows->takeTopLevelItem(m_rows->topLevelItemCount() - 1);
    }
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

std::optional<std::string> ListWindowView::chooseSaveName(const std::string& suggested) {
    return m_services.chooseSaveName(this, suggested);
}

bool ListWindowView::confirm(const std::string& question) {
    return m_services.confirm(this, question);
}

void ListWindowView::showMessage(const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), fromBytes(text),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

}  // namespace tolvek::desktop
