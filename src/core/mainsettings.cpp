// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainsettings.h"

#include <algorithm>

namespace vendle {

int readDataMax(const MemIniFile& ini) {
    return std::clamp(ini.ReadInteger(kMainSection, kDataMaxKey, kDataMaxDefault), kDataMaxMin, kDataMaxMax);
}

void writeDataMax(MemIniFile& ini, int dataMax) {
    ini.WriteInteger(kMainSection, kDataMaxKey, std::clamp(dataMax, kDataMaxMin, kDataMaxMax));
}

bool readConfirmReadOnly(const MemIniFile& ini) {
    return ini.ReadBool(kMainSection, kReadOnlyKey, false);
}

void writeConfirmReadOnly(MemIniFile& ini, bool confirm) {
    ini.WriteBool(kMainSection, kReadOnlyKey, confirm);
}

int readItemsHint(const MemIniFile& ini) {
    return ini.ReadInteger(kMainSection, kItemsKey, kItemsDefault);
}

void writeItems(MemIniFile& ini, int count) {
    ini.WriteInteger(kMainSection, kItemsKey, count);
}

int incrementCounter(MemIniFile& ini, const char* key) {
    const int value = ini.ReadInteger(kMainSection, key, 0) + 1;
    ini.WriteInteger(kMainSection, key, value);
    return value;
}

int readSortColumn(const MemIniFile& ini) {
    constexpr int kTimeColumn = 4;
    const int column = ini.ReadInteger(kMainSection, kSortColumnKey, kTimeColumn);
    return column >= 1 && column <= kTimeColumn ? column : kTimeColumn;
}

bool readSortDescending(const MemIniFile& ini) {
    return ini.ReadBool(kMainSection, kSortDescendingKey, true);
}

void writeSort(MemIniFile& ini, int column, bool descending) {
    ini.WriteInteger(kMainSection, kSortColumnKey, column);
    ini.WriteBool(kMainSection, kSortDescendingKey, descending);
}

} // namespace vendle
