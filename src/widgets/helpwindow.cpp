// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpwindow.h"

#include "core/sitemap.h"
#include "widgets/helpviewer.h"

#include <QAction>
#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace vendle::widgets {

namespace {

constexpr int kPageRole = Qt::UserRole;

} // namespace

HelpWindow::HelpWindow(QString home, QWidget* parent)
    : QWidget(parent, Qt::Window), homePage_(std::move(home)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Vendle ヘルプ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("戻る"));
    back_->setShortcut(QKeySequence::Back);
    back_->setToolTip(tr("前のページに戻ります (Alt+←)"));
    forward_ = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("進む"));
    forward_->setShortcut(QKeySequence::Forward);
    forward_->setToolTip(tr("次のページに進みます (Alt+→)"));
    home_ = tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("目次"));
    home_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    home_->setToolTip(tr("最初のページを表示します (Alt+Home)"));
    layout->addWidget(tools);

    auto* split = new QSplitter(Qt::Horizontal, this);
    contents_ = new QTreeWidget(split);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(true);
    browser_ = new HelpBrowser(split);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 600}); // shared in this proportion whatever the width
    layout->addWidget(split, 1);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, this, [this] { showPage(homePage_); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &HelpBrowser::titleChanged, this, [this](const QString& title) {
        const QString frame = tr("Vendle ヘルプ");
        // A page titled as the help itself (the first page) does not say it twice.
        setWindowTitle(title.isEmpty() || title == frame ? frame : frame + QStringLiteral(" - ") + title);
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::markPage);
    connect(browser_, &HelpBrowser::fileOpened, this, &HelpWindow::fillContents);
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, kPageRole).toString();
        if (!page.isEmpty())
            showPage(page);
    });
    connect(contents_, &QTreeWidget::itemClicked, contents_, &QTreeWidget::itemActivated);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::openFile(const std::string& path) {
    contents_->clear();
    browser_->openFile(path);
}

void HelpWindow::showPage(const QString& page) {
    browser_->showPage(page);
}

void HelpWindow::fillContents() {
    contents_->clear();
    const std::optional<std::string> toc = browser_->readObject("/toc.hhc");
    if (!toc) {
        contents_->hide();
        return;
    }
    const std::function<void(const std::vector<SitemapEntry>&, QTreeWidgetItem*)> add =
        [&](const std::vector<SitemapEntry>& entries, QTreeWidgetItem* parent) {
            for (const SitemapEntry& e : entries) {
                auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
                item->setText(0, QString::fromStdString(e.name));
                item->setData(0, kPageRole, QString::fromStdString(e.local));
                add(e.children, item);
            }
        };
    add(parseSitemap(*toc), nullptr);
    contents_->expandAll();
    contents_->setVisible(contents_->topLevelItemCount() > 0);
    // The contents get the room their longest entry needs (within reason), whatever the window's
    // width: a splitter keeps its panes' minimum widths.
    const int needed = static_cast<QAbstractItemView*>(contents_)->sizeHintForColumn(0) +
                       contents_->indentation() + 2 * contents_->frameWidth() +
                       contents_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    contents_->setMinimumWidth(std::min(needed, 400));
    markPage(browser_->source());
}

void HelpWindow::markPage(const QUrl& page) {
    const QString current = page.path().mid(1);
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        if ((*it)->data(0, kPageRole).toString().compare(current, Qt::CaseInsensitive) == 0) {
            contents_->setCurrentItem(*it);
            return;
        }
    }
}

} // namespace vendle::widgets
