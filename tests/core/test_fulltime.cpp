// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/errors.h"
#include "core/fulltime.h"

#include <gtest/gtest.h>

using namespace vendle;

namespace {
constexpr double kMs = 1.0 / 86'400'000;

std::string errorOf(std::string_view text) {
    try {
        FullTimeStringToDateTime(text);
    } catch (const ConvertError& e) {
        return e.what();
    }
    return "(no error)";
}
} // namespace

TEST(FullTimeString, Writes) {
    EXPECT_EQ(DateTimeToFullTimeString(0), "0:00:00.000");
    EXPECT_EQ(DateTimeToFullTimeString(1.5 + 250 * kMs), "36:00:00.250");
    EXPECT_EQ(DateTimeToFullTimeString(encodeTime(5, 7, 9, 0)), "5:07:09.000");
    // The hour count is a 16-bit number: 2731 days are 65,544 hours, which wraps to 8.
    EXPECT_EQ(DateTimeToFullTimeString(2731.0), "8:00:00.000");
    EXPECT_EQ(DateTimeToFullTimeString(-1.0), "0:00:00.000");
}

TEST(FullTimeString, Reads) {
    EXPECT_DOUBLE_EQ(FullTimeStringToDateTime("00:00:00"), 0.0);
    EXPECT_DOUBLE_EQ(FullTimeStringToDateTime("36:00:00.250"), 1.5 + 250 * kMs);
    EXPECT_DOUBLE_EQ(FullTimeStringToDateTime("5:07:09"), encodeTime(5, 7, 9, 0));
    EXPECT_DOUBLE_EQ(FullTimeStringToDateTime("49:30:00.5"), 2.0 + encodeTime(1, 30, 0, 5));
}

TEST(FullTimeString, RoundTripsToTheMillisecond) {
    for (double d : {0.0, 1.5, 0.999, 12.0 / 24 + 30.0 / 1440, 2729.9999, 123.456789}) {
        const std::string text = DateTimeToFullTimeString(d);
        EXPECT_NEAR(FullTimeStringToDateTime(text), d, kMs / 2 + 1e-12) << text;
    }
}

TEST(FullTimeString, ReportsMalformedText) {
    const std::string bad = "FullTimeString が不正です。";
    EXPECT_EQ(errorOf("5:07"), bad);
    EXPECT_EQ(errorOf("1:02:03.4.5"), bad);
    EXPECT_EQ(errorOf(""), bad);
    EXPECT_EQ(errorOf("12"), bad);
    EXPECT_EQ(errorOf("a:00:00"), "'a' は有効な整数値ではありません。");
    EXPECT_EQ(errorOf("1:00:0x"), "'0x' は有効な整数値ではありません。");
    EXPECT_NE(errorOf("1:60:00"), "(no error)");
    EXPECT_NE(errorOf("1:00:60"), "(no error)");
    EXPECT_NE(errorOf("1:00:00.1000"), "(no error)");
}

TEST(StrToInt, AcceptsDecimalAndHexOnly) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7"), -7);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("0xFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "0x", "12a", "1 ", "2147483648", "0x100000000", "1.5"})
        EXPECT_THROW(StrToInt(bad), ConvertError) << bad;
}
