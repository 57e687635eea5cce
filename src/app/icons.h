// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own images, drawn in code: the application icon, the busy icon shown while the
// history loads, and the header's sort arrows.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vendle::app {

// A stack of documents with a clock: the tray icon and the window icon.
QIcon applicationIcon();

// The program's icon as the application carries it (drawn once, at the start), or drawn now
// where none was set.
QIcon programIcon();

// The same documents with an hourglass: shown in the tray while the history loads.
QIcon busyIcon();

// 10 x 9 triangles on a transparent ground for the sort column's header.
QPixmap upArrow();
QPixmap downArrow();

} // namespace vendle::app
