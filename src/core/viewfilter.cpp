#include "viewfilter.h"

#include "text.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace vendle {

void ApplyFilter(HistoryList& history, const ViewFilter& filter, const Collator& collator) {
    std::vector<HistoryItem*>& view = history.viewItems();
    view.clear();
    view.reserve(static_cast<std::size_t>(history.ItemCount()));
    const PathSyntax& syntax = history.syntax();
    for (int i = 0; i < history.ItemCount(); ++i) {
        HistoryItem& item = history.Item(i);
        if (!filter.search.empty() &&
            findNoCase(item.Path, filter.search, syntax.codePage) == std::string::npos)
            continue;
        if (item.LastUsed < filter.since)
            continue;
        if (!filter.type.empty() && filter.type != item.TypeName())
            continue;
        if (!filter.folder.empty() && filter.folder != FolderName(item.Path, syntax))
            continue;
        view.push_back(&item);
    }
    history.sortView(collator);
}

std::string countLabelText(int itemCount, int viewCount, bool filtered) {
    if (!filtered)
        return std::to_string(itemCount) + "個のファイル";
    return std::to_string(itemCount) + "個のファイル中" + std::to_string(viewCount) + "個マッチしました。";
}

DateTime filterSinceForDays(int days, DateTime now) {
    if (days <= 0)
        return 0;
    return std::floor(now) - (days - 1);
}

namespace {

template <typename Key>
std::vector<HistoryItem*> sortedByKey(std::vector<HistoryItem*> items, Key key, const Collator& collator) {
    std::vector<std::pair<std::string, HistoryItem*>> keyed;
    keyed.reserve(items.size());
    for (HistoryItem* item : items)
        keyed.emplace_back(collator.sortKey(key(*item)), item);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        items[i] = keyed[i].second;
    return items;
}

} // namespace

std::vector<HistoryItem*> typeRepresentatives(HistoryList& history, const Collator& collator) {
    std::vector<HistoryItem*> reps;
    std::unordered_map<std::string_view, HistoryItem*> seen;
    for (int i = 0; i < history.ItemCount(); ++i) {
        HistoryItem& item = history.Item(i);
        if (seen.emplace(item.TypeName(), &item).second)
            reps.push_back(&item);
    }
    return sortedByKey(
        std::move(reps), [](const HistoryItem& item) { return std::string_view(item.TypeName()); }, collator);
}

std::vector<HistoryItem*> folderRepresentatives(HistoryList& history, const Collator& collator) {
    const PathSyntax& syntax = history.syntax();
    std::vector<HistoryItem*> reps;
    std::unordered_map<std::string_view, HistoryItem*> seen;
    for (int i = 0; i < history.ItemCount(); ++i) {
        HistoryItem& item = history.Item(i);
        const auto [it, added] = seen.emplace(FolderName(item.Path, syntax), &item);
        if (added) {
            item.FolderTally = 1;
            reps.push_back(&item);
        } else {
            ++it->second->FolderTally;
        }
    }
    reps.erase(
        std::remove_if(reps.begin(), reps.end(), [](const HistoryItem* r) { return r->FolderTally == 1; }),
        reps.end());
    return sortedByKey(
        std::move(reps), [&](const HistoryItem& item) { return FolderName(item.Path, syntax); }, collator);
}

} // namespace vendle
