// SPDX-License-Identifier: GPL-3.0-or-later
// What the user can do with the documents in the grid: open them (double click, Enter, the File
// menu), move with the keys, the document context menu on a right click, and undo the last
// forgetting or move to the trash.
#pragma once

#include "app/apppaths.h"

#include <QObject>

class QLineEdit;

namespace vendle::app {

class DocumentMenu;
class DocumentOpener;
class HistoryGridView;
class HistorySession;
class UndoLast;

class DocumentActions : public QObject {
    Q_OBJECT

public:
    DocumentActions(QWidget& window, QLineEdit& search, HistoryGridView& grid, HistorySession& session,
                    const AppPaths& paths);

    // acExecute: opens what the grid's current cell names.
    void acExecuteExecute();

    DocumentOpener* opener = nullptr;
    DocumentMenu* documentMenu = nullptr;
    UndoLast* undo = nullptr; // forgetting and the trash taken back

private:
    HistoryGridView& grid_;
};

} // namespace vendle::app
