// SPDX-License-Identifier: GPL-3.0-or-later
#include "historysession.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "app/presencecheck.h"
#include "core/filelimits.h"
#include "core/mainsettings.h"
#include "platform/logging.h"

namespace vendle::app {

std::string listingFileFor(const std::string& dataFile) {
    const std::string_view ext = ".dat";
    if (dataFile.size() > ext.size() && dataFile.compare(dataFile.size() - ext.size(), ext.size(), ext) == 0)
        return dataFile.substr(0, dataFile.size() - ext.size()) + ".seen";
    return dataFile + ".seen";
}

HistorySession::HistorySession(std::string iniFile, std::string dataFile, Parts parts,
                               const DateTimeFormat& fmt, QObject* parent)
    : QObject(parent), parts_(std::move(parts)), format_(fmt), dataFile_(std::move(dataFile)),
      seenFile_(listingFileFor(dataFile_)) {
    items_ = std::make_unique<HistoryList>(parts_.syntax, *parts_.shell);
    model_ = std::make_unique<HistoryTableModel>(*items_, parts_.icons);
    model_->setDateTimeFormat(format_);
    // Saves killed midway may have left temporary files; they are of no use.
    parts_.files->removeStaleTemporaries(iniFile);
    parts_.files->removeStaleTemporaries(dataFile_);
    parts_.files->removeStaleTemporaries(seenFile_);
    ini_ = std::make_unique<TIniFileEx>(std::move(iniFile), *parts_.files, format_, parts_.clock);
    // A file written by an earlier version is brought to this version's layout; it reaches the
    // disk with the next save. A file that could not be read is never written, so left alone.
    if (!ini_->unreadable()) {
        if (const int version = migrateSettings(*ini_, format_); version < kSettingsVersion)
            qCInfo(lcFiles) << "settings file of layout" << version << "brought to layout"
                            << kSettingsVersion;
    }
}

HistorySession::~HistorySession() = default;

void HistorySession::setDateTimeFormat(const DateTimeFormat& fmt) {
    format_ = fmt;
    ini_->setDateTimeFormat(fmt);
    model_->setDateTimeFormat(fmt);
}

void HistorySession::change(const std::function<void(HistoryList&)>& edit) {
    const std::uint64_t before = items_->changeCount();
    {
        model_->beginChange();
        const auto done = qScopeGuard([this] { model_->endChange(); });
        edit(*items_);
    }
    if (items_->changeCount() != before)
        emit historyChanged();
}

void HistorySession::readSettings() {
    forgotten_.read(*ini_);
    foldKana_ = readBool(*ini_, Setting::FoldKana);
    filter_.foldKana = foldKana_;
    exclusions_.read(*ini_);
    dataMax_ = readDataMax(*ini_);
    confirmReadOnly_ = readConfirmReadOnly(*ini_);
    change([&](HistoryList& list) {
        list.SortColumn = readSortColumn(*ini_);
        list.SortDescending = readSortDescending(*ini_);
    });
}

namespace {

// A local time as a stamp of the recent-documents source, a second early: a document recorded in
// that second is looked at again rather than missed (looking again moves it, never doubles it).
RecentEntry::Stamp stampBefore(DateTime local) {
    return {toUnixTime(local) - 1, 0};
}

} // namespace

void HistorySession::beginWatching() {
    LastScanTime = now();
    // What the desktop recorded since the listing saved with the history (while the program was
    // not running, or during runs that ended before they saved) is imported too. Without a saved
    // listing, what was recorded since an older version's last look; without that either, only
    // what comes from now on.
    std::optional<std::vector<RecentImports::Identity>> saved;
    if (parts_.files->exists(seenFile_)) {
        if (const std::optional<std::string> text = parts_.files->readAll(seenFile_, kSettingsFileLimit))
            saved = identitiesFromText(*text);
        if (!saved)
            qCWarning(lcRecent) << "the saved listing cannot be read:" << seenFile_.c_str();
    }
    // A first start without a history takes in, once, what the desktop already remembers.
    // (A listing kept by a first run that was killed before it saved does not count.)
    const bool firstStart = ini_->IsFirstKick() && !parts_.files->exists(dataFile_);
    if (state_ == State::Unread && firstStart)
        state_ = State::UnreadFirstStart;
    const bool keepAtOnce = !saved || firstStart;
    if (firstStart)
        saved.emplace(); // nothing was seen before
    const std::optional<RecentEntry::Stamp> previous = stampFromText(readText(*ini_, Setting::LastScanTime));
    beginImports(*parts_.recent, imports_, saved, previous);
    // The first listing is kept at once: a run killed before it saves must not make the next one
    // take what was recorded meanwhile for old.
    if (keepAtOnce)
        saveListing();
}

void HistorySession::saveListing() {
    try {
        parts_.files->writeAtomically(seenFile_, identitiesText(imports_.identities()));
    } catch (const std::exception& e) {
        qCWarning(lcRecent) << "the listing could not be saved:" << e.what();
    }
}

LoadReport HistorySession::Load(const LoadProgress& progress) {
    LoadReport report;
    HistoryList::UncheckedPaths unchecked;
    change([&](HistoryList& list) {
        report = vendle::readHistory(list, dataFile_, *parts_.files, format_, readItemsHint(*ini_), progress,
                                     &unchecked);
    });
    // A file that exists but could not be read must survive this run untouched.
    state_ = report.openError.empty() ? State::Read : State::Unreadable;
    if (report.added > 0)
        toCheck_ = std::move(unchecked);
    if (report.damagedLines > 0 || report.unreadableTimes > 0 || report.duplicateLines > 0)
        qCInfo(lcFiles) << "data file:" << report.damagedLines << "damaged lines skipped,"
                        << report.unreadableTimes << "times unreadable," << report.duplicateLines
                        << "repeated paths merged";
    return report;
}

void HistorySession::checkPresence() {
    if (toCheck_.paths.empty() || check_)
        return;
    check_ = std::make_unique<PresenceCheck>(*parts_.files, std::exchange(toCheck_, {}));
    // Queued: the check is done with and can go when its outcome is taken.
    connect(check_.get(), &PresenceCheck::finished, this, &HistorySession::settlePresence,
            Qt::QueuedConnection);
}

void HistorySession::settlePresence() {
    HistoryList::CheckOutcome outcome;
    const std::vector<FileAccess::Presence>& answers = check_->answers();
    int cut = 0;
    const auto settle = [&](HistoryList& list) {
        outcome = list.settleChecks(check_->paths(), answers);
        cut = list.trimToMax(dataMax_); // what looks meanwhile took in beyond the size
    };
    // When every document is there and nothing is beyond the size, nothing the grid shows changes:
    // no reset disturbs the user.
    if (items_->ItemCount() <= dataMax_ &&
        std::all_of(answers.begin(), answers.end(), [](auto p) { return p == FileAccess::Presence::File; }))
        settle(*items_);
    else
        change(settle);
    check_.reset();
    qCInfo(lcFiles) << "documents checked:" << outcome.gone << "gone," << outcome.away << "on volumes away";
    if (outcome.gone > 0 || outcome.away > 0 || cut > 0)
        refreshView(); // the current document and the highlighted block stay as a look keeps them
    emit presenceSettled(outcome.gone, outcome.away);
}

ScanResult HistorySession::Scan() {
    // The model is reset only when the history really changes: a look that finds nothing new
    // leaves the grid, its current cell and its selection alone.
    ScanResult result;
    const DateTime start = now();
    const std::uint64_t before = items_->changeCount();
    {
        bool began = false;
        const auto end = qScopeGuard([&] {
            if (began)
                model_->endChange();
        });
        // A plan read ahead on another thread is taken as it is: a change of the desktop's record
        // since then brings a notice, and with it the next look.
        ScanPlan plan = prepared_ ? std::move(*prepared_) : planScan(*parts_.recent, imports_);
        prepared_.reset();
        result = applyScan(
            *items_, *parts_.recent, imports_, std::move(plan), LastScanTime, start,
            // Documents read but not checked yet may be gone: the history is cut to its size once
            // they are out, so that none of those still there is cut for them.
            check_ || !toCheck_.paths.empty() ? std::numeric_limits<int>::max() : dataMax_,
            [&] {
                model_->beginChange();
                began = true;
            },
            [this](const std::string& path, const RecentEntry& entry) {
                return !exclusions_.excludes(path) && forgotten_.admits(path, entry.unixTime);
            },
            [this](const std::string& path) {
                return parts_.files->presence(path) == FileAccess::Presence::Unavailable;
            });
    }
    if (result.listed)
        lastCompletedScan_ = stampBefore(start);
    if (items_->changeCount() != before)
        emit historyChanged();
    result.back = refreshUnavailable();
    for (const ScanFailure& failure : result.failures)
        qCWarning(lcRecent).noquote() << "skipped" << QString::fromStdString(failure.entry) << "-"
                                      << QString::fromStdString(failure.boxText);
    qCDebug(lcRecent) << "scan: examined" << result.examined << "added" << result.added << "moved"
                      << result.moved << "dropped" << result.dropped;
    return result;
}

void HistorySession::prepareScan(const std::atomic<bool>& cancelled) {
    parts_.recent->prepare(cancelled);
    if (!cancelled)
        prepared_ = planScan(*parts_.recent, imports_);
}

int HistorySession::refreshUnavailable() {
    std::vector<int> back;
    for (int i = 0; i < items_->ItemCount(); ++i) {
        if (items_->Item(i).Unavailable &&
            parts_.files->presence(std::string(items_->Item(i).Path)) == FileAccess::Presence::File)
            back.push_back(i);
    }
    if (back.empty())
        return 0;
    change([&](HistoryList& list) {
        for (int i : back)
            list.setAvailable(i);
    });
    return static_cast<int>(back.size());
}

void HistorySession::setCollator(std::unique_ptr<Collator> collator) {
    // Its own identity tells it from the old one, whose address it may take.
    change([&](HistoryList&) { parts_.collator = std::move(collator); });
}

void HistorySession::setFilter(ViewFilter filter) {
    filter_ = std::move(filter);
    filter_.foldKana = foldKana_;
    refreshView();
}

void HistorySession::setFoldKana(bool on) {
    foldKana_ = on;
    filter_.foldKana = on;
    refreshView();
    emit settingsChanged();
}

void HistorySession::refreshView() {
    change([&](HistoryList& list) { vendle::ApplyFilter(list, filter_, *parts_.collator, folder()); });
    emit viewChanged();
}

void HistorySession::setDataMax(int dataMax) {
    dataMax_ = std::clamp(dataMax, kDataMaxMin, kDataMaxMax);
    if (!loaded() || items_->ItemCount() <= dataMax_)
        return;
    change([&](HistoryList& list) { list.trimToMax(dataMax_); });
    refreshView();
}

bool HistorySession::clickColumn(int column) {
    bool sorted = false;
    change([&](HistoryList& list) { sorted = list.clickColumn(column, *parts_.collator); });
    if (sorted) {
        emit viewChanged();
        emit settingsChanged();
    }
    return sorted;
}

// The representatives are found with a scratch counter in the records; nothing a view shows
// changes, so the model is not reset.
std::vector<std::pair<std::string, int>> HistorySession::typeChoices() {
    std::vector<std::pair<std::string, int>> choices;
    for (const HistoryItem* rep : typeRepresentatives(*items_, *parts_.collator))
        choices.emplace_back(rep->TypeName(), rep->IconIndex);
    return choices;
}

std::vector<std::pair<std::string, int>> HistorySession::folderChoices() {
    std::vector<std::pair<std::string, int>> choices;
    for (const HistoryItem* rep : folderRepresentatives(*items_, *parts_.collator)) {
        std::string folder(FolderName(rep->Path, items_->syntax()));
        // The icon of the folder itself, asked for by its whole path (its name alone names nothing).
        const int icon =
            parts_.shell->queryFileInfo(std::string(directoryOf(rep->Path, items_->syntax()))).iconIndex;
        choices.emplace_back(std::move(folder), icon);
    }
    return choices;
}

std::vector<RemovedDocument> HistorySession::forget(const std::vector<std::string>& paths) {
    // Forgotten from now: the desktop's records of earlier uses are passed over from here on.
    const std::int64_t at = toUnixTime(now());
    for (const std::string& path : paths)
        forgotten_.forget(path, at);
    std::vector<RemovedDocument> removed;
    removeDocuments(paths, &removed);
    emit settingsChanged();
    return removed;
}

void HistorySession::putBack(const std::vector<RemovedDocument>& documents) {
    if (documents.empty())
        return;
    for (const RemovedDocument& document : documents)
        forgotten_.remember(document.Path);
    emit settingsChanged();
    change([&](HistoryList& list) {
        list.putBack(documents);
        if (loaded())
            list.trimToMax(dataMax_);
    });
    refreshView();
}

void HistorySession::removeDocuments(const std::vector<std::string>& paths,
                                     std::vector<RemovedDocument>* removed) {
    if (paths.empty())
        return;
    change([&](HistoryList& list) { list.removePaths(paths, removed); });
    refreshView();
}

std::vector<std::string> HistorySession::documentsExcludedBy(const Exclusions& exclusions) const {
    std::vector<std::string> paths;
    for (int i = 0; i < items_->ItemCount(); ++i) {
        const std::string_view path = items_->Item(i).Path;
        if (exclusions.excludes(path) && !exclusions_.excludes(path))
            paths.emplace_back(path);
    }
    return paths;
}

void HistorySession::setExclusions(Exclusions exclusions, const std::vector<std::string>& remove) {
    exclusions_ = std::move(exclusions);
    removeDocuments(remove);
    emit settingsChanged();
}

void HistorySession::storeSettings() {
    forgotten_.write(*ini_);
    if (foldKana_ || isStored(*ini_, Setting::FoldKana)) // absent while never turned on
        writeBool(*ini_, Setting::FoldKana, foldKana_);
    exclusions_.write(*ini_);
    if (lastCompletedScan_)
        writeText(*ini_, Setting::LastScanTime, stampText(*lastCompletedScan_));
    writeDataMax(*ini_, dataMax_);
    writeConfirmReadOnly(*ini_, confirmReadOnly_);
    writeSort(*ini_, items_->SortColumn, items_->SortDescending);
}

void HistorySession::SaveHistory(const SaveProgress& progress) {
    if (!loaded()) {
        qCWarning(lcFiles) << "the history was not loaded: the data file is left as it is";
        return;
    }
    const int written =
        vendle::SaveHistory(*items_, dataFile_, *parts_.files, progress, monotonicMilliseconds);
    writeItems(*ini_, written);
    // What the saved history took in from the desktop's record goes with it.
    saveListing();
}

void HistorySession::writeSettingsFile() {
    ini_->UpdateFile();
}

} // namespace vendle::app
