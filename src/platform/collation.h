// SPDX-License-Identifier: GPL-3.0-or-later
// The user's collation for sorting the grid: the Unicode collation of the user's locale, with
// compact sort keys, so that sorting 100,000 names stays fast.
#pragma once

#include "core/collation.h"
#include "core/textfold.h"

#include <memory>
#include <string>

namespace vendle::platform {

// The collation of the user's LC_COLLATE locale; `locale` names another one ("ja_JP.UTF-8").
std::unique_ptr<Collator> userCollator(const std::string& locale = {});

// The folding of the search that ignores kana and width (see core/textfold.h).
std::unique_ptr<TextFolder> kanaWidthFolder();

} // namespace vendle::platform
