// SPDX-License-Identifier: GPL-3.0-or-later
#include "filtermenus.h"

#include "app/historysession.h"
#include "core/contextmenu.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenu>

namespace vendle::app {

namespace {

QString menuCaption(const std::string& text) {
    return QString::fromStdString(plainCaption(text));
}

} // namespace

FilterMenus::FilterMenus(QMenu& filterMenu, HistorySession& session, IconLookup icons, QObject* parent)
    : QObject(parent), session_(session), icons_(std::move(icons)) {
    miFolderFilter = filterMenu.addMenu(tr("フォルダ(&F)"));
    miTimeFilter = filterMenu.addMenu(tr("時間(&T)"));
    miTypeFilter = filterMenu.addMenu(tr("種類(&Y)"));
    buildTimeMenu();
    filterMenu.addSeparator();
    miFoldKana = filterMenu.addAction(tr("ひらがな・カタカナ、全角・半角を区別しない(&K)"));
    miFoldKana->setObjectName(QStringLiteral("FoldKana"));
    miFoldKana->setCheckable(true);
    connect(miFoldKana, &QAction::triggered, this, &FilterMenus::foldKanaChosen);
    connect(&filterMenu, &QMenu::aboutToShow, this, [this] { miFoldKana->setChecked(session_.foldKana()); });
    connect(miTypeFilter, &QMenu::aboutToShow, this, [this] {
        if (typesBuiltAt_ != session_.items().changeCount())
            TypeMenuBuild();
    });
    connect(miFolderFilter, &QMenu::aboutToShow, this, [this] {
        if (foldersBuiltAt_ != session_.items().changeCount())
            FolderMenuBuild();
    });
}

void FilterMenus::buildTimeMenu() {
    auto* days = new QActionGroup(this);
    const std::pair<int, const char*> ages[] = {{0, QT_TR_NOOP("（なし）")},
                                                {1, QT_TR_NOOP("今日使ったファイル(&T)")},
                                                {2, QT_TR_NOOP("昨日・今日使ったファイル(&Y)")},
                                                {3, QT_TR_NOOP("おととい・昨日・今日で使ったファイル（&B)")},
                                                {7, QT_TR_NOOP("この１週間で使ったファイル(&W)")},
                                                {10, QT_TR_NOOP("この１０日間で使ったファイル(&D)")},
                                                {31, QT_TR_NOOP("ここ１ヶ月で使ったファイル(&M)")}};
    for (const auto& [tag, caption] : ages) {
        QAction* a = miTimeFilter->addAction(tr(caption));
        a->setCheckable(true);
        a->setChecked(tag == 0);
        days->addAction(a);
        connect(a, &QAction::triggered, this, [this, tag = tag] {
            choose([&](ViewFilter& filter) { filter.since = filterSinceForDays(tag, session_.now()); });
        });
    }
}

void FilterMenus::choose(const std::function<void(ViewFilter&)>& edit) {
    ViewFilter filter = session_.filter();
    edit(filter);
    emit filterChosen(filter);
}

QActionGroup* FilterMenus::startMenu(QMenu& menu, const std::function<void(ViewFilter&)>& clear,
                                     bool noneChosen) {
    qDeleteAll(menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    menu.clear();
    auto* group = new QActionGroup(&menu);
    QAction* none = menu.addAction(tr("（なし）"));
    none->setCheckable(true);
    none->setChecked(noneChosen);
    group->addAction(none);
    connect(none, &QAction::triggered, this, [this, clear] { choose(clear); });
    return group;
}

void FilterMenus::TypeMenuBuild() {
    typesBuiltAt_ = session_.items().changeCount();
    const std::string chosen = session_.filter().type;
    QActionGroup* group = startMenu(
        *miTypeFilter, [](ViewFilter& filter) { filter.type.clear(); }, chosen.empty());
    for (const auto& [type, icon] : session_.typeChoices()) {
        QAction* a = miTypeFilter->addAction(icons_(icon), menuCaption(type));
        a->setCheckable(true);
        a->setChecked(type == chosen);
        group->addAction(a);
        connect(a, &QAction::triggered, this,
                [this, type = type] { choose([&](ViewFilter& filter) { filter.type = type; }); });
    }
}

void FilterMenus::FolderMenuBuild() {
    foldersBuiltAt_ = session_.items().changeCount();
    const std::string chosen = session_.filter().folder;
    QActionGroup* group = startMenu(
        *miFolderFilter, [](ViewFilter& filter) { filter.folder.clear(); }, chosen.empty());
    for (const auto& [folder, icon] : session_.folderChoices()) {
        QAction* a = miFolderFilter->addAction(icons_(icon), menuCaption(folder));
        a->setCheckable(true);
        a->setChecked(folder == chosen);
        group->addAction(a);
        connect(a, &QAction::triggered, this,
                [this, folder = folder] { choose([&](ViewFilter& filter) { filter.folder = folder; }); });
    }
}

} // namespace vendle::app
