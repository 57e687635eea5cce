#include "documentmenu.h"

#include "app/historysession.h"
#include "core/mainsettings.h"
#include "platform/shellmenu.h"
#include "widgets/contextmenu.h"

#include <QTableView>

#include <algorithm>

namespace vendle::app {

DocumentMenu::DocumentMenu(QTableView& grid, HistorySession& session, std::unique_ptr<platform::Shell> shell)
    : QObject(&grid), grid_(grid), session_(session), shell_(std::move(shell)) {
    menu_ = new widgets::TQnContextMenu(grid_.viewport(), *shell_);
}

DocumentMenu::~DocumentMenu() = default;

void DocumentMenu::GridRightClick(const QPoint& pos) {
    const HistoryList& items = session_.items();
    const QModelIndex clicked = grid_.indexAt(pos);
    // Nothing below the last row, nothing in an empty view.
    if (items.ViewCount() == 0 || !clicked.isValid() || clicked.row() >= items.ViewCount())
        return;
    int top = clicked.row();
    int bottom = clicked.row();
    bool inside = false;
    const QModelIndexList selected = grid_.selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        const auto [low, high] =
            std::minmax_element(selected.begin(), selected.end(),
                                [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        inside = clicked.row() >= low->row() && clicked.row() <= high->row();
        if (inside) {
            top = low->row();
            bottom = high->row();
        }
    }
    if (!inside) {
        const int column = clicked.column() == ColumnName || clicked.column() == ColumnFolder
                               ? clicked.column()
                               : std::max(int(ColumnName), grid_.currentIndex().column());
        grid_.setCurrentIndex(grid_.model()->index(clicked.row(), column));
    }
    menu_->FileNames.clear();
    for (int row = top; row <= bottom; ++row)
        menu_->FileNames.push_back(items.ViewItem(row).Path);
    menu_->PopupEx(pos.x(), pos.y());
    incrementCounter(session_.settings(), "ContextMenuCount");
}

} // namespace vendle::app
