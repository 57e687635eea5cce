// SPDX-License-Identifier: GPL-3.0-or-later
// Tells its owner on the user-interface thread that something changed in a directory. One shared
// timer polls every active monitor without waiting; any number of changes between two ticks give
// one OnChange.
#pragma once

#include "platform/changenotification.h"

#include <QObject>
#include <QString>

namespace vendle::widgets {

class TDirMonitor : public QObject {
    Q_OBJECT

public:
    enum Filter : unsigned {
        dmfFileName = platform::ChangeKind::FileName,
        dmfDirName = platform::ChangeKind::DirName,
        dmfAttributes = platform::ChangeKind::Attributes,
        dmfSize = platform::ChangeKind::Size,
        dmfLastWrite = platform::ChangeKind::LastWrite,
        dmfChangeSecurity = platform::ChangeKind::Security,
    };
    static constexpr unsigned kDefaultFilter = dmfFileName | dmfAttributes | dmfSize | dmfLastWrite;

    explicit TDirMonitor(QObject* parent = nullptr);
    ~TDirMonitor() override;

    bool Active() const { return active_; }
    // Whether the directory is actually being watched (it exists and could be watched).
    bool isWatching() const { return notification_.isOpen(); }
    void setActive(bool active);

    // Empty means the current directory at the moment watching starts.
    const QString& Directory() const { return directory_; }
    void setDirectory(const QString& directory);

    unsigned FilterSet() const { return filter_; }
    void setFilter(unsigned filter);

    bool IncludeSubDir() const { return includeSubDir_; }
    void setIncludeSubDir(bool include);

    // The poll period in milliseconds, shared by every monitor of the process.
    static int Interval();
    static void setInterval(int milliseconds);

    // Whether the shared timer runs (some monitor is active).
    static bool pollerRunning();

    // Polls every active monitor now, as a timer tick does.
    static void pollNow();

signals:
    void OnChange(TDirMonitor* sender);

private:
    friend class DirMonitorPoller;
    void restartWatch();

    bool active_ = false;
    QString directory_;
    unsigned filter_ = kDefaultFilter;
    bool includeSubDir_ = false;
    platform::ChangeNotification notification_;
};

} // namespace vendle::widgets
