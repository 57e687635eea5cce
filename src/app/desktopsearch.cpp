// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktopsearch.h"

#include "app/documentopener.h"
#include "app/historysession.h"
#include "app/mainwindow.h"
#include "core/paths.h"
#include "platform/opener.h"

#include <QFileInfo>

#include <algorithm>

namespace vendle::app {

DesktopSearch::DesktopSearch(HistorySession& session, TVendleMainForm& window, DocumentOpener& opener,
                             const Life& life, std::string dataHome)
    : session_(session), window_(window), opener_(opener), life_(life), dataHome_(std::move(dataHome)) {}

std::vector<platform::FoundDocument> DesktopSearch::search(const std::vector<std::string>& terms,
                                                           std::size_t limit) {
    std::vector<platform::FoundDocument> found;
    if (!life_.is(Phase::Running))
        return found;
    for (const HistoryItem* item : session_.find(terms, limit))
        found.push_back({std::string(item->Path), toUnixTime(item->LastUsed), !item->Unavailable});
    return found;
}

void DesktopSearch::add(const std::vector<std::string>& paths) {
    if (!life_.is(Phase::Running))
        return;
    // Recorded in the desktop's list, the watch takes them in as any other use.
    for (const std::string& path : paths) {
        if (QFileInfo(QString::fromStdString(path)).isFile())
            platform::noteRecentlyUsed(path, dataHome_);
    }
}

void DesktopSearch::forget(const std::vector<std::string>& paths) {
    if (life_.is(Phase::Running))
        session_.forget(paths);
}

void DesktopSearch::show(const std::string& searchText) {
    if (life_.is(Phase::Running))
        window_.showSearch(QString::fromStdString(searchText));
}

const HistoryItem* DesktopSearch::openable(const std::string& path, std::string& reason) const {
    if (!life_.is(Phase::Running)) {
        reason = "the program is not running";
        return nullptr;
    }
    // Only documents of the history, and none on a volume that is away.
    const std::vector<const HistoryItem*> found = session_.find({path}, platform::kMostResults);
    const auto it =
        std::find_if(found.begin(), found.end(), [&](const HistoryItem* item) { return item->Path == path; });
    if (it == found.end()) {
        reason = "not in the history";
        return nullptr;
    }
    if ((*it)->Unavailable) {
        reason = "on a volume that is not there";
        return nullptr;
    }
    return *it;
}

std::string DesktopSearch::open(const std::string& path) {
    std::string reason;
    if (!openable(path, reason))
        return reason;
    return opener_.OpenDocument(path) ? std::string() : std::string("could not be opened");
}

std::string DesktopSearch::openFolder(const std::string& path) {
    std::string reason;
    if (!openable(path, reason))
        return reason;
    const std::string folder(directoryOf(path, session_.items().syntax()));
    return opener_.OpenDocument(folder) ? std::string() : std::string("could not be opened");
}

} // namespace vendle::app
