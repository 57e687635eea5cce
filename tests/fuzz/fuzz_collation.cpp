// SPDX-License-Identifier: GPL-3.0-or-later
// Collation keys order texts as the collator's own comparison does.
#include "core/collation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vendle::LocaleCollator collator("C.UTF-8");
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\0');
    if (cut == std::string_view::npos)
        return 0;
    const std::string_view a = all.substr(0, cut);
    const std::string_view b = all.substr(cut + 1);
    if (b.find('\0') != std::string_view::npos)
        return 0;
    const int byCompare = collator.compare(a, b);
    const int byKeys = collator.sortKey(a).compare(collator.sortKey(b));
    if ((byCompare < 0) != (byKeys < 0) || (byCompare > 0) != (byKeys > 0))
        std::abort();
    return 0;
}
