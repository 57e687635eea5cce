// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the search box over the grid, the menus and the tray icon, wired to the history
// session that does the work. The program object owns it and runs the start and the exit.
#pragma once

#include "app/apppaths.h"
#include "app/historysession.h"
#include "app/life.h"
#include "widgets/trayicon.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;

namespace vendle::widgets {
class IconList;
class TAVerInfo;
class TProgressBox;
} // namespace vendle::widgets

namespace vendle::test {
class WindowProbe;
}

namespace vendle::app {

class DocumentActions;
class FilterMenus;
class HistoryGridView;

class TVendleMainForm : public QMainWindow {
    Q_OBJECT

public:
    using TrayBackendFactory = std::function<std::unique_ptr<widgets::TrayBackend>()>;

    // Builds the widgets over the session; nothing is read or shown. `trayBackend` replaces the
    // notification area (tests).
    TVendleMainForm(HistorySession& session, const Life& life, const AppPaths& paths,
                    widgets::IconList& icons, const TrayBackendFactory& trayBackend = {},
                    QWidget* parent = nullptr);
    ~TVendleMainForm() override;

    HistorySession& session() { return session_; }
    const HistoryList& Items() const { return session_.items(); }

    // The window's part of the start: its place and column widths from the settings file.
    void restoreLayout();
    // Its place and column widths into the settings (in memory).
    void storeLayout();

    // Brings the window forward (shown, restored, raised, focus in the search box) while the
    // program runs: the tray icon, its "開く" and a second start.
    void ShowMainWindow();
    // The window forward with `text` in the search box (the desktop's search asked for it).
    void showSearch(const QString& text);
    // A second start asked for the window, with the token its launch was given (may be empty).
    void activateFromSecondCopy(const QString& activationToken);

    // True when no notification area exists: the window then stays reachable on the task bar.
    bool withoutTray() const;

    // The user chose a filter or changed the search: the view is rebuilt with it (and the search
    // box's text) and the current cell goes to row 1.
    void ApplyFilter(ViewFilter filter);
    void ApplyFilter() { ApplyFilter(session_.filter()); }
    // The view is rebuilt for a change the user did not ask for (an import): the current and
    // highlighted documents stay current and highlighted, wherever they now stand.
    void refreshView();
    // The counts above the grid and the grid or the empty panel, after the view changed.
    void showCounts();
    void UpdateView();

    // The icon of an icon index, loaded once.
    QIcon iconFor(int iconIndex) const;

    // While the history loads: the busy icon and `tip` in the notification area; the end puts
    // back the icon and the tip it had.
    void showLoading(const std::string& tip);
    void endLoading();
    // The exit's save: the progress box shows from begin to end.
    void beginSaveProgress();
    void showSaveProgress(int percent, const QString& text);
    void endSaveProgress();

signals:
    void exitRequested();
    void settingsRequested();
    void exclusionsRequested();
    void aboutRequested();
    void helpRequested(const char* page);
    // The window became the active one.
    void activated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class test::WindowProbe; // the tests' view of the parts

    void createComponents();
    void createMenus();
    void readLocale();
    void fitColumns();

    HistorySession& session_;
    const Life& life_;
    const AppPaths& paths_;
    widgets::IconList& icons_;
    QMenu* filterMenu_ = nullptr;
    Qt::WindowStates shownState_ = Qt::WindowNoState; // the state before the last minimising
    bool closeNoticeShown_ = false; // this run told the user that closing leaves the program running
    std::string tipBeforeLoading_;

    int PressedColumn = -1;
    widgets::TyTrayIcon* yTrayIcon1 = nullptr;
    widgets::TProgressBox* ProgressBox1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    HistoryGridView* Grid = nullptr;
    widgets::TAVerInfo* AVerInfo1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Done = nullptr; // what the last command did, and its undo
    QLabel* Panel2 = nullptr;
    FilterMenus* filterMenus = nullptr;
    DocumentActions* documents = nullptr;
};

} // namespace vendle::app
