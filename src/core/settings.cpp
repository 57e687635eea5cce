// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings.h"

#include "core/datetimeformat.h"
#include "core/historylimits.h"
#include "core/inifile.h"
#include "core/log.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>

namespace vendle {
namespace {

constexpr const char* kAppInfo = "%%% Application Infomation Section %%%";
constexpr const char* kMain = "VendleMainForm";
constexpr int kTimeColumn = 4;
constexpr int kMostListEntries = 1000;

using T = SettingType;
constexpr std::array kRows{
    SettingRow{Setting::FirstKick, kAppInfo, "FirstKick", T::DateTime, "", 0, 0, "TIniFileEx"},
    SettingRow{Setting::ExecCount, kAppInfo, "ExecCount", T::Int, "0", 0, 2'147'483'647, "TIniFileEx"},
    SettingRow{Setting::TotalExecTime, kAppInfo, "TotalExecTime", T::Text, "00:00:00", 0, 0, "TIniFileEx"},
    SettingRow{Setting::DebugDoAsFirst, kAppInfo, "DebugDoAsFirst", T::Bool, "0", 0, 0, "TIniFileEx"},
    SettingRow{Setting::SettingsVersion, kAppInfo, "SettingsVersion", T::Int, "1", 1, 2'147'483'647,
               "migrateSettings"},
    SettingRow{Setting::DataMax, kMain, "DataMax", T::Int, "10000", kDataMaxMin, kDataMaxMax,
               "HistorySession"},
    SettingRow{Setting::ReadOnly, kMain, "ReadOnly", T::Bool, "0", 0, 0, "HistorySession"},
    SettingRow{Setting::Items, kMain, "Items", T::Int, "100", 0, 2'147'483'647, "HistorySession"},
    SettingRow{Setting::FormBounds, kMain, "FormBounds", T::Text, "", 0, 0, "TVendleMainForm"},
    SettingRow{Setting::HelpBounds, kMain, "HelpBounds", T::Text, "", 0, 0, "THtmlHelp"},
    SettingRow{Setting::OpenFolder, kMain, "OpenFolder", T::Text, "", 0, 0, "DocumentOpener"},
    SettingRow{Setting::FoldKana, kMain, "SearchFoldsKana", T::Bool, "0", 0, 0, "HistorySession"},
    SettingRow{Setting::Grid, kMain, "Grid", T::Text, "0", 0, 0, "TVendleMainForm"},
    SettingRow{Setting::LastScanTime, kMain, "LastScanTime", T::Text, "", 0, 0, "HistorySession"},
    SettingRow{Setting::ExecuteCount, kMain, "ExecuteCount", T::Int, "0", 0, 2'147'483'647, "DocumentOpener"},
    SettingRow{Setting::ContextMenuCount, kMain, "ContextMenuCount", T::Int, "0", 0, 2'147'483'647,
               "DocumentMenu"},
    SettingRow{Setting::SortColumn, kMain, "SortColumn", T::Int, "4", 1, kTimeColumn, "HistorySession"},
    SettingRow{Setting::SortDescending, kMain, "SortDescending", T::Bool, "1", 0, 0, "HistorySession"},
    SettingRow{Setting::CloseNoticeOff, kMain, "CloseNoticeOff", T::Bool, "0", 0, 0, "TVendleMainForm"},
    SettingRow{Setting::Forgotten, "Forgotten", "", T::List, "", 0, kMostListEntries, "ForgottenDocuments"},
    SettingRow{Setting::ExcludedFolders, "Exclusions", "Folder", T::List, "", 0, kMostListEntries,
               "Exclusions"},
    SettingRow{Setting::ExcludeHidden, "Exclusions", "Hidden", T::Bool, "0", 0, 0, "Exclusions"},
};

constexpr bool inOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].setting) != i)
            return false;
    }
    return true;
}
static_assert(inOrder(), "the rows follow the order of Setting");

// Keys are compared without regard to the case of ASCII letters, as the file's reader does.
bool sameKey(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

int parseInt(std::string_view text, int fallback) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

} // namespace

std::span<const SettingRow> settingRows() {
    return kRows;
}

const SettingRow& rowOf(Setting setting) {
    return kRows[static_cast<std::size_t>(setting)];
}

bool isSettingsSection(std::string_view section) {
    return std::any_of(kRows.begin(), kRows.end(),
                       [&](const SettingRow& row) { return row.section == section; });
}

bool isStored(const MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    if (row.type == SettingType::List)
        return ini.ValueExists(row.section, std::string(row.key) + "1");
    return ini.ValueExists(row.section, row.key);
}

bool readBool(const MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    return ini.ReadBool(row.section, row.key, row.defaultValue[0] == '1');
}

void writeBool(MemIniFile& ini, Setting setting, bool value) {
    const SettingRow& row = rowOf(setting);
    ini.WriteBool(row.section, row.key, value);
}

int readInt(const MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    const int fallback = parseInt(row.defaultValue, 0);
    const int value = ini.ReadInteger(row.section, row.key, fallback);
    // A sort column outside the grid's is the default, not the nearest; other numbers are brought
    // into their bounds.
    if (setting == Setting::SortColumn && (value < row.min || value > row.max))
        return fallback;
    return std::clamp(value, row.min, row.max);
}

void writeInt(MemIniFile& ini, Setting setting, int value) {
    const SettingRow& row = rowOf(setting);
    ini.WriteInteger(row.section, row.key, std::clamp(value, row.min, row.max));
}

std::string readText(const MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    return ini.ReadString(row.section, row.key, row.defaultValue);
}

void writeText(MemIniFile& ini, Setting setting, std::string_view value) {
    const SettingRow& row = rowOf(setting);
    ini.WriteString(row.section, row.key, value);
}

DateTime readDateTime(const MemIniFile& ini, Setting setting, const DateTimeFormat& userFormat) {
    const SettingRow& row = rowOf(setting);
    return ini.ReadDateTime(row.section, row.key, 0, userFormat);
}

void writeDateTime(MemIniFile& ini, Setting setting, DateTime value) {
    const SettingRow& row = rowOf(setting);
    ini.WriteDateTime(row.section, row.key, value);
}

int incrementCounter(MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    const int value = ini.ReadInteger(row.section, row.key, 0) + 1;
    ini.WriteInteger(row.section, row.key, value);
    return value;
}

std::vector<std::string> readList(const MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    std::vector<std::string> entries;
    for (int n = 1; n <= row.max; ++n) {
        std::string value = ini.ReadString(row.section, std::string(row.key) + std::to_string(n), "");
        if (value.empty())
            break;
        entries.push_back(std::move(value));
    }
    return entries;
}

void writeList(MemIniFile& ini, Setting setting, const std::vector<std::string>& entries) {
    const SettingRow& row = rowOf(setting);
    removeSetting(ini, setting);
    const std::size_t count = std::min(entries.size(), static_cast<std::size_t>(row.max));
    for (std::size_t i = 0; i < count; ++i)
        ini.WriteString(row.section, std::string(row.key) + std::to_string(i + 1), entries[i]);
}

void removeSetting(MemIniFile& ini, Setting setting) {
    const SettingRow& row = rowOf(setting);
    if (row.type != SettingType::List) {
        ini.DeleteKey(row.section, row.key);
        return;
    }
    if (*row.key == '\0') {
        ini.EraseSection(row.section);
        return;
    }
    // Every numbered key of the list, also those past a gap a hand edit left.
    const std::string_view prefix = row.key;
    ini.EraseKeys(row.section, [&](std::string_view key) {
        if (key.size() <= prefix.size() || !sameKey(key.substr(0, prefix.size()), prefix))
            return false;
        const std::string_view rest = key.substr(prefix.size());
        return std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
    });
}

int migrateSettings(MemIniFile& ini, const DateTimeFormat& userFormat) {
    const int version = isStored(ini, Setting::SettingsVersion) ? readInt(ini, Setting::SettingsVersion) : 1;
    if (version > kSettingsVersion) {
        logMessage(LogTopic::Files, "the settings file is of a later version (" + std::to_string(version) +
                                        "); it is read as far as this version knows it");
        return version;
    }
    if (version < 2) {
        // 1 → 2: every value in the form this version writes.
        for (const SettingRow& row : kRows) {
            if (!isStored(ini, row.setting))
                continue;
            switch (row.type) {
            case SettingType::Bool:
                writeBool(ini, row.setting, readBool(ini, row.setting));
                break;
            case SettingType::Int:
                if (row.setting != Setting::SettingsVersion)
                    writeInt(ini, row.setting, readInt(ini, row.setting));
                break;
            case SettingType::DateTime:
                if (const DateTime value = readDateTime(ini, row.setting, userFormat); value != 0)
                    writeDateTime(ini, row.setting, value);
                break;
            case SettingType::Text:
            case SettingType::List:
                break;
            }
        }
    }
    if (version != kSettingsVersion)
        writeInt(ini, Setting::SettingsVersion, kSettingsVersion);
    return version;
}

} // namespace vendle
