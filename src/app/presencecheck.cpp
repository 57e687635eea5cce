// SPDX-License-Identifier: GPL-3.0-or-later
#include "presencecheck.h"

#include <algorithm>

namespace vendle::app {

namespace {

// Small enough that giving up (at exit) waits for little, large enough that each block keeps the
// platform's threads busy.
constexpr std::size_t kBlock = 8192;

} // namespace

PresenceCheck::PresenceCheck(FileAccess& files, HistoryList::UncheckedPaths paths, QObject* parent)
    : QObject(parent), paths_(std::move(paths)) {
    worker_ = QThread::create([this, &files] {
        std::vector<FileAccess::Presence> answers;
        answers.reserve(paths_.paths.size());
        for (std::size_t from = 0; from < paths_.paths.size() && !cancelled_; from += kBlock) {
            const std::vector<std::string_view> block(
                paths_.paths.begin() + static_cast<std::ptrdiff_t>(from),
                paths_.paths.begin() +
                    static_cast<std::ptrdiff_t>(std::min(paths_.paths.size(), from + kBlock)));
            const std::vector<FileAccess::Presence> found = files.presenceOfEach(block);
            answers.insert(answers.end(), found.begin(), found.end());
        }
        answers_ = std::move(answers);
    });
    worker_->setParent(this);
    connect(worker_, &QThread::finished, this, [this] {
        if (!cancelled_ && answers_.size() == paths_.paths.size())
            emit finished();
    });
    worker_->start();
}

PresenceCheck::~PresenceCheck() {
    cancelled_ = true;
    worker_->wait();
}

} // namespace vendle::app
