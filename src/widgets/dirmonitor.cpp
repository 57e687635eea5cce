// SPDX-License-Identifier: GPL-3.0-or-later
#include "dirmonitor.h"

#include "platform/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace vendle::widgets {

// The process-wide part: the shared interval, the active monitors in activation order and the
// timer that polls them.
class DirMonitorPoller {
public:
    static DirMonitorPoller& instance() {
        static DirMonitorPoller poller;
        return poller;
    }

    int interval = 2000;
    std::vector<TDirMonitor*> active;

    QTimer& timer() {
        if (!timer_) {
            // Owned by the application object, so that it goes before the event dispatcher.
            timer_ = new QTimer(QCoreApplication::instance());
            QObject::connect(timer_.data(), &QTimer::timeout, timer_.data(), [this] { poll(); });
        }
        return *timer_;
    }

    void poll() {
        // Serve the first signalled monitor in list order, then look again: a handler may switch
        // monitors on or off, and a monitor signalled again meanwhile is served again.
        for (int guard = 0; guard < 1000; ++guard) {
            TDirMonitor* signalled = nullptr;
            for (TDirMonitor* m : std::vector<TDirMonitor*>(active)) {
                // A folder that went away is watched again once it is back; its return is a change.
                if (!m->notification_.isOpen()) {
                    m->restartWatch();
                    if (m->notification_.isOpen()) {
                        signalled = m;
                        break;
                    }
                    continue;
                }
                if (m->notification_.signalled()) {
                    signalled = m;
                    break;
                }
            }
            if (!signalled)
                return;
            emit signalled->OnChange(signalled);
        }
    }

private:
    QPointer<QTimer> timer_;
};

TDirMonitor::TDirMonitor(QObject* parent) : QObject(parent) {}

TDirMonitor::~TDirMonitor() {
    setActive(false);
}

void TDirMonitor::restartWatch() {
    notification_.close();
    const QString dir = directory_.isEmpty() ? QDir::currentPath() : directory_;
    if (!notification_.open(QFile::encodeName(dir).toStdString(), filter_, includeSubDir_))
        qCDebug(lcWatch) << "cannot watch" << dir << "(it may not exist yet)";
}

void TDirMonitor::setActive(bool active) {
    if (active == active_)
        return;
    auto& poller = DirMonitorPoller::instance();
    active_ = active;
    if (active) {
        restartWatch();
        poller.active.push_back(this);
        if (poller.active.size() == 1)
            poller.timer().start(poller.interval);
    } else {
        notification_.close();
        poller.active.erase(std::remove(poller.active.begin(), poller.active.end(), this),
                            poller.active.end());
        if (poller.active.empty())
            poller.timer().stop();
    }
}

void TDirMonitor::setDirectory(const QString& directory) {
    if (directory == directory_)
        return;
    directory_ = directory;
    if (active_)
        restartWatch();
}

void TDirMonitor::setFilter(unsigned filter) {
    if (filter == filter_)
        return;
    filter_ = filter;
    if (active_)
        restartWatch();
}

void TDirMonitor::setIncludeSubDir(bool include) {
    if (include == includeSubDir_)
        return;
    includeSubDir_ = include;
    if (active_)
        restartWatch();
}

int TDirMonitor::Interval() {
    return DirMonitorPoller::instance().interval;
}

void TDirMonitor::setInterval(int milliseconds) {
    auto& poller = DirMonitorPoller::instance();
    poller.interval = milliseconds;
    if (!poller.active.empty())
        poller.timer().start(milliseconds);
}

bool TDirMonitor::pollerRunning() {
    return DirMonitorPoller::instance().timer().isActive();
}

void TDirMonitor::pollNow() {
    DirMonitorPoller::instance().poll();
}

} // namespace vendle::widgets
