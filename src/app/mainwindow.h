// The main window: owner of the history, the settings file, the tray icon and the menus; its
// creation loads everything in a fixed order and its exit sequence writes settings and history.
#pragma once

#include "app/apppaths.h"
#include "core/datetimeformat.h"
#include "core/history.h"
#include "core/inifileex.h"
#include "core/recentscan.h"
#include "core/viewfilter.h"
#include "widgets/trayicon.h"

#include <QMainWindow>
#include <QPixmap>

#include <functional>
#include <memory>

class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;

namespace vendle::platform {
class DesktopRecentSource;
class DesktopShellInfo;
class SystemFileAccess;
} // namespace vendle::platform

namespace vendle::widgets {
class IconList;
class TDirMonitor;
class TAVerInfo;
class TProgressBox;
} // namespace vendle::widgets

namespace vendle::app {

class HistoryGridView;
class HistoryTableModel;

class TVendleMainForm : public QMainWindow {
    Q_OBJECT

public:
    using TrayBackendFactory = std::function<std::unique_ptr<widgets::TrayBackend>()>;

    // Creates the window and runs FormCreate. `trayBackend` replaces the notification area (tests).
    explicit TVendleMainForm(AppPaths paths, TrayBackendFactory trayBackend = {}, QWidget* parent = nullptr);
    // FormDestroy: the settings file reaches the disk here.
    ~TVendleMainForm() override;

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

    HistoryList& Items() { return *items_; }
    bool Loading = false;
    int DataMax = 10'000;
    bool ConfirmReadOnly = false;
    DateTime LastScanTime = 0;
    int PressedColumn = -1;
    ViewFilter Filter;
    QPixmap UpArrow;
    QPixmap DownArrow;

    TIniFileEx* IniFile() const { return iniFile_.get(); }
    widgets::TyTrayIcon* yTrayIcon1 = nullptr;
    widgets::TProgressBox* ProgressBox1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    HistoryGridView* Grid = nullptr;
    widgets::TAVerInfo* AVerInfo1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Panel2 = nullptr;

    // True when no notification area exists: the window then stays reachable on the task bar.
    bool withoutTray() const;

    void ApplyFilter();
    void UpdateView();

    // Imports what the desktop recorded since the last scan (a change in its folders, or the
    // window was activated). Held back until the window is fully created.
    void DirMonitor1Change();

    // The icon of an icon index, loaded once.
    QIcon iconFor(int iconIndex) const;

    widgets::TDirMonitor* DirMonitor1 = nullptr; // the data folder with the bookmark file
    widgets::TDirMonitor* DirMonitor2 = nullptr; // the folder of desktop links

signals:
    void settingsRequested();
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void createComponents();
    void createMenus();
    void runFirstStart();
    void RegisterStartup();
    void LoadHistory();
    void SaveHistory(bool showProgress);
    void TypeMenuBuild();
    void FolderMenuBuild();
    void readLocale();
    void startMonitors();

    AppPaths paths_;
    TrayBackendFactory trayBackend_;
    DateTimeFormat format_;
    std::unique_ptr<platform::SystemFileAccess> files_;
    std::unique_ptr<platform::DesktopShellInfo> shell_;
    std::unique_ptr<platform::DesktopRecentSource> recent_;
    std::unique_ptr<widgets::IconList> icons_;
    std::unique_ptr<Collator> collator_;
    std::unique_ptr<HistoryList> items_;
    std::unique_ptr<TIniFileEx> iniFile_;
    HistoryTableModel* model_ = nullptr;
    QMenu* miFolderFilter = nullptr;
    QMenu* miTypeFilter = nullptr;
    QActionGroup* folderGroup_ = nullptr;
    QActionGroup* typeGroup_ = nullptr;
    RecentImports imports_;
    bool historyLoaded_ = false;  // the data file was read, or there was none
    bool startAbandoned_ = false; // the program was told to end while the start asked the user
    bool created_ = false;        // FormCreate has finished
    bool scanning_ = false;       // a scan or its report is running
    bool scanPending_ = false;    // a change came in while it could not be scanned
    bool saving_ = false;         // SaveAtExit is running
};

} // namespace vendle::app
