#include "viewfilter.h"

#include "text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace vendle {

namespace {

// A set of record addresses in one flat table (open addressing), so that looking up every entry
// of a long view costs no allocation and little memory traffic.
class PointerSet {
public:
    explicit PointerSet(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < expected * 2)
            capacity *= 2;
        slots_.assign(capacity, nullptr);
        mask_ = capacity - 1;
    }
    void insert(const void* p) {
        std::size_t i = slotOf(p);
        while (slots_[i] != nullptr && slots_[i] != p)
            i = (i + 1) & mask_;
        slots_[i] = p;
    }
    bool contains(const void* p) const {
        for (std::size_t i = slotOf(p);; i = (i + 1) & mask_) {
            if (slots_[i] == p)
                return true;
            if (slots_[i] == nullptr)
                return false;
        }
    }

private:
    std::size_t slotOf(const void* p) const {
        const auto bits = reinterpret_cast<std::uintptr_t>(p);
        return static_cast<std::size_t>((bits >> 4) * 0x9E3779B97F4A7C15ull >> 20) & mask_;
    }
    std::vector<const void*> slots_;
    std::size_t mask_ = 0;
};

} // namespace

void ApplyFilter(HistoryList& history, const ViewFilter& filter, const Collator& collator) {
    std::vector<HistoryItem*>& view = history.filteredView();
    ViewBasis& basis = history.viewBasis();
    const PathSyntax& syntax = history.syntax();
    const auto matchesSearch = [&](const HistoryItem& item) {
        return filter.search.empty() ||
               findNoCase(item.Path, filter.search, syntax.codePage) != std::string::npos;
    };
    // A path that contains the new search contains any part of it, so when the search only grew
    // and nothing else changed, the matches are among the current view, already in order.
    const bool narrowing = basis.valid && basis.changes == history.changeCount() &&
                           basis.column == history.SortColumn && basis.descending == history.SortDescending &&
                           basis.collator == &collator && basis.type == filter.type &&
                           basis.folder == filter.folder && basis.since == filter.since &&
                           findNoCase(filter.search, basis.search, syntax.codePage) != std::string::npos;
    if (narrowing) {
        if (filter.search != basis.search) {
            // The view is in sort order, scattered over memory; Items are read in their own order,
            // and the view keeps those of its entries that matched.
            PointerSet matched(static_cast<std::size_t>(history.ItemCount()));
            for (int i = 0; i < history.ItemCount(); ++i) {
                HistoryItem& item = history.Item(i);
                if (matchesSearch(item))
                    matched.insert(&item);
            }
            std::erase_if(view, [&](const HistoryItem* item) { return !matched.contains(item); });
        }
    } else {
        view.clear();
        view.reserve(static_cast<std::size_t>(history.ItemCount()));
        for (int i = 0; i < history.ItemCount(); ++i) {
            HistoryItem& item = history.Item(i);
            if (!matchesSearch(item))
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
    basis = {true,
             filter.search,
             filter.type,
             filter.folder,
             filter.since,
             history.SortColumn,
             history.SortDescending,
             &collator,
             history.changeCount()};
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
