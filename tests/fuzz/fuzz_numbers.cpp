// SPDX-License-Identifier: GPL-3.0-or-later
// The date-time, integer, running-time and number readers.
#include "core/datetimeformat.h"
#include "core/errors.h"
#include "core/fulltime.h"
#include "core/numericpicture.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)vendle::tryStrToDateTime(text, vendle::DateTimeFormat::japanese());
    (void)vendle::tryStrToDateTime(text, vendle::DateTimeFormat{});
    try {
        (void)vendle::StrToInt(text);
    } catch (const vendle::ConvertError&) {
    }
    try {
        (void)vendle::DateTimeToFullTimeString(vendle::FullTimeStringToDateTime(text));
    } catch (const vendle::ConvertError&) {
    }
    (void)vendle::TextToValue(text);
    return 0;
}
