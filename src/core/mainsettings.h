// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's and the history's settings with their bounds, read and written through the
// settings table.
#pragma once

#include "historylimits.h"
#include "settings.h"

namespace vendle {

class MemIniFile;

// "DataMax", brought into 1..100,000 so a hand-edited value cannot empty or overgrow the history.
int readDataMax(const MemIniFile& ini);
void writeDataMax(MemIniFile& ini, int dataMax);

// "ReadOnly": ask before opening a read-only document.
bool readConfirmReadOnly(const MemIniFile& ini);
void writeConfirmReadOnly(MemIniFile& ini, bool confirm);

// "SortColumn" (1 name, 2 folder, 3 type, 4 time; anything else: time) and "SortDescending"
// (default: newest first), as the grid was left.
int readSortColumn(const MemIniFile& ini);
bool readSortDescending(const MemIniFile& ini);
void writeSort(MemIniFile& ini, int column, bool descending);

// "Items": the line count of the last saved data file, the size hint of the next load.
int readItemsHint(const MemIniFile& ini);
void writeItems(MemIniFile& ini, int count);

} // namespace vendle
