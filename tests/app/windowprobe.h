// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' view of the main window's parts: the grid, the search box, the count line and the
// rest, which the window keeps to itself.
#pragma once

#include "app/mainwindow.h"

namespace vendle::test {

struct WindowParts {
    int PressedColumn;
    widgets::TyTrayIcon* yTrayIcon1;
    widgets::TProgressBox* ProgressBox1;
    QMenu* PopupMenu1;
    app::HistoryGridView* Grid;
    widgets::TAVerInfo* AVerInfo1;
    QLineEdit* Edit1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Done;
    QLabel* Panel2;
    app::FilterMenus* filterMenus;
    app::DocumentActions* documents;
};

class WindowProbe {
public:
    static WindowParts of(const app::TVendleMainForm& w) {
        return {w.PressedColumn, w.yTrayIcon1,  w.ProgressBox1, w.PopupMenu1, w.Grid,
                w.AVerInfo1,     w.Edit1,       w.Label1,       w.Label2,     w.Done,
                w.Panel2,        w.filterMenus, w.documents};
    }
};

inline WindowParts parts(const app::TVendleMainForm& w) {
    return WindowProbe::of(w);
}

} // namespace vendle::test
