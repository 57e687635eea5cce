// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainsettings.h"

namespace vendle {

int readDataMax(const MemIniFile& ini) {
    return readInt(ini, Setting::DataMax);
}

void writeDataMax(MemIniFile& ini, int dataMax) {
    writeInt(ini, Setting::DataMax, dataMax);
}

bool readConfirmReadOnly(const MemIniFile& ini) {
    return readBool(ini, Setting::ReadOnly);
}

void writeConfirmReadOnly(MemIniFile& ini, bool confirm) {
    writeBool(ini, Setting::ReadOnly, confirm);
}

int readItemsHint(const MemIniFile& ini) {
    return readInt(ini, Setting::Items);
}

void writeItems(MemIniFile& ini, int count) {
    writeInt(ini, Setting::Items, count);
}

int readSortColumn(const MemIniFile& ini) {
    return readInt(ini, Setting::SortColumn);
}

bool readSortDescending(const MemIniFile& ini) {
    return readBool(ini, Setting::SortDescending);
}

void writeSort(MemIniFile& ini, int column, bool descending) {
    writeInt(ini, Setting::SortColumn, column);
    writeBool(ini, Setting::SortDescending, descending);
}

} // namespace vendle
