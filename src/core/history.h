// SPDX-License-Identifier: GPL-3.0-or-later
// The history: one record per remembered document, the owning list `Items` in order of use, the
// grid's filtered and sorted selection `ViewItems`, the column sort orders and the size limit.
#pragma once

#include "collation.h"
#include "datetime.h"
#include "fileaccess.h"
#include "historylimits.h"
#include "paths.h"
#include "recordpool.h"
#include "textfold.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vendle {

namespace test {
class HistoryProbe;
}

// What the desktop shell tells about a document.
struct ShellFileInfo {
    bool isFolder = false;
    std::string typeName;       // empty when the shell has none
    std::int32_t iconIndex = 0; // index into the platform's icon list
    // Instead of typeName, a name the shell keeps for as long as it exists (no copy per document).
    const std::string* sharedTypeName = nullptr;
    // The type name, whichever way it was given.
    const std::string& type() const { return sharedTypeName ? *sharedTypeName : typeName; }
};

// The shell query behind AddItem; the platform layer implements it.
class ShellQuery {
public:
    virtual ~ShellQuery() = default;
    virtual ShellFileInfo queryFileInfo(const std::string& path) = 0;

    // The same for a path already known to name an existing file that is not a folder, so that
    // the disk need not be asked again.
    virtual ShellFileInfo queryKnownFileInfo(std::string_view path) {
        return queryFileInfo(std::string(path));
    }
};

// A remembered document. Records are changed only by the list's operations, which keep the list's
// orders and paths right; everyone else reads them through const references.
struct HistoryItem {
    std::string_view Path; // its bytes are the list's (see HistoryList::holdText)
    DateTime LastUsed = 0;
    std::int32_t IconIndex = 0;
    bool Unavailable = false; // on a volume that is not there now; typed by its name
    bool Unchecked = false;   // read from the data file; whether it is still there is not known yet
    const std::string& TypeName() const { return *typeName_; }

private:
    friend class HistoryList;
    // The path folded for a search that ignores kana and width, made the first time such a search
    // reads it; kept only when folding changes more than ASCII case (else the path is searched).
    mutable std::uint8_t foldState_ =
        0; // 0: not made yet, 1: the path itself, 2: folded_, 3: too long to keep
    mutable std::uint16_t foldedSize_ = 0;   // (beside index_, in what would be padding)
    std::uint16_t text_ = 0;                 // the held text the path lies in; 0: ownPath_
    std::uint32_t index_ = 0;                // place in Items when the list last numbered them
    const std::string* typeName_ = nullptr;  // shared per distinct type name
    mutable std::unique_ptr<char[]> folded_; // one block of foldedSize_ bytes
    std::unique_ptr<char[]> ownPath_;        // the path's bytes when no held text has them
};

// A document taken out of the history, as much of it as putting it back needs.
struct RemovedDocument {
    std::string Path;
    DateTime LastUsed = 0;
    bool Unavailable = false;
};

struct SortContext {
    PathSyntax syntax;
    const Collator* collator = nullptr;
};

using Comparator = int (*)(const HistoryItem&, const HistoryItem&, const SortContext&);

int CompareName(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareNameDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareFolder(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareFolderDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareType(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareTypeDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareTime(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareTimeDesc(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);
int CompareFolderName(const HistoryItem& a, const HistoryItem& b, const SortContext& ctx);

// The grid's columns, left to right; sorting and the filter speak of the same numbers.
enum Column : int { ColumnNumber, ColumnName, ColumnFolder, ColumnType, ColumnTime };
inline constexpr int kColumnCount = ColumnTime + 1;

// Comparator of a column, indexed by column and then by descending; column 0 has none.
extern const Comparator SortTable[kColumnCount][2];

// Header texts of the grid's columns.
extern const char* const ColumnTitles[kColumnCount];

// The type name used when the shell gives none: the upper-cased extension without its dot, then
// " ファイル".
std::string fallbackTypeName(std::string_view path, const PathSyntax& syntax);

// True for paths that a line of the history file cannot hold (TAB, CR, LF, NUL) or that are empty.
bool isStorablePath(std::string_view path);

// What the grid's view shows of the history.
struct ViewFilter {
    std::string search;    // case-insensitive in the whole path; empty matches all
    std::string type;      // exact TypeName; empty = all types
    std::string folder;    // exact FolderName; empty = all folders
    DateTime since = 0;    // LastUsed >= since; 0 = no age limit
    bool foldKana = false; // the search ignores hiragana/katakana and full/half width too

    bool isEmpty() const { return search.empty() && type.empty() && folder.empty() && since == 0; }
    bool operator==(const ViewFilter&) const = default;
};

// What the view was last built from by the filter, so that a search that only grows (a typed
// character) can narrow the view it has instead of rebuilding and re-sorting it. The filter is
// kept whole: whatever field it gains takes part in the comparison.
struct ViewBasis {
    bool valid = false;
    ViewFilter filter;
    int column = 0;
    bool descending = false;
    const Collator* collator = nullptr;
    std::uint64_t collatorGeneration = 0;
    std::uint64_t changes = 0; // the list's change count then

    bool operator==(const ViewBasis&) const = default;
};

class HistoryList {
public:
    static constexpr std::size_t kInitialCapacity = 256;
    static constexpr std::size_t kGrowBy = 128;

    HistoryList(PathSyntax syntax, ShellQuery& shell);
    ~HistoryList();
    HistoryList(const HistoryList&) = delete;
    HistoryList& operator=(const HistoryList&) = delete;

    const PathSyntax& syntax() const { return syntax_; }

    int ItemCount() const { return static_cast<int>(items_.size()); }
    const HistoryItem& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

    // A text that paths added with it lie in (a data file read whole), kept while any record
    // uses it, so that those records need no copy of their paths. 0 when the list holds as many
    // texts as it can; paths are then copied.
    using TextId = std::uint16_t;
    TextId holdText(std::shared_ptr<const std::string> text);

    // Queries the shell and appends a record for the path, used at `lastUsed`; nullptr (nothing
    // added) for a folder or a path the history file cannot store.
    const HistoryItem* AddItem(const std::string& path, DateTime lastUsed = 0);
    // The same for a path the caller has just found to name an existing file that is not a folder,
    // or, when `unavailable`, a document on a volume that is away: the disk is not asked again.
    const HistoryItem* addKnown(const std::string& path, DateTime lastUsed, bool unavailable);
    // The same for a path read from the data file, whose presence is checked later (settleChecks):
    // typed by its name, the disk not asked. With `text` (from holdText, which `path` lies in as a
    // line's path, ending before the first TAB, CR, LF or NUL) the path is not copied.
    const HistoryItem* addUnchecked(std::string_view path, DateTime lastUsed, TextId text = 0);

    // The paths of the unchecked documents, copied into one block, to be asked about off the
    // window's thread.
    struct UncheckedPaths {
        std::shared_ptr<const std::string> bytes; // the views below point into it
        std::vector<std::string_view> paths;
    };
    UncheckedPaths uncheckedPaths() const;
    // What the disk said about `paths` (from uncheckedPaths, in their order): unchecked documents
    // that are gone leave, those out of reach become unavailable, the rest are checked. A document
    // used since its path was taken is checked already and stays as it is. The view is emptied
    // as by trimToMax when anything left.
    struct CheckOutcome {
        int gone = 0;
        int away = 0;
    };
    CheckOutcome settleChecks(const std::vector<std::string_view>& paths,
                              const std::vector<FileAccess::Presence>& presences);

    // The document was used again at `when`: it moves to the end (the newest place), takes the
    // time and is available.
    void touch(int index, DateTime when);
    // The document's volume is back (or, with false, away).
    void setAvailable(int index, bool available = true) {
        items_.at(static_cast<std::size_t>(index))->Unavailable = !available;
    }

    // Pre-sizes the list for a load of `expected` entries, never beyond `limit` nor the most the
    // history can hold, so a corrupt count cannot allocate without bound.
    void presize(long long expected, std::size_t limit);
    std::size_t capacity() const { return items_.capacity(); }
    // How many texts the list holds (holdText) for records that still use them.
    std::size_t heldTexts() const;

    // Index of the first entry whose path equals `path` byte for byte, or -1.
    int indexOfPath(std::string_view path) const;

    // Moves an entry to the end (the newest place) keeping the order of the others.
    void moveToEnd(int index);

    // Drops the oldest entries until at most `dataMax` remain; returns how many went. The view is
    // emptied because it may point at dropped entries: rebuild it afterwards.
    int trimToMax(int dataMax);

    // Removes every entry and empties the view.
    void clear();
    // Removes the entries of `paths` (the user forgot them); returns how many went, and appends
    // them to `removed` when given. The view is emptied as by trimToMax.
    int removePaths(const std::vector<std::string>& paths, std::vector<RemovedDocument>* removed = nullptr);
    // Puts removed documents back (an undo), each at the place its time gives among the others;
    // one that is in the list again is left as it is. Returns how many came back; the view is
    // emptied as by trimToMax.
    int putBack(const std::vector<RemovedDocument>& documents);

    // The grid's selection.
    const std::vector<const HistoryItem*>& viewItems() const { return view_; }
    int ViewCount() const { return static_cast<int>(view_.size()); }
    const HistoryItem& ViewItem(int index) const { return *view_.at(static_cast<std::size_t>(index)); }

    int SortColumn = ColumnTime;
    bool SortDescending = true;

    // Sorts the view by SortColumn and SortDescending; entries that sort alike keep their order.
    void sortView(const Collator& collator);

    // Makes the view the entries of Items whose flag in `shown` (one per entry) is set, in the
    // order of SortColumn and SortDescending, as sorting them in the order of Items would.
    void showMarked(const std::vector<std::uint8_t>& shown, const Collator& collator);

    // The paths of Items in their order, side by side, so that a pass over all of them reads one
    // array instead of every record; made again after a change of the list.
    const std::vector<std::string_view>& paths();

    // Counts changes to Items (adds, moves, trims, clearing). Orders and views built before a
    // change are stale after it.
    std::uint64_t changeCount() const { return changes_; }

    // True when the view was built (or emptied) since the last change of Items, so that every entry
    // it holds is still in the list; false between a change and the next filter pass.
    bool viewIsCurrent() const { return basis_.changes == changes_; }

    // Rebuilds the view from Items in order with the filter, sorted by SortColumn and
    // SortDescending. A search that only grew, with nothing else changed, narrows the view it has.
    // A filter with foldKana searches the paths as `folder` folds them (without one, as usual).
    void applyFilter(const ViewFilter& filter, const Collator& collator, const TextFolder* folder = nullptr);
    // The view the last filter pass built (the same as viewItems()).
    const std::vector<const HistoryItem*>& filteredView() const { return view_; }

    // The documents whose path holds every term, as the search box matches (case-insensitive, or
    // folded by `folder` when `foldKana`), newest first, at most `limit`. The view is left alone:
    // searches from outside the window use it.
    std::vector<const HistoryItem*> find(const std::vector<std::string>& terms, std::size_t limit,
                                         bool foldKana = false, const TextFolder* folder = nullptr) const;

    // A click on header column c: c = 0 does nothing; another column sorts ascending by it; the
    // current column flips its direction. Returns true when the view was re-sorted.
    bool clickColumn(int column, const Collator& collator);

private:
    friend class test::HistoryProbe; // tests and the benchmark set views by hand

    // A view chosen by hand (entries of this list); the next filter pass builds its own from
    // nothing.
    void setView(std::vector<const HistoryItem*> view) {
        view_ = std::move(view);
        basis_.valid = false;
    }
    // The next filter pass builds the view from nothing, as after a change.
    void forgetViewBasis() { basis_.valid = false; }
    // What was sorted before is stale (benchmarks that sort from nothing); the list's own
    // operations and a new collator need no such call.
    void markStale() { ++changes_; }

    // The whole list in the order of one column, kept while the list, the column and the collator
    // stay the same: every view of that column is this order with some entries left out, so a
    // view is built without sorting.
    struct ColumnOrder {
        bool valid = false;
        int column = 0;
        const Collator* collator = nullptr;
        std::uint64_t collatorGeneration = 0;
        std::uint64_t changes = 0;
        std::vector<std::uint32_t> ascending; // indices into Items; alike entries in Items' order
        std::vector<std::uint32_t> rank;      // per index into Items: the place of its key; alike share
    };
    // The order of SortColumn (1 to 4) under `collator`, built when missing or stale.
    const ColumnOrder& columnOrder(const Collator& collator);
    bool matchesFolded(const HistoryItem& item, std::string_view needle, const TextFolder& folder) const;
    void buildTextOrder(ColumnOrder& order, const Collator& collator);
    void buildTimeOrder(ColumnOrder& order);
    // Gives each record its index in Items, unless that is done since the last change.
    void number();
    const HistoryItem* add(std::string_view path, const ShellFileInfo& info, DateTime lastUsed,
                           bool unavailable, TextId text = 0);
    // Destroys the records of items_ from `first` on and drops them from items_.
    void dropFrom(std::size_t first);
    void release(HistoryItem* item);
    // The shared type name of a document the shell told `info` about.
    const std::string* typeNameOf(std::string_view path, const ShellFileInfo& info);

    PathSyntax syntax_;
    ShellQuery& shell_;
    struct HeldText {
        std::shared_ptr<const std::string> text;
        std::size_t users = 0;
    };
    RecordPool<HistoryItem> records_;
    std::vector<HistoryItem*> items_; // made by records_
    std::vector<HeldText> texts_;     // TextId n is texts_[n - 1]
    std::vector<const HistoryItem*> view_;
    ViewBasis basis_;
    std::uint64_t changes_ = 0;
    std::uint64_t numberedAt_ = ~std::uint64_t{0};
    ColumnOrder order_;
    std::vector<std::string_view> paths_;
    std::uint64_t pathsAt_ = ~std::uint64_t{0};
    std::unordered_set<std::string> typeNames_;
    // The shell's own type names (ShellFileInfo::sharedTypeName) -> the entry of typeNames_, the
    // last ones looked up in front by their place.
    std::unordered_map<const std::string*, const std::string*> sharedTypeNames_;
    std::array<std::pair<const std::string*, const std::string*>, 64> recentTypeNames_{};
};

} // namespace vendle
