// SPDX-License-Identifier: GPL-3.0-or-later
// The text form of a running-time total, "hours:mm:ss.zzz", used for the stored total running time.
#pragma once

#include "datetime.h"

#include <string>
#include <string_view>

namespace vendle {

// "%d:%02d:%02d.%03d" with the total hours; the hour count wraps at 65,536. Negative durations
// (a clock set back) are written as zero.
std::string DateTimeToFullTimeString(DateTime duration);

// "%d時間%d分%d秒": the total hours (not carried into days; wrapping at 65,536), minutes and
// seconds of a running time. Negative durations show as zero.
std::string elapsedText(DateTime duration);

// Reads "h:mm:ss" or "h:mm:ss.zzz". Throws ConvertError: "FullTimeString が不正です。" for a missing
// ":" or a second "."; an integer or time-range error for bad pieces.
DateTime FullTimeStringToDateTime(std::string_view text);

// The integer reading used by the settings file and the time texts: optional blanks, an optional
// sign and decimal digits, or "$"/"0x" and hexadecimal digits; nothing else. Throws ConvertError.
int StrToInt(std::string_view text);

} // namespace vendle
