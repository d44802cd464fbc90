// The files window's rows as the table view reads them: the rows the core's ListWindow gave,
// without a widget or an object per row, so that 400 000 rows cost memory and time in
// proportion. A changed row is readable at once; the view is told about changed rows together,
// at most every 100 ms, so that a check posting thousands of rows a second does not redraw
// the table for each.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <vector>

#include "app/window/ListWindow.h"

namespace tolvek::desktop {

class ListRowsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kStatusColumn = static_cast<int>(window::kStatusColumn);
    static constexpr int kFirstDigestColumn = static_cast<int>(window::kFirstDigestColumn);

    // `markIcon` gives the icon beside a row's status word, asked once per kind of mark (a
    // status, or a class of a folder checked against a list); `verifiedIcon` goes beside a
    // verified digest.
    ListRowsModel(QObject* parent, std::function<QIcon(const window::ListRowView&)> markIcon,
                  QIcon verifiedIcon);

    // The headings of the file's and the status's columns, then of each digest column; the
    // columns follow their count.
    void setHeadings(const QStringList& headings);
    // Replaces row `index`, or appends it when `index` is the row count.
    void setRow(std::size_t index, window::ListRowView row);
    // Drops the rows from `count` on.
    void setRowCount(std::size_t count);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void tellChanged();
    QVariant markIconOf(const window::ListRowView& row) const;

    std::function<QIcon(const window::ListRowView&)> m_markIcon;
    // Made once per kind of mark: a standard icon is read from its image each time it is
    // asked for.
    mutable QHash<int, QIcon> m_markIcons;
    QIcon m_verifiedIcon;
    QStringList m_headings;
    std::vector<window::ListRowView> m_rows;
    // The rows changed since the view was last told, as one range.
    bool m_changed = false;
    std::size_t m_firstChanged = 0;
    std::size_t m_lastChanged = 0;
    QTimer m_changes;
};

}  // namespace tolvek::desktop
