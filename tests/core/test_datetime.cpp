// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/datetime.h"
#include "core/datetimeformat.h"
#include "core/errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace vendle;

namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return combineDateTime(encodeDate(y, mo, d), encodeTime(h, mi, s, ms));
}

// Runs the tests with a fixed time zone so that Unix-time conversions are predictable.
class FixedZone : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "Asia/Tokyo", 1);
        tzset();
    }
    void TearDown() override {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> saved_;
};

} // namespace

TEST(DateTime, CalendarRoundTrips) {
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1970, 1, 1), kUnixEpochDay);
    EXPECT_EQ(encodeDate(2000, 3, 1) - encodeDate(2000, 2, 28), 2.0); // leap year
    EXPECT_EQ(encodeDate(1900, 3, 1) - encodeDate(1900, 2, 28), 1.0); // not a leap year
    EXPECT_DOUBLE_EQ(encodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6), -1.25);
    for (int y : {1, 1899, 1900, 2000, 2024, 2026, 9999}) {
        for (int m : {1, 2, 12}) {
            const DateTimeFields f = decodeDateTime(at(y, m, 28, 23, 59, 59, 999));
            EXPECT_EQ(f.date.year, y);
            EXPECT_EQ(f.date.month, m);
            EXPECT_EQ(f.date.day, 28);
            EXPECT_EQ(f.time.hour, 23);
            EXPECT_EQ(f.time.minute, 59);
            EXPECT_EQ(f.time.second, 59);
            EXPECT_EQ(f.time.millisecond, 999);
        }
    }
}

TEST(DateTime, RejectsInvalidFieldsAndCarriesRounding) {
    EXPECT_FALSE(tryEncodeDate(2023, 2, 29));
    EXPECT_FALSE(tryEncodeDate(2026, 13, 1));
    EXPECT_FALSE(tryEncodeDate(0, 1, 1));
    EXPECT_FALSE(tryEncodeTime(24, 0, 0, 0));
    EXPECT_FALSE(tryEncodeTime(0, 60, 0, 0));
    EXPECT_FALSE(tryEncodeTime(0, 0, 0, 1000));
    EXPECT_THROW(encodeDate(2023, 2, 29), ConvertError);
    // Half a millisecond before midnight rounds into the next day, not to 24:00.
    const DateTimeFields f = decodeDateTime(encodeDate(2026, 12, 31) + 1.0 - 0.4 / kMsPerDay);
    EXPECT_EQ(f.date.year, 2027);
    EXPECT_EQ(f.date.month, 1);
    EXPECT_EQ(f.date.day, 1);
    EXPECT_EQ(f.time.hour, 0);
}

TEST_F(FixedZone, UnixTimesAreLocal) {
    // 2026-12-08 00:00:00 UTC is 09:00 in Tokyo.
    const std::int64_t t = 1796688000;
    EXPECT_DOUBLE_EQ(fromUnixTime(t), at(2026, 12, 8, 9));
    EXPECT_EQ(toUnixTime(at(2026, 12, 8, 9)), t);
    EXPECT_DOUBLE_EQ(fromUnixTime(t, 250), at(2026, 12, 8, 9, 0, 0, 250));
    const DateTime n = now();
    EXPECT_NEAR(n, fromUnixTime(std::time(nullptr)), 2.0 / 86400);
}

TEST(DateTimeFormat, JapaneseTexts) {
    const auto ja = DateTimeFormat::japanese();
    EXPECT_EQ(DateTimeToStr(at(2026, 12, 8, 9, 5, 7), ja), "2026/12/08 9:05:07");
    EXPECT_EQ(DateTimeToStr(at(2026, 1, 2, 23, 0, 0), ja), "2026/01/02 23:00:00");
    // Exactly midnight: the date alone.
    EXPECT_EQ(DateTimeToStr(at(2026, 1, 2), ja), "2026/01/02");
    // A millisecond past midnight is not midnight.
    EXPECT_EQ(DateTimeToStr(at(2026, 1, 2, 0, 0, 0, 1), ja), "2026/01/02 0:00:00");
}

TEST(DateTimeFormat, UsEnglishTextsKeepFourDigitYears) {
    const auto us = DateTimeFormat::usEnglish();
    EXPECT_EQ(DateTimeToStr(at(2026, 12, 8, 13, 5, 9), us), "12/8/2026 1:05:09 PM");
    EXPECT_EQ(DateTimeToStr(at(2026, 12, 8, 0, 30, 0), us), "12/8/2026 12:30:00 AM");
    EXPECT_EQ(DateTimeToStr(at(1999, 7, 4, 12, 0, 0), us), "7/4/1999 12:00:00 PM");
    EXPECT_EQ(DateTimeToStr(at(1999, 7, 4), us), "7/4/1999");
}

TEST(DateTimeFormat, MarkerBeforeTheTimeAndOtherSeparators) {
    DateTimeFormat f;
    f.order = DateTimeFormat::DateOrder::DMY;
    f.dateSeparator = ".";
    f.hour12 = true;
    f.hourTwoDigits = true;
    f.amText = "午前";
    f.pmText = "午後";
    f.markerFirst = true;
    const DateTime v = at(2026, 3, 4, 15, 6, 7);
    EXPECT_EQ(DateTimeToStr(v, f), "04.03.2026 午後 03:06:07");
    EXPECT_DOUBLE_EQ(StrToDateTime("04.03.2026 午後 03:06:07", f), v);
    EXPECT_DOUBLE_EQ(StrToDateTime("04.03.2026 午前 12:06:07", f), at(2026, 3, 4, 0, 6, 7));
}

TEST(DateTimeFormat, ReaderTakesBackWhatTheWriterWrites) {
    const DateTimeFormat formats[] = {DateTimeFormat::japanese(), DateTimeFormat::usEnglish()};
    const DateTime values[] = {at(2026, 12, 8, 9, 5, 7), at(2026, 12, 8), at(1999, 1, 31, 23, 59, 59),
                               at(2000, 2, 29, 12, 0, 0), at(2000, 2, 29, 0, 0, 1)};
    for (const auto& f : formats) {
        for (DateTime v : values) {
            const std::string text = DateTimeToStr(v, f);
            const auto back = tryStrToDateTime(text, f);
            ASSERT_TRUE(back.has_value()) << text;
            EXPECT_DOUBLE_EQ(*back, v) << text;
        }
    }
}

TEST(DateTimeFormat, ReaderAcceptsVariantsAndRejectsGarbage) {
    const auto ja = DateTimeFormat::japanese();
    EXPECT_DOUBLE_EQ(StrToDateTime("2026/1/2 3:04", ja), at(2026, 1, 2, 3, 4));
    EXPECT_DOUBLE_EQ(StrToDateTime("  2026/01/02   03:04:05 ", ja), at(2026, 1, 2, 3, 4, 5));
    EXPECT_DOUBLE_EQ(StrToDateTime("2026/01/02 1:00:00 pm", ja), at(2026, 1, 2, 13));
    const auto us = DateTimeFormat::usEnglish();
    EXPECT_DOUBLE_EQ(StrToDateTime("12/8/2026 1:05:09 pm", us), at(2026, 12, 8, 13, 5, 9));
    EXPECT_DOUBLE_EQ(StrToDateTime("12/8/2026 13:05:09", us), at(2026, 12, 8, 13, 5, 9));

    for (const char* bad :
         {"", "abc", "2026/13/01", "2026/02/30", "2026-01-02", "2026/01/02 25:00:00", "2026/01/02 10:61",
          "2026/01/02 10", "2026/01/02 x", "2026/01/02 13:00:00 PM", "2026/01/02 10:00:00 junk", "0"}) {
        EXPECT_FALSE(tryStrToDateTime(bad, ja).has_value()) << bad;
    }
    try {
        StrToDateTime("abc", ja);
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' は有効な日付と時刻ではありません。");
    }
}

TEST(DateTimeFormat, TwoDigitYearsAreReadNearTheCurrentYear) {
    const auto us = DateTimeFormat::usEnglish();
    const int year = decodeDateTime(now()).date.year;
    const DateTimeFields f = decodeDateTime(StrToDateTime("1/2/" + std::to_string(year % 100), us));
    EXPECT_EQ(f.date.year, year);
}

TEST(DateTimeFormat, GridText) {
    const auto ja = DateTimeFormat::japanese();
    EXPECT_EQ(formatGridDateTime(at(2026, 1, 2, 3, 4, 5), ja), "2026/01/02 03:04:05");
    EXPECT_EQ(formatGridDateTime(at(2026, 12, 31, 23, 59, 59), ja), "2026/12/31 23:59:59");
    DateTimeFormat de = ja;
    de.dateSeparator = ".";
    EXPECT_EQ(formatGridDateTime(at(2026, 1, 2, 3, 4, 5), de), "2026.01.02 03:04:05");
}

TEST(DateTimeFormat, TheDayCachingWriterWritesWhatTheSingleFormatterWrites) {
    // Days 512 apart share a cache slot; negative values, exact midnights, values that round up
    // into the next day and years outside 1000-9999 take the other ways through the formatter.
    DateTimeFormat wide = DateTimeFormat::japanese();
    wide.dateSeparator = std::string(60, '-'); // too long for the fixed line buffer
    DateTimeFormat marked = DateTimeFormat::usEnglish();
    marked.markerFirst = true;
    marked.amText = "午前";
    marked.pmText = "午後";
    const DateTimeFormat formats[] = {DateTimeFormat::japanese(), DateTimeFormat::usEnglish(), wide, marked};
    std::vector<DateTime> values = {at(2026, 12, 8, 9, 5, 7),
                                    at(2026, 12, 8),
                                    at(1999, 1, 31, 23, 59, 59),
                                    -1.25,
                                    -0.5,
                                    0.0,
                                    1.0 - 1e-10,
                                    46000.9999999999,
                                    12.5,
                                    -700000.75,
                                    3'000'000.3};
    for (int i = 0; i < 3000; ++i)
        values.push_back(45000.0 + (i * 7919 % 2000) + (i % 97) / 97.0);
    for (int i = 0; i < 200; ++i)
        values.push_back(i % 2 ? 45000.0 + 512.0 * (i % 5) + 0.3 : 45000.0 + 512.0 * (i % 7) + 0.7);
    for (const DateTimeFormat& f : formats) {
        DateTimeTextWriter writer(f);
        std::string cached, single;
        for (DateTime v : values) {
            writer.append(cached, v);
            appendDateTimeText(single, v, f);
            cached += '|';
            single += '|';
        }
        EXPECT_EQ(cached, single);
    }
}

TEST(DateTimeFormat, TheDataFilesShortcutReadsWhatTheGeneralReaderReads) {
    // Times in the data file's written form take a shortcut; it must agree with the general
    // reader on every text, well-formed or not.
    const DateTimeFormat& own = fileDateTimeFormat();
    std::vector<std::string> texts = {"2026/02/30 1:00:00",  "2026/13/01",          "2026/12/08 24:00:00",
                                      "2026/12/08 9:60:00",  "2026/12/08 09:05:07", "2026/12/08 9:5:07",
                                      "2026/12/08  9:05:07", "0026/12/08",          "2026/1/08 9:05:07"};
    unsigned seed = 7;
    for (int i = 0; i < 2000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const DateTime when = at(1990 + static_cast<int>(seed % 60), 1 + static_cast<int>(seed / 7 % 12),
                                 1 + static_cast<int>(seed / 97 % 28), static_cast<int>(seed / 13 % 24),
                                 static_cast<int>(seed / 31 % 60), static_cast<int>(seed / 61 % 60));
        texts.push_back(DateTimeToStr(when, own));
    }
    for (const std::string& text : texts)
        EXPECT_EQ(readFileDateTime(text, own), tryStrToDateTime(text, own)) << text;
}
