#include "recentwatch.h"

#include "app/guarded.h"
#include "app/historysession.h"
#include "widgets/dirmonitor.h"

#include <QDir>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QStyleHints>

namespace vendle::app {

RecentWatch::RecentWatch(HistorySession& session, std::function<void(const ScanResult&)> afterScan,
                         std::function<void(const ScanFailure&)> report, QObject* parent)
    : QObject(parent), session_(session), afterScan_(std::move(afterScan)), report_(std::move(report)) {
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
    DirMonitor1->setActive(true);
    DirMonitor2->setActive(true);
}

void RecentWatch::stop() {
    DirMonitor1->setActive(false);
    DirMonitor2->setActive(false);
    if (reader_) {
        cancelled_ = true;
        reader_->wait();
    }
}

RecentWatch::~RecentWatch() {
    stop();
    delete reader_; // finished, and no longer announced to this object
}

void RecentWatch::setReady() {
    ready_ = true;
    if (pending_)
        request();
}

void RecentWatch::request() {
    if (!ready_ || scanning_ || reader_) {
        pending_ = true;
        return;
    }
    if (saving_ || session_.abandoned())
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
    });
    reader_->start();
}

void RecentWatch::scanNow() {
    if (saving_ || session_.abandoned())
        return;
    {
        scanning_ = true;
        const auto done = qScopeGuard([this] { scanning_ = false; });
        pending_ = false;
        ScanResult result = session_.Scan();
        if (afterScan_)
            afterScan_(result);
        for (ScanFailure& failure : result.failures)
            reports_.push_back(std::move(failure));
    }
    // What changed meanwhile gets a look of its own (read ahead again if need be).
    if (pending_) {
        pending_ = false;
        request();
    }
    showReports();
}

void RecentWatch::showReports() {
    // One report at a time; a look that runs while one waits adds its own to the queue, which the
    // report on screen's caller goes on with.
    if (reporting_)
        return;
    reporting_ = true;
    const auto done = qScopeGuard([this] { reporting_ = false; });
    while (!reports_.empty() && !saving_) {
        const ScanFailure failure = std::move(reports_.front());
        reports_.pop_front();
        if (report_)
            report_(failure);
    }
}

} // namespace vendle::app
