#include "app/qt/ListRowsModel.h"

#include <algorithm>
#include <utility>

namespace tolvek::desktop {

namespace {

constexpr int kChangesInterval = 100;  // ms

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ListRowsModel::ListRowsModel(QObject* parent,
                             std::function<QIcon(const window::ListRowView&)> markIcon,
                             QIcon verifiedIcon)
    : QAbstractTableModel(parent),
      m_markIcon(std::move(markIcon)),
      m_verifiedIcon(std::move(verifiedIcon)) {
    m_changes.setSingleShot(true);
    m_changes.setInterval(kChangesInterval);
    connect(&m_changes, &QTimer::timeout, this, &ListRowsModel::tellChanged);
}

void ListRowsModel::setHeadings(const QStringList& headings) {
    const int before = static_cast<int>(m_headings.size());
    const int after = static_cast<int>(headings.size());
    if (after > before) {
        beginInsertColumns({}, before, after - 1);
        m_headings = headings;
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns({}, after, before - 1);
        m_headings = headings;
        endRemoveColumns();
    } else {
        m_headings = headings;
    }
    if (after > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, after - 1);
    }
}

void ListRowsModel::setRow(std::size_t index, window::ListRowView row) {
    if (index >= m_rows.size()) {
        const int position = static_cast<int>(m_rows.size());
        beginInsertRows({}, position, position);
        m_rows.push_back(std::move(row));
        endInsertRows();
        return;
    }
    m_rows[index] = std::move(row);
    m_firstChanged = m_changed ? std::min(m_firstChanged, index) : index;
    m_lastChanged = m_changed ? std::max(m_lastChanged, index) : index;
    m_changed = true;
    if (!m_changes.isActive()) {
        m_changes.start();
    }
}

void ListRowsModel::setRowCount(std::size_t count) {
    if (count >= m_rows.size()) {
        return;
    }
    beginRemoveRows({}, static_cast<int>(count), static_cast<int>(m_rows.size()) - 1);
    m_rows.resize(count);
    endRemoveRows();
}

// Of the rows changed, those still there: some may have been dropped since.
void ListRowsModel::tellChanged() {
    const bool stillThere = std::exchange(m_changed, false) && m_firstChanged < m_rows.size();
    if (stillThere) {
        const std::size_t last = std::min(m_lastChanged, m_rows.size() - 1);
        emit dataChanged(index(static_cast<int>(m_firstChanged), 0),
                         index(static_cast<int>(last), columnCount() - 1),
                         {Qt::DisplayRole, Qt::DecorationRole});
    }
}

QVariant ListRowsModel::markIconOf(const window::ListRowView& row) const {
    // A class of a folder check goes before the status it was made from.
    constexpr int kFirstClassKey = 100;
    int key = 0;
    if (row.auditMark) {
        key = kFirstClassKey + static_cast<int>(*row.auditMark);
    } else if (row.mark) {
        key = static_cast<int>(*row.mark);
    } else {
        return {};
    }
    auto icon = m_markIcons.find(key);
    if (icon == m_markIcons.end()) {
        icon = m_markIcons.insert(key, m_markIcon(row));
    }
    return *icon;
}

int ListRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
}

QVariant ListRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_rows.size()) {
        return {};
    }
    const window::ListRowView& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    // A name or a "moved from" cut short in its column is read whole in its tooltip.
    const bool shownWhole = role == Qt::DisplayRole || role == Qt::ToolTipRole;
    if (column == kStatusColumn) {
        if (shownWhole) {
            return fromBytes(row.status);
        }
        return role == Qt::DecorationRole ? markIconOf(row) : QVariant();
    }
    if (column == 0) {
        return shownWhole ? QVariant(fromBytes(row.file)) : QVariant();
    }
    const auto digest = static_cast<std::size_t>(column - kFirstDigestColumn);
    if (role == Qt::DisplayRole && digest < row.digests.size()) {
        return fromBytes(row.digests[digest]);
    }
    if (role == Qt::DecorationRole && digest < row.verified.size() && row.verified[digest]) {
        return m_verifiedIcon;
    }
    return {};
}

QVariant ListRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headings.size()) {
        return {};
    }
    return m_headings.at(section);
}

}  // namespace tolvek::desktop
