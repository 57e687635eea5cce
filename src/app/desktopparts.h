// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's services for the history session: files, shell information, the record of
// recently used documents, the user's collation, and the icon list over the desktop's icon theme.
#pragma once

#include "app/apppaths.h"
#include "app/historysession.h"

#include <memory>

namespace vendle::widgets {
class IconList;
}

namespace vendle::app {

struct DesktopParts {
    HistorySession::Parts parts;
    std::unique_ptr<widgets::IconList> icons; // parts.icons looks up here: keep it longer than them
};

DesktopParts desktopParts(const AppPaths& paths, TIniFileEx::Clock clock);

} // namespace vendle::app
