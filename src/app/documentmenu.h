// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's right click: the document context menu for exactly the highlighted rows, with the
// program's own "履歴から削除" at its end. A click outside them first makes the clicked row current;
// documents that are gone are left out of the desktop's part (a selection of only such documents
// says so); every menu shown counts in "ContextMenuCount".
#pragma once

#include "core/history.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QTableView;

namespace vendle::platform {
class Shell;
}

namespace vendle::widgets {
class TQnContextMenu;
}

namespace vendle::app {

class HistorySession;

class DocumentMenu : public QObject {
    Q_OBJECT

public:
    DocumentMenu(QTableView& grid, HistorySession& session, std::unique_ptr<platform::Shell> shell);
    ~DocumentMenu() override;

    // A right click at `pos` in the grid's viewport.
    void GridRightClick(const QPoint& pos);
    // The menu key or Shift+F10: the menu at the current cell, for the highlighted rows.
    void showAtCurrentCell();
    // Ctrl+C: the highlighted documents that exist go onto the clipboard as "コピー" puts them.
    void copyHighlighted();
    // Delete: the highlighted documents leave the history (the files stay), as the menu's
    // "履歴から削除" does for the documents it was shown for.
    void forgetHighlighted();

    // The component each click uses; tests set its tracker through this.
    widgets::TQnContextMenu& contextMenu() { return *menu_; }

    // The rows that hold a selected cell, top to bottom.
    std::vector<int> highlightedRows() const;

signals:
    // Delete or "履歴から削除" took these documents out of the history.
    void forgotten(const std::vector<RemovedDocument>& documents);
    // The menu moved these files to the trash.
    void trashed(const std::vector<std::string>& paths);

private:
    void forget(const std::vector<std::string>& paths);
    // The documents of `rows` that exist, and the paths of those that do not.
    std::vector<std::string> presentDocuments(const std::vector<int>& rows, QStringList& gone) const;

    QTableView& grid_;
    HistorySession& session_;
    std::unique_ptr<platform::Shell> shell_;
    widgets::TQnContextMenu* menu_ = nullptr;
    std::vector<std::string> menuDocuments_; // every document the menu on screen is for
};

} // namespace vendle::app
