// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's view of the history and what makes it quick: the whole list kept in the sort
// column's order, the paths side by side, the filter pass with its narrowing of a growing search,
// and the sorts of the view.
#include "history.h"

#include "collatedorder.h"
#include "keysort.h"
#include "paths.h"
#include "text.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <unordered_map>

namespace vendle {

namespace {

// The key a text column sorts by.
std::string_view textKey(const HistoryItem& item, int column, const PathSyntax& syntax) {
    switch (column) {
    case ColumnName:
        return fileNameOf(item.Path, syntax);
    case ColumnFolder:
        return directoryOf(item.Path, syntax);
    default:
        return item.TypeName();
    }
}

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

// Whether `item`'s path holds the folded `needle`. The folded path is made once per record, the
// first time it is needed; a path that folding changes only in ASCII case is searched itself.
bool HistoryList::matchesFolded(const HistoryItem& item, std::string_view needle,
                                const TextFolder& folder) const {
    if (item.foldState_ == 0) {
        std::string folded;
        folder.fold(item.Path, folded);
        const bool onlyCase =
            std::equal(folded.begin(), folded.end(), item.Path.begin(), item.Path.end(),
                       [](char f, char p) { return f == (p >= 'A' && p <= 'Z' ? p - 'A' + 'a' : p); });
        if (onlyCase) {
            item.foldState_ = 1;
        } else if (folded.size() > UINT16_MAX) {
            item.foldState_ = 3; // folded at each search instead
        } else {
            // One block of exactly its size: 100,000 keys must stay small.
            item.folded_ = std::make_unique_for_overwrite<char[]>(folded.size());
            std::copy(folded.begin(), folded.end(), item.folded_.get());
            item.foldedSize_ = static_cast<std::uint16_t>(folded.size());
            item.foldState_ = 2;
        }
    }
    if (item.foldState_ == 1)
        return findNoCase(item.Path, needle, syntax_.codePage) != std::string::npos;
    if (item.foldState_ == 3)
        return folder.folded(item.Path).find(needle) != std::string::npos;
    return std::string_view(item.folded_.get(), item.foldedSize_).find(needle) != std::string_view::npos;
}

std::vector<const HistoryItem*> HistoryList::find(const std::vector<std::string>& terms, std::size_t limit,
                                                  bool foldKana, const TextFolder* folder) const {
    const bool folding = foldKana && folder;
    std::vector<std::string> needles;
    for (const std::string& term : terms) {
        if (!term.empty())
            needles.push_back(folding ? folder->folded(term) : term);
    }
    std::vector<const HistoryItem*> found;
    for (const auto& item : items_) {
        const bool all = std::all_of(needles.begin(), needles.end(), [&](const std::string& needle) {
            return folding ? matchesFolded(*item, needle, *folder)
                           : findNoCase(item->Path, needle, syntax_.codePage) != std::string::npos;
        });
        if (all)
            found.push_back(item);
    }
    // Newest first; documents used at the same time in the list's order from its end.
    std::reverse(found.begin(), found.end());
    std::stable_sort(found.begin(), found.end(),
                     [](const HistoryItem* a, const HistoryItem* b) { return b->LastUsed < a->LastUsed; });
    if (found.size() > limit)
        found.resize(limit);
    return found;
}

void HistoryList::applyFilter(const ViewFilter& filter, const Collator& collator, const TextFolder* folder) {
    ViewBasis& basis = basis_;
    const PathSyntax& syntax = syntax_;
    const bool folding = filter.foldKana && folder && !filter.search.empty();
    const std::string needle = folding ? folder->folded(filter.search) : std::string();
    const auto matchesSearch = [&](const HistoryItem& item, std::string_view path) {
        if (folding)
            return matchesFolded(item, needle, *folder);
        return filter.search.empty() || findNoCase(path, filter.search, syntax.codePage) != std::string::npos;
    };
    // Whether the search only grew: the new text holds the old one (as folded, when folding).
    const auto grown = [&] {
        if (!folding)
            return findNoCase(filter.search, basis.filter.search, syntax.codePage) != std::string::npos;
        return needle.find(folder->folded(basis.filter.search)) != std::string::npos;
    };
    // A path that contains the new search contains any part of it, so when the search only grew
    // and nothing else changed, the matches are among the current view, already in order.
    const ViewBasis now{true, filter, SortColumn, SortDescending, &collator, collator.generation(), changes_};
    // Everything but the search the same as when the view was built, and the search grown.
    ViewBasis sameSearch = now;
    sameSearch.filter.search = basis.filter.search;
    const bool narrowing = sameSearch == basis && grown();
    std::vector<const HistoryItem*>& view = view_;
    const auto count = items_.size();
    if (narrowing && filter.search == basis.filter.search) {
        // Nothing changed.
    } else if (narrowing && view.size() * 16 <= count) {
        // A short view: only its own entries are looked at again.
        std::erase_if(view, [&](const HistoryItem* item) { return !matchesSearch(*item, item->Path); });
    } else {
        // The paths are read in the order of Items, from one array, and the view is taken out of
        // the history's sorted whole. After a growing search this gives the view it narrows: the
        // view was built the same way. Records are read only for the age and type filters.
        const std::vector<std::string_view>& paths = this->paths();
        const bool recordsNeeded = filter.since != 0 || !filter.type.empty() || folding;
        std::vector<std::uint8_t> shown(count);
        for (std::size_t i = 0; i < count; ++i) {
            // Paths and records lie wherever they were allocated: each is asked for ahead of its turn.
            if (i + kAhead < count) {
                prefetch(paths[i + kAhead].data());
                if (recordsNeeded)
                    prefetch(items_[i + kAhead]);
            }
            const std::string_view path = paths[i];
            bool show = matchesSearch(*items_[i], path) &&
                        (filter.folder.empty() || filter.folder == FolderName(path, syntax));
            if (show && recordsNeeded) {
                const HistoryItem& item = *items_[i];
                show = !(item.LastUsed < filter.since) &&
                       (filter.type.empty() || filter.type == item.TypeName());
            }
            shown[i] = show;
        }
        showMarked(shown, collator);
    }
    basis = now;
}

const std::vector<std::string_view>& HistoryList::paths() {
    if (pathsAt_ != changes_) {
        paths_.clear();
        paths_.reserve(items_.size());
        for (const auto& item : items_)
            paths_.emplace_back(item->Path);
        pathsAt_ = changes_;
    }
#ifndef NDEBUG
    // Every path's text is its record's: a record changed without a change of the count would
    // leave a view of freed memory here.
    assert(paths_.size() == items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i)
        assert(paths_[i].data() == items_[i]->Path.data() && paths_[i].size() == items_[i]->Path.size());
#endif
    return paths_;
}

void HistoryList::number() {
    if (numberedAt_ == changes_)
        return;
    for (std::size_t i = 0; i < items_.size(); ++i)
        items_[i]->index_ = static_cast<std::uint32_t>(i);
    numberedAt_ = changes_;
}

const HistoryList::ColumnOrder& HistoryList::columnOrder(const Collator& collator) {
    if (order_.valid && order_.column == SortColumn && order_.collator == &collator &&
        order_.collatorGeneration == collator.generation() && order_.changes == changes_)
        return order_;
    number();
    order_.valid = false;
    order_.column = SortColumn;
    order_.collator = &collator;
    order_.collatorGeneration = collator.generation();
    order_.changes = changes_;
    if (SortColumn == ColumnTime)
        buildTimeOrder(order_);
    else
        buildTextOrder(order_, collator);
    order_.valid = true;
    return order_;
}

void HistoryList::buildTimeOrder(ColumnOrder& order) {
    // A radix sort over the times, beside their pointers: no comparisons, one contiguous array.
    std::vector<TimedPointer> timed;
    timed.reserve(items_.size());
    for (const auto& item : items_)
        timed.push_back({item->LastUsed, item});
    sortByTime(timed);
    order.ascending.resize(timed.size());
    order.rank.resize(timed.size());
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < timed.size(); ++k) {
        if (k > 0 && !(timed[k].time == timed[k - 1].time))
            ++rank; // NaN times are never alike
        const std::uint32_t index = static_cast<HistoryItem*>(timed[k].item)->index_;
        order.ascending[k] = index;
        order.rank[index] = rank;
    }
}

void HistoryList::buildTextOrder(ColumnOrder& order, const Collator& collator) {
    const int column = order.column;
    const std::size_t n = items_.size();
    // Each key is computed once instead of once per comparison; folders and types repeat, so their
    // keys are computed once per distinct text.
    std::vector<std::string_view> texts;
    std::vector<std::uint32_t> slots; // index into texts per entry, for folders and types
    if (column == ColumnName) {
        texts.reserve(n);
        for (const auto& item : items_)
            texts.push_back(textKey(*item, column, syntax_));
    } else {
        slots.reserve(n);
        std::unordered_map<std::string_view, std::uint32_t> index;
        for (const auto& item : items_) {
            const std::string_view text = textKey(*item, column, syntax_);
            const auto [at, added] = index.emplace(text, static_cast<std::uint32_t>(texts.size()));
            if (added)
                texts.push_back(text);
            slots.push_back(at->second);
        }
    }
    // The place of each text; equal texts (names that repeat) share one.
    std::vector<std::uint32_t> textRank(texts.size());
    std::uint32_t ranks = 0;
    {
        const std::vector<std::uint32_t> sorted = collatedOrder(texts, collator);
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            if (k > 0 && texts[sorted[k]] != texts[sorted[k - 1]])
                ++ranks;
            textRank[sorted[k]] = ranks;
        }
        ++ranks;
    }
    order.rank.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        order.rank[i] = textRank[slots.empty() ? i : slots[i]];
    // The entries by the place of their text: a counting sort, which keeps the order of Items
    // among alike entries.
    std::vector<std::uint32_t> next(std::size_t{ranks} + 1, 0);
    for (std::uint32_t r : order.rank)
        ++next[r + 1];
    for (std::size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    order.ascending.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        order.ascending[next[order.rank[i]]++] = static_cast<std::uint32_t>(i);
}

void HistoryList::sortView(const Collator& collator) {
    if (SortColumn <= ColumnNumber || SortColumn >= kColumnCount)
        return;
    const ColumnOrder& order = columnOrder(collator);
    // A counting sort of the view by the place of each entry's key: alike entries keep the view's
    // order.
    std::vector<std::uint32_t> next(items_.size() + 1, 0);
    for (const HistoryItem* item : view_)
        ++next[order.rank[item->index_] + 1];
    for (std::size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    std::vector<const HistoryItem*> sorted(view_.size());
    for (const HistoryItem* item : view_)
        sorted[next[order.rank[item->index_]]++] = item;
    if (SortDescending)
        std::reverse(sorted.begin(), sorted.end());
    view_.swap(sorted);
}

void HistoryList::showMarked(const std::vector<std::uint8_t>& shown, const Collator& collator) {
    basis_.valid = false;
    if (SortColumn <= ColumnNumber || SortColumn >= kColumnCount) {
        view_.clear();
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (shown[i])
                view_.push_back(items_[i]);
        }
        return;
    }
    // Taking the marked entries out of the sorted whole gives what sorting them would: a sort that
    // keeps alike entries in order does not depend on which others are there. Descending is the
    // ascending order reversed, alike entries too. A sort that fails leaves the view as it was.
    const ColumnOrder& order = columnOrder(collator);
    view_.clear();
    const auto take = [&](std::uint32_t index) {
        if (shown[index])
            view_.push_back(items_[index]);
    };
    if (SortDescending)
        std::for_each(order.ascending.rbegin(), order.ascending.rend(), take);
    else
        std::for_each(order.ascending.begin(), order.ascending.end(), take);
}

bool HistoryList::clickColumn(int column, const Collator& collator) {
    if (column <= ColumnNumber || column >= kColumnCount)
        return false;
    if (column != SortColumn) {
        SortColumn = column;
        SortDescending = false;
    } else {
        SortDescending = !SortDescending;
    }
    // Equal keys now follow the previous order, not that of a fresh build: no narrowing from here.
    basis_.valid = false;
    sortView(collator);
    return true;
}

} // namespace vendle
