// SPDX-License-Identifier: GPL-3.0-or-later
// Importing the desktop's recently-used records into the history: every entry recorded since it was
// last examined is resolved to its document, which moves to the newest place or is added, and the
// history is then cut to its size limit.
#pragma once

#include "errors.h"
#include "history.h"

#include <atomic>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vendle {

// One entry of the recently-used listing.
struct RecentEntry {
    std::string name;          // how the source finds the entry again (file name, URI, ...)
    std::int64_t unixTime = 0; // when it was last written, seconds since 1970 UTC
    std::int32_t nanos = 0;    // and within that second, as finely as the source records it

    struct Stamp {
        std::int64_t seconds = 0;
        std::int32_t nanos = 0;
        friend auto operator<=>(const Stamp&, const Stamp&) = default;
    };
    Stamp stamp() const { return {unixTime, nanos}; }
};

// What an entry of the record points at.
struct ResolvedEntry {
    ResolvedEntry() = default;
    ResolvedEntry(std::string document) : path(std::move(document)) {} // NOLINT(google-explicit-constructor)

    std::string path;    // the document; empty when the entry names none that is there now
    std::string missing; // without a document: the local file the entry names, which is not there
    std::string skipped; // without a document: why, for the log
};

// The desktop's record of recently used documents.
class RecentSource {
public:
    virtual ~RecentSource() = default;

    // Folders whose changes mean the listing may have changed.
    virtual std::vector<std::string> locations() const = 0;

    // Every entry, in the source's own order; false when nothing could be listed.
    virtual bool list(std::vector<RecentEntry>& entries) = 0;

    // True when the next list() has slow work (reading a changed file) that prepare() can do ahead.
    virtual bool hasWorkToPrepare() const { return false; }
    // Does that work, on any thread, while nothing else uses the source; stops early when
    // `cancelled` is set. The next list() then answers quickly.
    virtual void prepare(const std::atomic<bool>& cancelled) { (void)cancelled; }

    // The document an entry points at; no path when it is no shortcut or its target is not there.
    // Throws ShortcutError for any other failure.
    virtual ResolvedEntry resolve(const RecentEntry& entry) = 0;
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

// What the import has already taken from the source: the identity (name and exact time) of every
// entry of the last listing it looked at. An entry is new when its identity was not in that
// listing, whatever its time says: a clock that was wrong, an entry stamped in the future, or a
// source that appeared while the program was stopped cannot hide later entries. Memory is bounded
// by the listing's own size. The identities are saved with the history, so that a run that was
// killed before it saved is taken in again by the next one.
class RecentImports {
public:
    using Identity = std::uint64_t;
    static Identity identityOf(const RecentEntry& entry);

    // The start of watching, with the identities an earlier run saved with its history: what is
    // listed now and not among them was recorded since, and is new. Without saved identities (a
    // first run, a settings file of an older version) everything listed now counts as taken in,
    // except what was recorded after `previousScan`, the last look of an older version's run.
    void begin(const std::vector<RecentEntry>& present, const std::optional<std::vector<Identity>>& saved,
               std::optional<RecentEntry::Stamp> previousScan = std::nullopt);

    bool isNew(const RecentEntry& entry) const { return !isKnown(identityOf(entry)); }
    bool isKnown(Identity identity) const { return seen_.count(identity) != 0; }

    // After a scan of `listing`: exactly its entries count as taken in.
    void settle(const std::vector<RecentEntry>& listing);
    // The same with the listing's identities at hand.
    void adopt(std::unordered_set<Identity> listing);

    std::size_t size() const { return seen_.size(); }
    // The identities taken in, in ascending order, to be saved.
    std::vector<Identity> identities() const;

private:
    std::unordered_set<Identity> seen_;
};

// Saved identities as text (a header line, then one identity a line in hexadecimal) and back;
// nullopt for a text that is not such a list.
std::string identitiesText(const std::vector<RecentImports::Identity>& identities);
std::optional<std::vector<RecentImports::Identity>> identitiesFromText(std::string_view text);

// A write time as the history keeps it: local time with even seconds (rounded down).
DateTime dosDateTime(std::int64_t unixTime);

// An entry that could not be resolved; the scan went on without it.
struct ScanFailure {
    std::string entry;   // the entry's name in the source
    std::string boxText; // the short reason ("Resolve Error")
    std::string message; // the error's full text
};

struct ScanResult {
    bool listed = false; // the source could be listed
    int examined = 0;    // entries new since they were last examined
    int moved = 0;       // known documents moved to the newest place
    int added = 0;       // documents new to the history
    int dropped = 0;     // oldest entries cut by the size limit
    int back = 0;        // documents on a volume that was away and is there again
    std::vector<ScanFailure> failures;
    bool changed() const { return moved + added + dropped + back > 0; }
};

// Lists the source and starts `imports` from what it holds now (see RecentImports::begin).
void beginImports(RecentSource& source, RecentImports& imports,
                  const std::optional<std::vector<RecentImports::Identity>>& saved,
                  std::optional<RecentEntry::Stamp> previousScan = std::nullopt);

// A stamp as text ("seconds.nanoseconds", as the settings file keeps it) and back; nullopt for a
// text that is not one.
std::string stampText(RecentEntry::Stamp stamp);
std::optional<RecentEntry::Stamp> stampFromText(std::string_view text);

// The part of a scan that only reads: the listing, its entries that are new, and the identities
// that count as taken in afterwards. It may run on another thread than the rest, while nothing
// else uses the source or `imports`.
struct ScanPlan {
    bool listed = false;
    std::size_t listingSize = 0;
    std::vector<RecentEntry> fresh;
    std::unordered_set<RecentImports::Identity> listing;
};
ScanPlan planScan(RecentSource& source, const RecentImports& imports);

// Whether a document the desktop recorded (its resolved path, the record) may enter the history;
// an empty rule lets every one in.
using ImportRule = std::function<bool(const std::string& path, const RecentEntry& entry)>;

// Whether a document that is not there is on a volume that is away (rather than gone).
using AwayRule = std::function<bool(const std::string& path)>;

// The rest of a scan, on the history's thread: see scanRecent. Documents the rule refuses are
// passed over (and not taken again unless the desktop records them anew). A document that is
// not there because its volume is away (`away`) is taken in as unavailable, with the record's
// time; any other entry that names no document is logged.
ScanResult applyScan(HistoryList& history, RecentSource& source, RecentImports& imports, ScanPlan plan,
                     DateTime& lastScanTime, DateTime scanStart, int dataMax,
                     const std::function<void()>& beforeChange = {}, const ImportRule& admits = {},
                     const AwayRule& away = {});

// One scan. Every new entry is resolved and merged; one that fails to resolve is skipped and
// reported in the result, and is not examined again until the source records it anew.
// `lastScanTime` advances to `scanStart` when the listing yielded any entry. The view is emptied
// when entries are dropped; the caller rebuilds it. `beforeChange` runs once, right before the
// history is first changed; a scan that finds nothing to do never calls it.
ScanResult scanRecent(HistoryList& history, RecentSource& source, RecentImports& imports,
                      DateTime& lastScanTime, DateTime scanStart, int dataMax,
                      const std::function<void()>& beforeChange = {});

} // namespace vendle
