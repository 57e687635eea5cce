// SPDX-License-Identifier: GPL-3.0-or-later
#include "datetimeformat.h"
#include "core/texts.h"

#include "errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

namespace vendle {

namespace {

std::string number(int value, int minDigits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", minDigits, value);
    return buf;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

std::string_view trimBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

// Reads 1 to `maxDigits` decimal digits at the front of `t`.
std::optional<int> takeNumber(std::string_view& t, int maxDigits) {
    std::size_t n = 0;
    while (n < t.size() && n < static_cast<std::size_t>(maxDigits) && t[n] >= '0' && t[n] <= '9')
        ++n;
    if (n == 0)
        return std::nullopt;
    int value = 0;
    std::from_chars(t.data(), t.data() + n, value);
    t.remove_prefix(n);
    return value;
}

bool takeText(std::string_view& t, std::string_view what) {
    if (what.empty() || t.substr(0, what.size()) != what)
        return false;
    t.remove_prefix(what.size());
    return true;
}

// Which marker `t` starts with: 0 none, 1 morning, 2 afternoon. The locale's texts and the
// English AM/PM are accepted in any letter case.
int takeMarker(std::string_view& t, const DateTimeFormat& fmt) {
    const std::array<std::pair<std::string_view, int>, 4> candidates = {
        {{fmt.amText, 1}, {fmt.pmText, 2}, {"AM", 1}, {"PM", 2}}};
    for (const auto& [text, kind] : candidates) {
        if (!text.empty() && t.size() >= text.size() && equalsNoCase(t.substr(0, text.size()), text)) {
            t.remove_prefix(text.size());
            return kind;
        }
    }
    return 0;
}

int twoDigitYear(int yy) {
    // A year written with two digits lies within 50 years of the current one.
    const int current = decodeDateTime(now()).date.year;
    int year = current / 100 * 100 + yy;
    if (year > current + 50)
        year -= 100;
    else if (year <= current - 50)
        year += 100;
    return year;
}

std::optional<DateTime> readDate(std::string_view& t, const DateTimeFormat& fmt) {
    std::array<int, 3> parts{};
    std::array<int, 3> digits{};
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && !takeText(t, fmt.dateSeparator))
            return std::nullopt;
        const std::size_t before = t.size();
        const auto v = takeNumber(t, 4);
        if (!v)
            return std::nullopt;
        parts[static_cast<std::size_t>(i)] = *v;
        digits[static_cast<std::size_t>(i)] = static_cast<int>(before - t.size());
    }
    int y = 0, m = 0, d = 0, yDigits = 0;
    switch (fmt.order) {
    case DateTimeFormat::DateOrder::YMD:
        y = parts[0], m = parts[1], d = parts[2], yDigits = digits[0];
        break;
    case DateTimeFormat::DateOrder::MDY:
        m = parts[0], d = parts[1], y = parts[2], yDigits = digits[2];
        break;
    case DateTimeFormat::DateOrder::DMY:
        d = parts[0], m = parts[1], y = parts[2], yDigits = digits[2];
        break;
    }
    if (yDigits <= 2)
        y = twoDigitYear(y);
    return tryEncodeDate(y, m, d);
}

std::optional<DateTime> readTime(std::string_view t, const DateTimeFormat& fmt) {
    int marker = takeMarker(t, fmt);
    t = trimBlanks(t);
    const auto h = takeNumber(t, 2);
    if (!h || !takeText(t, fmt.timeSeparator))
        return std::nullopt;
    const auto m = takeNumber(t, 2);
    if (!m)
        return std::nullopt;
    int s = 0;
    if (takeText(t, fmt.timeSeparator)) {
        const auto sv = takeNumber(t, 2);
        if (!sv)
            return std::nullopt;
        s = *sv;
    }
    t = trimBlanks(t);
    if (marker == 0)
        marker = takeMarker(t, fmt);
    if (!t.empty())
        return std::nullopt;
    int hour = *h;
    if (marker != 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }
    return tryEncodeTime(hour, *m, s, 0);
}

} // namespace

DateTimeFormat DateTimeFormat::japanese() {
    return DateTimeFormat{};
}

const DateTimeFormat& fileDateTimeFormat() {
    static const DateTimeFormat format = DateTimeFormat::japanese();
    return format;
}

std::optional<DateTime> readWrittenTime(std::string_view t) {
    int value = 0;
    const auto digits = [&](std::size_t from, std::size_t count) {
        value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return false;
            value = value * 10 + (t[i] - '0');
        }
        return true;
    };
    if (t.size() < 10 || t[4] != '/' || t[7] != '/' || !digits(0, 4))
        return std::nullopt;
    const int year = value;
    if (!digits(5, 2))
        return std::nullopt;
    const int month = value;
    if (!digits(8, 2))
        return std::nullopt;
    const std::optional<DateTime> date = tryEncodeDate(year, month, value);
    if (!date || t.size() == 10)
        return date;
    // " h:nn:ss", the hour in one digit or two.
    const std::size_t h = t.size() == 18 ? 1 : 2;
    if (t.size() != 17 + h || t[10] != ' ' || t[11 + h] != ':' || t[14 + h] != ':' || !digits(11, h))
        return std::nullopt;
    const int hour = value;
    if (!digits(12 + h, 2))
        return std::nullopt;
    const int minute = value;
    if (!digits(15 + h, 2))
        return std::nullopt;
    const std::optional<DateTime> time = tryEncodeTime(hour, minute, value, 0);
    return time ? std::optional<DateTime>(combineDateTime(*date, *time)) : std::nullopt;
}

std::optional<DateTime> readFileDateTime(std::string_view text, const DateTimeFormat& locale) {
    if (const std::optional<DateTime> written = readWrittenTime(text))
        return written;
    if (const std::optional<DateTime> fixed = tryStrToDateTime(text, fileDateTimeFormat()))
        return fixed;
    return tryStrToDateTime(text, locale);
}

DateTimeFormat DateTimeFormat::usEnglish() {
    DateTimeFormat f;
    f.order = DateOrder::MDY;
    f.monthTwoDigits = false;
    f.dayTwoDigits = false;
    f.hour12 = true;
    f.amText = "AM";
    f.pmText = "PM";
    return f;
}

namespace {

// A line's worth of characters on the stack, so that formatting one date and time appends to the
// caller's string once. Callers make sure the text fits (see fitsFixedText).
struct FixedText {
    char data[192];
    std::size_t size = 0;
    void append(const char* p, std::size_t n) {
        std::memcpy(data + size, p, n);
        size += n;
    }
    void push_back(char c) { data[size++] = c; }
};

// Six numbers of at most 11 characters, two blanks, and what the locale adds.
bool fitsFixedText(const DateTimeFormat& fmt) {
    return 2 * fmt.dateSeparator.size() + 2 * fmt.timeSeparator.size() +
               std::max(fmt.amText.size(), fmt.pmText.size()) <=
           100;
}

template <typename Out> void appendText(Out& out, const std::string& text) {
    if (text.size() == 1)
        out.push_back(text[0]);
    else
        out.append(text.data(), text.size());
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes `value` with at least `minDigits` digits backwards, ending at `end`; returns the start.
char* formatNumberBackwards(char* end, int value, int minDigits) {
    char* p = end;
    unsigned v = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (end - p < minDigits && end - p < 12)
        *--p = '0';
    if (value < 0)
        *--p = '-';
    return p;
}

template <typename Out> void appendNumberSlowly(Out& out, int value, int minDigits) {
    if (value >= 1000 && value < 10000 && minDigits <= 4) {
        const int high = value / 100;
        const int low = value % 100;
        const char digits[4] = {kDigitPairs[2 * high], kDigitPairs[2 * high + 1], kDigitPairs[2 * low],
                                kDigitPairs[2 * low + 1]};
        out.append(digits, 4);
        return;
    }
    char buf[16];
    char* end = buf + sizeof buf;
    const char* start = formatNumberBackwards(end, value, minDigits);
    out.append(start, static_cast<std::size_t>(end - start));
}

template <typename Out> inline void appendNumber(Out& out, int value, int minDigits) {
    // Months, days, hours, minutes and seconds take the short way.
    if (static_cast<unsigned>(value) < 100 && minDigits <= 2) {
        if (value >= 10 || minDigits == 2)
            out.push_back(kDigitPairs[2 * value]);
        out.push_back(kDigitPairs[2 * value + 1]);
        return;
    }
    appendNumberSlowly(out, value, minDigits);
}

template <typename Out> void appendShortDate(Out& out, const DateFields& d, const DateTimeFormat& fmt) {
    struct Field {
        int value;
        int digits;
    };
    const Field year{d.year, 4};
    const Field month{d.month, fmt.monthTwoDigits ? 2 : 1};
    const Field day{d.day, fmt.dayTwoDigits ? 2 : 1};
    using Order = DateTimeFormat::DateOrder;
    const std::array<Field, 3> fields = fmt.order == Order::MDY   ? std::array<Field, 3>{month, day, year}
                                        : fmt.order == Order::DMY ? std::array<Field, 3>{day, month, year}
                                                                  : std::array<Field, 3>{year, month, day};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            appendText(out, fmt.dateSeparator);
        appendNumber(out, fields[i].value, fields[i].digits);
    }
}

template <typename Out> void appendLongTime(Out& out, const TimeFields& t, const DateTimeFormat& fmt) {
    int hour = t.hour;
    const std::string* marker = nullptr;
    if (fmt.hour12) {
        marker = hour < 12 ? &fmt.amText : &fmt.pmText;
        hour = hour % 12 == 0 ? 12 : hour % 12;
    }
    const bool markerFirst = marker && !marker->empty() && fmt.markerFirst;
    if (markerFirst) {
        appendText(out, *marker);
        out.push_back(' ');
    }
    appendNumber(out, hour, fmt.hourTwoDigits ? 2 : 1);
    appendText(out, fmt.timeSeparator);
    appendNumber(out, t.minute, 2);
    appendText(out, fmt.timeSeparator);
    appendNumber(out, t.second, 2);
    if (marker && !marker->empty() && !markerFirst) {
        out.push_back(' ');
        appendText(out, *marker);
    }
}

template <typename Out> void appendDateTime(Out& out, DateTime value, const DateTimeFormat& fmt) {
    const DateTimeFields f = decodeDateTime(value);
    appendShortDate(out, f.date, fmt);
    const TimeFields& t = f.time;
    if (t.hour != 0 || t.minute != 0 || t.second != 0 || t.millisecond != 0) {
        out.push_back(' ');
        appendLongTime(out, t, fmt);
    }
}

} // namespace

std::string formatShortDate(DateTime value, const DateTimeFormat& fmt) {
    std::string out;
    appendShortDate(out, decodeDateTime(value).date, fmt);
    return out;
}

std::string formatLongTime(DateTime value, const DateTimeFormat& fmt) {
    std::string out;
    appendLongTime(out, decodeDateTime(value).time, fmt);
    return out;
}

void appendDateTimeText(std::string& out, DateTime value, const DateTimeFormat& fmt) {
    if (!fitsFixedText(fmt)) {
        appendDateTime(out, value, fmt);
        return;
    }
    FixedText text;
    appendDateTime(text, value, fmt);
    out.append(text.data, text.size);
}

DateTimeTextWriter::DateTimeTextWriter(const DateTimeFormat& fmt)
    : fmt_(fmt), fast_(fitsFixedText(fmt)),
      days_(kCachedDays, CachedDay{std::numeric_limits<std::int64_t>::min(), 0, {}}) {}

void DateTimeTextWriter::append(std::string& out, DateTime value) {
    if (!fast_) {
        appendDateTimeText(out, value, fmt_);
        return;
    }
    const DayAndTime split = splitDateTime(value);
    FixedText line;
    CachedDay& cached = days_[static_cast<std::uint64_t>(split.day) % kCachedDays];
    if (cached.day == split.day) {
        line.append(cached.text, cached.size);
    } else {
        appendShortDate(line, dateOfDay(split.day), fmt_);
        if (line.size <= sizeof cached.text) {
            std::memcpy(cached.text, line.data, line.size);
            cached.size = static_cast<std::uint8_t>(line.size);
            cached.day = split.day;
        }
    }
    if (split.msOfDay != 0) {
        line.push_back(' ');
        appendLongTime(line, timeOfDay(split.msOfDay), fmt_);
    }
    out.append(line.data, line.size);
}

std::string DateTimeToStr(DateTime value, const DateTimeFormat& fmt) {
    std::string out;
    appendDateTimeText(out, value, fmt);
    return out;
}

std::optional<DateTime> tryStrToDateTime(std::string_view text, const DateTimeFormat& fmt) {
    std::string_view t = trimBlanks(text);
    const auto date = readDate(t, fmt);
    if (!date)
        return std::nullopt;
    t = trimBlanks(t);
    if (t.empty())
        return date;
    const auto time = readTime(t, fmt);
    if (!time)
        return std::nullopt;
    return combineDateTime(*date, *time);
}

DateTime StrToDateTime(std::string_view text, const DateTimeFormat& fmt) {
    if (auto v = tryStrToDateTime(text, fmt))
        return *v;
    throw ConvertError(fillIn(textIn("Convert", "'%1' は有効な日付と時刻ではありません。"), {text}));
}

std::string formatGridDateTime(DateTime value, const DateTimeFormat& fmt) {
    const DateTimeFields f = decodeDateTime(value);
    const std::string& ds = fmt.dateSeparator;
    const std::string& ts = fmt.timeSeparator;
    return number(f.date.year, 4) + ds + number(f.date.month, 2) + ds + number(f.date.day, 2) + " " +
           number(f.time.hour, 2) + ts + number(f.time.minute, 2) + ts + number(f.time.second, 2);
}

} // namespace vendle
