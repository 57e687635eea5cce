// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentactions.h"

#include "app/documentmenu.h"
#include "app/documentopener.h"
#include "app/guarded.h"
#include "app/historygrid.h"
#include "app/keymoves.h"
#include "app/propertiesdialog.h"
#include "app/undolast.h"
#include "platform/shellmenu.h"

namespace vendle::app {

DocumentActions::DocumentActions(QWidget& window, QLineEdit& search, HistoryGridView& grid,
                                 HistorySession& session, const AppPaths& paths)
    : QObject(&window), grid_(grid) {
    opener = new DocumentOpener(window, session, paths.dataHome, this);
    const auto acExecute = guarded(&window, [this] { acExecuteExecute(); });
    connect(&grid, &QAbstractItemView::doubleClicked, this, acExecute);
    QWidget* parent = &window;
    documentMenu =
        new DocumentMenu(grid, session,
                         platform::desktopShell(
                             [parent](const auto& files) { showProperties(parent, files); }, paths.dataHome));
    undo = new UndoLast(window, session);
    connect(documentMenu, &DocumentMenu::forgotten, undo, &UndoLast::forgotten);
    connect(documentMenu, &DocumentMenu::trashed, undo, &UndoLast::trashed);
    new KeyMoves(window, search, grid,
                 {acExecute, guarded(parent, [this] { documentMenu->showAtCurrentCell(); }),
                  guarded(parent, [this] { documentMenu->copyHighlighted(); }),
                  guarded(parent, [this] { documentMenu->forgetHighlighted(); })});
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&grid, &QWidget::customContextMenuRequested, this, [this, parent](const QPoint& pos) {
        runGuarded(parent, [&] { documentMenu->GridRightClick(pos); });
    });
}

void DocumentActions::acExecuteExecute() {
    opener->acExecuteExecute(grid_.currentIndex().column(), grid_.currentIndex().row());
}

} // namespace vendle::app
