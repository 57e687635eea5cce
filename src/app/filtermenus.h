// SPDX-License-Identifier: GPL-3.0-or-later
// The filter menu's three submenus: age ("時間(&T)") with its fixed choices, and type ("種類(&Y)")
// and folder ("フォルダ(&F)") listing what the history holds, and the switch for a search that
// ignores kana and width. A choice asks for the view to be rebuilt with it.
#pragma once

#include "core/viewfilter.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QAction;
class QActionGroup;
class QIcon;
class QMenu;

namespace vendle::app {

class HistorySession;

class FilterMenus : public QObject {
    Q_OBJECT

public:
    using IconLookup = std::function<QIcon(int iconIndex)>;

    // Adds "フォルダ(&F)", "時間(&T)" and "種類(&Y)" to `filterMenu`.
    FilterMenus(QMenu& filterMenu, HistorySession& session, IconLookup icons, QObject* parent = nullptr);

    // Lists the types and the folders that the history holds now, each menu with "（なし）" first;
    // the current choice stays checked. A menu about to be shown is built again when the history
    // changed since it was built.
    void TypeMenuBuild();
    void FolderMenuBuild();

    QMenu* miFolderFilter = nullptr;
    QMenu* miTimeFilter = nullptr;
    QMenu* miTypeFilter = nullptr;
    QAction* miFoldKana = nullptr; // checked while the search ignores kana and width

signals:
    // The user chose a filter: the session's, changed as the choice says.
    void filterChosen(const vendle::ViewFilter& filter);
    // The user turned the search's folding of kana and width on or off.
    void foldKanaChosen(bool on);

private:
    void buildTimeMenu();
    void choose(const std::function<void(ViewFilter&)>& edit);
    QActionGroup* startMenu(QMenu& menu, const std::function<void(ViewFilter&)>& clear, bool noneChosen);

    static constexpr std::uint64_t kNeverBuilt = ~std::uint64_t{0};
    std::uint64_t typesBuiltAt_ = kNeverBuilt; // the history's change count then
    std::uint64_t foldersBuiltAt_ = kNeverBuilt;

    HistorySession& session_;
    IconLookup icons_;
};

} // namespace vendle::app
