// SPDX-License-Identifier: GPL-3.0-or-later
// Symbolic names of COM result codes, for messages about failed shell commands.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vendle {

struct HResultName_t {
    std::uint32_t value;
    const char* name;
};

// The 400 known codes in lookup order; several rows share a value and the first one wins.
std::span<const HResultName_t> HResultNames();

// Name of the first row with this value, or "[UNKNOWN]".
std::string HResultName(std::uint32_t code);

} // namespace vendle
