// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "app/desktopparts.h"
#include "app/desktopsearch.h"
#include "app/dialogs.h"
#include "app/documentopener.h"
#include "app/exclusionsdialog.h"
#include "app/filtermenus.h"
#include "app/firststart.h"
#include "app/guarded.h"
#include "app/historysession.h"
#include "app/htmlhelp.h"
#include "app/icons.h"
#include "app/mainwindow.h"
#include "app/recentwatch.h"
#include "app/startupentry.h"
#include "core/errors.h"
#include "platform/logging.h"
#include "platform/system.h"
#include "platform/version.h"
#include "widgets/iconlist.h"
#include "widgets/localeformat.h"
#include "widgets/messagebox.h"
#include "widgets/progressbox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>

#include <cstdio>

namespace vendle::app {

namespace {

using widgets::MessageBox;

constexpr int kSaveDelayMs = 2000; // after the last change of the history

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

Program::Program(AppPaths paths, const TrayBackendFactory& trayBackend, TIniFileEx::Clock clock)
    : paths_(std::move(paths)) {
    // Every window of the program (dialogs, the help window, boxes) carries its icon.
    QApplication::setWindowIcon(applicationIcon());
    // Once the life is over no box may wait for an answer.
    MessageBox::setMayAsk([this] { return !life_.over(); });
    DesktopParts desktop = desktopParts(paths_, std::move(clock));
    icons_ = std::move(desktop.icons);
    session_ = std::make_unique<HistorySession>(paths_.iniFile, paths_.dataFile, std::move(desktop.parts),
                                                widgets::dateTimeFormatFromLocale(QLocale::system()));
    session_->settings().setErrorReporter(
        [](const std::string& message) { MessageBox::error(nullptr, q(message)); });
    logStartupStep("settings");
    watch_ = std::make_unique<RecentWatch>(*session_, life_,
                                           [this](ScanResult result) { afterLook(std::move(result)); });
    connect(watch_.get(), &RecentWatch::looksOver, this, &Program::showReports);
    help_ = std::make_unique<THtmlHelp>(paths_.helpFile, &session_->settings());
    window_ = std::make_unique<TVendleMainForm>(*session_, life_, paths_, *icons_, trayBackend);
    // Top-level dialogs, centred on the screen.
    startup_ = std::make_unique<StartupEntry>(paths_, session_->files());
    optionDlg_ = std::make_unique<TOptionDlg>(
        *session_, [this](const char* page) { showHelp(page); }, startup_.get());
    aboutBox_ = std::make_unique<TFormAboutBox>(*session_, platform::programVersion());

    connect(window_.get(), &TVendleMainForm::exitRequested, this, &Program::exitCommand);
    connect(window_.get(), &TVendleMainForm::helpRequested, this, &Program::showHelp);
    connect(window_.get(), &TVendleMainForm::activated, watch_.get(), &RecentWatch::requestWhenSettled);
    connect(window_.get(), &TVendleMainForm::settingsRequested, optionDlg_.get(),
            &TOptionDlg::acOptionExecute);
    exclusionsDlg_ = std::make_unique<TExclusionsDlg>(
        *session_,
        [](QWidget* parent) {
            return QFileDialog::getExistingDirectory(parent, tr("除外するフォルダ"), QDir::homePath());
        },
        [this](const char* page) { showHelp(page); });
    connect(window_.get(), &TVendleMainForm::exclusionsRequested, exclusionsDlg_.get(),
            &TExclusionsDlg::execute);
    connect(window_.get(), &TVendleMainForm::aboutRequested, aboutBox_.get(), &TFormAboutBox::showModalBox);
    // What changes is saved soon after, so that a kill or a display that goes away costs nothing;
    // a dialog's settings at once.
    saveTimer_ = new QTimer(this);
    saveTimer_->setSingleShot(true);
    saveTimer_->setInterval(kSaveDelayMs);
    connect(saveTimer_, &QTimer::timeout, this, &Program::saveChanges);
    const auto saveSoon = [this] {
        if (life_.is(Phase::Running))
            saveTimer_->start();
    };
    connect(session_.get(), &HistorySession::historyChanged, this, saveSoon);
    connect(session_.get(), &HistorySession::settingsChanged, this, saveSoon);
    connect(session_.get(), &HistorySession::presenceSettled, this, [] { logStartupStep("checked"); });
    // Queued: a dialog applies what was chosen once its own loop has returned.
    connect(optionDlg_.get(), &QDialog::accepted, this, &Program::saveChanges, Qt::QueuedConnection);
    connect(exclusionsDlg_.get(), &QDialog::accepted, this, &Program::saveChanges, Qt::QueuedConnection);
    logStartupStep("window");
}

void Program::saveChanges() {
    saveTimer_->stop();
    if (!life_.is(Phase::Running))
        return;
    // A read of the desktop's record under way on another thread shares the session: later.
    if (watch_->reading()) {
        saveTimer_->start();
        return;
    }
    try {
        window_->storeLayout();
        help_->storeBounds();
        session_->storeSettings();
        session_->SaveHistory({});
        session_->writeSettingsFile();
    } catch (const std::exception& e) {
        qCWarning(lcFiles).noquote() << "saving the changes failed:" << QString::fromUtf8(e.what());
    }
}

Program::~Program() {
    searchService_.reset();
    MessageBox::setMayAsk({});
    // No look may reach the windows while they go.
    watch_->stop();
}

bool Program::start() {
    // Any failure from here on is shown and the remaining steps are skipped; the program runs on
    // with what was set up.
    try {
        const std::vector<std::string> locations = session_->recent().locations();
        if (locations.empty() || locations.front().empty())
            VENDLE_TRACE();
        watch_->setLocations(locations);
        session_->beginWatching();
        watch_->start();
        window_->restoreLayout();

        session_->readSettings();
        if (!paths_.unusableFolder.empty())
            MessageBox::show(window_.get(),
                             tr("履歴と設定を保存するフォルダ「%1」を使えません。\n%2\n"
                                "今回使ったファイルの履歴と設定は保存されません。")
                                 .arg(q(paths_.unusableFolder), q(paths_.unusableReason)),
                             MessageBox::Warning);
        if (session_->settings().unreadable())
            MessageBox::show(
                window_.get(),
                tr("設定ファイル「%"
                   "1」を読み込めませんでした。\nこのファイルは書き換えず、今回の設定は保存しません。")
                    .arg(q(paths_.iniFile)));
        // A first start shows what the desktop already remembers before the welcome ends.
        const bool importFirst = session_->takesWhatTheDesktopHolds();
        if (importFirst)
            loadAndShowHistory(true);
        if (session_->settings().IsFirstKick())
            runFirstStart(window_.get(), paths_, session_->files());
        if (life_.is(Phase::Abandoned))
            return false;
        if (!importFirst)
            loadAndShowHistory(false);
    } catch (const std::exception& e) {
        MessageBox::error(window_.get(), QString::fromUtf8(e.what()));
    }
    if (life_.is(Phase::Abandoned)) // told to end while a box waited
        return false;
    life_.enter(Phase::Running);
    // Documents used while the program was not running come in at once.
    if (session_->loaded())
        watch_->request();
    // Without a notification area a hidden window could never be reached again.
    if (window_->withoutTray())
        window_->show();
    searchOpener_ = std::make_unique<DocumentOpener>(*window_, *session_, paths_.dataHome);
    search_ = std::make_unique<DesktopSearch>(*session_, *window_, *searchOpener_, life_, paths_.dataHome);
    searchService_ = platform::startSearchService(*search_);
    // The window answers now; whether the documents read are still there is asked meanwhile.
    session_->checkPresence();
    return true;
}

void Program::loadAndShowHistory(bool importNow) {
    loadHistory();
    logStartupStep("load");
    if (importNow)
        afterLook(session_->Scan());
    window_->ApplyFilter(ViewFilter{});
    logStartupStep("view");
}

void Program::loadHistory() {
    // The file's text, its rows and the records take about four times its size.
    platform::prepareMemoryFor(
        static_cast<std::size_t>(std::max<qint64>(0, QFileInfo(q(paths_.dataFile)).size())) * 4);
    const auto restore = qScopeGuard([&] { window_->endLoading(); });
    window_->showLoading(tr("Loading...").toStdString());
    const QString tip = tr("Loading(%1/%2)...");
    // The tip follows the load at most ten times a second: the tray is slow to change.
    QElapsedTimer shown;
    const LoadReport report = session_->Load([&](int i, int n) {
        if (shown.isValid() && i < n && shown.elapsed() < 100)
            return;
        shown.start();
        window_->showLoading(tip.arg(i).arg(n).toStdString());
    });
    // The filter menus are built when they are first opened, off the start's path.
    if (!report.openError.empty())
        MessageBox::show(window_.get(), q(report.openError));
}

void Program::showHelp(const char* page) {
    runGuarded(window_.get(), [&] { help_->ShowTopic(page, 0); });
}

void Program::afterLook(ScanResult result) {
    // A look that changed nothing leaves the grid alone; one that did keeps the current and
    // highlighted documents where the user left them.
    if (result.changed())
        window_->refreshView();
    else
        window_->UpdateView();
    for (ScanFailure& failure : result.failures)
        reports_.push_back(std::move(failure));
}

void Program::showReports() {
    // An entry that could not be resolved was skipped; it is reported after the look, once, and
    // not again until the desktop records it anew. One report at a time: a look that runs while
    // one waits for the user adds its own to the queue, which the report on screen's caller goes
    // on with.
    if (reporting_)
        return;
    reporting_ = true;
    const auto done = qScopeGuard([this] { reporting_ = false; });
    while (!reports_.empty() && life_.is(Phase::Running)) {
        const ScanFailure failure = std::move(reports_.front());
        reports_.pop_front();
        MessageBox::show(window_.get(), q(failure.boxText));
        MessageBox::error(window_.get(), QString::fromUtf8(failure.message));
    }
}

void Program::saveAll(bool showProgress) {
    watch_->stop();
    window_->storeLayout();
    help_->storeBounds();
    session_->storeSettings();
    SaveProgress progress;
    if (showProgress) {
        window_->beginSaveProgress();
        progress = [this](int percent, const std::string& text) {
            window_->showSaveProgress(percent, q(text));
        };
    }
    const auto closeBox = qScopeGuard([&] {
        if (showProgress)
            window_->endSaveProgress();
    });
    session_->SaveHistory(progress);
}

void Program::exitCommand() {
    if (life_.is(Phase::Starting)) { // 終了 from the tray menu while the welcome waits
        terminate();
        return;
    }
    if (!life_.is(Phase::Running))
        return;
    window_->hide();
    life_.enter(Phase::Saving);
    try {
        saveAll(true);
    } catch (const std::exception& e) {
        MessageBox::error(window_.get(), QString::fromUtf8(e.what()));
        resumeWatching();
        return;
    }
    if (life_.is(Phase::Saving)) // not when told to end while the box showed the save
        life_.enter(Phase::Ending);
    QCoreApplication::exit(0); // quit() would first ask the windows, which refuse to close
}

void Program::saveForSessionEnd() {
    if (!life_.is(Phase::Running))
        return;
    life_.enter(Phase::Saving);
    try {
        saveAll(false);
    } catch (const std::exception& e) {
        // The session is ending: nobody may be there to answer a box. The old files stay intact.
        qCWarning(lcUi).noquote() << "saving at the end of the session failed:"
                                  << QString::fromUtf8(e.what());
        std::fprintf(stderr, "Vendle: %s\n", e.what());
    }
}

void Program::resumeWatching() {
    if (!life_.is(Phase::Saving))
        return;
    life_.enter(Phase::Running);
    watch_->start();
}

void Program::terminate() {
    if (life_.is(Phase::Starting)) {
        life_.enter(Phase::Abandoned);
    } else if (!life_.over()) {
        saveForSessionEnd(); // a save under way (the exit's) goes on after this returns
        life_.enter(Phase::Ending);
    }
    // Nothing may wait for an answer now: the life is over, so open boxes close and no new one opens.
    MessageBox::closeAll();
    QCoreApplication::exit(0); // quit() would first ask the windows, which refuse to close
}

void Program::finish() {
    if (!life_.is(Phase::Abandoned))
        session_->writeSettingsFile();
}

} // namespace vendle::app
