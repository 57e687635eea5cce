// SPDX-License-Identifier: GPL-3.0-or-later
// ICU collators held by RAII, and copying one for another thread or other settings across the
// ICU versions the program builds with.
#pragma once

#include <unicode/ucol.h>
#include <unicode/uvernum.h>

#include <memory>

namespace vendle::platform {

struct UCollatorClose {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using UCollatorPtr = std::unique_ptr<UCollator, UCollatorClose>;

// A copy sharing the immutable collation data; nullptr when ICU cannot make one.
inline UCollatorPtr cloneCollator(const UCollator* collator) {
    UErrorCode status = U_ZERO_ERROR;
#if U_ICU_VERSION_MAJOR_NUM >= 71
    UCollatorPtr copy(ucol_clone(collator, &status));
#else
    UCollatorPtr copy(ucol_safeClone(collator, nullptr, nullptr, &status));
#endif
    return U_FAILURE(status) ? nullptr : std::move(copy);
}

} // namespace vendle::platform
