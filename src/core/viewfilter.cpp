// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewfilter.h"
#include "core/texts.h"

#include "text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace vendle {

void ApplyFilter(HistoryList& history, const ViewFilter& filter, const Collator& collator,
                 const TextFolder* folder) {
    history.applyFilter(filter, collator, folder);
}

std::string countLabelText(int itemCount, int viewCount, bool filtered) {
    if (!filtered)
        return fillIn(textIn("CountLine", "%1個のファイル"), {std::to_string(itemCount)});
    return fillIn(textIn("CountLine", "%1個のファイル中%2個マッチしました。"),
                  {std::to_string(itemCount), std::to_string(viewCount)});
}

DateTime filterSinceForDays(int days, DateTime now) {
    if (days <= 0)
        return 0;
    return std::floor(now) - (days - 1);
}

namespace {

template <typename Key>
std::vector<const HistoryItem*> sortedByKey(std::vector<const HistoryItem*> items, Key key,
                                            const Collator& collator) {
    std::vector<std::pair<std::string, const HistoryItem*>> keyed;
    keyed.reserve(items.size());
    for (const HistoryItem* item : items)
        keyed.emplace_back(collator.sortKey(key(*item)), item);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        items[i] = keyed[i].second;
    return items;
}

} // namespace

std::vector<const HistoryItem*> typeRepresentatives(const HistoryList& history, const Collator& collator) {
    std::vector<const HistoryItem*> reps;
    std::unordered_map<std::string_view, const HistoryItem*> seen;
    for (int i = 0; i < history.ItemCount(); ++i) {
        const HistoryItem& item = history.Item(i);
        if (seen.emplace(item.TypeName(), &item).second)
            reps.push_back(&item);
    }
    return sortedByKey(
        std::move(reps), [](const HistoryItem& item) { return std::string_view(item.TypeName()); }, collator);
}

std::vector<const HistoryItem*> folderRepresentatives(const HistoryList& history, const Collator& collator) {
    const PathSyntax& syntax = history.syntax();
    std::vector<const HistoryItem*> reps;
    std::unordered_map<std::string_view, int> count; // documents per folder name
    for (int i = 0; i < history.ItemCount(); ++i) {
        const HistoryItem& item = history.Item(i);
        if (++count[FolderName(item.Path, syntax)] == 1)
            reps.push_back(&item);
    }
    std::erase_if(reps, [&](const HistoryItem* rep) { return count[FolderName(rep->Path, syntax)] == 1; });
    return sortedByKey(
        std::move(reps), [&](const HistoryItem& item) { return FolderName(item.Path, syntax); }, collator);
}

} // namespace vendle
