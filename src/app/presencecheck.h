// SPDX-License-Identifier: GPL-3.0-or-later
// Asks the disk, on a thread of its own and a block of paths at a time, whether the documents read
// from the data file are still there, so that the window answers from the start while it does.
#pragma once

#include "core/fileaccess.h"
#include "core/history.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <vector>

namespace vendle::app {

class PresenceCheck : public QObject {
    Q_OBJECT

public:
    // Starts at once on `paths` (their bytes are kept here); `files` must outlive this object and
    // answer presenceOfEach from any thread.
    PresenceCheck(FileAccess& files, HistoryList::UncheckedPaths paths, QObject* parent = nullptr);
    // A check under way is given up after its current block, and waited for.
    ~PresenceCheck() override;

    // The paths asked about and, once `finished` was emitted, the answers in their order.
    const std::vector<std::string_view>& paths() const { return paths_.paths; }
    const std::vector<FileAccess::Presence>& answers() const { return answers_; }

signals:
    // Every path was answered (emitted on the thread that made this object).
    void finished();

private:
    HistoryList::UncheckedPaths paths_;
    std::vector<FileAccess::Presence> answers_;
    std::atomic<bool> cancelled_{false};
    QThread* worker_ = nullptr;
};

} // namespace vendle::app
