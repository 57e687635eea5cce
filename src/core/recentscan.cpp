#include "recentscan.h"

#include "log.h"

#include <charconv>
#include <cstdio>

namespace vendle {

void RecentImports::begin(const std::vector<RecentEntry>& present, std::int64_t startUnixTime,
                          std::optional<RecentEntry::Stamp> previousScan) {
    seen_.clear();
    // Anything stamped in the start's second or later is later than the floor; with an earlier
    // run's last look, anything stamped after that look.
    const RecentEntry::Stamp atStart{startUnixTime - 1, 999'999'999};
    floor_ = previousScan && *previousScan < atStart ? *previousScan : atStart;
    for (const RecentEntry& entry : present) {
        if (!previousScan || !(entry.stamp() > floor_))
            seen_[entry.name] = entry.stamp();
    }
}

bool RecentImports::isNew(const RecentEntry& entry) const {
    const auto found = seen_.find(entry.name);
    if (found != seen_.end())
        return found->second != entry.stamp();
    return entry.stamp() > floor_;
}

void RecentImports::settle(const std::vector<RecentEntry>& listing) {
    std::unordered_map<std::string, RecentEntry::Stamp> now;
    now.reserve(listing.size());
    for (const RecentEntry& entry : listing)
        now[entry.name] = entry.stamp();
    for (const auto& [name, stamp] : seen_) {
        if (!now.count(name) && stamp > floor_)
            floor_ = stamp;
    }
    seen_ = std::move(now);
}

DateTime dosDateTime(std::int64_t unixTime) {
    const std::int64_t even = unixTime - (((unixTime % 2) + 2) % 2);
    return fromUnixTime(even);
}

void beginImports(RecentSource& source, RecentImports& imports, std::int64_t startUnixTime,
                  std::optional<RecentEntry::Stamp> previousScan) {
    std::vector<RecentEntry> entries;
    if (!source.list(entries))
        entries.clear();
    imports.begin(entries, startUnixTime, previousScan);
}

std::string stampText(RecentEntry::Stamp stamp) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%09d", static_cast<long long>(stamp.seconds), stamp.nanos);
    return text;
}

std::optional<RecentEntry::Stamp> stampFromText(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || text.size() - dot - 1 != 9)
        return std::nullopt;
    RecentEntry::Stamp stamp;
    const auto [endS, errS] = std::from_chars(text.data(), text.data() + dot, stamp.seconds);
    const auto [endN, errN] = std::from_chars(text.data() + dot + 1, text.data() + text.size(), stamp.nanos);
    if (errS != std::errc() || endS != text.data() + dot || errN != std::errc() ||
        endN != text.data() + text.size() || stamp.nanos < 0)
        return std::nullopt;
    return stamp;
}

ScanResult scanRecent(HistoryList& history, RecentSource& source, RecentImports& imports,
                      DateTime& lastScanTime, DateTime scanStart, int dataMax,
                      const std::function<void()>& beforeChange) {
    ScanResult result;
    bool changing = false;
    const auto change = [&] {
        if (!changing && beforeChange)
            beforeChange();
        changing = true;
    };
    std::vector<RecentEntry> entries;
    result.listed = source.list(entries);
    if (result.listed) {
        for (const RecentEntry& entry : entries) {
            if (!imports.isNew(entry))
                continue;
            ++result.examined;
            std::string path;
            try {
                path = source.resolve(entry);
            } catch (const ShortcutError& e) {
                result.failures.push_back(ScanFailure{entry.name, e.boxText(), e.what()});
                continue;
            }
            if (path.empty())
                continue;
            const DateTime t = dosDateTime(entry.unixTime);
            const int known = history.indexOfPath(path);
            if (known >= 0) {
                change();
                history.moveToEnd(known);
                HistoryItem& item = history.Item(history.ItemCount() - 1);
                item.LastUsed = t;
                item.Unavailable = false; // it was just used, so it is there
                ++result.moved;
            } else if (!isStorablePath(path)) {
                // A name with a line break or a TAB cannot be a line of the data file. An entry
                // is examined once per recording, so this is said once.
                logMessage(LogTopic::Recent, "not kept (its name holds a line break or a TAB): " + path);
            } else {
                change();
                if (HistoryItem* item = history.AddItem(path)) {
                    item->LastUsed = t;
                    ++result.added;
                }
            }
        }
        imports.settle(entries);
        if (!entries.empty())
            lastScanTime = scanStart;
    }
    if (history.ItemCount() > dataMax)
        change();
    result.dropped = history.trimToMax(dataMax);
    return result;
}

} // namespace vendle
