#include "historymodel.h"

namespace vendle::app {

HistoryTableModel::HistoryTableModel(HistoryList& history, IconLookup icons, QObject* parent)
    : QAbstractTableModel(parent), history_(history), icons_(std::move(icons)) {}

void HistoryTableModel::refresh() {
    beginResetModel();
    endResetModel();
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
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    if (history_.ViewCount() == 0) {
        if (role != Qt::DisplayRole)
            return {};
        if (column == 0)
            return QStringLiteral("1");
        return column == 1 ? QStringLiteral("該当なし") : QString();
    }
    const HistoryItem& item = history_.ViewItem(row);
    const PathSyntax& syntax = history_.syntax();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (column) {
        case 0:
            return QString::number(row + 1);
        case 1:
            return QString::fromStdString(std::string(fileNameOf(item.Path, syntax)));
        case 2:
            return QString::fromStdString(std::string(directoryOf(item.Path, syntax)));
        case 3:
            return QString::fromStdString(item.TypeName());
        case 4:
            return QString::fromStdString(formatGridDateTime(item.LastUsed, format_));
        default:
            return {};
        }
    }
    if (role == Qt::DecorationRole && column == 1 && icons_)
        return icons_(item.IconIndex);
    if (role == Qt::TextAlignmentRole && column == 0)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return {};
    return QString::fromUtf8(ColumnTitles[section]);
}

} // namespace vendle::app
