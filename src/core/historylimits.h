// SPDX-License-Identifier: GPL-3.0-or-later
// How many documents the history may hold: the user's choice lies in 1..100,000.
#pragma once

namespace vendle {

inline constexpr int kDataMaxMin = 1;
inline constexpr int kDataMaxMax = 100'000;
inline constexpr int kDataMaxDefault = 10'000;

} // namespace vendle
