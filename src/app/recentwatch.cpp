// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentwatch.h"

#include "app/guarded.h"
#include "app/historysession.h"
#include "widgets/dirmonitor.h"

#include <QDir>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QStyleHints>

namespace vendle::app {

RecentWatch::RecentWatch(HistorySession& session, const Life& life, std::function<void(ScanResult)> afterLook,
                         QObject* parent)
    : QObject(parent), session_(session), life_(life), afterLook_(std::move(afterLook)) {
    // A look asked for during the start runs once the program runs.
    connect(&life, &Life::changed, this, [this](Phase phase) {
        if (phase == Phase::Running && pending_)
            runGuarded(nullptr, [this] { request(); });
    });
    DirMonitor1 = new widgets::TDirMonitor(this);
    DirMonitor2 = new widgets::TDirMonitor(this);
    for (widgets::TDirMonitor* monitor : {DirMonitor1, DirMonitor2}) {
        monitor->setFilter(widgets::TDirMonitor::kDefaultFilter);
        monitor->setIncludeSubDir(false);
        connect(monitor, &widgets::TDirMonitor::OnChange, this,
                [this] { runGuarded(nullptr, [this] { request(); }); });
    }
    // The data folder's own subfolders matter too: the folder of links may appear later.
    DirMonitor1->setFilter(widgets::TDirMonitor::kDefaultFilter | widgets::TDirMonitor::dmfDirName);
    widgets::TDirMonitor::setInterval(3000);
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            settle_.start(); // a button is still down
        else
            runGuarded(nullptr, [this] { request(); });
    });
}

void RecentWatch::requestWhenSettled() {
    settle_.start(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
}

void RecentWatch::setLocations(const std::vector<std::string>& locations) {
    if (!locations.empty())
        DirMonitor1->setDirectory(QString::fromStdString(locations[0]));
    if (locations.size() > 1)
        DirMonitor2->setDirectory(QString::fromStdString(locations[1]));
}

void RecentWatch::start() {
    watching_ = true;
    DirMonitor1->setActive(true);
    DirMonitor2->setActive(true);
    // A look that stop() gave up runs now.
    if (pending_)
        request();
}

void RecentWatch::stop() {
    watching_ = false;
    DirMonitor1->setActive(false);
    DirMonitor2->setActive(false);
    if (reader_) {
        cancelled_ = true;
        pending_ = true; // asked for and not done: the next start runs it
        reader_->wait();
    }
}

RecentWatch::~RecentWatch() {
    stop();
    delete reader_; // finished, and no longer announced to this object
}

void RecentWatch::request() {
    if (life_.is(Phase::Starting) || scanning_ || reader_) {
        pending_ = true;
        return;
    }
    pending_ = false;
    if (!life_.is(Phase::Running))
        return;
    if (!session_.recent().hasWorkToPrepare()) {
        scanNow();
        return;
    }
    cancelled_ = false;
    reader_ = QThread::create([this] { session_.prepareScan(cancelled_); });
    connect(reader_, &QThread::finished, this, [this] {
        reader_->deleteLater();
        reader_ = nullptr;
        if (!cancelled_)
            runGuarded(nullptr, [this] { scanNow(); });
        else if (watching_ && pending_) // watching resumed before the given-up read was over
            runGuarded(nullptr, [this] { request(); });
    });
    reader_->start();
}

void RecentWatch::scanNow() {
    if (!life_.is(Phase::Running))
        return;
    {
        scanning_ = true;
        const auto done = qScopeGuard([this] { scanning_ = false; });
        pending_ = false;
        if (afterLook_)
            afterLook_(session_.Scan());
    }
    // What changed meanwhile gets a look of its own (read ahead again if need be).
    if (pending_) {
        pending_ = false;
        request();
    }
    emit looksOver();
}

} // namespace vendle::app
