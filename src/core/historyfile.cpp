// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyfile.h"
#include "core/texts.h"

#include "filelimits.h"
#include "text.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vendle {

namespace {

// One line of the data file, as the single pass over its bytes reads it.
struct Row {
    std::string_view path;
    std::uint64_t hash = 0;
    DateTime time = 0;
    bool timed = false;      // the time could be read
    bool superseded = false; // a later line holds the same path
};

// A hash of a path, eight bytes at a time in two independent lanes.
std::uint64_t pathHash(std::string_view path) {
    constexpr std::uint64_t k1 = 0x9E3779B97F4A7C15ULL;
    constexpr std::uint64_t k2 = 0xC2B2AE3D27D4EB4FULL;
    std::uint64_t a = path.size() * k2;
    std::uint64_t b = k1;
    const char* p = path.data();
    std::size_t left = path.size();
    for (; left >= 16; p += 16, left -= 16) {
        std::uint64_t w[2];
        std::memcpy(w, p, sizeof w);
        a = std::rotl((a ^ w[0]) * k1, 29);
        b = std::rotl((b ^ w[1]) * k2, 31);
    }
    std::uint64_t w[2] = {0, 0};
    std::memcpy(w, p, left);
    a = (a ^ w[0]) * k1;
    b = (b ^ w[1]) * k2;
    const std::uint64_t h = (a ^ std::rotl(b, 32)) * k2;
    return h ^ (h >> 32);
}

// The rows' paths in an open-addressing table of row numbers beside their hashes' high halves, so
// that a path on several lines is found without an allocation per line and nearly every probe
// is answered by the table alone.
class RowIndex {
public:
    explicit RowIndex(std::size_t expected) {
        slots_.assign(std::bit_ceil(std::max<std::size_t>(64, expected * 2)), 0);
    }

    // Brings the slot of `hash` into the cache ahead of its exchange.
    void prepare(std::uint64_t hash) const {
#if defined(__GNUC__)
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
#else
        (void)hash;
#endif
    }

    // The row that holds the path of rows[row] already, or none; `row` is remembered for it
    // either way.
    std::optional<std::uint32_t> exchange(std::uint32_t row, const std::vector<Row>& rows) {
        if ((used_ + 1) * 2 > slots_.size())
            grow(rows);
        const Row& r = rows[row];
        const std::uint64_t tag = r.hash & kTagMask;
        for (std::size_t at = r.hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            const std::uint64_t held = slots_[at];
            if (held == 0) {
                slots_[at] = tag | (row + 1);
                ++used_;
                return std::nullopt;
            }
            if ((held & kTagMask) == tag) {
                const std::uint32_t other = static_cast<std::uint32_t>(held) - 1;
                if (rows[other].path == r.path) {
                    slots_[at] = tag | (row + 1);
                    return other;
                }
            }
        }
    }

private:
    static constexpr std::uint64_t kTagMask = 0xFFFFFFFF00000000ULL;
    void grow(const std::vector<Row>& rows) {
        std::vector<std::uint64_t> old = std::move(slots_);
        slots_.assign(old.size() * 2, 0);
        for (const std::uint64_t held : old) {
            if (held == 0)
                continue;
            std::size_t at = rows[static_cast<std::uint32_t>(held) - 1].hash & (slots_.size() - 1);
            while (slots_[at] != 0)
                at = (at + 1) & (slots_.size() - 1);
            slots_[at] = held;
        }
    }

    std::vector<std::uint64_t> slots_; // hash's high half, row number + 1; 0 is empty
    std::size_t used_ = 0;
};

// The first byte from `p` on that is a TAB, CR, LF or NUL, or `end`. Such bytes are all below 14:
// sixteen bytes at a time are tested for that, and only then told apart.
const char* nextBreak(const char* p, const char* end) {
    const auto isBreak = [](char c) { return c == '\t' || c == '\n' || c == '\r' || c == '\0'; };
#if defined(__SSE2__)
    const __m128i thirteen = _mm_set1_epi8(13);
    const __m128i zero = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        auto low =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_subs_epu8(bytes, thirteen), zero)));
        for (; low != 0; low &= low - 1) {
            const char* at = p + std::countr_zero(low);
            if (isBreak(*at))
                return at;
        }
    }
#endif
    while (p < end && !isBreak(*p))
        ++p;
    return p;
}

// The end of the line that `p` is in (its CR or LF, or `end`), and whether a NUL byte comes first.
const char* lineEnd(const char* p, const char* end, bool& nul) {
    for (;;) {
        p = nextBreak(p, end);
        if (p == end || *p == '\r' || *p == '\n')
            return p;
        nul |= *p == '\0';
        ++p;
    }
}

// The rows of a stretch of the text that begins at a line's start.
struct RowPart {
    std::vector<Row> rows;
    int damaged = 0;
};

void readRows(const char* p, const char* const end, const DateTimeFormat& fmt, RowPart& part) {
    while (p < end) {
        while (end - p >= 3 && std::string_view(p, 3) == "\xEF\xBB\xBF")
            p += 3;
        const char* stop = nextBreak(p, end);
        Row row;
        row.path = std::string_view(p, static_cast<std::size_t>(stop - p));
        bool damaged = stop < end && *stop == '\0';
        if (stop < end && *stop == '\t') {
            // The time as the program writes it, just before the line's end; anything else is
            // read as a field up to the next TAB.
            const char* field = stop + 1;
            // "yyyy/mm/dd h:nn:ss", the hour in one digit or two.
            std::size_t written = 18;
            if (end - field > 19 && field[written] != '\r' && field[written] != '\n')
                ++written;
            std::optional<DateTime> when;
            if (end - field > static_cast<std::ptrdiff_t>(written) &&
                (field[written] == '\r' || field[written] == '\n'))
                when = readWrittenTime(std::string_view(field, written));
            if (when) {
                stop = field + written;
            } else {
                stop = lineEnd(field, end, damaged);
                std::string_view rest(field, static_cast<std::size_t>(stop - field));
                when = readFileDateTime(rest.substr(0, rest.find('\t')), fmt);
            }
            if (when) {
                row.time = *when;
                row.timed = true;
            }
        } else if (damaged) {
            stop = lineEnd(stop, end, damaged);
        }
        p = stop;
        if (p < end && *p++ == '\r' && p < end && *p == '\n')
            ++p;
        if (damaged) {
            ++part.damaged;
            continue;
        }
        row.hash = pathHash(row.path);
        part.rows.push_back(row);
    }
}

// Texts shorter than this are read by one thread: starting another would cost more.
constexpr std::size_t kReadAlone = 256 * 1024;
// Rows are indexed a few behind the one whose slot is asked into the cache.
constexpr std::size_t kBehind = 8;

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
    // Held where it stays put: the records' paths and the paths handed out for the check point
    // into it.
    const auto text = std::make_shared<const std::string>(std::move(*read));

    // One pass over the bytes: each line becomes a row of views into the text. Lines end at CR LF,
    // a lone CR or a lone LF. A damaged stretch (a NUL byte, as a crash can leave) costs only the
    // lines it is in. An editor's byte-order mark in front of a path (the first, or one of files
    // joined together) is no part of it: paths begin with a folder separator or a drive. A path on
    // several lines (a hand-edited file) becomes one entry, at its last line's place and with the
    // latest of its times.
    const std::size_t expected = static_cast<std::size_t>(std::clamp<long long>(
        expectedItems, 0, std::min<long long>(kDataMaxMax, static_cast<long long>(text->size() / 4 + 1))));
    // Two halves of a long text are read side by side; the rows are then indexed in their order.
    const char* const begin = text->data();
    const char* const end = begin + text->size();
    const char* half = end;
    if (text->size() >= kReadAlone && std::thread::hardware_concurrency() >= 2) {
        const std::size_t middle = text->size() / 2;
        // NOLINTNEXTLINE(bugprone-not-null-terminated-result): a search for a byte, not a string
        const void* lf = std::memchr(begin + middle, '\n', text->size() - middle);
        half = lf ? static_cast<const char*>(lf) + 1 : end;
    }
    RowPart second;
    std::future<void> secondRead;
    if (half < end) {
        second.rows.reserve(expected / 2);
        try {
            secondRead = std::async(std::launch::async, [&] { readRows(half, end, fmt, second); });
        } catch (const std::system_error&) {
            // No thread to be had: this one reads both halves.
        }
    }
    RowPart first;
    first.rows.reserve(expected);
    readRows(begin, half, fmt, first);
    if (secondRead.valid())
        secondRead.get();
    else if (half < end)
        readRows(half, end, fmt, second);
    std::vector<Row>& rows = first.rows;
    rows.insert(rows.end(), second.rows.begin(), second.rows.end());
    report.damagedLines = first.damaged + second.damaged;

    RowIndex index(rows.size());
    const auto indexRow = [&](std::size_t at) {
        if (const std::optional<std::uint32_t> earlier =
                index.exchange(static_cast<std::uint32_t>(at), rows)) {
            Row& before = rows[*earlier];
            Row& row = rows[at];
            before.superseded = true;
            ++report.duplicateLines;
            if (before.timed && (!row.timed || before.time > row.time)) {
                row.time = before.time;
                row.timed = true;
            }
        }
    };
    // Each row's slot is asked into the cache a few rows ahead of its turn.
    for (std::size_t at = 0; at < rows.size(); ++at) {
        index.prepare(rows[at].hash);
        if (at >= kBehind)
            indexRow(at - kBehind);
    }
    std::size_t indexed = rows.size() < kBehind ? 0 : rows.size() - kBehind;
    while (indexed < rows.size())
        indexRow(indexed++);
    report.lineCount = static_cast<int>(rows.size());
    history.presize(expectedItems, rows.size() - static_cast<std::size_t>(report.duplicateLines));

    // Whether each document is still there is asked later, off the window's thread (settleChecks):
    // the entries come in unchecked, typed by their names, their paths staying in the text read.
    const HistoryList::TextId held = history.holdText(text);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (progress && i % 100 == 0)
            progress(static_cast<int>(i), report.lineCount);
        const Row& row = rows[i];
        if (row.superseded)
            continue;
        if (!history.addUnchecked(row.path, row.time, held))
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
