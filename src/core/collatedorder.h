// SPDX-License-Identifier: GPL-3.0-or-later
// The order of many texts under a collator. Texts with quick keys are sorted by those, the others
// by full sort keys computed on several threads, and the two lists are merged.
#pragma once

#include "collation.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vendle {

// Indices into `texts` in the collator's order; equal texts in a fixed order, whatever the timing
// of the threads.
std::vector<std::uint32_t> collatedOrder(const std::vector<std::string_view>& texts,
                                         const Collator& collator);

} // namespace vendle
