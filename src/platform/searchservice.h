// SPDX-License-Identifier: GPL-3.0-or-later
// The history on the session bus, under the name org.vendle.Vendle: the desktops' search (GNOME
// Shell's search provider, KDE's KRunner) and the program's own interface (org.vendle.Vendle1: Search, Add,
// Forget, Show). The program answers through a backend; the bus and its requests are the
// platform's, bounded and checked before the backend sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QObject;

namespace vendle::platform {

struct FoundDocument {
    std::string path;
    std::int64_t unixTime = 0; // the last use
    bool available = true;     // false: on a volume that is not there now
};

class SearchBackend {
public:
    virtual ~SearchBackend() = default;
    // The documents whose path holds every term, as the window's search matches, newest first.
    virtual std::vector<FoundDocument> search(const std::vector<std::string>& terms, std::size_t limit) = 0;
    // Documents used now, as if the desktop had recorded them.
    virtual void add(const std::vector<std::string>& paths) = 0;
    virtual void forget(const std::vector<std::string>& paths) = 0;
    // The window forward, with `searchText` in its search box when not empty.
    virtual void show(const std::string& searchText) = 0;
    // Opens a document of the history as the window does; the reason when it cannot.
    virtual std::string open(const std::string& path) = 0;
    // Opens the folder of a document of the history; the reason when it cannot.
    virtual std::string openFolder(const std::string& path) = 0;
};

inline constexpr const char* kBusName = "org.vendle.Vendle";
inline constexpr std::size_t kMostResults = 1000;    // Search's limit at most
inline constexpr std::size_t kMostShellResults = 20; // what the desktop's search is given
inline constexpr std::size_t kLongestTerms = 1024;   // bytes of all terms together
inline constexpr std::size_t kMostPaths = 1000;      // paths of one Add or Forget

// Puts the service on the session bus; nullptr (and a log line) where there is no session bus or
// the name is someone else's. The service goes with the returned object.
std::unique_ptr<QObject> startSearchService(SearchBackend& backend);

} // namespace vendle::platform
