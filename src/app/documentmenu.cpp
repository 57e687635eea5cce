// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentmenu.h"

#include "app/historygrid.h"
#include "app/historysession.h"
#include "core/mainsettings.h"
#include "platform/shellmenu.h"
#include "widgets/contextmenu.h"
#include "widgets/messagebox.h"

#include <QMenu>
#include <QTableView>

#include <algorithm>
#include <set>

namespace vendle::app {

DocumentMenu::DocumentMenu(QTableView& grid, HistorySession& session, std::unique_ptr<platform::Shell> shell)
    : QObject(&grid), grid_(grid), session_(session), shell_(std::move(shell)) {
    menu_ = new widgets::TQnContextMenu(grid_.viewport(), *shell_);
    // The program's own part of the menu, after the desktop's.
    auto* own = new QMenu(&grid_);
    own->setObjectName(QStringLiteral("DocumentPopupMenu"));
    own->addAction(tr("履歴から削除(&E)"), this, [this] { forget(menuDocuments_); });
    menu_->SetPopupMenu(own);
    connect(menu_, &widgets::TQnContextMenu::movedToTrash, this, &DocumentMenu::trashed);
}

DocumentMenu::~DocumentMenu() = default;

std::vector<int> DocumentMenu::highlightedRows() const {
    std::set<int> rows;
    for (const QItemSelectionRange& range : grid_.selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    }
    return {rows.begin(), rows.end()};
}

void DocumentMenu::GridRightClick(const QPoint& pos) {
    const HistoryList& items = session_.items();
    const QModelIndex clicked = grid_.indexAt(pos);
    // Nothing below the last row, nothing in an empty view.
    if (items.ViewCount() == 0 || !clicked.isValid() || clicked.row() >= items.ViewCount())
        return;
    // Inside the highlighted rows the menu is for exactly those; elsewhere the clicked row becomes
    // current (the column only where it may) and the menu is for it alone.
    std::vector<int> rows = highlightedRows();
    if (std::find(rows.begin(), rows.end(), clicked.row()) == rows.end()) {
        const int column = HistoryGridView::GridSelectCell(clicked.column())
                               ? clicked.column()
                               : std::max(int(ColumnName), grid_.currentIndex().column());
        grid_.setCurrentIndex(grid_.model()->index(clicked.row(), column));
        rows = {clicked.row()};
    }
    // Documents that are gone have no menu; the others keep theirs.
    QStringList gone;
    std::vector<std::string> present = presentDocuments(rows, gone);
    if (present.empty()) {
        widgets::MessageBox::show(grid_.window(),
                                  tr("次のファイルは見つかりません。\n") + gone.join(QLatin1Char('\n')));
        return;
    }
    menu_->FileNames = std::move(present);
    menuDocuments_.clear();
    for (int row : rows) {
        if (row < items.ViewCount())
            menuDocuments_.emplace_back(items.ViewItem(row).Path);
    }
    menu_->PopupEx(pos.x(), pos.y());
    incrementCounter(session_.settings(), Setting::ContextMenuCount);
}

std::vector<std::string> DocumentMenu::presentDocuments(const std::vector<int>& rows,
                                                        QStringList& gone) const {
    const HistoryList& items = session_.items();
    std::vector<std::string> present;
    for (int row : rows) {
        if (row >= items.ViewCount())
            continue;
        const std::string path(items.ViewItem(row).Path);
        if (session_.files().presence(path) == FileAccess::Presence::File)
            present.push_back(path);
        else
            gone << QString::fromStdString(path);
    }
    return present;
}

void DocumentMenu::showAtCurrentCell() {
    QModelIndex current = grid_.currentIndex();
    if (!current.isValid())
        current = grid_.model()->index(0, ColumnName);
    grid_.scrollTo(current);
    GridRightClick(grid_.visualRect(current).center());
}

void DocumentMenu::forgetHighlighted() {
    const HistoryList& items = session_.items();
    std::vector<std::string> paths;
    for (int row : highlightedRows()) {
        if (row < items.ViewCount())
            paths.emplace_back(items.ViewItem(row).Path);
    }
    forget(paths);
}

void DocumentMenu::forget(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    const std::vector<RemovedDocument> removed = session_.forget(paths);
    if (!removed.empty())
        emit forgotten(removed);
}

void DocumentMenu::copyHighlighted() {
    QStringList gone;
    const std::vector<std::string> present = presentDocuments(highlightedRows(), gone);
    if (!present.empty())
        shell_->copyToClipboard(present);
}

} // namespace vendle::app
