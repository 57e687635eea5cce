#include "mainsettings.h"

#include <algorithm>

namespace vendle {

int readDataMax(const MemIniFile& ini) {
    return std::clamp(ini.ReadInteger(kMainSection, "DataMax", kDataMaxDefault), kDataMaxMin, kDataMaxMax);
}

void writeDataMax(MemIniFile& ini, int dataMax) {
    ini.WriteInteger(kMainSection, "DataMax", std::clamp(dataMax, kDataMaxMin, kDataMaxMax));
}

bool readConfirmReadOnly(const MemIniFile& ini) {
    return ini.ReadBool(kMainSection, "ReadOnly", false);
}

void writeConfirmReadOnly(MemIniFile& ini, bool confirm) {
    ini.WriteBool(kMainSection, "ReadOnly", confirm);
}

int readItemsHint(const MemIniFile& ini) {
    return ini.ReadInteger(kMainSection, "Items", kItemsDefault);
}

void writeItems(MemIniFile& ini, int count) {
    ini.WriteInteger(kMainSection, "Items", count);
}

int incrementCounter(MemIniFile& ini, const char* key) {
    const int value = ini.ReadInteger(kMainSection, key, 0) + 1;
    ini.WriteInteger(kMainSection, key, value);
    return value;
}

} // namespace vendle
