// Watching the desktop's record of recently used documents: the two folders it lives in, and the
// rule for when a look at it runs. A look never runs before the window is complete, never inside
// another look, and never while the program saves. A changed bookmark file is read on a thread
// of its own first, so that the window never waits for it. What a look could not take in is reported
// after it, one report at a time; looks go on while a report waits for the user (a box's own
// event loop delivers change notices), and their reports join the queue.
#pragma once

#include "core/recentscan.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vendle::widgets {
class TDirMonitor;
}

namespace vendle::app {

class HistorySession;

class RecentWatch : public QObject {
    Q_OBJECT

public:
    // `afterScan` shows the outcome of each look (the view); `report` tells the user of one entry
    // that could not be taken in.
    RecentWatch(HistorySession& session, std::function<void(const ScanResult&)> afterScan,
                std::function<void(const ScanFailure&)> report, QObject* parent = nullptr);

    widgets::TDirMonitor* DirMonitor1 = nullptr; // the data folder with the bookmark file
    widgets::TDirMonitor* DirMonitor2 = nullptr; // the folder of desktop links

    // The folders to watch, as the recent source names them (first the data folder).
    void setLocations(const std::vector<std::string>& locations);
    void start();
    // Stops watching; a read of the bookmark file under way is given up and waited for.
    void stop();
    ~RecentWatch() override;

    // The window is complete: a look asked for before runs now.
    void setReady();
    // While saving, looks are refused.
    void setSaving(bool saving) { saving_ = saving; }

    // A change was noticed.
    void request();
    // The window was activated: the look runs once the click that activated it, and a double
    // click that may follow, are over, so that no row moves between the clicks.
    void requestWhenSettled();

private:
    HistorySession& session_;
    void showReports();
    // The look itself, once what could be read ahead was read.
    void scanNow();

    std::function<void(const ScanResult&)> afterScan_;
    std::function<void(const ScanFailure&)> report_;
    std::deque<ScanFailure> reports_;
    bool reporting_ = false;
    bool ready_ = false;
    bool scanning_ = false;
    bool pending_ = false;
    bool saving_ = false;
    QTimer settle_;
    QThread* reader_ = nullptr; // reads the bookmark file ahead of a look
    std::atomic<bool> cancelled_{false};
};

} // namespace vendle::app
