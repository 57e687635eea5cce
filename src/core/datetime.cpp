// SPDX-License-Identifier: GPL-3.0-or-later
#include "datetime.h"
#include "core/texts.h"

#include "errors.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <string>

namespace vendle {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

DateFields civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

constexpr std::int64_t kEpochOffsetDays = 25569;

} // namespace

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

bool isValidTime(int hour, int minute, int second, int millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

std::optional<DateTime> tryEncodeDate(int year, int month, int day) {
    if (!isValidDate(year, month, day))
        return std::nullopt;
    return static_cast<DateTime>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kEpochOffsetDays);
}

std::optional<DateTime> tryEncodeTime(int hour, int minute, int second, int millisecond) {
    if (!isValidTime(hour, minute, second, millisecond))
        return std::nullopt;
    const std::int64_t ms =
        ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<DateTime>(ms) / static_cast<DateTime>(kMsPerDay);
}

DateTime encodeDate(int year, int month, int day) {
    if (auto v = tryEncodeDate(year, month, day))
        return *v;
    throw ConvertError(
        fillIn(textIn("Convert", "日付が不正です。(%1)"),
               {std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day)}));
}

DateTime encodeTime(int hour, int minute, int second, int millisecond) {
    if (auto v = tryEncodeTime(hour, minute, second, millisecond))
        return *v;
    throw ConvertError(fillIn(textIn("Convert", "時刻が不正です。(%1)"),
                              {std::to_string(hour) + ":" + std::to_string(minute) + ":" +
                               std::to_string(second) + "." + std::to_string(millisecond)}));
}

DayAndTime splitDateTime(DateTime value) {
    // The whole part is the day and the time of day is the absolute fraction, so 1899-12-29 12:00
    // is -1.5. Rounding to milliseconds may carry into the next day.
    double whole = std::trunc(value);
    std::int64_t ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += value < 0 ? -1 : 1;
    }
    return {static_cast<std::int64_t>(whole), static_cast<std::uint32_t>(ms)};
}

DateFields dateOfDay(std::int64_t day) {
    return civilFromDays(day - kEpochOffsetDays);
}

TimeFields timeOfDay(std::uint32_t msOfDay) {
    // Below a day's milliseconds, 32 bits suffice and divide faster.
    TimeFields t;
    t.millisecond = static_cast<int>(msOfDay % 1000);
    msOfDay /= 1000;
    t.second = static_cast<int>(msOfDay % 60);
    msOfDay /= 60;
    t.minute = static_cast<int>(msOfDay % 60);
    t.hour = static_cast<int>(msOfDay / 60);
    return t;
}

DateTimeFields decodeDateTime(DateTime value) {
    const DayAndTime split = splitDateTime(value);
    return {dateOfDay(split.day), timeOfDay(split.msOfDay)};
}

DateTime fromUnixTime(std::int64_t seconds, int milliseconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    const std::int64_t days = daysFromCivil(tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1),
                                            static_cast<unsigned>(tm.tm_mday)) +
                              kEpochOffsetDays;
    const std::int64_t ms =
        ((static_cast<std::int64_t>(tm.tm_hour) * 60 + tm.tm_min) * 60 + std::min(tm.tm_sec, 59)) * 1000 +
        milliseconds;
    return combineDateTime(static_cast<DateTime>(days),
                           static_cast<DateTime>(ms) / static_cast<DateTime>(kMsPerDay));
}

std::int64_t toUnixTime(DateTime value) {
    const DateTimeFields f = decodeDateTime(value);
    std::tm tm{};
    tm.tm_year = f.date.year - 1900;
    tm.tm_mon = f.date.month - 1;
    tm.tm_mday = f.date.day;
    tm.tm_hour = f.time.hour;
    tm.tm_min = f.time.minute;
    tm.tm_sec = f.time.second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

DateTime now() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    const std::int64_t secs = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    return fromUnixTime(secs, static_cast<int>(ms - secs * 1000));
}

} // namespace vendle
