// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewkeeper.h"

#include "app/historygrid.h"
#include "app/historymodel.h"

#include <QScrollBar>

#include <algorithm>
#include <utility>
#include <vector>

namespace vendle::app {

ViewKeeper::ViewKeeper(HistoryGridView& grid) : QObject(&grid), grid_(grid) {}

void ViewKeeper::watch(QAbstractItemModel* model) {
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    kept_ = {};
    if (!model_)
        return;
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &ViewKeeper::capture);
    connect(model_, &QAbstractItemModel::modelReset, this, &ViewKeeper::restore);
}

// A change may come in several resets (the import, then the filter pass that rebuilds the view):
// what the user saw is taken before the first, while the view still matches the history, and put
// back after the one that leaves the view current again.
void ViewKeeper::capture() {
    const HistoryTableModel* model = grid_.historyModel();
    if (startingOver_ > 0 || !model) {
        kept_ = {};
        return;
    }
    const HistoryList& history = model->history();
    if (!history.viewIsCurrent())
        return; // between the resets of one change: the first one's picture stands
    kept_ = {};
    kept_.valid = true;
    const int count = history.ViewCount();
    if (count == 0)
        return;
    const QModelIndex current = grid_.currentIndex();
    if (current.isValid() && current.row() < count) {
        kept_.current = history.ViewItem(current.row()).Path;
        kept_.column = current.column();
        kept_.currentRow = current.row();
    }
    kept_.left = kColumnCount;
    kept_.right = -1;
    for (const QItemSelectionRange& range : grid_.selectionModel()->selection()) {
        kept_.left = std::min(kept_.left, range.left());
        kept_.right = std::max(kept_.right, range.right());
        for (int row = range.top(); row <= std::min(range.bottom(), count - 1); ++row)
            kept_.selected.emplace(history.ViewItem(row).Path);
    }
    const int top = std::max(grid_.rowAt(0), 0);
    const int bottom = grid_.rowAt(grid_.viewport()->height() - 1);
    const bool currentShown =
        current.isValid() && current.row() >= top && (bottom < 0 || current.row() <= bottom);
    const int anchorRow = currentShown ? current.row() : std::min(top, count - 1);
    kept_.anchor = history.ViewItem(anchorRow).Path;
    kept_.anchorOffset = anchorRow - top;
    kept_.atTop = grid_.verticalScrollBar()->value() == 0;
}

void ViewKeeper::restore() {
    const HistoryTableModel* model = grid_.historyModel();
    if (startingOver_ > 0 || !model || !kept_.valid)
        return;
    const HistoryList& history = model->history();
    if (!history.viewIsCurrent())
        return; // the view is rebuilt by a later reset
    const Kept kept = std::move(kept_);
    kept_ = {};
    const int count = history.ViewCount();
    QItemSelectionModel* selection = grid_.selectionModel();
    if (count == 0 || kept.current.empty()) {
        grid_.setCurrentIndex(model->index(0, ColumnName));
        return;
    }
    // The highlighted documents may no longer stand together (one of them was used again and moved
    // to the top): only the block that holds the current document stays highlighted, so that the
    // grid always shows one rectangle and a command never reaches a row the user cannot see.
    int currentRow = -1;
    int anchorRow = -1;
    std::vector<std::pair<int, int>> runs; // rows of highlighted documents that stand together
    for (int row = 0; row < count; ++row) {
        const std::string_view path = history.ViewItem(row).Path;
        if (currentRow < 0 && path == kept.current)
            currentRow = row;
        if (anchorRow < 0 && path == kept.anchor)
            anchorRow = row;
        if (kept.selected.count(path) != 0) {
            if (!runs.empty() && runs.back().second == row - 1)
                runs.back().second = row;
            else
                runs.emplace_back(row, row);
        }
    }
    // A current document that left the view leaves the current cell on the same row number.
    const bool found = currentRow >= 0;
    if (!found)
        currentRow = std::min(kept.currentRow, count - 1);
    const QModelIndex current = model->index(currentRow, kept.column);
    const auto block = std::find_if(runs.begin(), runs.end(), [&](const std::pair<int, int>& run) {
        return run.first <= currentRow && currentRow <= run.second;
    });
    if (block == runs.end()) {
        grid_.setCurrentIndex(current);
    } else {
        const QItemSelection chosen(model->index(block->first, kept.left),
                                    model->index(block->second, kept.right));
        selection->select(chosen, QItemSelectionModel::ClearAndSelect);
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
    // A view that stood at the top stays there, so that what arrived is seen; one the user had
    // scrolled keeps its anchor where it stood on the screen.
    if (kept.atTop) {
        grid_.layoutNow();
        grid_.verticalScrollBar()->setValue(0);
    } else if (anchorRow >= 0) {
        grid_.layoutNow();
        grid_.verticalScrollBar()->setValue(std::max(anchorRow - kept.anchorOffset, 0));
    }
}

} // namespace vendle::app
