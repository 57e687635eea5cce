// SPDX-License-Identifier: GPL-3.0-or-later
#include "historymodel.h"

#include "core/celltext.h"

#include <QCoreApplication>

namespace vendle::app {

HistoryTableModel::HistoryTableModel(const HistoryList& history, IconLookup icons, QObject* parent)
    : QAbstractTableModel(parent), history_(history), icons_(std::move(icons)) {}

void HistoryTableModel::setDateTimeFormat(const DateTimeFormat& fmt) {
    format_ = fmt;
    if (history_.ViewCount() > 0)
        emit dataChanged(index(0, ColumnTime), index(rowCount() - 1, ColumnTime));
}

QString HistoryTableModel::cellText(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    if (index.column() == ColumnNumber)
        return QString::number(index.row() + 1);
    return QString::fromStdString(CellText(history_, index.column(), index.row() + 1, format_));
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return std::max(history_.ViewCount(), 1);
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index);
    case Qt::DecorationRole:
        if (index.column() == ColumnName && history_.ViewCount() > 0)
            return iconOf(history_.ViewItem(index.row()).IconIndex);
        return {};
    case Qt::TextAlignmentRole:
        return int((index.column() == ColumnNumber || index.column() == ColumnTime ? Qt::AlignHCenter
                                                                                   : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return {};
    return QCoreApplication::translate("History", ColumnTitles[section]);
}

Qt::ItemFlags HistoryTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace vendle::app
