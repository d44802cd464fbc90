// The files window's columns: their headings, and widths that fit their words without measuring
// every row.
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>
#include <algorithm>

#include "app/qt/ListRowsModel.h"
#include "app/qt/ListWindowView.h"

namespace tolvek::desktop {

namespace {

constexpr int kStatusColumn = ListRowsModel::kStatusColumn;
constexpr int kFirstDigestColumn = ListRowsModel::kFirstDigestColumn;

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// Before the set has an algorithm, its one digest column is headed "Digest".
void ListWindowView::showHeadings() {
    QStringList headings = {fromBytes(m_texts.headings.at(0)), fromBytes(m_texts.headings.at(3))};
    if (m_captions.empty()) {
        headings.push_back(fromBytes(m_texts.headings.at(2)));
    }
    for (const std::string& caption : m_captions) {
        headings.push_back(fromBytes(caption));
    }
    m_model->setHeadings(headings);
    for (QMenu* menu : {m_copyCell, m_copyColumn}) {
        menu->clear();
        for (int column = 0; column < headings.size(); ++column) {
            menu->addAction(headings[column])->setData(column);
        }
    }
}

void ListWindowView::setColumns(const std::vector<std::string>& captions) {
    m_captions = captions;
    m_sizedColumns.resize(captions.size(), false);
    if (captions.empty()) {
        m_sizedColumns.clear();
    }
    showHeadings();
}

// The status column fits each of the few status words, measured once per language; a status
// that names a file ("moved from …") takes at most a quarter of the window's width, so that
// the files' names keep theirs.
void ListWindowView::widenStatusFor(const std::string& status) {
    if (status.empty() || !m_measuredStatuses.insert(status).second) {
        return;
    }
    const int needed = std::min(m_rows->fontMetrics().horizontalAdvance(fromBytes(status)) +
                                    m_rows->iconSize().width() + 3 * m_rows->indentation(),
                                width() / 4);
    m_rows->header()->resizeSection(kStatusColumn,
                                    std::max(needed, m_rows->header()->sectionSize(kStatusColumn)));
}

// A digest column is made as wide as its first digest, once: the digests of one algorithm are
// all as long, and measuring each row, as the header could, would cost too much for many rows.
// A digest marked as the one verified (few) is measured each time, with its icon and words.
void ListWindowView::widenToShow(std::size_t column, const std::string& digest, bool verified) {
    if (digest.empty() || column >= m_sizedColumns.size() ||
        (m_sizedColumns[column] && !verified)) {
        return;
    }
    m_sizedColumns[column] = true;
    const int position = kFirstDigestColumn + static_cast<int>(column);
    const int needed = m_rows->fontMetrics().horizontalAdvance(fromBytes(digest)) +
                       (verified ? m_rows->iconSize().width() : 0) + 2 * m_rows->indentation();
    m_rows->header()->resizeSection(position,
                                    std::max(needed, m_rows->header()->sectionSize(position)));
}

}  // namespace tolvek::desktop
