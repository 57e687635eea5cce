// The main window's settings keys (section "VendleMainForm") and their bounds.
#pragma once

#include "inifile.h"

namespace vendle {

inline constexpr const char* kMainSection = "VendleMainForm";
inline constexpr int kDataMaxMin = 1;
inline constexpr int kDataMaxMax = 100'000;
inline constexpr int kDataMaxDefault = 10'000;
inline constexpr int kItemsDefault = 100;

// "DataMax", brought into 1..100,000 so a hand-edited value cannot empty or overgrow the history.
int readDataMax(const MemIniFile& ini);
void writeDataMax(MemIniFile& ini, int dataMax);

// "ReadOnly": ask before opening a read-only document.
bool readConfirmReadOnly(const MemIniFile& ini);
void writeConfirmReadOnly(MemIniFile& ini, bool confirm);

// "Items": the line count of the last saved data file, the size hint of the next load.
int readItemsHint(const MemIniFile& ini);
void writeItems(MemIniFile& ini, int count);

// Adds one to a counter key ("ExecuteCount", "ContextMenuCount") and returns the new value.
int incrementCounter(MemIniFile& ini, const char* key);

} // namespace vendle
