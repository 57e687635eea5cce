// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's model: one row per view entry (or one "該当なし" row for an empty view), the five
// columns row number, file name with icon, folder, type and time of last use. Texts come from the
// core's CellText; nothing is computed ahead of painting.
#pragma once

#include "core/datetimeformat.h"
#include "core/history.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <functional>

namespace vendle::app {

class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using IconLookup = std::function<QIcon(int iconIndex)>;

    HistoryTableModel(const HistoryList& history, IconLookup icons, QObject* parent = nullptr);

    const HistoryList& history() const { return history_; }
    const DateTimeFormat& dateTimeFormat() const { return format_; }
    void setDateTimeFormat(const DateTimeFormat& fmt);
    QIcon iconOf(int iconIndex) const { return icons_ ? icons_(iconIndex) : QIcon(); }

    // Around every change of the history or its view: views drop what they knew of the rows.
    void beginChange() { beginResetModel(); }
    void endChange() { endResetModel(); }

    // CellText of a model index (rows from 0, columns as the grid's).
    QString cellText(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const HistoryList& history_;
    IconLookup icons_;
    DateTimeFormat format_;
};

} // namespace vendle::app
