#include "app/qt/AlgorithmPicker.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/qt/BoxButtons.h"

namespace tolvek::desktop {

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kGroupCount = 3;

const hashing::AlgorithmEntry* entryOf(const QTreeWidgetItem& item) {
    return static_cast<const hashing::AlgorithmEntry*>(
        item.data(0, kEntryRole).value<const void*>());
}

QString textOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

AlgorithmPicker::AlgorithmPicker(QWidget* owner, const window::ListWindowTexts& texts,
                                 const std::vector<const hashing::AlgorithmEntry*>& chosen)
    : QDialog(owner), m_search(new QLineEdit(this)), m_entries(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("AlgorithmPicker"));
    QString title = QString::fromStdString(texts.setCommands.back());
    title.remove(QChar(0x2026));  // the command's "…" says a window follows; the title is it
    setWindowTitle(title);
    m_search->setObjectName(QStringLiteral("AlgorithmSearch"));
    m_search->setPlaceholderText(QString::fromStdString(texts.pickerSearch));
    m_search->setAccessibleName(QString::fromStdString(texts.pickerSearch));
    m_entries->setObjectName(QStringLiteral("AlgorithmEntries"));
    m_entries->setAccessibleName(title);
    m_entries->setHeaderHidden(true);

    std::vector<QTreeWidgetItem*> groups;
    for (int group = 0; group < kGroupCount; ++group) {
        auto* item = new QTreeWidgetItem(m_entries);
        item->setText(0, QString::fromStdString(texts.pickerGroups.at(group)));
        item->setFlags(Qt::ItemIsEnabled);
        groups.push_back(item);
    }
    for (const hashing::AlgorithmEntry& entry : hashing::AlgorithmEntries()) {
        auto* item =
            new QTreeWidgetItem(groups[static_cast<std::size_t>(window::PickerGroupOf(entry))]);
        item->setText(0, textOf(entry.caption));
        item->setToolTip(0, textOf(entry.description));
        item->setData(0, kEntryRole, QVariant::fromValue(static_cast<const void*>(&entry)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        const bool ticked = std::ranges::find(chosen, &entry) != chosen.end();
        item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    }
    m_entries->expandAll();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    NameStandardButtons(*buttons, texts.boxButtons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_search, &QLineEdit::textChanged, this, &AlgorithmPicker::filter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_entries, 1);
    layout->addWidget(buttons);
    resize(360, 520);
}

void AlgorithmPicker::filter(const QString& text) {
    for (int group = 0; group < m_entries->topLevelItemCount(); ++group) {
        QTreeWidgetItem* groupItem = m_entries->topLevelItem(group);
        bool anyShown = false;
        for (int index = 0; index < groupItem->childCount(); ++index) {
            QTreeWidgetItem* item = groupItem->child(index);
            const bool shown = item->text(0).contains(text, Qt::CaseInsensitive) ||
                               textOf(entryOf(*item)->id).contains(text, Qt::CaseInsensitive);
            item->setHidden(!shown);
            anyShown = anyShown || shown;
        }
        groupItem->setHidden(!anyShown);
    }
}

std::vector<const hashing::AlgorithmEntry*> AlgorithmPicker::chosen() const {
    std::vector<const hashing::AlgorithmEntry*> ticked;
    for (int group = 0; group < m_entries->topLevelItemCount(); ++group) {
        const QTreeWidgetItem* groupItem = m_entries->topLevelItem(group);
        for (int index = 0; index < groupItem->childCount(); ++index) {
            const QTreeWidgetItem* item = groupItem->child(index);
            if (item->checkState(0) == Qt::Checked) {
                ticked.push_back(entryOf(*item));
            }
        }
    }
    // The table is one array: its order is the entries' order in memory.
    std::ranges::sort(ticked, std::less<>{});
    return ticked;
}

}  // namespace tolvek::desktop
