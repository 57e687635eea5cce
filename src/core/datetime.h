// SPDX-License-Identifier: GPL-3.0-or-later
// Date-time values: a double counting days since 1899-12-30 in local time, the fraction being the
// time of day. Conversions to and from calendar fields, Unix times and the current time.
#pragma once

#include <cstdint>
#include <optional>

namespace vendle {

using DateTime = double;

// Day number of 1970-01-01.
inline constexpr DateTime kUnixEpochDay = 25569.0;
inline constexpr std::int64_t kMsPerDay = 86'400'000;

struct DateFields {
    int year = 1899;
    int month = 12;
    int day = 30;
};

struct TimeFields {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

struct DateTimeFields {
    DateFields date;
    TimeFields time;
};

bool isValidDate(int year, int month, int day);
bool isValidTime(int hour, int minute, int second, int millisecond);

// Encodings; nullopt when a field is out of range (years 1..9999).
std::optional<DateTime> tryEncodeDate(int year, int month, int day);
std::optional<DateTime> tryEncodeTime(int hour, int minute, int second, int millisecond);

// A date plus a time of day. Before the epoch the time of day counts away from zero, so that the
// whole part stays the day: 1899-12-29 06:00 is -1.25.
inline DateTime combineDateTime(DateTime date, DateTime timeOfDay) {
    return date < 0 ? date - timeOfDay : date + timeOfDay;
}

// Throwing variants: ConvertError with a message naming the bad value.
DateTime encodeDate(int year, int month, int day);
DateTime encodeTime(int hour, int minute, int second, int millisecond);

// A date-time as its day number (days since 1899-12-30) and its time of day in milliseconds,
// rounded as decodeDateTime rounds.
struct DayAndTime {
    std::int64_t day = 0;
    std::uint32_t msOfDay = 0;
};
DayAndTime splitDateTime(DateTime value);
DateFields dateOfDay(std::int64_t day);
TimeFields timeOfDay(std::uint32_t msOfDay);

// Splits a date-time into fields, rounding to the nearest millisecond (a value that rounds up to
// midnight belongs to the next day). Values before the epoch keep their time of day positive.
DateTimeFields decodeDateTime(DateTime value);

// Local date-time of a Unix time (seconds since 1970 UTC, plus milliseconds).
DateTime fromUnixTime(std::int64_t seconds, int milliseconds = 0);

// Unix time (seconds) of a local date-time; the inverse of fromUnixTime for whole seconds.
std::int64_t toUnixTime(DateTime value);

// The current local date-time to the millisecond.
DateTime now();

} // namespace vendle
