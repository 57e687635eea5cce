// SPDX-License-Identifier: GPL-3.0-or-later
#include "fulltime.h"
#include "core/texts.h"

#include "errors.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vendle {

namespace {

const char* const kBadFullTime = VENDLE_TEXT_NOOP("Convert", "FullTimeString が不正です。");

} // namespace

int StrToInt(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (!t.empty() && t.front() == '$') {
        base = 16;
        t.remove_prefix(1);
    } else if (t.size() > 1 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, base);
    const bool fits =
        negative ? value <= std::int64_t{1} << 31 : value <= (base == 16 ? 0xFFFFFFFFLL : 0x7FFFFFFFLL);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || value < 0 || !fits)
        throw ConvertError(fillIn(textIn("Convert", "'%1' は有効な整数値ではありません。"), {text}));
    // Hexadecimal values are 32-bit patterns, so 0xFFFFFFFF reads as -1.
    return static_cast<int>(static_cast<std::uint32_t>(negative ? -value : value));
}

namespace {

// A duration as total hours (unsigned 16-bit: they wrap at 65,536), minutes, seconds and
// milliseconds; negative durations (a clock set back) count as zero.
struct Elapsed {
    std::uint16_t hours = 0;
    int min = 0;
    int sec = 0;
    int ms = 0;
};

Elapsed splitDuration(DateTime duration) {
    if (!(duration > 0))
        duration = 0;
    const auto totalMs = static_cast<std::int64_t>(std::llround(duration * static_cast<double>(kMsPerDay)));
    std::int64_t rest = totalMs;
    Elapsed e;
    e.ms = static_cast<int>(rest % 1000);
    rest /= 1000;
    e.sec = static_cast<int>(rest % 60);
    rest /= 60;
    e.min = static_cast<int>(rest % 60);
    e.hours = static_cast<std::uint16_t>(rest / 60);
    return e;
}

} // namespace

std::string DateTimeToFullTimeString(DateTime duration) {
    const Elapsed e = splitDuration(duration);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d.%03d", static_cast<int>(e.hours), e.min, e.sec, e.ms);
    return buf;
}

DateTime FullTimeStringToDateTime(std::string_view text) {
    const std::size_t c1 = text.find(':');
    if (c1 == std::string_view::npos)
        throw ConvertError(textIn("Convert", kBadFullTime));
    const auto hoursRaw = static_cast<std::uint32_t>(StrToInt(text.substr(0, c1)));
    const std::uint32_t days = hoursRaw / 24;
    const auto hours = static_cast<int>(hoursRaw % 24);

    const std::string_view afterHours = text.substr(c1 + 1);
    const std::size_t c2 = afterHours.find(':');
    if (c2 == std::string_view::npos)
        throw ConvertError(textIn("Convert", kBadFullTime));
    const int minutes = StrToInt(afterHours.substr(0, c2));

    const std::string_view afterMinutes = afterHours.substr(c2 + 1);
    const std::size_t dot = afterMinutes.find('.');
    int seconds = 0;
    int millis = 0;
    if (dot == std::string_view::npos) {
        seconds = StrToInt(afterMinutes);
    } else {
        seconds = StrToInt(afterMinutes.substr(0, dot));
        const std::string_view msText = afterMinutes.substr(dot + 1);
        if (msText.find('.') != std::string_view::npos)
            throw ConvertError(textIn("Convert", kBadFullTime));
        millis = StrToInt(msText);
    }
    return static_cast<DateTime>(days) + encodeTime(hours, minutes, seconds, millis);
}

std::string elapsedText(DateTime duration) {
    const Elapsed e = splitDuration(duration);
    return fillIn(textIn("Elapsed", "%1時間%2分%3秒"),
                  {std::to_string(e.hours), std::to_string(e.min), std::to_string(e.sec)});
}

} // namespace vendle
