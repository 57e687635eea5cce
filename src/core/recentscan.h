// Importing the desktop's recently-used records into the history: every entry written after the
// last scan is resolved to its document, which moves to the newest place or is added, and the
// history is then cut to its size limit.
#pragma once

#include "errors.h"
#include "history.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vendle {

// One entry of the recently-used listing.
struct RecentEntry {
    std::string name;          // how the source finds the entry again (file name, URI, ...)
    std::int64_t unixTime = 0; // when it was last written, seconds since 1970 UTC
};

// The desktop's record of recently used documents.
class RecentSource {
public:
    virtual ~RecentSource() = default;

    // Folders whose changes mean the listing may have changed.
    virtual std::vector<std::string> locations() const = 0;

    // Every entry, in the source's own order; false when nothing could be listed.
    virtual bool list(std::vector<RecentEntry>& entries) = 0;

    // The document an entry points at; empty when it is no shortcut or its target is gone.
    // Throws ShortcutError for any other failure.
    virtual std::string resolve(const RecentEntry& entry) = 0;
};

// A shortcut that could not be resolved for a reason other than a missing target. `boxText` is
// the short reason shown in a plain box before the error itself.
class ShortcutError : public TraceException {
public:
    ShortcutError(const char* file, int line, std::string boxText)
        : TraceException(file, line, 0), boxText_(std::move(boxText)) {}
    const std::string& boxText() const { return boxText_; }

private:
    std::string boxText_;
};

// A write time as the history keeps it: local time with even seconds (rounded down).
DateTime dosDateTime(std::int64_t unixTime);

struct ScanResult {
    bool listed = false; // the source could be listed
    int examined = 0;    // entries newer than the last scan
    int moved = 0;       // known documents moved to the newest place
    int added = 0;       // documents new to the history
    int dropped = 0;     // oldest entries cut by the size limit
};

// One scan. `lastScanTime` advances to `scanStart` when the listing yielded any entry. A
// ShortcutError from the source ends the scan at once: what was merged stays merged,
// `lastScanTime` keeps its value and the size cut is left for the next scan. The view is emptied
// when entries are dropped; the caller rebuilds it.
ScanResult scanRecent(HistoryList& history, RecentSource& source, DateTime& lastScanTime, DateTime scanStart,
                      int dataMax);

} // namespace vendle
