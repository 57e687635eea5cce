#include "viewfilter.h"

#include "text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace vendle {

namespace {

// A hint to bring memory into the cache before it is read.
inline void prefetch(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

constexpr std::size_t kAhead = 12;

} // namespace

void ApplyFilter(HistoryList& history, const ViewFilter& filter, const Collator& collator) {
    ViewBasis& basis = history.viewBasis();
    const PathSyntax& syntax = history.syntax();
    const auto matchesSearch = [&](std::string_view path) {
        return filter.search.empty() || findNoCase(path, filter.search, syntax.codePage) != std::string::npos;
    };
    // A path that contains the new search contains any part of it, so when the search only grew
    // and nothing else changed, the matches are among the current view, already in order.
    const ViewBasis now{true,
                        filter,
                        history.SortColumn,
                        history.SortDescending,
                        &collator,
                        collator.generation(),
                        history.changeCount()};
    // Everything but the search the same as when the view was built, and the search grown.
    ViewBasis sameSearch = now;
    sameSearch.filter.search = basis.filter.search;
    const bool narrowing = sameSearch == basis && findNoCase(filter.search, basis.filter.search,
                                                             syntax.codePage) != std::string::npos;
    std::vector<const HistoryItem*>& view = history.filteredView();
    const auto count = static_cast<std::size_t>(history.ItemCount());
    if (narrowing && filter.search == basis.filter.search) {
        // Nothing changed.
    } else if (narrowing && view.size() * 16 <= count) {
        // A short view: only its own entries are looked at again.
        std::erase_if(view, [&](const HistoryItem* item) { return !matchesSearch(item->Path); });
    } else {
        // The paths are read in the order of Items, from one array, and the view is taken out of
        // the history's sorted whole. After a growing search this gives the view it narrows: the
        // view was built the same way. Records are read only for the age and type filters.
        const std::vector<std::string_view>& paths = history.paths();
        const bool recordsNeeded = filter.since != 0 || !filter.type.empty();
        std::vector<std::uint8_t> shown(count);
        for (std::size_t i = 0; i < count; ++i) {
            // Paths and records lie wherever they were allocated: each is asked for ahead of its turn.
            if (i + kAhead < count) {
                prefetch(paths[i + kAhead].data());
                if (recordsNeeded)
                    prefetch(&history.Item(static_cast<int>(i + kAhead)));
            }
            const std::string_view path = paths[i];
            bool show =
                matchesSearch(path) && (filter.folder.empty() || filter.folder == FolderName(path, syntax));
            if (show && recordsNeeded) {
                const HistoryItem& item = history.Item(static_cast<int>(i));
                show = !(item.LastUsed < filter.since) &&
                       (filter.type.empty() || filter.type == item.TypeName());
            }
            shown[i] = show;
        }
        history.showMarked(shown, collator);
    }
    basis = now;
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
