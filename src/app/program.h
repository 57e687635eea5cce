// SPDX-License-Identifier: GPL-3.0-or-later
// The program's life in one owner: the desktop's services, the history session, the watch over
// the desktop's record, the help and the windows, built in that order and gone in the reverse; the
// start as a step of its own, run from the event loop; the phase every look, report and exit path
// asks; and the reports of looks, shown one at a time.
#pragma once

#include "app/apppaths.h"
#include "app/life.h"
#include "core/inifileex.h"
#include "core/recentscan.h"
#include "widgets/trayicon.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

namespace vendle::widgets {
class IconList;
}

namespace vendle::app {

class DesktopSearch;
class DocumentOpener;
class HistorySession;
class RecentWatch;
class StartupEntry;
class TExclusionsDlg;
class TFormAboutBox;
class THtmlHelp;
class TOptionDlg;
class TVendleMainForm;

class Program : public QObject {
    Q_OBJECT

public:
    using TrayBackendFactory = std::function<std::unique_ptr<widgets::TrayBackend>()>;

    // Builds everything; nothing is read or shown yet but the settings file. `trayBackend` replaces
    // the notification area and `clock` the system clock (tests).
    explicit Program(AppPaths paths, const TrayBackendFactory& trayBackend = {},
                     TIniFileEx::Clock clock = vendle::now);
    ~Program() override;

    // The start: the welcome on a first start, the history loaded, the first look at the desktop's
    // record. A failure is shown and the program runs on with what it has (a history that was not
    // read is never written). False when the program was told to end meanwhile.
    bool start();

    const Life& life() const { return life_; }
    HistorySession& session() { return *session_; }
    RecentWatch& watch() { return *watch_; }
    TOptionDlg& optionDialog() { return *optionDlg_; }
    TExclusionsDlg& exclusionsDialog() { return *exclusionsDlg_; }
    TVendleMainForm& window() { return *window_; }

    // Opens a page of the help file beside the program; a missing file is reported with its path.
    void showHelp(const char* page);

    // The exit command: hide, save with progress, end the event loop. A failed save is shown and
    // the program runs on, watching again. During the start it gives the start up, as terminate().
    void exitCommand();
    // The session ends or the process was asked to end: save what can be saved, with no box and
    // no progress window. Nothing is written when the start was given up.
    void saveForSessionEnd();
    // The session did not end after all: run and watch again.
    void resumeWatching();
    // Told to end (a termination signal): boxes close, the start is given up if it was under way,
    // otherwise everything is saved; then the event loop ends.
    void terminate();
    // The last step, after the event loop: the settings file reaches the disk (not when the start
    // was given up).
    void finish();

    // Saves the history and the settings now, while running, without a box: what was changed is
    // on the disk even if the process is killed or the display goes away. A failure is logged and
    // shown by the exit's own save. Runs by itself two seconds after the last change of the
    // history and at once when a dialog's settings were taken.
    void saveChanges();

private:
    // Stops watching, stores settings and writes the history in one straight sequence; throws
    // when the history cannot be written.
    void saveAll(bool showProgress);
    void afterLook(ScanResult result);
    void showReports();
    // Reads the history and shows it; `importNow` takes in what the desktop records first.
    void loadAndShowHistory(bool importNow);
    void loadHistory();

    AppPaths paths_;
    Life life_;
    std::unique_ptr<widgets::IconList> icons_; // the session's model looks icons up here
    std::unique_ptr<HistorySession> session_;
    std::unique_ptr<RecentWatch> watch_;
    std::unique_ptr<THtmlHelp> help_;
    std::unique_ptr<TVendleMainForm> window_;
    std::unique_ptr<StartupEntry> startup_;
    std::unique_ptr<TOptionDlg> optionDlg_;
    std::unique_ptr<TFormAboutBox> aboutBox_;
    std::unique_ptr<TExclusionsDlg> exclusionsDlg_;
    // The history on the session bus (the desktop's search, the program's own interface), from
    // the end of the start; it goes before the window it opens documents over.
    std::unique_ptr<DocumentOpener> searchOpener_;
    std::unique_ptr<DesktopSearch> search_;
    std::unique_ptr<QObject> searchService_;
    QTimer* saveTimer_ = nullptr; // the save that follows a change of the history or the settings
    std::deque<ScanFailure> reports_;
    bool reporting_ = false; // a report is on screen
};

} // namespace vendle::app
