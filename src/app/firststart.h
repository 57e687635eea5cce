// SPDX-License-Identifier: GPL-3.0-or-later
// The very first start: the welcome boxes and the offer to start the program with the desktop
// session, which writes the session's autostart entry.
#pragma once

#include "app/apppaths.h"
#include "core/fileaccess.h"

class QWidget;

namespace vendle::app {

// Shows the welcome and asks; "Yes" registers, anything else says that nothing was registered.
void runFirstStart(QWidget* parent, const AppPaths& paths, FileAccess& files);

// Writes the autostart entry that starts this copy with the session, unless it exists; an entry
// that starts another copy (or a program gone) is replaced when the user agrees. Throws the trace
// exception when the entry cannot be written.
void RegisterStartup(QWidget* parent, const AppPaths& paths, FileAccess& files);

} // namespace vendle::app
