// SPDX-License-Identifier: GPL-3.0-or-later
// What the history answers to the desktop's search and the program's bus interface: searches
// matched as the window matches, documents added as the desktop records them, forgotten as the
// window forgets them, opened as the window opens them. Nothing is done outside the running phase.
#pragma once

#include "app/life.h"
#include "platform/searchservice.h"

#include <string>

namespace vendle {
struct HistoryItem;
}

namespace vendle::app {

class DocumentOpener;
class HistorySession;
class TVendleMainForm;

class DesktopSearch final : public platform::SearchBackend {
public:
    DesktopSearch(HistorySession& session, TVendleMainForm& window, DocumentOpener& opener, const Life& life,
                  std::string dataHome);

    std::vector<platform::FoundDocument> search(const std::vector<std::string>& terms,
                                                std::size_t limit) override;
    void add(const std::vector<std::string>& paths) override;
    void forget(const std::vector<std::string>& paths) override;
    void show(const std::string& searchText) override;
    std::string open(const std::string& path) override;
    std::string openFolder(const std::string& path) override;

private:
    // The history's record of `path`, or the reason it may not be opened.
    const HistoryItem* openable(const std::string& path, std::string& reason) const;

    HistorySession& session_;
    TVendleMainForm& window_;
    DocumentOpener& opener_;
    const Life& life_;
    std::string dataHome_;
};

} // namespace vendle::app
