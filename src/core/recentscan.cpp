#include "recentscan.h"

namespace vendle {

DateTime dosDateTime(std::int64_t unixTime) {
    const std::int64_t even = unixTime - (((unixTime % 2) + 2) % 2);
    return fromUnixTime(even);
}

ScanResult scanRecent(HistoryList& history, RecentSource& source, DateTime& lastScanTime, DateTime scanStart,
                      int dataMax) {
    ScanResult result;
    std::vector<RecentEntry> entries;
    result.listed = source.list(entries);
    if (result.listed) {
        for (const RecentEntry& entry : entries) {
            const DateTime t = dosDateTime(entry.unixTime);
            if (!(lastScanTime < t))
                continue;
            ++result.examined;
            const std::string path = source.resolve(entry);
            if (path.empty())
                continue;
            const int known = history.indexOfPath(path);
            if (known >= 0) {
                history.moveToEnd(known);
                history.Item(history.ItemCount() - 1).LastUsed = t;
                ++result.moved;
            } else if (HistoryItem* item = history.AddItem(path)) {
                item->LastUsed = t;
                ++result.added;
            }
        }
        if (!entries.empty())
            lastScanTime = scanStart;
    }
    result.dropped = history.trimToMax(dataMax);
    return result;
}

} // namespace vendle
