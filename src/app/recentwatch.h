// SPDX-License-Identifier: GPL-3.0-or-later
// Watching the desktop's record of recently used documents: the two folders it lives in, and the
// rule for when a look at it runs. A look runs only while the program runs (one asked for during
// the start runs once it is over), never inside another look. A changed bookmark file is read on a
// thread of its own first, so that the window never waits for it.
#pragma once

#include "app/life.h"
#include "core/recentscan.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
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
    // `afterLook` takes the outcome of each look, right after it (no look runs meanwhile);
    // `looksOver` is emitted once the looks asked for meanwhile have run too.
    RecentWatch(HistorySession& session, const Life& life, std::function<void(ScanResult)> afterLook,
                QObject* parent = nullptr);

    widgets::TDirMonitor* DirMonitor1 = nullptr; // the data folder with the bookmark file
    widgets::TDirMonitor* DirMonitor2 = nullptr; // the folder of desktop links

    // The folders to watch, as the recent source names them (first the data folder).
    void setLocations(const std::vector<std::string>& locations);
    void start();
    // Stops watching; a read of the bookmark file under way is given up and waited for, and its
    // look runs when watching starts again.
    void stop();
    ~RecentWatch() override;

    // A change was noticed.
    void request();
    // The window was activated: the look runs once the click that activated it, and a double
    // click that may follow, are over, so that no row moves between the clicks.
    void requestWhenSettled();

    // A read of the desktop's record runs on another thread now.
    bool reading() const { return reader_ != nullptr; }

signals:
    void looksOver();

private:
    // The look itself, once what could be read ahead was read.
    void scanNow();

    HistorySession& session_;
    const Life& life_;
    std::function<void(ScanResult)> afterLook_;
    bool scanning_ = false; // a look is under way
    bool pending_ = false;  // a look was asked for that could not run yet
    bool watching_ = false; // between start() and stop()
    QTimer settle_;
    QThread* reader_ = nullptr; // reads the bookmark file ahead of a look
    std::atomic<bool> cancelled_{false};
};

} // namespace vendle::app
