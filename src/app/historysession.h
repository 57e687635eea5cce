// SPDX-License-Identifier: GPL-3.0-or-later
// The history's life: the settings file, the history list with the grid's model over it, the
// desktop's record of recently used documents and the clock. Loading, importing, filtering,
// sorting and saving all happen here, and every change of the history goes through `change`, so
// that the model announces it and no view ever shows a stale list. The main window drives it.
#pragma once

#include "app/historymodel.h"
#include "core/collation.h"
#include "core/exclusions.h"
#include "core/fileaccess.h"
#include "core/forgotten.h"
#include "core/historyfile.h"
#include "core/inifileex.h"
#include "core/recentscan.h"
#include "core/viewfilter.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vendle::test {
class SessionProbe;
}

namespace vendle::app {

class PresenceCheck;

// The file beside the data file ("vendle.seen" beside "vendle.dat") that keeps the identities of
// the desktop's listing which the saved history took in.
std::string listingFileFor(const std::string& dataFile);

class HistorySession : public QObject {
    Q_OBJECT

public:
    // What the session works with: the platform's services in the program, fakes in tests.
    struct Parts {
        std::unique_ptr<FileAccess> files;
        std::unique_ptr<ShellQuery> shell;
        std::unique_ptr<RecentSource> recent;
        std::unique_ptr<Collator> collator;
        std::unique_ptr<TextFolder> folder; // the search's folding of kana and width
        TIniFileEx::Clock clock = vendle::now;
        PathSyntax syntax = PathSyntax::posix();
        HistoryTableModel::IconLookup icons;
    };

    // Reads the settings file (`iniFile`); the history in `dataFile` is read by Load.
    HistorySession(std::string iniFile, std::string dataFile, Parts parts, const DateTimeFormat& fmt,
                   QObject* parent = nullptr);
    ~HistorySession() override;

    const HistoryList& items() const { return *items_; }
    HistoryTableModel& model() { return *model_; }
    TIniFileEx& settings() { return *ini_; }
    FileAccess& files() { return *parts_.files; }
    RecentSource& recent() { return *parts_.recent; }
    const Collator& collator() const { return *parts_.collator; }
    DateTime now() const { return parts_.clock(); }
    const DateTimeFormat& dateTimeFormat() const { return format_; }
    void setDateTimeFormat(const DateTimeFormat& fmt);

    DateTime LastScanTime = 0;

    // How many documents the history keeps (1..100,000); a lower number cuts the loaded history at
    // once, and the view follows.
    int dataMax() const { return dataMax_; }
    void setDataMax(int dataMax);
    // Whether read-only documents are confirmed before they are opened.
    bool confirmReadOnly() const { return confirmReadOnly_; }
    void setConfirmReadOnly(bool confirm) { confirmReadOnly_ = confirm; }
    // What the view shows; setting it rebuilds the view.
    const ViewFilter& filter() const { return filter_; }
    void setFilter(ViewFilter filter);
    // Whether the search ignores hiragana/katakana and full/half width (kept in the settings file).
    bool foldKana() const { return foldKana_; }
    void setFoldKana(bool on);
    // The folding the search uses while foldKana is on; none otherwise.
    const TextFolder* folder() const { return foldKana_ ? parts_.folder.get() : nullptr; }

    // The history size, the read-only confirmation and the sort from the settings file.
    void readSettings();
    // The start of watching the desktop: what it records from now on is imported, and what it
    // recorded since the last look of an earlier run ("LastScanTime", written by storeSettings).
    void beginWatching();
    // True when this start is a first one without a history: the first look takes in every
    // document the desktop already remembers, with its own time.
    bool takesWhatTheDesktopHolds() const { return state_ == State::UnreadFirstStart; }

    // Reads the data file. Afterwards `loaded()` tells whether saving may replace it: true when it
    // was read or did not exist, false when it exists but could not be read. The documents read
    // are shown, searched and saved as read until checkPresence has found out which are still there.
    LoadReport Load(const LoadProgress& progress);
    bool loaded() const { return state_ == State::Read; }
    // Asks, on another thread, whether the documents Load read are still there; `presenceSettled`
    // tells the outcome. Nothing happens when there is nothing to ask or it was asked already.
    void checkPresence();
    // The documents read are being checked.
    bool checking() const { return check_ != nullptr; }

    // The documents whose path holds every term, matched as the search box matches (the kana
    // switch applies), newest first, at most `limit`; the view is left alone.
    std::vector<const HistoryItem*> find(const std::vector<std::string>& terms, std::size_t limit) const {
        return items_->find(terms, limit, foldKana_, parts_.folder.get());
    }

    // Imports what the desktop recorded since it was last looked at, and looks again at documents
    // whose volume was away: those that are back show as usual again.
    ScanResult Scan();
    // The slow, reading part of the next Scan, on another thread: the desktop's record is read
    // and compared with what was taken in. Nothing else may use the session meanwhile (the watch
    // runs no look until it is done); stops early when `cancelled` is set.
    void prepareScan(const std::atomic<bool>& cancelled);

    // Sorts under another collation from now on; what was sorted before is dropped, and the
    // next refreshView rebuilds the view.
    void setCollator(std::unique_ptr<Collator> collator);

    // Rebuilds the view from the history with the filter as it is (after an import).
    void refreshView();
    // Takes `paths` out of the history (the files stay): the desktop's records of their earlier
    // uses are passed over from now on, in this run and later ones; a use recorded later brings
    // a document back. Returns the documents that left the history.
    std::vector<RemovedDocument> forget(const std::vector<std::string>& paths);
    // Undoes a forget: the documents come back with their own times and are forgotten no more.
    void putBack(const std::vector<RemovedDocument>& documents);

    // The folders whose documents are never recorded, and the switch for hidden names.
    const Exclusions& exclusions() const { return exclusions_; }
    // The documents held that `exclusions` would leave out and the present ones do not.
    std::vector<std::string> documentsExcludedBy(const Exclusions& exclusions) const;
    // Takes `exclusions` from now on, and takes `remove` out of the history.
    void setExclusions(Exclusions exclusions, const std::vector<std::string>& remove);
    // A click on a column header; true when the view was re-sorted.
    bool clickColumn(int column);

    // What the type and folder filters can choose from: each type with the icon index of its
    // first document, and each folder that holds two or more documents, both in collated order,
    std::vector<std::pair<std::string, int>> typeChoices();
    // with the icon index of the folder itself.
    std::vector<std::pair<std::string, int>> folderChoices();

    // Stores the history size and the read-only confirmation in the settings file (in memory).
    void storeSettings();
    // Writes the data file and "Items"; does nothing when the history was not loaded. Throws when
    // the file cannot be written, leaving the old one as it was.
    void SaveHistory(const SaveProgress& progress);
    // Writes the settings file; a failure goes to the settings file's error reporter.
    void writeSettingsFile();

signals:
    // The view was rebuilt or re-sorted, or the history under it changed.
    void viewChanged();
    // The documents held changed (added, moved, removed, trimmed): the data file is out of date.
    void historyChanged();
    // A setting the session keeps changed (the kana switch, the sort, exclusions, forgotten
    // documents): the settings file is out of date.
    void settingsChanged();
    // The check of the documents read is over: `gone` left the history (the view was rebuilt),
    // `away` are on volumes that are not there now.
    void presenceSettled(int gone, int away);

private:
    friend class test::SessionProbe; // tests and the benchmark change the history by hand

    // The one way to change the history: the model is reset around `edit`.
    void change(const std::function<void(HistoryList&)>& edit);
    // Takes `paths` out of the history and rebuilds the view; appends what went to `removed`.
    void removeDocuments(const std::vector<std::string>& paths,
                         std::vector<RemovedDocument>* removed = nullptr);
    Parts parts_;
    DateTimeFormat format_;
    std::string dataFile_;
    std::string seenFile_; // the desktop's listing that the saved history took in
    std::unique_ptr<TIniFileEx> ini_;
    std::unique_ptr<HistoryList> items_;
    std::unique_ptr<HistoryTableModel> model_; // after items_: it goes first
    int refreshUnavailable();                  // how many documents are back
    void saveListing();

    RecentImports imports_;
    std::optional<ScanPlan> prepared_;                    // read ahead by prepareScan
    std::optional<RecentEntry::Stamp> lastCompletedScan_; // the start of this run's last look
    int dataMax_ = kDataMaxDefault;
    bool confirmReadOnly_ = false;
    ViewFilter filter_;
    // Where the history is: the state decides whether a save may replace the data file.
    enum class State {
        Unread,           // not read yet
        UnreadFirstStart, // not read yet; a first start whose first look takes in everything
        Read,             // read, or there was no file: saving may replace it
        Unreadable,       // the file exists but could not be read: it is never replaced
    };
    State state_ = State::Unread;
    ForgottenDocuments forgotten_;
    Exclusions exclusions_;
    bool foldKana_ = false;
    HistoryList::UncheckedPaths toCheck_;  // what Load read, until checkPresence
    std::unique_ptr<PresenceCheck> check_; // last: it goes first, while the files it asks are there
    void settlePresence();
};

} // namespace vendle::app
