// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopparts.h"

#include "platform/collation.h"
#include "platform/fileaccess.h"
#include "platform/recentsource.h"
#include "platform/shellinfo.h"
#include "platform/system.h"
#include "widgets/iconlist.h"

namespace vendle::app {

DesktopParts desktopParts(const AppPaths& paths, TIniFileEx::Clock clock) {
    DesktopParts d;
    auto shell = std::make_unique<platform::DesktopShellInfo>();
    platform::DesktopShellInfo* names = shell.get();
    widgets::ensureIconTheme();
    d.icons = std::make_unique<widgets::IconList>([names](int index) { return names->iconNames(index); });
    d.parts.files = std::make_unique<platform::SystemFileAccess>();
    d.parts.shell = std::move(shell);
    d.parts.recent = std::make_unique<platform::DesktopRecentSource>(paths.dataHome);
    d.parts.collator = platform::userCollator();
    d.parts.folder = platform::kanaWidthFolder();
    d.parts.clock = std::move(clock);
    d.parts.syntax = PathSyntax::posix(platform::systemCodePage());
    d.parts.icons = [icons = d.icons.get()](int index) { return icons->icon(index); };
    return d;
}

} // namespace vendle::app
