// The settings file: whatever it holds, what is written reads back to the same store.
#include "core/inifile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vendle::MemIniFile ini;
    ini.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string once = ini.serialize();
    vendle::MemIniFile again;
    again.parse(once);
    if (again.serialize() != once)
        std::abort();
    return 0;
}
