#include "mainwindow.h"

#include "app/historygrid.h"
#include "app/historymodel.h"
#include "app/icons.h"
#include "core/errors.h"
#include "core/historyfile.h"
#include "core/mainsettings.h"
#include "core/recentscan.h"
#include "platform/autostart.h"
#include "platform/collation.h"
#include "platform/fileaccess.h"
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

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QTableView>
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

// A menu caption that shows the text as it is: "&" would otherwise mark a shortcut letter.
QString menuCaption(const std::string& text) {
    return q(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

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

TVendleMainForm::TVendleMainForm(AppPaths paths, TrayBackendFactory trayBackend, QWidget* parent)
    : QMainWindow(parent), paths_(std::move(paths)), trayBackend_(std::move(trayBackend)) {
    setObjectName(QStringLiteral("VendleMainForm"));
    setWindowTitle(QStringLiteral("Vendle"));
    setWindowIcon(applicationIcon());
    setGeometry(230, 125, 426, 246);
    createComponents();
    createMenus();
    FormCreate();
}

void TVendleMainForm::createComponents() {
    files_ = std::make_unique<platform::SystemFileAccess>();
    shell_ = std::make_unique<platform::DesktopShellInfo>();
    recent_ = std::make_unique<platform::DesktopRecentSource>(paths_.dataHome);
    widgets::ensureIconTheme();
    icons_ = std::make_unique<widgets::IconList>([this](int index) { return shell_->iconNames(index); });
    collator_ = platform::userCollator();
    readLocale();

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
    state.sortColumn = [this] { return items_ ? items_->SortColumn : -1; };
    state.sortDescending = [this] { return items_ && items_->SortDescending; };
    state.pressedColumn = [this] { return PressedColumn; };
    state.upArrow = upArrow();
    state.downArrow = downArrow();
    Grid = new HistoryGridView(std::move(state), panel2);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->hide();
    clientLayout->addWidget(Grid);
    layout->addWidget(panel2, 1);
    setCentralWidget(central);
    connect(Grid->header(), &QHeaderView::sectionPressed, this, [this](int column) {
        if (column <= 0)
            return;
        PressedColumn = column;
        if (items_->clickColumn(column, *collator_))
            model_->refresh();
        Grid->header()->viewport()->update();
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
        connect(monitor, &widgets::TDirMonitor::OnChange, this, [this] { DirMonitor1Change(); });
    }
    // The data folder's own subfolders matter too: the folder of links may appear later.
    DirMonitor1->setFilter(widgets::TDirMonitor::kDefaultFilter | widgets::TDirMonitor::dmfDirName);
    widgets::TDirMonitor::setInterval(3000);
    yTrayIcon1 = new widgets::TyTrayIcon(this, trayBackend_ ? trayBackend_() : nullptr);
    connect(yTrayIcon1, &widgets::TyTrayIcon::OnDblClick, this, [this] { ShowMainWindow(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
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

    QMenu* filter = menuBar()->addMenu(QStringLiteral("フィルタ(&I)"));
    miFolderFilter = filter->addMenu(QStringLiteral("フォルダ(&F)"));
    QMenu* time = filter->addMenu(QStringLiteral("時間(&T)"));
    miTypeFilter = filter->addMenu(QStringLiteral("種類(&Y)"));
    auto* days = new QActionGroup(this);
    const std::pair<int, const char*> ages[] = {{0, "（なし）"},
                                                {1, "今日使ったファイル(&T)"},
                                                {2, "昨日・今日使ったファイル(&Y)"},
                                                {3, "おととい・昨日・今日で使ったファイル（&B)"},
                                                {7, "この１週間で使ったファイル(&W)"},
                                                {10, "この１０日間で使ったファイル(&D)"},
                                                {31, "ここ１ヶ月で使ったファイル(&M)"}};
    for (const auto& [tag, caption] : ages) {
        QAction* a = time->addAction(QString::fromUtf8(caption));
        a->setCheckable(true);
        a->setChecked(tag == 0);
        days->addAction(a);
        connect(a, &QAction::triggered, this, [this, tag = tag] {
            Filter.since = filterSinceForDays(tag, now());
            ApplyFilter();
        });
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(QStringLiteral("目次(&C)"), this, [this] { ShowHelpTopic("index.htm"); });
    help->addAction(QStringLiteral("バージョン情報(&A)"), this, &TVendleMainForm::aboutRequested);
}

void TVendleMainForm::readLocale() {
    format_ = widgets::dateTimeFormatFromLocale(QLocale::system());
    if (iniFile_)
        iniFile_->setDateTimeFormat(format_);
    if (model_) {
        model_->setDateTimeFormat(format_);
        UpdateView();
    }
}

void TVendleMainForm::FormCreate() {
    Loading = false;
    items_ = std::make_unique<HistoryList>(PathSyntax::posix(platform::systemCodePage()), *shell_);
    model_ = new HistoryTableModel(
        *items_, [this](int index) { return iconFor(index); }, this);
    model_->setDateTimeFormat(format_);
    Grid->setModel(model_);
    UpArrow = upArrow();
    DownArrow = downArrow();
    PressedColumn = -1;
    try {
        AVerInfo1->setShowVer(true);
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromUtf8(e.what()));
    }
    iniFile_ = std::make_unique<TIniFileEx>(paths_.iniFile, *files_, format_);
    iniFile_->setErrorReporter([](const std::string& message) { MessageBox::error(nullptr, q(message)); });

    yTrayIcon1->setIcon(applicationIcon());
    yTrayIcon1->setTipHelp("Vendle");
    try {
        yTrayIcon1->setVisible(true);
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromUtf8(e.what()));
    }

    // Any failure from here on is shown and the remaining steps are skipped; the program keeps
    // running with what was set up.
    try {
        const std::vector<std::string> locations = recent_->locations();
        if (locations.empty() || locations.front().empty())
            VENDLE_TRACE();
        DirMonitor1->setDirectory(QString::fromStdString(locations[0]));
        if (locations.size() > 1)
            DirMonitor2->setDirectory(QString::fromStdString(locations[1]));
        LastScanTime = now();
        beginImports(*recent_, imports_, QDateTime::currentSecsSinceEpoch());
        startMonitors();

        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
        widgets::ReadFormBounds(*iniFile_, kMainSection, "FormBounds", *this);
        widgets::ReadColWidths(*iniFile_, kMainSection, "Grid", *Grid->horizontalHeader());
        Grid->horizontalHeader()->resizeSection(
            0, Grid->fontMetrics().horizontalAdvance(QStringLiteral("88888")));

        DataMax = readDataMax(*iniFile_);
        ConfirmReadOnly = readConfirmReadOnly(*iniFile_);
        if (iniFile_->IsFirstKick())
            runFirstStart();
        if (MessageBox::isShutDown())
            throw StartAbandoned{};
        LoadHistory();
        items_->SortColumn = kTimeColumn;
        items_->SortDescending = true;
        Filter = ViewFilter{};
        ApplyFilter();
    } catch (const StartAbandoned&) {
        startAbandoned_ = true;
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
    // The settings file records the running time and reaches the disk now.
    iniFile_.reset();
    Grid->setModel(nullptr);
    items_.reset();
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
    if (files_->exists(entry)) {
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
    const LoadReport report = vendle::LoadHistory(
        *items_, paths_.dataFile, *files_, format_, readItemsHint(*iniFile_), [&](int i, int n) {
            std::snprintf(tip, sizeof tip, "Loading(%d/%d)...", i, n);
            yTrayIcon1->setTipHelp(tip);
        });
    // A file that exists but could not be read must survive this run untouched.
    historyLoaded_ = report.openError.empty();
    if (report.fileMissing)
        return;
    if (!report.openError.empty())
        MessageBox::show(this, q(report.openError));
    yTrayIcon1->setTipHelp("種類フィルタ作成中...");
    TypeMenuBuild();
    yTrayIcon1->setTipHelp("フォルダフィルタ作成中...");
    FolderMenuBuild();
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
    if (saving_)
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
        ScanResult result;
        try {
            result = scanRecent(*items_, *recent_, imports_, LastScanTime, now(), DataMax);
        } catch (const std::exception& e) {
            MessageBox::error(this, QString::fromUtf8(e.what()));
            return;
        }
        ApplyFilter();
        // Entries that could not be resolved were skipped; each is reported once, after the
        // scan, and not again until the desktop records it anew.
        for (const ScanFailure& failure : result.failures) {
            MessageBox::show(this, q(failure.boxText));
            MessageBox::error(this, QString::fromUtf8(failure.message));
        }
    } while (scanPending_ && !saving_);
}

void TVendleMainForm::TypeMenuBuild() {
    typeGroup_ = new QActionGroup(this);
    QAction* none = miTypeFilter->addAction(QStringLiteral("（なし）"));
    none->setCheckable(true);
    none->setChecked(true);
    typeGroup_->addAction(none);
    connect(none, &QAction::triggered, this, [this] {
        Filter.type.clear();
        ApplyFilter();
    });
    for (HistoryItem* rep : typeRepresentatives(*items_, *collator_)) {
        const std::string type = rep->TypeName();
        QAction* a = miTypeFilter->addAction(iconFor(rep->IconIndex), menuCaption(type));
        a->setCheckable(true);
        typeGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, type] {
            Filter.type = type;
            ApplyFilter();
        });
    }
}

void TVendleMainForm::FolderMenuBuild() {
    folderGroup_ = new QActionGroup(this);
    QAction* none = miFolderFilter->addAction(QStringLiteral("（なし）"));
    none->setCheckable(true);
    none->setChecked(true);
    folderGroup_->addAction(none);
    connect(none, &QAction::triggered, this, [this] {
        Filter.folder.clear();
        ApplyFilter();
    });
    const QIcon folderIcon = iconFor(shell_->folderIconIndex());
    for (HistoryItem* rep : folderRepresentatives(*items_, *collator_)) {
        const std::string folder(FolderName(rep->Path, items_->syntax()));
        QAction* a = miFolderFilter->addAction(folderIcon, menuCaption(folder));
        a->setCheckable(true);
        folderGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, folder] {
            Filter.folder = folder;
            ApplyFilter();
        });
    }
}

void TVendleMainForm::ApplyFilter() {
    Filter.search = Edit1->text().toStdString();
    vendle::ApplyFilter(*items_, Filter, *collator_);
    model_->refresh();
    UpdateView();
    Label2->setText(q(countLabelText(items_->ItemCount(), items_->ViewCount(), !Filter.isEmpty())));
    Label2->adjustSize();
    Grid->setCurrentIndex(model_->index(0, 1));
}

void TVendleMainForm::UpdateView() {
    Label1->setText(q(DateTimeToStr(LastScanTime, format_) + " "));
    const bool any = items_ && items_->ItemCount() > 0;
    Grid->setVisible(any);
    Panel2->setVisible(!any);
    Grid->viewport()->update();
}

void TVendleMainForm::ShowHelpTopic(const char* page) {
    // The help file sits beside the program; without it the user is told where it was looked for.
    if (!files_->exists(paths_.helpFile)) {
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
        DirMonitor1Change();
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
    const int written =
        vendle::SaveHistory(*items_, paths_.dataFile, *files_, format_, progress, monotonicMilliseconds);
    writeItems(*iniFile_, written);
}

void TVendleMainForm::SaveAtExit(bool showProgress) {
    if (saving_)
        return;
    saving_ = true;
    const auto done = qScopeGuard([this] { saving_ = false; });
    DirMonitor1->setActive(false);
    DirMonitor2->setActive(false);
    widgets::WriteColWidths(*iniFile_, kMainSection, "Grid", *Grid->horizontalHeader());
    widgets::WriteFormBounds(*iniFile_, kMainSection, "FormBounds", *this);
    writeDataMax(*iniFile_, DataMax);
    writeConfirmReadOnly(*iniFile_, ConfirmReadOnly);
    if (historyLoaded_)
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
    if (startAbandoned_) {
        iniFile_->discard();
        return;
    }
    try {
        SaveAtExit(false);
    } catch (const std::exception& e) {
        // The session is ending: nobody may be there to answer a box. The old files stay intact.
        std::fprintf(stderr, "Vendle: %s\n", e.what());
    }
}

void TVendleMainForm::resumeWatching() {
    if (created_ && !startAbandoned_)
        startMonitors();
}

} // namespace vendle::app
