// SPDX-License-Identifier: GPL-3.0-or-later
// Date-time texts in the user's locale: the short date, then (unless the time is exactly midnight)
// a blank and the long time; the reader takes back what the writer produces. Also the grid's fixed
// "yyyy/mm/dd hh:mm:ss" form. The locale's patterns arrive as a plain struct from the Qt layer.
#pragma once

#include "datetime.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendle {

struct DateTimeFormat {
    enum class DateOrder { YMD, MDY, DMY };

    DateOrder order = DateOrder::YMD;
    std::string dateSeparator = "/";
    bool monthTwoDigits = true;
    bool dayTwoDigits = true;

    std::string timeSeparator = ":";
    bool hour12 = false;        // hours 1-12 with a morning/afternoon marker
    bool hourTwoDigits = false; // "HH"/"hh" rather than "H"/"h"
    std::string amText;         // marker texts; empty where the locale has none
    std::string pmText;
    bool markerFirst = false; // marker before the time ("AM 1:05:09") rather than after it

    // Japanese: yyyy/MM/dd and H:mm:ss. US English: M/d/yyyy and h:mm:ss AM.
    static DateTimeFormat japanese();
    static DateTimeFormat usEnglish();
};

// The short date, always with a four-digit year.
std::string formatShortDate(DateTime value, const DateTimeFormat& fmt);

// The long time: hour in the locale's form, minutes and seconds, and the marker where used.
std::string formatLongTime(DateTime value, const DateTimeFormat& fmt);

// Short date, and unless the time of day is exactly midnight, a blank and the long time.
std::string DateTimeToStr(DateTime value, const DateTimeFormat& fmt);

// The same text appended to `out` without building intermediate strings (the data file writer).
void appendDateTimeText(std::string& out, DateTime value, const DateTimeFormat& fmt);

// Formats many date-times in one format as appendDateTimeText does, keeping the date text of the
// days it has seen: a data file has a few thousand distinct days among its entries at most.
class DateTimeTextWriter {
public:
    explicit DateTimeTextWriter(const DateTimeFormat& fmt);
    void append(std::string& out, DateTime value);

private:
    struct CachedDay {
        std::int64_t day;
        std::uint8_t size;
        char text[55];
    };
    static constexpr std::size_t kCachedDays = 512;

    const DateTimeFormat& fmt_;
    bool fast_;
    std::vector<CachedDay> days_;
};

// Reads a date in the short format's order and separator, optionally followed by a time with the
// time separator (seconds optional) and a marker. nullopt for unreadable text.
std::optional<DateTime> tryStrToDateTime(std::string_view text, const DateTimeFormat& fmt);

// As above; throws ConvertError naming the text.
DateTime StrToDateTime(std::string_view text, const DateTimeFormat& fmt);

// The form the program's files keep times in, whatever the user's locale: "yyyy/mm/dd h:nn:ss"
// (the date alone at midnight), as Japanese locales write it, so that files written before stay
// as they are and a start under another locale reads them.
const DateTimeFormat& fileDateTimeFormat();

// The files' own form as they are written, "yyyy/mm/dd h:nn:ss" or the date alone, read without
// the general reader's steps (a data file holds 100,000 of them); nullopt for anything else, which
// readFileDateTime then takes.
std::optional<DateTime> readWrittenTime(std::string_view text);

// A time from a file: the files' own form first, then the form of the locale (older files written
// under another locale).
std::optional<DateTime> readFileDateTime(std::string_view text, const DateTimeFormat& locale);

// "yyyy/mm/dd hh:mm:ss" with the locale's date and time separators (24-hour clock).
std::string formatGridDateTime(DateTime value, const DateTimeFormat& fmt);

} // namespace vendle
