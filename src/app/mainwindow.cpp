// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow.h"

#include "app/documentactions.h"
#include "app/documentopener.h"
#include "app/filtermenus.h"
#include "app/guarded.h"
#include "app/historygrid.h"
#include "app/icons.h"
#include "app/toppanel.h"
#include "app/undolast.h"
#include "app/viewkeeper.h"
#include "core/settings.h"
#include "platform/version.h"
#include "platform/windowsystem.h"
#include "widgets/formbounds.h"
#include "widgets/iconlist.h"
#include "widgets/localeformat.h"
#include "widgets/messagebox.h"
#include "widgets/progressbox.h"
#include "widgets/verinfo.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

namespace vendle::app {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TVendleMainForm::TVendleMainForm(HistorySession& session, const Life& life, const AppPaths& paths,
                                 widgets::IconList& icons, const TrayBackendFactory& trayBackend,
                                 QWidget* parent)
    : QMainWindow(parent), session_(session), life_(life), paths_(paths), icons_(icons) {
    setObjectName(QStringLiteral("VendleMainForm"));
    setWindowTitle(QStringLiteral("Vendle"));
    setWindowIcon(programIcon());
    // The design's first size is meant for a 12-pixel line; a taller font gets a larger window.
    const double scale = std::max(1.0, fontMetrics().height() / 12.0);
    setGeometry(230, 125, static_cast<int>(426 * scale), static_cast<int>(246 * scale));
    createComponents();
    yTrayIcon1 = new widgets::TyTrayIcon(this, trayBackend ? trayBackend() : nullptr);
    connect(yTrayIcon1, &widgets::TyTrayIcon::OnDblClick, this, [this] { ShowMainWindow(); });
    // On Linux desktops a single click is the tray icon's primary activation.
    connect(yTrayIcon1, &widgets::TyTrayIcon::OnMouseUp, this,
            [this](auto*, Qt::MouseButton button, const QPoint&) {
                if (button == Qt::LeftButton)
                    ShowMainWindow();
            });
    createMenus();
    runGuarded(this, [this] { AVerInfo1->setShowVer(true); });
    yTrayIcon1->setIcon(programIcon());
    yTrayIcon1->setTipHelp("Vendle");
    runGuarded(this, [this] { yTrayIcon1->setVisible(true); });
}

TVendleMainForm::~TVendleMainForm() = default;

void TVendleMainForm::createComponents() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel1 = new TopPanel(central);
    Label1 = panel1->Label1;
    Label2 = panel1->Label2;
    Done = panel1->Done;
    Edit1 = panel1->Edit1;
    layout->addWidget(panel1);

    auto* panel2 = new QFrame(central);
    panel2->setFrameShape(QFrame::Panel);
    panel2->setFrameShadow(QFrame::Sunken);
    panel2->setAutoFillBackground(true);
    panel2->setBackgroundRole(QPalette::Base);
    auto* clientLayout = new QVBoxLayout(panel2);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    Panel2 = new QLabel(tr("まだ、利用可能なデータはありません。"), panel2);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAlignment(Qt::AlignCenter);
    clientLayout->addWidget(Panel2);

    GridState state;
    state.searchText = [this] { return Edit1->text(); };
    state.folder = [this] { return session_.folder(); };
    state.sortColumn = [this] { return session_.items().SortColumn; };
    state.sortDescending = [this] { return session_.items().SortDescending; };
    state.pressedColumn = [this] { return PressedColumn; };
    state.upArrow = upArrow();
    state.downArrow = downArrow();
    Grid = new HistoryGridView(std::move(state), panel2);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->hide();
    Grid->setModel(&session_.model());
    clientLayout->addWidget(Grid);
    layout->addWidget(panel2, 1);
    setCentralWidget(central);
    connect(Grid->header(), &QHeaderView::sectionPressed, this, [this](int column) {
        runGuarded(this, [&] {
            if (column <= ColumnNumber)
                return;
            PressedColumn = column;
            session_.clickColumn(column);
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
    documents = new DocumentActions(*this, *Edit1, *Grid, session_, paths_);
    connect(Edit1, &QLineEdit::textChanged, this, guarded(this, [this] { ApplyFilter(); }));
    connect(&session_, &HistorySession::viewChanged, this, &TVendleMainForm::showCounts);
    AVerInfo1 = new widgets::TAVerInfo(this, platform::programVersion());
}

void TVendleMainForm::createMenus() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(tr("終了(&X)"), this, &TVendleMainForm::exitRequested)
        ->setObjectName(QStringLiteral("Exit1"));
    PopupMenu1->addAction(tr("設定(&S)"), this, &TVendleMainForm::settingsRequested)
        ->setObjectName(QStringLiteral("S1"));
    PopupMenu1->addAction(tr("ヘルプ(&H)"), this, [this] { emit helpRequested("index.htm"); })
        ->setObjectName(QStringLiteral("Help2"));
    PopupMenu1->addAction(tr("開く(&O)"), this, &TVendleMainForm::ShowMainWindow)
        ->setObjectName(QStringLiteral("Open1"));
    yTrayIcon1->setRBPopupMenu(PopupMenu1);

    QMenu* file = menuBar()->addMenu(tr("ファイル(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    QAction* open2 =
        file->addAction(tr("開く(&O)"), this, guarded(this, [this] {
                            const QModelIndex at = Grid->currentIndex();
                            const HistoryList& items = session_.items();
                            documents->opener->Open2Click(at.isValid() && at.row() < items.ViewCount()
                                                              ? std::string(items.ViewItem(at.row()).Path)
                                                              : std::string());
                        }));
    open2->setObjectName(QStringLiteral("Open2"));
    open2->setStatusTip(tr("指定されたファイルを開き履歴に追加します"));
    // Undo of the last forgetting or move to the trash, from the menu, Ctrl+Z and the count line.
    QAction* undo =
        file->addAction(tr("元に戻す(&U)"), this, guarded(this, [this] { documents->undo->undo(); }));
    undo->setObjectName(QStringLiteral("Undo1"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(false);
    connect(documents->undo, &UndoLast::changed, this, [this, undo] {
        const bool can = documents->undo->available();
        undo->setEnabled(can);
        Done->setText(can ? documents->undo->doneText().toHtmlEscaped() +
                                tr("&nbsp;&nbsp;<a href=\"undo\">元に戻す</a>")
                          : QString());
        Done->adjustSize();
        Done->setVisible(can);
    });
    connect(Done, &QLabel::linkActivated, this, guarded(this, [this] { documents->undo->undo(); }));
    file->addAction(tr("設定(&S)"), this, &TVendleMainForm::settingsRequested)
        ->setObjectName(QStringLiteral("O1"));
    file->addAction(tr("除外するフォルダ(&E)..."), this, &TVendleMainForm::exclusionsRequested)
        ->setObjectName(QStringLiteral("Exclusions1"));
    QAction* exit2 = file->addAction(tr("終了(&X)"), this, &TVendleMainForm::exitRequested);
    exit2->setObjectName(QStringLiteral("Exit2"));
    exit2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q)); // the desktop's key to end a program
    exit2->setIcon(QIcon::fromTheme(QStringLiteral("application-exit"),
                                    style()->standardIcon(QStyle::SP_DialogCloseButton)));

    filterMenu_ = menuBar()->addMenu(tr("フィルタ(&I)"));
    filterMenu_->setObjectName(QStringLiteral("F1"));
    filterMenus = new FilterMenus(
        *filterMenu_, session_, [this](int index) { return iconFor(index); }, this);
    connect(filterMenus, &FilterMenus::filterChosen, this,
            [this](const ViewFilter& filter) { runGuarded(this, [&] { ApplyFilter(filter); }); });
    // The view is rebuilt with the search as it stands; the current document stays where it is.
    connect(filterMenus, &FilterMenus::foldKanaChosen, this,
            [this](bool on) { runGuarded(this, [&] { session_.setFoldKana(on); }); });

    QMenu* help = menuBar()->addMenu(tr("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("Help1"));
    QAction* contents = help->addAction(tr("目次(&C)"), this, [this] { emit helpRequested("index.htm"); });
    contents->setObjectName(QStringLiteral("Contents1"));
    contents->setShortcut(QKeySequence::HelpContents);
    contents->setShortcutContext(Qt::ApplicationShortcut); // F1 from any window of the program
    help->addAction(tr("バージョン情報(&A)"), this, &TVendleMainForm::aboutRequested)
        ->setObjectName(QStringLiteral("About1"));
}

void TVendleMainForm::readLocale() {
    session_.setDateTimeFormat(widgets::dateTimeFormatFromLocale(QLocale::system()));
    fitColumns();
    UpdateView();
}

void TVendleMainForm::fitColumns() {
    // The widest time this locale writes, so that no time is ever cut.
    const DateTime widest = encodeDate(2088, 12, 28) + encodeTime(18, 58, 58, 0);
    Grid->fitTimeColumn(q(formatGridDateTime(widest, session_.dateTimeFormat())));
    Grid->fillWithNameColumn();
}

void TVendleMainForm::restoreLayout() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    widgets::ReadFormBounds(session_.settings(), Setting::FormBounds, *this);
    if (isStored(session_.settings(), Setting::Grid)) {
        widgets::ReadColWidths(session_.settings(), Setting::Grid, *Grid->horizontalHeader());
    } else {
        // Wide enough for the common types' names at first.
        Grid->setColumnWidth(
            ColumnType, std::max(Grid->columnWidth(ColumnType),
                                 Grid->fontMetrics().horizontalAdvance(tr("平文テキストドキュメント")) + 12));
    }
    widgets::fitOnScreen(*this);
    Grid->horizontalHeader()->resizeSection(ColumnNumber,
                                            Grid->fontMetrics().horizontalAdvance(QStringLiteral("88888")));
    fitColumns();
}

void TVendleMainForm::storeLayout() {
    Grid->withGivenWidths(
        [this] { widgets::WriteColWidths(session_.settings(), Setting::Grid, *Grid->horizontalHeader()); });
    widgets::WriteFormBounds(session_.settings(), Setting::FormBounds, *this);
}

bool TVendleMainForm::withoutTray() const {
    return !yTrayIcon1->isAvailable();
}

QIcon TVendleMainForm::iconFor(int iconIndex) const {
    return icons_.icon(iconIndex);
}

void TVendleMainForm::ApplyFilter(ViewFilter filter) {
    filter.search = Edit1->text().toStdString();
    {
        const ViewKeeper::StartOver startOver(Grid->keeper());
        session_.setFilter(std::move(filter));
    }
    Grid->setCurrentIndex(session_.model().index(0, ColumnName));
}

void TVendleMainForm::refreshView() {
    session_.refreshView();
}

void TVendleMainForm::showCounts() {
    const HistoryList& items = session_.items();
    UpdateView();
    Label2->setText(q(countLabelText(items.ItemCount(), items.ViewCount(), !session_.filter().isEmpty())));
    Label2->adjustSize();
}

void TVendleMainForm::UpdateView() {
    Label1->setText(q(DateTimeToStr(session_.LastScanTime, session_.dateTimeFormat()) + " "));
    const bool any = session_.items().ItemCount() > 0;
    Grid->setVisible(any);
    Panel2->setVisible(!any);
    Grid->viewport()->update();
}

void TVendleMainForm::ShowMainWindow() {
    // The tray icon, its "開く" and a second start all bring the window forward: shown, back in the
    // state it had before it was minimised (maximised stays maximised), raised, with the keyboard
    // in the search box.
    if (!life_.is(Phase::Running))
        return;
    // Where a minimised window cannot be asked back (and the desktop need not even say that it
    // minimised one), a window that is not the active one is mapped anew.
    if (!platform::minimisedWindowsCanBeRestored() && isVisible() && !isActiveWindow())
        hide();
    if (isMinimized())
        setWindowState(shownState_ & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    Edit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TVendleMainForm::activateFromSecondCopy(const QString& activationToken) {
    platform::useActivationToken(activationToken);
    ShowMainWindow();
}

void TVendleMainForm::closeEvent(QCloseEvent* event) {
    // Closing only hides: the program stays resident. Without a notification area it is minimised
    // instead, so that the task bar still leads back to it.
    event->ignore();
    if (!withoutTray()) {
        hide();
        return;
    }
    // Said once a run, until the user asks not to be told again.
    if (!closeNoticeShown_ && !readBool(session_.settings(), Setting::CloseNoticeOff)) {
        closeNoticeShown_ = true;
        if (widgets::MessageBox::showWithDontShowAgain(
                this, tr("ウィンドウを閉じても Vendle は動作を続けます。\nもう一度 Vendle を起動すると、"
                         "ウィンドウが表示されます。")))
            writeBool(session_.settings(), Setting::CloseNoticeOff, true);
    }
    showMinimized();
}

void TVendleMainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        shownState_ = windowState();
    if (event->type() == QEvent::LocaleChange)
        readLocale();
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
    QMainWindow::changeEvent(event);
}

void TVendleMainForm::showSearch(const QString& text) {
    ShowMainWindow();
    if (!text.isEmpty())
        Edit1->setText(text);
}

void TVendleMainForm::showLoading(const std::string& tip) {
    // The busy icon is drawn once; later steps change only the tip.
    if (tipBeforeLoading_.empty()) {
        tipBeforeLoading_ = yTrayIcon1->TipHelp();
        yTrayIcon1->setIcon(busyIcon());
    }
    yTrayIcon1->setTipHelp(tip);
}

void TVendleMainForm::endLoading() {
    yTrayIcon1->setTipHelp(std::exchange(tipBeforeLoading_, std::string()));
    yTrayIcon1->setIcon(programIcon());
}

void TVendleMainForm::beginSaveProgress() {
    ProgressBox1->Execute();
}

void TVendleMainForm::showSaveProgress(int percent, const QString& text) {
    ProgressBox1->Progress(percent, text);
}

void TVendleMainForm::endSaveProgress() {
    ProgressBox1->Close();
}

} // namespace vendle::app
