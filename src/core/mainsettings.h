// SPDX-License-Identifier: GPL-3.0-or-later
// Every key of the settings file, and the main window's settings with their bounds.
#pragma once

#include "historylimits.h"
#include "inifile.h"

namespace vendle {

// The program's own record: first start, starts and running time.
inline constexpr const char* kAppInfoSection = "%%% Application Infomation Section %%%";
inline constexpr const char* kFirstKickKey = "FirstKick";
inline constexpr const char* kExecCountKey = "ExecCount";
inline constexpr const char* kTotalExecTimeKey = "TotalExecTime";
inline constexpr const char* kDebugDoAsFirstKey = "DebugDoAsFirst";

// The main window and the history.
inline constexpr const char* kMainSection = "VendleMainForm";
inline constexpr const char* kDataMaxKey = "DataMax";
inline constexpr const char* kReadOnlyKey = "ReadOnly";
inline constexpr const char* kItemsKey = "Items";
inline constexpr const char* kFormBoundsKey = "FormBounds";
inline constexpr const char* kHelpBoundsKey = "HelpBounds";
inline constexpr const char* kOpenFolderKey = "OpenFolder";
// The search ignores hiragana/katakana and full/half width; written once it was turned on.
inline constexpr const char* kFoldKanaKey = "SearchFoldsKana";
inline constexpr const char* kGridKey = "Grid";
inline constexpr const char* kLastScanKey = "LastScanTime";
inline constexpr const char* kExecuteCountKey = "ExecuteCount";
inline constexpr const char* kContextMenuCountKey = "ContextMenuCount";
inline constexpr const char* kSortColumnKey = "SortColumn";
inline constexpr const char* kSortDescendingKey = "SortDescending";
// Without a notification area, closing the window says once that the program runs on; true once
// the user asked not to be told again.
inline constexpr const char* kCloseNoticeOffKey = "CloseNoticeOff";

// The sections of the forgotten documents and the excluded folders (their own units read them).
inline constexpr const char* kForgottenSection = "Forgotten";
inline constexpr const char* kExclusionsSection = "Exclusions";

inline constexpr int kItemsDefault = 100;

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

// Adds one to a counter key ("ExecuteCount", "ContextMenuCount") and returns the new value.
int incrementCounter(MemIniFile& ini, const char* key);

} // namespace vendle
