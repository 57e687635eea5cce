// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyfile.h"
#include "core/texts.h"

#include "filelimits.h"
#include "text.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <memory>

namespace vendle {

namespace {

// One line of the data file, as the single pass over its bytes reads it.
struct Row {
    std::string_view path;
    DateTime time = 0;
    bool timed = false;      // the time could be read
    bool superseded = false; // a later line holds the same path
};

// The rows' paths in an open-addressing table of row numbers, so that a path on several lines is
// found without an allocation per line.
class RowIndex {
public:
    explicit RowIndex(std::size_t expected) {
        resize(std::bit_ceil(std::max<std::size_t>(64, expected * 2)));
    }

    // The row that holds `path` already, or none; `row` is remembered for it either way.
    std::optional<std::uint32_t> exchange(std::string_view path, std::uint32_t row,
                                          const std::vector<Row>& rows) {
        if ((used_ + 1) * 2 > slots_.size())
            grow(rows);
        std::size_t at = std::hash<std::string_view>{}(path) & (slots_.size() - 1);
        for (;; at = (at + 1) & (slots_.size() - 1)) {
            const std::uint32_t held = slots_[at];
            if (held == 0) {
                slots_[at] = row + 1;
                ++used_;
                return std::nullopt;
            }
            if (rows[held - 1].path == path) {
                slots_[at] = row + 1;
                return held - 1;
            }
        }
    }

private:
    void resize(std::size_t size) { slots_.assign(size, 0); }
    void grow(const std::vector<Row>& rows) {
        std::vector<std::uint32_t> old = std::move(slots_);
        resize(old.size() * 2);
        for (const std::uint32_t held : old) {
            if (held == 0)
                continue;
            std::size_t at = std::hash<std::string_view>{}(rows[held - 1].path) & (slots_.size() - 1);
            while (slots_[at] != 0)
                at = (at + 1) & (slots_.size() - 1);
            slots_[at] = held;
        }
    }

    std::vector<std::uint32_t> slots_; // row number + 1; 0 is empty
    std::size_t used_ = 0;
};

} // namespace

LoadReport readHistory(HistoryList& history, const std::string& path, FileAccess& files,
                       const DateTimeFormat& fmt, long long expectedItems, const LoadProgress& progress,
                       HistoryList::UncheckedPaths* unchecked) {
    LoadReport report;
    if (!files.exists(path)) {
        report.fileMissing = true;
        return report;
    }
    std::optional<std::string> read = files.readAll(path, kDataFileLimit);
    if (!read) {
        report.openError = fillIn(textIn("HistoryFile", "データファイル(%1が見つかりません。"), {path});
        return report;
    }
    // Held where it stays put, so that the paths handed out for the check can point into it.
    const auto text = std::make_shared<const std::string>(std::move(*read));

    // One pass over the bytes: each line becomes a row of views into the text. A damaged stretch
    // (a NUL byte, as a crash can leave) costs only the lines it is in. An editor's byte-order mark
    // in front of a path (the first, or one of files joined together) is no part of it: paths begin
    // with a folder separator or a drive. A path on several lines (a hand-edited file) becomes one
    // entry, at its last line's place and with the latest of its times.
    const std::size_t expected = static_cast<std::size_t>(std::clamp<long long>(
        expectedItems, 0, std::min<long long>(kDataMaxMax, static_cast<long long>(text->size() / 4 + 1))));
    std::vector<Row> rows;
    rows.reserve(expected);
    RowIndex index(expected);
    forEachLine(
        *text,
        [&](std::string_view line) {
            while (line.substr(0, 3) == "\xEF\xBB\xBF")
                line.remove_prefix(3);
            if (line.find('\0') != std::string_view::npos) {
                ++report.damagedLines;
                return;
            }
            Row row;
            const std::size_t tab = line.find('\t');
            row.path = line.substr(0, tab);
            if (tab != std::string_view::npos) {
                std::string_view field = line.substr(tab + 1);
                field = field.substr(0, field.find('\t'));
                if (const std::optional<DateTime> when = readFileDateTime(field, fmt)) {
                    row.time = *when;
                    row.timed = true;
                }
            }
            if (const std::optional<std::uint32_t> earlier =
                    index.exchange(row.path, static_cast<std::uint32_t>(rows.size()), rows)) {
                Row& before = rows[*earlier];
                before.superseded = true;
                ++report.duplicateLines;
                if (before.timed && (!row.timed || before.time > row.time)) {
                    row.time = before.time;
                    row.timed = true;
                }
            }
            rows.push_back(row);
        },
        NulByte::InLine);
    report.lineCount = static_cast<int>(rows.size());
    history.presize(expectedItems, rows.size() - static_cast<std::size_t>(report.duplicateLines));

    // Whether each document is still there is asked later, off the window's thread (settleChecks):
    // the entries come in unchecked, typed by their names.
    std::string pathText;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (progress && i % 100 == 0)
            progress(static_cast<int>(i), report.lineCount);
        const Row& row = rows[i];
        if (row.superseded)
            continue;
        pathText.assign(row.path);
        if (!history.addUnchecked(pathText, row.time))
            continue;
        if (unchecked)
            unchecked->paths.push_back(row.path);
        ++report.added;
        if (!row.timed)
            ++report.unreadableTimes;
    }
    if (progress)
        progress(report.lineCount, report.lineCount);
    if (unchecked)
        unchecked->bytes = text;
    return report;
}

LoadReport LoadHistory(HistoryList& history, const std::string& path, FileAccess& files,
                       const DateTimeFormat& fmt, long long expectedItems, const LoadProgress& progress) {
    LoadReport report = readHistory(history, path, files, fmt, expectedItems, progress);
    const HistoryList::UncheckedPaths unchecked = history.uncheckedPaths();
    const HistoryList::CheckOutcome outcome =
        history.settleChecks(unchecked.paths, files.presenceOfEach(unchecked.paths));
    report.added -= outcome.gone;
    report.unavailable = outcome.away;
    return report;
}

int writeHistoryText(const HistoryList& history, ByteSink& sink, const SaveProgress& progress,
                     const TickSource& ticks) {
    // Pieces this size stay in the cache between formatting and writing them out.
    constexpr std::size_t kPiece = 256 * 1024;
    const int count = history.ItemCount();
    std::string out;
    out.reserve(kPiece + 4096);
    std::uint64_t lastReport = ticks ? ticks() : 0;
    DateTimeTextWriter times(fileDateTimeFormat());
    int written = 0;
    for (int i = 0; i < count; ++i) {
        if (progress && ticks) {
            const std::uint64_t tick = ticks();
            if (tick - lastReport > 300) {
                progress(static_cast<int>(static_cast<double>(i) / count * 100.0),
                         fillIn(textIn("HistoryFile", "Vendle：書出中．．．(%1/%2)"),
                                {std::to_string(i + 1), std::to_string(count)}));
                lastReport = tick;
            }
        }
        const HistoryItem& item = history.Item(i);
        // A TAB, CR or LF inside a path would break the line structure for every later reader.
        if (!isStorablePath(item.Path))
            continue;
        out.append(item.Path).push_back('\t');
        times.append(out, item.LastUsed);
        out.append("\r\n", 2);
        ++written;
        if (out.size() >= kPiece) {
            sink.appendPiece(out);
            out.reserve(kPiece + 4096);
        }
    }
    if (!out.empty())
        sink.appendPiece(out);
    return written;
}

std::string historyText(const HistoryList& history, int& written, const SaveProgress& progress,
                        const TickSource& ticks) {
    StringSink sink;
    std::size_t expected = 0;
    for (int i = 0; i < history.ItemCount(); ++i)
        expected += history.Item(i).Path.size() + 24;
    sink.bytes.reserve(expected);
    written = writeHistoryText(history, sink, progress, ticks);
    return std::move(sink.bytes);
}

int SaveHistory(const HistoryList& history, const std::string& path, FileAccess& files,
                const SaveProgress& progress, const TickSource& ticks) {
    int written = 0;
    files.writeAtomicallyFrom(
        path, [&](ByteSink& sink) { written = writeHistoryText(history, sink, progress, ticks); });
    return written;
}

std::uint64_t monotonicMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace vendle
