// The grid's right click: the document context menu for the selected rows. A click outside the
// selection first makes the clicked row current; every menu shown counts in "ContextMenuCount".
#pragma once

#include <QObject>
#include <QPoint>

#include <memory>

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

    // The component each click uses; tests set its tracker through this.
    widgets::TQnContextMenu& contextMenu() { return *menu_; }

private:
    QTableView& grid_;
    HistorySession& session_;
    std::unique_ptr<platform::Shell> shell_;
    widgets::TQnContextMenu* menu_ = nullptr;
};

} // namespace vendle::app
