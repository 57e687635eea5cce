// SPDX-License-Identifier: GPL-3.0-or-later
// Restores and stores a window's placement ("FormBounds") and a grid's column widths ("Grid") in the
// settings file, keeping a restored window on one of the screens that exist now.
#pragma once

#include "core/inifile.h"
#include "core/settings.h"
#include "core/windowplacement.h"
#include "platform/windowsystem.h"

#include <QHeaderView>
#include <QWidget>

#include <string_view>
#include <vector>

namespace vendle::widgets {

// The window's state and its normal (restored) geometry.
WindowPlacement placementOf(const QWidget& window);

// Sets the normal geometry, moved onto a screen if needed, and the state. A hidden window stays
// hidden.
void applyPlacement(QWidget& window, const WindowPlacement& placement);

// Available areas of the screens, for keepOnScreen.
std::vector<Rect> availableScreenRects();

// Moves and shrinks the window, with room for its frame, into the available area of the screen it
// is on: every window opens whole, at any scale and font.
void fitOnScreen(QWidget& window);
// The same for a window that opens in the middle of the primary screen's available area (a
// dialog, the help window): its size fitted, then centred.
void centreOnScreen(QWidget& window);

void ReadFormBounds(const MemIniFile& ini, Setting setting, QWidget& window);
// Where the window system cannot report a window's place (`placeKnown` false), the stored place
// is kept and only the size is written.
void WriteFormBounds(MemIniFile& ini, Setting setting, const QWidget& window,
                     bool placeKnown = platform::windowPlacesAreKnown());

void ReadColWidths(const MemIniFile& ini, Setting setting, QHeaderView& header);
void WriteColWidths(MemIniFile& ini, Setting setting, const QHeaderView& header);

} // namespace vendle::widgets
