// SPDX-License-Identifier: GPL-3.0-or-later
// The history data file: one line per entry in the order of Items, the path, a TAB and the time of
// last use ("yyyy/mm/dd h:nn:ss", whatever the locale), CR LF after every line.
#pragma once

#include "datetimeformat.h"
#include "fileaccess.h"
#include "history.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vendle {

struct LoadReport {
    bool fileMissing = false; // no data file: nothing loaded, nothing to report
    std::string openError;    // the message to show when the file exists but cannot be read
    int lineCount = 0;        // lines in the file
    int added = 0;            // entries added to the history (and still there, once checked)
    int unreadableTimes = 0;  // entries kept with time 0 because their time text could not be read
    int damagedLines = 0;     // lines skipped because they hold a NUL byte
    int unavailable = 0;      // entries kept although their volume is not there now (once checked)
    int duplicateLines = 0;   // lines whose path an earlier or later line holds too (merged)
};

// Called with (index, count) for every hundredth line and once more with (count, count).
using LoadProgress = std::function<void(int index, int count)>;

// Called with the percentage and the "Vendle：書出中．．．(i/n)" text.
using SaveProgress = std::function<void(int percent, const std::string& text)>;

// A monotonic millisecond clock.
using TickSource = std::function<std::uint64_t()>;

// Reads the data file into `history` in one pass over its bytes: each line becomes an entry through
// addUnchecked, its time read from the second field; whether the documents are still there is
// left to settleChecks. An entry whose line has no TAB or an unreadable time is kept with time 0.
// A line with a NUL byte is skipped, and reading goes on after it. A leading byte-order mark is
// skipped; a path on several lines becomes one entry (its last line's place, its latest time).
// Times are read in the files' own form, or else in `fmt`'s (files written under a locale).
// `expectedItems` (the stored line count) pre-sizes the list, bounded by the file's line count.
// `unchecked`, when given, receives the paths of the entries added (as uncheckedPaths gives them,
// but pointing into the file's text instead of a copy).
LoadReport readHistory(HistoryList& history, const std::string& path, FileAccess& files,
                       const DateTimeFormat& fmt, long long expectedItems, const LoadProgress& progress = {},
                       HistoryList::UncheckedPaths* unchecked = nullptr);

// readHistory, then the disk asked about every entry at once: documents that no longer exist are
// dropped, those whose volume is away are kept as unavailable.
LoadReport LoadHistory(HistoryList& history, const std::string& path, FileAccess& files,
                       const DateTimeFormat& fmt, long long expectedItems, const LoadProgress& progress = {});

// Writes the data file's text for `history` into `sink` in pieces of a few hundred kilobytes and
// returns the number of lines. Paths the format cannot hold are skipped. Times are written in the
// files' own form (fileDateTimeFormat). Progress is reported when more than 300 ms passed since
// the last report.
int writeHistoryText(const HistoryList& history, ByteSink& sink, const SaveProgress& progress = {},
                     const TickSource& ticks = {});

// The same text as one string; `written` receives the number of lines.
std::string historyText(const HistoryList& history, int& written, const SaveProgress& progress = {},
                        const TickSource& ticks = {});

// Writes the data file atomically and returns the number of lines written. Throws IoError and
// leaves the old file untouched when the write fails.
int SaveHistory(const HistoryList& history, const std::string& path, FileAccess& files,
                const SaveProgress& progress = {}, const TickSource& ticks = {});

// A monotonic millisecond clock for SaveHistory.
std::uint64_t monotonicMilliseconds();

} // namespace vendle
