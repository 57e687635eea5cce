#include "mainwindow.h"

#include "app/filtermenus.h"
#include "app/guarded.h"
#include "app/historygrid.h"
#include "app/icons.h"
#include "core/errors.h"
#include "core/mainsettings.h"
#include "platform/autostart.h"
#include "platform/collation.h"
#include "platform/fileaccess.h"
#include "platform/logging.h"
#include "platform/recentsource.h"
#include "platform/shellinfo.h"
#include "platform/system.h"
#include "platform/version.h"
#include "widgets/dirmonitor.h"
#include "widgets/formbounds.h"
#include "widgets/iconlist.h"
#include "widgets/localeformat.h"
#include "widgets/messagebox.h"
#include "widgets/progressbox.h"
#include "widgets/verinfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

namespace vendle::app {

namespace {

using widgets::MessageBox;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Thrown inside FormCreate when the program was told to end while the start waited for the user.
struct StartAbandoned {};

const char* const kWelcome[] = {
    "初回起動です。",
    "『Vendle』をご使用いただきありがとうございます。",
    "このプログラムは Windows の標準機能である「最近使ったファイル」の機能を拡張します。",
    "起動するとタスクバーに常駐しますので、右クリックしてみたください。",
};

const char* const kRegisterQuestion =
    "このプログラムをスタートアップに登録しますか？\n『Vendle』は常駐しないとその能力を発揮できません。\n"
    "登録することを強くおすすめします。\nここで登録しない場合は手動で登録していただくことになります。\n"
    "この文の意味がわからない方は、「はい」を押してください。";

} // namespace

TVendleMainForm::TVendleMainForm(AppPaths paths, TrayBackendFactory trayBackend, TIniFileEx::Clock clock,
                                 QWidget* parent)
    : QMainWindow(parent), paths_(std::move(paths)), trayBackend_(std::move(trayBackend)) {
    setObjectName(QStringLiteral("VendleMainForm"));
    setWindowTitle(QStringLiteral("Vendle"));
    setWindowIcon(applicationIcon());
    setGeometry(230, 125, 426, 246);
    FormCreate(std::move(clock));
}

void TVendleMainForm::createComponents() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The top panel: scan time at the right of its first line, the count below it at the left and
    // the search box stretching with the window.
    auto* panel1 = new QFrame(central);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameShape(QFrame::Panel);
    panel1->setFrameShadow(QFrame::Sunken);
    panel1->setFixedHeight(41);
    Label1 = new QLabel(panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel(QStringLiteral("nnn個のファイル"), panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 3);
    Edit1 = new QLineEdit(panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 16, 401, 20);
    panel1->installEventFilter(this);
    layout->addWidget(panel1);

    auto* panel2 = new QFrame(central);
    panel2->setFrameShape(QFrame::Panel);
    panel2->setFrameShadow(QFrame::Sunken);
    panel2->setAutoFillBackground(true);
    panel2->setBackgroundRole(QPalette::Base);
    auto* clientLayout = new QVBoxLayout(panel2);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    Panel2 = new QLabel(QStringLiteral("まだ、利用可能なデータはありません。"), panel2);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAlignment(Qt::AlignCenter);
    clientLayout->addWidget(Panel2);

    GridState state;
    state.searchText = [this] { return Edit1->text(); };
    state.sortColumn = [this] { return session_->items().SortColumn; };
    state.sortDescending = [this] { return session_->items().SortDescending; };
    state.pressedColumn = [this] { return PressedColumn; };
    state.upArrow = upArrow();
    state.downArrow = downArrow();
    Grid = new HistoryGridView(std::move(state), panel2);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->hide();
    Grid->setModel(&session_->model());
    clientLayout->addWidget(Grid);
    layout->addWidget(panel2, 1);
    setCentralWidget(central);
    connect(Grid->header(), &QHeaderView::sectionPressed, this, [this](int column) {
        runGuarded(this, [&] {
            if (column <= ColumnNumber)
                return;
            PressedColumn = column;
            session_->clickColumn(column);
            Grid->header()->viewport()->update();
        });
    });
    connect(Grid->header(), &GridHeader::sectionReleased, this, [this] {
        if (PressedColumn != -1) {
            PressedColumn = -1;
            Grid->header()->viewport()->update();
        }
    });

    ProgressBox1 = new widgets::TProgressBox(this);
    DirMonitor1 = new widgets::TDirMonitor(this);
    DirMonitor2 = new widgets::TDirMonitor(this);
    for (widgets::TDirMonitor* monitor : {DirMonitor1, DirMonitor2}) {
        monitor->setFilter(widgets::TDirMonitor::kDefaultFilter);
        monitor->setIncludeSubDir(false);
        connect(monitor, &widgets::TDirMonitor::OnChange, this, guarded(this, [this] { DirMonitor1Change(); }));
    }
    // The data folder's own subfolders matter too: the folder of links may appear later.
    DirMonitor1->setFilter(widgets::TDirMonitor::kDefaultFilter | widgets::TDirMonitor::dmfDirName);
    widgets::TDirMonitor::setInterval(3000);
    yTrayIcon1 = new widgets::TyTrayIcon(this, trayBackend_ ? trayBackend_() : nullptr);
    connect(yTrayIcon1, &widgets::TyTrayIcon::OnDblClick, this, [this] { ShowMainWindow(); });
    connect(Edit1, &QLineEdit::textChanged, this, guarded(this, [this] { ApplyFilter(); }));
    AVerInfo1 = new widgets::TAVerInfo(this, platform::programVersion());
}

void TVendleMainForm::createMenus() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(QStringLiteral("終了(&X)"), this, &TVendleMainForm::Exit1Click)
        ->setObjectName(QStringLiteral("Exit1"));
    PopupMenu1->addAction(QStringLiteral("設定(&S)"), this, &TVendleMainForm::settingsRequested)
        ->setObjectName(QStringLiteral("S1"));
    PopupMenu1->addAction(QStringLiteral("ヘルプ(&H)"), this, [this] { ShowHelpTopic("index.htm"); })
        ->setObjectName(QStringLiteral("Help2"));
    PopupMenu1->addAction(QStringLiteral("開く(&O)"), this, &TVendleMainForm::ShowMainWindow)
        ->setObjectName(QStringLiteral("Open1"));
    yTrayIcon1->setRBPopupMenu(PopupMenu1);

    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("設定(&S)"), this, &TVendleMainForm::settingsRequested);
    file->addAction(QStringLiteral("終了(&X)"), this, &TVendleMainForm::Exit1Click);

    filterMenu_ = menuBar()->addMenu(QStringLiteral("フィルタ(&I)"));
    filterMenus = new FilterMenus(
        *filterMenu_, *session_, [this](int index) { return iconFor(index); }, shell_->folderIconIndex(), this);
    connect(filterMenus, &FilterMenus::filterChanged, this, guarded(this, [this] { ApplyFilter(); }));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(QStringLiteral("目次(&C)"), this, [this] { ShowHelpTopic("index.htm"); });
    help->addAction(QStringLiteral("バージョン情報(&A)"), this, &TVendleMainForm::aboutRequested);
}

void TVendleMainForm::readLocale() {
    session_->setDateTimeFormat(widgets::dateTimeFormatFromLocale(QLocale::system()));
    UpdateView();
}

void TVendleMainForm::FormCreate(TIniFileEx::Clock clock) {
    Loading = false;
    // The history, its model and the settings file.
    auto shell = std::make_unique<platform::DesktopShellInfo>();
    shell_ = shell.get();
    widgets::ensureIconTheme();
    icons_ = std::make_unique<widgets::IconList>([this](int index) { return shell_->iconNames(index); });
    HistorySession::Parts parts;
    parts.files = std::make_unique<platform::SystemFileAccess>();
    parts.shell = std::move(shell);
    parts.recent = std::make_unique<platform::DesktopRecentSource>(paths_.dataHome);
    parts.collator = platform::userCollator();
    parts.clock = std::move(clock);
    parts.syntax = PathSyntax::posix(platform::systemCodePage());
    parts.icons = [this](int index) { return iconFor(index); };
    session_ = std::make_unique<HistorySession>(paths_.iniFile, paths_.dataFile, std::move(parts),
                                                widgets::dateTimeFormatFromLocale(QLocale::system()));
    session_->settings().setErrorReporter([](const std::string& message) { MessageBox::error(nullptr, q(message)); });
    createComponents();
    createMenus();
    UpArrow = upArrow();
    DownArrow = downArrow();
    PressedColumn = -1;
    runGuarded(this, [this] { AVerInfo1->setShowVer(true); });

    yTrayIcon1->setIcon(applicationIcon());
    yTrayIcon1->setTipHelp("Vendle");
    runGuarded(this, [this] { yTrayIcon1->setVisible(true); });

    // Any failure from here on is shown and the remaining steps are skipped; the program keeps
    // running with what was set up.
    try {
        const std::vector<std::string> locations = session_->recent().locations();
        if (locations.empty() || locations.front().empty())
            VENDLE_TRACE();
        DirMonitor1->setDirectory(q(locations[0]));
        if (locations.size() > 1)
            DirMonitor2->setDirectory(q(locations[1]));
        session_->beginWatching();
        startMonitors();

        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
        widgets::ReadFormBounds(session_->settings(), kMainSection, "FormBounds", *this);
        widgets::ReadColWidths(session_->settings(), kMainSection, "Grid", *Grid->horizontalHeader());
        Grid->horizontalHeader()->resizeSection(ColumnNumber,
                                                Grid->fontMetrics().horizontalAdvance(QStringLiteral("88888")));

        session_->readSettings();
        if (session_->settings().IsFirstKick())
            runFirstStart();
        if (MessageBox::isShutDown())
            throw StartAbandoned{};
        LoadHistory();
        session_->change([](HistoryList& list) {
            list.SortColumn = ColumnTime;
            list.SortDescending = true;
        });
        session_->Filter = ViewFilter{};
        ApplyFilter();
    } catch (const StartAbandoned&) {
        session_->abandon();
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromUtf8(e.what()));
    }
    created_ = true;
    if (scanPending_)
        DirMonitor1Change();
    // Without a notification area a hidden window could never be reached again.
    if (withoutTray())
        show();
}

TVendleMainForm::~TVendleMainForm() {
    // The grid lets go of the model before the session that owns it goes.
    Grid->setModel(nullptr);
}

bool TVendleMainForm::withoutTray() const {
    return !yTrayIcon1->isAvailable();
}

void TVendleMainForm::runFirstStart() {
    for (const char* text : kWelcome)
        MessageBox::show(this, QString::fromUtf8(text));
    if (MessageBox::askYesNo(this, QString::fromUtf8(kRegisterQuestion)) == MessageBox::Yes) {
        RegisterStartup();
    } else {
        MessageBox::show(this, QStringLiteral("「いいえ」を選択しました。\n"));
        MessageBox::show(this, QStringLiteral("スタートアップには登録しません。"));
    }
}

void TVendleMainForm::RegisterStartup() {
    if (paths_.startupFolder.empty())
        VENDLE_TRACE();
    const std::string entry = paths_.startupFolder + "/" + platform::startupEntryFileName("Vendle");
    if (session_->files().exists(entry)) {
        MessageBox::show(this, QStringLiteral("すでにスタートアップに登録されています。"));
        return;
    }
    const std::string exe = paths_.executable;
    const std::string folder = exe.substr(0, exe.rfind('/') + 1);
    if (!platform::CreateShortcut(exe, entry, "Vendle", folder))
        VENDLE_TRACE();
    MessageBox::show(this, QStringLiteral("スタートアップに登録しました。"));
}

void TVendleMainForm::LoadHistory() {
    const std::string oldTip = yTrayIcon1->TipHelp();
    yTrayIcon1->setIcon(busyIcon());
    Loading = true;
    const auto restore = qScopeGuard([&] {
        yTrayIcon1->setTipHelp(oldTip);
        yTrayIcon1->setIcon(applicationIcon());
        Loading = false;
    });
    yTrayIcon1->setTipHelp("Loading...");
    char tip[64];
    const LoadReport report = session_->Load([&](int i, int n) {
        std::snprintf(tip, sizeof tip, "Loading(%d/%d)...", i, n);
        yTrayIcon1->setTipHelp(tip);
    });
    if (report.fileMissing)
        return;
    if (!report.openError.empty())
        MessageBox::show(this, q(report.openError));
    yTrayIcon1->setTipHelp("種類フィルタ作成中...");
    filterMenus->TypeMenuBuild();
    yTrayIcon1->setTipHelp("フォルダフィルタ作成中...");
    filterMenus->FolderMenuBuild();
}

QIcon TVendleMainForm::iconFor(int iconIndex) const {
    return icons_->icon(iconIndex);
}

void TVendleMainForm::startMonitors() {
    DirMonitor1->setActive(true);
    DirMonitor2->setActive(true);
}

void TVendleMainForm::DirMonitor1Change() {
    // Before the window is complete, and while a scan or its report runs (a box's own loop
    // delivers change notices and activations), the request waits and is served afterwards.
    if (!created_ || scanning_) {
        scanPending_ = true;
        return;
    }
    if (saving_ || session_->abandoned())
        return;
    scanning_ = true;
    const auto done = qScopeGuard([this] { scanning_ = false; });
    do {
        scanPending_ = false;
        // The folder of links may have been created since it was last watched.
        if (DirMonitor2->Active() && !DirMonitor2->isWatching() && QDir(DirMonitor2->Directory()).exists()) {
            DirMonitor2->setActive(false);
            DirMonitor2->setActive(true);
        }
        const ScanResult result = session_->Scan();
        ApplyFilter();
        reportScan(result);
    } while (scanPending_ && !saving_);
}

void TVendleMainForm::reportScan(const ScanResult& result) {
    // Entries that could not be resolved were skipped; each is reported once, after the scan,
    // and not again until the desktop records it anew.
    for (const ScanFailure& failure : result.failures) {
        MessageBox::show(this, q(failure.boxText));
        MessageBox::error(this, QString::fromUtf8(failure.message));
    }
}

void TVendleMainForm::ApplyFilter() {
    session_->ApplyFilter(Edit1->text().toStdString());
    const HistoryList& items = session_->items();
    UpdateView();
    Label2->setText(q(countLabelText(items.ItemCount(), items.ViewCount(), !session_->Filter.isEmpty())));
    Label2->adjustSize();
    Grid->setCurrentIndex(session_->model().index(0, ColumnName));
}

void TVendleMainForm::UpdateView() {
    Label1->setText(q(DateTimeToStr(session_->LastScanTime, session_->dateTimeFormat()) + " "));
    const bool any = session_->items().ItemCount() > 0;
    Grid->setVisible(any);
    Panel2->setVisible(!any);
    Grid->viewport()->update();
}

void TVendleMainForm::ShowHelpTopic(const char* page) {
    // The help file sits beside the program; without it the user is told where it was looked for.
    if (!session_->files().exists(paths_.helpFile)) {
        MessageBox::error(this, q(paths_.helpFile + "は見つかりません。"));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(q(paths_.helpFile));
    if (!QDesktopServices::openUrl(url))
        MessageBox::error(this, q(paths_.helpFile + "::/" + page + "を開けませんでした。"));
}

void TVendleMainForm::ShowMainWindow() {
    if (!isVisible() && !Loading) {
        show();
        activateWindow();
    }
}

void TVendleMainForm::activateFromSecondCopy() {
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        activateWindow();
    } else if (isVisible()) {
        raise();
        activateWindow();
    } else if (withoutTray()) {
        ShowMainWindow();
    }
}

void TVendleMainForm::closeEvent(QCloseEvent* event) {
    // Closing only hides: the program stays resident. Without a notification area it is minimised
    // instead, so that the task bar still leads back to it.
    event->ignore();
    if (withoutTray())
        showMinimized();
    else
        hide();
}

bool TVendleMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Label1 spans the panel's first line and the search box keeps its right margin.
    if (event->type() == QEvent::Resize && watched == Edit1->parentWidget()) {
        const int width = Edit1->parentWidget()->width();
        Label1->setGeometry(0, 2, width - 4, 12);
        Edit1->resize(std::max(40, width - 8 - 9), 20);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVendleMainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange)
        readLocale();
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        runGuarded(this, [this] { DirMonitor1Change(); });
    QMainWindow::changeEvent(event);
}

void TVendleMainForm::SaveHistory(bool showProgress) {
    SaveProgress progress;
    if (showProgress) {
        ProgressBox1->Execute();
        progress = [this](int percent, const std::string& text) { ProgressBox1->Progress(percent, q(text)); };
    }
    const auto closeBox = qScopeGuard([&] {
        if (showProgress)
            ProgressBox1->Close();
    });
    session_->SaveHistory(progress);
}

void TVendleMainForm::SaveAtExit(bool showProgress) {
    if (saving_)
        return;
    saving_ = true;
    const auto done = qScopeGuard([this] { saving_ = false; });
    DirMonitor1->setActive(false);
    DirMonitor2->setActive(false);
    widgets::WriteColWidths(session_->settings(), kMainSection, "Grid", *Grid->horizontalHeader());
    widgets::WriteFormBounds(session_->settings(), kMainSection, "FormBounds", *this);
    session_->storeSettings();
    SaveHistory(showProgress);
}

void TVendleMainForm::Exit1Click() {
    if (saving_)
        return;
    hide();
    try {
        SaveAtExit();
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromUtf8(e.what()));
        resumeWatching();
        return;
    }
    QCoreApplication::exit(0); // quit() would first ask the windows, which refuse to close
}

void TVendleMainForm::saveForSessionEnd() {
    if (session_->abandoned())
        return;
    try {
        SaveAtExit(false);
    } catch (const std::exception& e) {
        // The session is ending: nobody may be there to answer a box. The old files stay intact.
        qCWarning(lcUi).noquote() << "saving at the end of the session failed:" << QString::fromUtf8(e.what());
        std::fprintf(stderr, "Vendle: %s\n", e.what());
    }
}

void TVendleMainForm::resumeWatching() {
    if (created_ && !session_->abandoned())
        startMonitors();
}

void TVendleMainForm::FormDestroy() {
    session_->writeSettingsFile();
}

} // namespace vendle::app
