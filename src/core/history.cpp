#include "history.h"

#include "collatedorder.h"
#include "keysort.h"
#include "text.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vendle {

namespace {

int sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int collate(std::string_view a, std::string_view b, const SortContext& ctx) {
    return ctx.collator ? ctx.collator->compare(a, b) : ByteCollator().compare(a, b);
}

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

} // namespace

int CompareName(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return collate(fileNameOf(a.Path, ctx.syntax), fileNameOf(b.Path, ctx.syntax), ctx);
}
int CompareNameDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return -CompareName(a, b, ctx);
}
int CompareFolder(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return collate(directoryOf(a.Path, ctx.syntax), directoryOf(b.Path, ctx.syntax), ctx);
}
int CompareFolderDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return -CompareFolder(a, b, ctx);
}
int CompareType(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return collate(a.TypeName(), b.TypeName(), ctx);
}
int CompareTypeDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return -CompareType(a, b, ctx);
}
int CompareTime(const HistoryItem& a, const HistoryItem& b, const SortContext&) {
    return a.LastUsed < b.LastUsed ? -1 : (a.LastUsed > b.LastUsed ? 1 : 0);
}
int CompareTimeDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return -CompareTime(a, b, ctx);
}
int CompareFolderName(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx) {
    return sign(collate(FolderName(a.Path, ctx.syntax), FolderName(b.Path, ctx.syntax), ctx));
}

const Comparator SortTable[kColumnCount][2] = {
    {nullptr, nullptr},
    {CompareName, CompareNameDesc},
    {CompareFolder, CompareFolderDesc},
    {CompareType, CompareTypeDesc},
    {CompareTime, CompareTimeDesc},
};

const char* const ColumnTitles[kColumnCount] = {"", "ファイル名", "フォルダ", "種類", "使用日時"};

std::string fallbackTypeName(std::string_view path, const PathSyntax& syntax) {
    std::string_view ext = extensionOf(path, syntax);
    if (!ext.empty())
        ext.remove_prefix(1);
    return upperSingleByte(ext, syntax.codePage) + " ファイル";
}

bool isStorablePath(std::string_view path) {
    if (path.empty())
        return false;
        // All four bytes are below 14: a fast pass tells whether any such byte occurs at all, and only
        // then are they told apart.
#if defined(__SSE2__)
    if (path.size() >= 16) {
        // Sixteen bytes at a time, the last sixteen overlapping the ones before: a byte is at
        // most 13 when subtracting 13 with saturation gives 0.
        const __m128i thirteen = _mm_set1_epi8(13);
        const __m128i zero = _mm_setzero_si128();
        const auto anyLow = [&](std::size_t at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(path.data() + at));
            return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_subs_epu8(bytes, thirteen), zero)) != 0;
        };
        bool found = anyLow(path.size() - 16);
        for (std::size_t i = 0; !found && i + 16 < path.size(); i += 16)
            found = anyLow(i);
        if (!found)
            return true;
    }
#endif
    bool anyLow = false;
    for (char c : path)
        anyLow |= static_cast<unsigned char>(c) < 14;
    if (!anyLow)
        return true;
    for (char c : path) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\0')
            return false;
    }
    return true;
}

HistoryList::HistoryList(PathSyntax syntax, ShellQuery& shell) : syntax_(syntax), shell_(shell) {
    items_.reserve(kInitialCapacity);
}

const HistoryItem* HistoryList::AddItem(const std::string& path, DateTime lastUsed) {
    if (!isStorablePath(path))
        return nullptr;
    return add(path, shell_.queryFileInfo(path), lastUsed, false);
}

const HistoryItem* HistoryList::addKnown(const std::string& path, DateTime lastUsed, bool unavailable) {
    if (!isStorablePath(path))
        return nullptr;
    return add(path, shell_.queryKnownFileInfo(path), lastUsed, unavailable);
}

const HistoryItem* HistoryList::add(const std::string& path, const ShellFileInfo& info, DateTime lastUsed,
                                    bool unavailable) {
    if (info.isFolder)
        return nullptr;
    auto item = std::make_unique<HistoryItem>();
    item->Path = path;
    item->LastUsed = lastUsed;
    item->Unavailable = unavailable;
    item->IconIndex = info.iconIndex;
    const std::string typeName = info.typeName.empty() ? fallbackTypeName(path, syntax_) : info.typeName;
    item->typeName_ = &*typeNames_.insert(typeName).first;
    if (items_.size() == items_.capacity()) {
        // Steps of 128 keep small lists small; a quarter of the size once that is more keeps a
        // long run of adds linear.
        items_.reserve(items_.capacity() + std::max(kGrowBy, items_.capacity() / 4));
    }
    items_.push_back(std::move(item));
    ++changes_;
    return items_.back().get();
}

void HistoryList::presize(long long expected, std::size_t limit) {
    if (expected <= 0)
        return;
    const std::size_t cap = std::min<std::size_t>(
        {static_cast<std::size_t>(expected), limit, static_cast<std::size_t>(kDataMaxMax)});
    if (cap > items_.capacity())
        items_.reserve(cap);
}

int HistoryList::indexOfPath(std::string_view path) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->Path == path)
            return static_cast<int>(i);
    }
    return -1;
}

void HistoryList::moveToEnd(int index) {
    ++changes_;
    const auto it = items_.begin() + index;
    std::rotate(it, it + 1, items_.end());
}

void HistoryList::touch(int index, DateTime when) {
    moveToEnd(index);
    HistoryItem& item = *items_.back();
    item.LastUsed = when;
    item.Unavailable = false; // it was just used, so it is there
}

int HistoryList::trimToMax(int dataMax) {
    const std::size_t keep = static_cast<std::size_t>(std::max(dataMax, 0));
    if (items_.size() <= keep)
        return 0;
    const std::size_t drop = items_.size() - keep;
    ++changes_;
    view_.clear();
    items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(drop));
    return static_cast<int>(drop);
}

void HistoryList::clear() {
    ++changes_;
    view_.clear();
    items_.clear();
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
        timed.push_back({item->LastUsed, item.get()});
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
                view_.push_back(items_[i].get());
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
            view_.push_back(items_[index].get());
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
