// The main window: the search box over the grid, the menus and the tray icon, wired to the history
// session that does the work. Its creation sets everything up in a fixed order; its exit sequence
// writes settings and history.
#pragma once

#include "app/apppaths.h"
#include "app/historysession.h"
#include "widgets/trayicon.h"

#include <QMainWindow>
#include <QPixmap>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;

namespace vendle::widgets {
class IconList;
class TDirMonitor;
class TAVerInfo;
class TProgressBox;
} // namespace vendle::widgets

namespace vendle::app {

class DocumentActions;
class DocumentMenu;
class DocumentOpener;
class FilterMenus;
class HistoryGridView;
class RecentWatch;
class THtmlHelp;

class TVendleMainForm : public QMainWindow {
    Q_OBJECT

public:
    using TrayBackendFactory = std::function<std::unique_ptr<widgets::TrayBackend>()>;

    // Creates the window and runs FormCreate. `trayBackend` replaces the notification area and
    // `clock` the system clock (tests).
    explicit TVendleMainForm(AppPaths paths, TrayBackendFactory trayBackend = {},
                             TIniFileEx::Clock clock = vendle::now, QWidget* parent = nullptr);
    ~TVendleMainForm() override;

    HistorySession& session() { return *session_; }
    const HistoryList& Items() const { return session_->items(); }

    // Opens a page of the help file beside the program; a missing file is reported with its path.
    void ShowHelpTopic(const char* page);

    // Shows the window unless it is visible already or the history is loading.
    void ShowMainWindow();
    // A second copy asked this one to come forward.
    void activateFromSecondCopy();
    // Stops watching, stores settings and writes the history, in one straight sequence: no scan
    // and no box runs meanwhile, and only the progress box (when `showProgress`) sees events. The
    // data file is written only when the history was loaded from it (or there was none), so a
    // start that failed early never empties it. Throws when the history cannot be written; the
    // program then stays resident with its history in memory.
    void SaveAtExit(bool showProgress = true);
    // The exit command: hide, save, end the event loop. A failed save is shown and the program
    // stays, watching again.
    void Exit1Click();
    // The session is ending or the process was asked to terminate: save what can be saved, with
    // no box and no progress window. A start abandoned before the user answered writes nothing.
    void saveForSessionEnd();
    // The session did not end after all: watch again.
    void resumeWatching();
    // The last step of the exit: the settings file reaches the disk.
    void FormDestroy();

    bool Loading = false;
    int PressedColumn = -1;
    QPixmap UpArrow;
    QPixmap DownArrow;

    widgets::TyTrayIcon* yTrayIcon1 = nullptr;
    widgets::TProgressBox* ProgressBox1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    HistoryGridView* Grid = nullptr;
    widgets::TAVerInfo* AVerInfo1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Panel2 = nullptr;
    FilterMenus* filterMenus = nullptr;
    DocumentActions* documents = nullptr;
    DocumentOpener* opener = nullptr;
    DocumentMenu* documentMenu = nullptr;
    widgets::TDirMonitor* DirMonitor1 = nullptr; // the data folder with the bookmark file
    widgets::TDirMonitor* DirMonitor2 = nullptr; // the folder of desktop links

    // True when no notification area exists: the window then stays reachable on the task bar.
    bool withoutTray() const;

    // The user changed the search or a filter: the view is rebuilt and the current cell goes to
    // row 1.
    void ApplyFilter();
    // The view is rebuilt for a change the user did not ask for (an import): the current and
    // highlighted documents stay current and highlighted, wherever they now stand.
    void refreshView();
    void UpdateView();

    // Imports what the desktop recorded since the last look (a change in its folders, or the
    // window was activated). Held back until the window is fully created.
    void DirMonitor1Change();

    // The icon of an icon index, loaded once.
    QIcon iconFor(int iconIndex) const;

signals:
    // The exit command started (true) or was given up after a failed save (false).
    void ending(bool ending);
    void settingsRequested();
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate(TIniFileEx::Clock clock);
    void createComponents();
    void createMenus();
    void LoadHistory();
    void SaveHistory(bool showProgress);
    void readLocale();
    void fitColumns();
    void reportScanFailure(const ScanFailure& failure);

    AppPaths paths_;
    TrayBackendFactory trayBackend_;
    std::unique_ptr<widgets::IconList> icons_; // before the session, whose model looks icons up here
    std::unique_ptr<HistorySession> session_;
    std::unique_ptr<THtmlHelp> help_;
    QMenu* filterMenu_ = nullptr;
    RecentWatch* watch_ = nullptr;
    bool created_ = false;                            // FormCreate has finished
    bool saving_ = false;                             // SaveAtExit is running
    Qt::WindowStates shownState_ = Qt::WindowNoState; // the state before the last minimising
};

} // namespace vendle::app
