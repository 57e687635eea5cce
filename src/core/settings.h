// SPDX-License-Identifier: GPL-3.0-or-later
// Every setting of the settings file in one table: its section, key, type, default, bounds and
// the unit that writes it; lists (forgotten documents, excluded folders) are rows too. Every read
// and write goes through the functions here, so adding a setting means adding one row; and the
// step that brings a file of an earlier layout to the current one.
#pragma once

#include "core/datetime.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vendle {

class MemIniFile;
struct DateTimeFormat;

enum class Setting {
    // The program's own record.
    FirstKick,
    ExecCount,
    TotalExecTime,
    DebugDoAsFirst,
    SettingsVersion,
    // The main window and the history.
    DataMax,
    ReadOnly,
    Items,
    FormBounds,
    HelpBounds,
    OpenFolder,
    FoldKana,
    Grid,
    LastScanTime,
    ExecuteCount,
    ContextMenuCount,
    SortColumn,
    SortDescending,
    CloseNoticeOff,
    // Lists and what goes with them.
    Forgotten,
    ExcludedFolders,
    ExcludeHidden,
};

enum class SettingType {
    Bool,
    Int,      // bounded by the row's min and max
    Text,     // a text of the unit that writes it (a date, a placement, column widths)
    DateTime, // written in the file's own form, read in the user's too
    List,     // numbered keys: the row's key followed by 1, 2, … up to max entries
};

struct SettingRow {
    Setting setting;
    const char* section;
    const char* key;
    SettingType type;
    const char* defaultValue; // as written in the file
    int min = 0;
    int max = 0;
    const char* writtenBy; // the unit that writes it
};

// The table, one row a setting, in the order of Setting.
std::span<const SettingRow> settingRows();
const SettingRow& rowOf(Setting setting);
// Whether `section` is one of the program's (content without any is someone else's).
bool isSettingsSection(std::string_view section);

// The layout of the file this program writes; files without the version key are version 1.
inline constexpr int kSettingsVersion = 2;

bool isStored(const MemIniFile& ini, Setting setting);
bool readBool(const MemIniFile& ini, Setting setting);
void writeBool(MemIniFile& ini, Setting setting, bool value);
// Brought into the row's bounds; the default where the value is missing or not a number.
int readInt(const MemIniFile& ini, Setting setting);
void writeInt(MemIniFile& ini, Setting setting, int value);
std::string readText(const MemIniFile& ini, Setting setting);
void writeText(MemIniFile& ini, Setting setting, std::string_view value);
DateTime readDateTime(const MemIniFile& ini, Setting setting, const DateTimeFormat& userFormat);
void writeDateTime(MemIniFile& ini, Setting setting, DateTime value);
// Adds one to a counter and returns the new value.
int incrementCounter(MemIniFile& ini, Setting setting);
// The entries up to the first missing one, at most the row's max.
std::vector<std::string> readList(const MemIniFile& ini, Setting setting);
// Replaces the list: the whole section when the list has one of its own (the row's key is
// empty), else the list's keys; entries beyond the row's max are not written.
void writeList(MemIniFile& ini, Setting setting, const std::vector<std::string>& entries);
// Takes the setting out of the file.
void removeSetting(MemIniFile& ini, Setting setting);

// Brings a file of an earlier layout to the current one: values written in forms this version
// no longer writes are rewritten (yes/true/on for 1, out-of-bounds numbers, a first-start date in
// the user's form) and the version is recorded. A file of a later layout is left as it is.
// Returns the version the file had.
int migrateSettings(MemIniFile& ini, const DateTimeFormat& userFormat);

} // namespace vendle
