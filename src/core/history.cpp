#include "history.h"

#include "collatedorder.h"
#include "keysort.h"
#include "text.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

HistoryItem* HistoryList::AddItem(const std::string& path, bool knownFile) {
    if (!isStorablePath(path))
        return nullptr;
    const ShellFileInfo info = knownFile ? shell_.queryKnownFileInfo(path) : shell_.queryFileInfo(path);
    if (info.isFolder)
        return nullptr;
    auto item = std::make_unique<HistoryItem>();
    item->Path = path;
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
        {static_cast<std::size_t>(expected), limit, static_cast<std::size_t>(kDataMaxLimit)});
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

void HistoryList::sortView(const Collator& collator) {
    const int column = SortColumn;
    const bool desc = SortDescending;
    if (column <= ColumnNumber || column >= kColumnCount)
        return;
    if (column == ColumnTime) {
        // A radix sort over the times, beside their pointers: no comparisons, one contiguous array.
        // The records are scattered over memory: each is asked for a little ahead of its turn.
        std::vector<TimedPointer> timed;
        timed.reserve(view_.size());
        constexpr std::size_t kAhead = 16;
        for (std::size_t i = 0; i < view_.size(); ++i) {
            if (i + kAhead < view_.size())
                prefetch(&view_[i + kAhead]->LastUsed);
            timed.push_back({view_[i]->LastUsed, view_[i]});
        }
        sortByTime(timed);
        if (desc)
            std::reverse(timed.begin(), timed.end());
        for (std::size_t i = 0; i < timed.size(); ++i)
            view_[i] = static_cast<HistoryItem*>(timed[i].item);
        return;
    }
    // Each key is computed once per sort instead of once per comparison; folders and types
    // repeat, so their keys are computed once per distinct text.
    std::vector<std::string_view> texts;
    std::vector<std::size_t> slots; // index into texts per view item, for folders and types
    if (column == ColumnName) {
        texts.reserve(view_.size());
        for (HistoryItem* item : view_)
            texts.push_back(textKey(*item, column, syntax_));
    } else {
        slots.reserve(view_.size());
        std::unordered_map<std::string_view, std::size_t> index;
        for (HistoryItem* item : view_) {
            const std::string_view text = textKey(*item, column, syntax_);
            const auto [at, added] = index.emplace(text, texts.size());
            if (added)
                texts.push_back(text);
            slots.push_back(at->second);
        }
    }
    std::vector<std::uint32_t> rank(texts.size());
    {
        const std::vector<std::uint32_t> order = collatedOrder(texts, collator);
        for (std::size_t k = 0; k < order.size(); ++k)
            rank[order[k]] = static_cast<std::uint32_t>(k);
    }

    // The items by the rank of their text: a counting sort, which keeps the view's order among
    // items of the same text.
    const auto rankOf = [&](std::size_t i) { return rank[slots.empty() ? i : slots[i]]; };
    std::vector<std::size_t> next(texts.size() + 1, 0);
    for (std::size_t i = 0; i < view_.size(); ++i)
        ++next[rankOf(i) + 1];
    for (std::size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    std::vector<HistoryItem*> sorted(view_.size());
    for (std::size_t i = 0; i < view_.size(); ++i)
        sorted[next[rankOf(i)]++] = view_[i];
    if (desc)
        std::reverse(sorted.begin(), sorted.end());
    view_.swap(sorted);
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
