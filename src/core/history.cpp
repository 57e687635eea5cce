#include "history.h"

#include "keysort.h"
#include "text.h"

#include <algorithm>
#include <unordered_map>

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
    case 1:
        return fileNameOf(item.Path, syntax);
    case 2:
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
    for (char c : path) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\0')
            return false;
    }
    return true;
}

HistoryList::HistoryList(PathSyntax syntax, ShellQuery& shell) : syntax_(syntax), shell_(shell) {
    items_.reserve(kInitialCapacity);
}

HistoryItem* HistoryList::AddItem(const std::string& path) {
    if (!isStorablePath(path))
        return nullptr;
    const ShellFileInfo info = shell_.queryFileInfo(path);
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
    const auto it = items_.begin() + index;
    std::rotate(it, it + 1, items_.end());
}

int HistoryList::trimToMax(int dataMax) {
    const std::size_t keep = static_cast<std::size_t>(std::max(dataMax, 0));
    if (items_.size() <= keep)
        return 0;
    const std::size_t drop = items_.size() - keep;
    view_.clear();
    items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(drop));
    return static_cast<int>(drop);
}

void HistoryList::clear() {
    view_.clear();
    items_.clear();
}

void HistoryList::sortView(const Collator& collator) {
    const int column = SortColumn;
    const bool desc = SortDescending;
    if (column <= 0 || column >= kColumnCount)
        return;
    if (column == kTimeColumn) {
        // A radix sort over the times, beside their pointers: no comparisons, one contiguous array.
        std::vector<TimedPointer> timed;
        timed.reserve(view_.size());
        for (HistoryItem* item : view_)
            timed.push_back({item->LastUsed, item});
        sortByTime(timed);
        if (desc)
            std::reverse(timed.begin(), timed.end());
        for (std::size_t i = 0; i < timed.size(); ++i)
            view_[i] = static_cast<HistoryItem*>(timed[i].item);
        return;
    }
    // Each key is computed once per sort instead of once per comparison, into one shared buffer;
    // folders and types repeat, so their keys are computed once per distinct text.
    struct KeyRef {
        std::size_t offset;
        std::size_t length;
    };
    std::string arena;
    std::vector<KeyRef> refs;
    const auto addKey = [&](std::string_view text) {
        const std::size_t offset = arena.size();
        collator.appendSortKey(text, arena);
        refs.push_back({offset, arena.size() - offset});
        return refs.size() - 1;
    };
    std::vector<std::size_t> slots;
    slots.reserve(view_.size());
    if (column == 1) {
        arena.reserve(view_.size() * 48);
        refs.reserve(view_.size());
        for (HistoryItem* item : view_)
            slots.push_back(addKey(textKey(*item, column, syntax_)));
    } else {
        std::unordered_map<std::string_view, std::size_t> index;
        for (HistoryItem* item : view_) {
            const std::string_view text = textKey(*item, column, syntax_);
            const auto found = index.find(text);
            slots.push_back(found != index.end() ? found->second
                                                 : index.emplace(text, addKey(text)).first->second);
        }
    }
    // The buffer is complete: only now are pointers into it stable.
    std::vector<KeyedPointer> entries;
    entries.reserve(view_.size());
    const auto* base = reinterpret_cast<const unsigned char*>(arena.data());
    for (std::size_t i = 0; i < view_.size(); ++i) {
        const KeyRef& k = refs[slots[i]];
        entries.push_back({base + k.offset, static_cast<std::uint32_t>(k.length), view_[i]});
    }
    sortByKeys(entries);
    if (desc)
        std::reverse(entries.begin(), entries.end());
    for (std::size_t i = 0; i < entries.size(); ++i)
        view_[i] = static_cast<HistoryItem*>(entries[i].item);
}

bool HistoryList::clickColumn(int column, const Collator& collator) {
    if (column <= 0 || column >= kColumnCount)
        return false;
    if (column != SortColumn) {
        SortColumn = column;
        SortDescending = false;
    } else {
        SortDescending = !SortDescending;
    }
    sortView(collator);
    return true;
}

} // namespace vendle
