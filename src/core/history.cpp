// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"
#include "core/texts.h"

#include "text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

const char* const ColumnTitles[kColumnCount] = {
    "", VENDLE_TEXT_NOOP("History", "ファイル名"), VENDLE_TEXT_NOOP("History", "フォルダ"),
    VENDLE_TEXT_NOOP("History", "種類"), VENDLE_TEXT_NOOP("History", "使用日時")};

std::string fallbackTypeName(std::string_view path, const PathSyntax& syntax) {
    std::string_view ext = extensionOf(path, syntax);
    if (!ext.empty())
        ext.remove_prefix(1);
    return fillIn(textIn("History", "%1 ファイル"), {upperSingleByte(ext, syntax.codePage)});
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

HistoryList::~HistoryList() {
    dropFrom(0);
}

HistoryList::TextId HistoryList::holdText(std::shared_ptr<const std::string> text) {
    // A place whose text no record uses any more is taken again.
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (!texts_[i].text) {
            texts_[i] = {std::move(text), 0};
            return static_cast<TextId>(i + 1);
        }
    }
    if (texts_.size() >= std::numeric_limits<TextId>::max())
        return 0;
    texts_.push_back({std::move(text), 0});
    return static_cast<TextId>(texts_.size());
}

std::size_t HistoryList::heldTexts() const {
    return static_cast<std::size_t>(std::count_if(texts_.begin(), texts_.end(),
                                                  [](const HeldText& held) { return held.text != nullptr; }));
}

void HistoryList::release(HistoryItem* item) {
    if (item->text_ != 0) {
        HeldText& held = texts_[item->text_ - 1];
        if (--held.users == 0)
            held.text.reset();
    }
    records_.release(item);
}

void HistoryList::dropFrom(std::size_t first) {
    for (std::size_t i = first; i < items_.size(); ++i)
        release(items_[i]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(first), items_.end());
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

const HistoryItem* HistoryList::addUnchecked(std::string_view path, DateTime lastUsed, TextId text) {
    // A path from a held text was read as a line's path, which ends at the first TAB, CR, LF or
    // NUL: only an empty one is refused.
    if (text != 0 ? path.empty() : !isStorablePath(path))
        return nullptr;
    const HistoryItem* added = add(path, shell_.queryKnownFileInfo(path), lastUsed, false, text);
    if (added)
        items_.back()->Unchecked = true;
    return added;
}

HistoryList::UncheckedPaths HistoryList::uncheckedPaths() const {
    std::size_t size = 0;
    for (const auto& item : items_)
        size += item->Unchecked ? item->Path.size() : 0;
    auto bytes = std::make_shared<std::string>();
    bytes->reserve(size);
    for (const auto& item : items_) {
        if (item->Unchecked)
            bytes->append(item->Path);
    }
    UncheckedPaths out;
    std::size_t at = 0;
    for (const auto& item : items_) {
        if (!item->Unchecked)
            continue;
        out.paths.emplace_back(bytes->data() + at, item->Path.size());
        at += item->Path.size();
    }
    out.bytes = std::move(bytes);
    return out;
}

HistoryList::CheckOutcome HistoryList::settleChecks(const std::vector<std::string_view>& paths,
                                                    const std::vector<FileAccess::Presence>& presences) {
    // Nearly every document is there: only the others are looked up.
    std::unordered_map<std::string_view, FileAccess::Presence> missing;
    for (std::size_t i = 0; i < paths.size() && i < presences.size(); ++i) {
        if (presences[i] != FileAccess::Presence::File)
            missing.emplace(paths[i], presences[i]);
    }
    CheckOutcome outcome;
    std::size_t kept = 0;
    for (HistoryItem* const entry : items_) {
        HistoryItem& item = *entry;
        const bool wasUnchecked = std::exchange(item.Unchecked, false);
        const auto found = wasUnchecked ? missing.find(item.Path) : missing.end();
        if (found != missing.end() && found->second == FileAccess::Presence::Gone) {
            ++outcome.gone;
            release(&item);
            continue;
        }
        if (found != missing.end()) {
            item.Unavailable = true;
            ++outcome.away;
        }
        items_[kept++] = entry;
    }
    items_.resize(kept);
    if (outcome.gone > 0 || outcome.away > 0) {
        ++changes_;
        view_.clear();
    }
    return outcome;
}

const HistoryItem* HistoryList::add(std::string_view path, const ShellFileInfo& info, DateTime lastUsed,
                                    bool unavailable, TextId text) {
    if (info.isFolder)
        return nullptr;
    HistoryItem* item = records_.make();
    if (text != 0) {
        ++texts_[text - 1].users;
        item->text_ = text;
        item->Path = path;
    } else {
        item->ownPath_ = std::make_unique_for_overwrite<char[]>(path.size());
        std::copy(path.begin(), path.end(), item->ownPath_.get());
        item->Path = std::string_view(item->ownPath_.get(), path.size());
    }
    item->LastUsed = lastUsed;
    item->Unavailable = unavailable;
    item->IconIndex = info.iconIndex;
    item->typeName_ = typeNameOf(path, info);
    if (items_.size() == items_.capacity()) {
        // Steps of 128 keep small lists small; a quarter of the size once that is more keeps a
        // long run of adds linear.
        items_.reserve(items_.capacity() + std::max(kGrowBy, items_.capacity() / 4));
    }
    items_.push_back(item);
    ++changes_;
    return item;
}

const std::string* HistoryList::typeNameOf(std::string_view path, const ShellFileInfo& info) {
    // A name the shell keeps is looked up by its place, without reading it.
    const std::string* shared = info.sharedTypeName;
    if (shared && !shared->empty()) {
        auto& recent =
            recentTypeNames_[(reinterpret_cast<std::uintptr_t>(shared) >> 4) % recentTypeNames_.size()];
        if (recent.first == shared)
            return recent.second;
        const auto [known, added] = sharedTypeNames_.try_emplace(shared, nullptr);
        if (added)
            known->second = &*typeNames_.insert(*shared).first;
        recent = {shared, known->second};
        return known->second;
    }
    const std::string& shellName = info.type();
    if (const auto known = shellName.empty() ? typeNames_.end() : typeNames_.find(shellName);
        known != typeNames_.end())
        return &*known;
    return &*typeNames_.insert(shellName.empty() ? fallbackTypeName(path, syntax_) : shellName).first;
}

void HistoryList::presize(long long expected, std::size_t limit) {
    if (expected <= 0)
        return;
    const std::size_t cap = std::min<std::size_t>(
        {static_cast<std::size_t>(expected), limit, static_cast<std::size_t>(kDataMaxMax)});
    if (cap > items_.capacity())
        items_.reserve(cap);
    if (cap > records_.size())
        records_.reserve(cap - records_.size());
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
    item.Unchecked = false;
}

int HistoryList::trimToMax(int dataMax) {
    const std::size_t keep = static_cast<std::size_t>(std::max(dataMax, 0));
    if (items_.size() <= keep)
        return 0;
    const std::size_t drop = items_.size() - keep;
    ++changes_;
    view_.clear();
    for (std::size_t i = 0; i < drop; ++i)
        release(items_[i]);
    items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(drop));
    return static_cast<int>(drop);
}

int HistoryList::removePaths(const std::vector<std::string>& paths, std::vector<RemovedDocument>* taken) {
    const std::unordered_set<std::string_view> gone(paths.begin(), paths.end());
    const auto end = std::stable_partition(
        items_.begin(), items_.end(), [&](const HistoryItem* item) { return gone.count(item->Path) == 0; });
    const int removed = static_cast<int>(items_.end() - end);
    if (removed == 0)
        return 0;
    if (taken) {
        for (auto it = end; it != items_.end(); ++it)
            taken->push_back({std::string((*it)->Path), (*it)->LastUsed, (*it)->Unavailable});
    }
    ++changes_;
    view_.clear();
    dropFrom(static_cast<std::size_t>(end - items_.begin()));
    return removed;
}

int HistoryList::putBack(const std::vector<RemovedDocument>& documents) {
    int added = 0;
    for (const RemovedDocument& document : documents) {
        if (indexOfPath(document.Path) >= 0 ||
            !addKnown(document.Path, document.LastUsed, document.Unavailable))
            continue;
        // Appended: it moves before the first document used after it.
        const auto last = std::prev(items_.end());
        const auto place =
            std::upper_bound(items_.begin(), last, document.LastUsed,
                             [](DateTime when, const HistoryItem* item) { return when < item->LastUsed; });
        std::rotate(place, last, items_.end());
        ++added;
    }
    if (added > 0) {
        ++changes_;
        view_.clear();
    }
    return added;
}

void HistoryList::clear() {
    ++changes_;
    view_.clear();
    dropFrom(0);
}

} // namespace vendle
