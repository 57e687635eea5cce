// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyfile.h"
#include "core/texts.h"

#include "filelimits.h"
#include "text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_map>

namespace vendle {

LoadReport LoadHistory(HistoryList& history, const std::string& path, FileAccess& files,
                       const DateTimeFormat& fmt, long long expectedItems, const LoadProgress& progress) {
    LoadReport report;
    if (!files.exists(path)) {
        report.fileMissing = true;
        return report;
    }
    const std::optional<std::string> text = files.readAll(path, kDataFileLimit);
    if (!text) {
        report.openError = fillIn(textIn("HistoryFile", "データファイル(%1が見つかりません。"), {path});
        return report;
    }

    std::vector<std::string_view> lines;
    // A damaged stretch (a NUL byte, as a crash can leave) costs only the lines it is in. An
    // editor's byte-order mark in front of a path (the first, or one of files joined together) is
    // no part of it: paths begin with a folder separator or a drive.
    forEachLine(
        *text,
        [&](std::string_view line) {
            while (line.substr(0, 3) == "\xEF\xBB\xBF")
                line.remove_prefix(3);
            if (line.find('\0') == std::string_view::npos)
                lines.push_back(line);
            else
                ++report.damagedLines;
        },
        NulByte::InLine);
    report.lineCount = static_cast<int>(lines.size());
    history.presize(expectedItems, lines.size());

    // A path on several lines (a hand-edited file) becomes one entry, at its last line's place and
    // with the latest of its times.
    const auto pathOf = [](std::string_view line) { return line.substr(0, line.find('\t')); };
    std::unordered_map<std::string_view, std::size_t> lastLine;
    lastLine.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        lastLine.insert_or_assign(pathOf(lines[i]), i);
    report.duplicateLines = static_cast<int>(lines.size() - lastLine.size());
    std::unordered_map<std::string_view, DateTime> earlierTimes;
    const auto timeOf = [&](std::string_view line) -> std::optional<DateTime> {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            return std::nullopt;
        std::string_view field = line.substr(tab + 1);
        field = field.substr(0, field.find('\t'));
        return readFileDateTime(field, fmt);
    };

    const CodePage cp = history.syntax().codePage;
    std::vector<std::string_view> fields;
    std::string pathText;
    // The disk is asked about a block of paths at once (the platform may look at several side by
    // side), then the block's entries are added; progress is reported as the blocks go.
    constexpr std::size_t kBlock = 8192;
    std::vector<std::string_view> blockPaths;
    std::vector<FileAccess::Presence> presences;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % kBlock == 0) {
            blockPaths.clear();
            for (std::size_t k = i; k < std::min(lines.size(), i + kBlock); ++k)
                blockPaths.push_back(lines[k].substr(0, lines[k].find('\t')));
            presences = files.presenceOfEach(blockPaths);
        }
        if (progress && i % 100 == 0)
            progress(static_cast<int>(i), report.lineCount);
        if (report.duplicateLines > 0) {
            const std::string_view linePath = pathOf(lines[i]);
            if (lastLine[linePath] != i) {
                if (const std::optional<DateTime> t = timeOf(lines[i])) {
                    const auto [it, added] = earlierTimes.emplace(linePath, *t);
                    if (!added)
                        it->second = std::max(it->second, *t);
                }
                continue;
            }
        }
        splitViews(fields, lines[i], '\t', cp);
        pathText.assign(fields[0]);
        // A deleted document leaves the history; one on a volume that is away stays, typed by its
        // name without asking the disk.
        const FileAccess::Presence presence = presences[i % kBlock];
        if (presence == FileAccess::Presence::Gone)
            continue;
        std::optional<DateTime> when =
            fields.size() > 1 ? readFileDateTime(fields[1], fmt) : std::optional<DateTime>();
        if (!earlierTimes.empty()) {
            if (const auto earlier = earlierTimes.find(fields[0]); earlier != earlierTimes.end())
                when = std::max(when.value_or(earlier->second), earlier->second);
        }
        const bool away = presence == FileAccess::Presence::Unavailable;
        if (!history.addKnown(pathText, when.value_or(0), away))
            continue;
        report.unavailable += away ? 1 : 0;
        ++report.added;
        if (!when)
            ++report.unreadableTimes;
    }
    if (progress)
        progress(report.lineCount, report.lineCount);
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
