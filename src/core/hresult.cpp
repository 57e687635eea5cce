// SPDX-License-Identifier: GPL-3.0-or-later
#include "hresult.h"

namespace vendle {

namespace {
// One row per line; range markers (_FIRST, _LAST) come before the codes they share a value with.
constexpr HResultName_t kNames[] = {
#include "hresult_names.inc"
};
static_assert(std::size(kNames) == 400);
} // namespace

std::span<const HResultName_t> HResultNames() {
    return kNames;
}

std::string HResultName(std::uint32_t code) {
    for (const auto& row : kNames) {
        if (row.value == code)
            return row.name;
    }
    return "[UNKNOWN]";
}

} // namespace vendle
