// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/localeformat.h"

#include <QTest>

using vendle::DateTimeFormat;
using vendle::widgets::dateTimeFormatFromLocale;

class LocaleFormatTest : public QObject {
    Q_OBJECT

private slots:
    void japanese() {
        const DateTimeFormat f = dateTimeFormatFromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        QVERIFY(f.order == DateTimeFormat::DateOrder::YMD);
        QCOMPARE(f.dateSeparator, std::string("/"));
        QVERIFY(!f.hour12);
        QCOMPARE(f.timeSeparator, std::string(":"));
        // Not Qt's "H時mm分ss秒" long form: hours, then ":mm:ss".
        QCOMPARE(vendle::DateTimeToStr(vendle::encodeDate(2026, 12, 8) + vendle::encodeTime(9, 5, 7, 0), f),
                 std::string("2026/12/08 9:05:07"));
    }

    void usEnglishGetsFourDigitYears() {
        const DateTimeFormat f = dateTimeFormatFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(f.order == DateTimeFormat::DateOrder::MDY);
        QVERIFY(f.hour12);
        QVERIFY(!f.markerFirst);
        const double v = vendle::encodeDate(2026, 12, 8) + vendle::encodeTime(13, 5, 9, 0);
        const std::string text = vendle::DateTimeToStr(v, f);
        QCOMPARE(text, std::string("12/8/2026 1:05:09 PM"));
        QCOMPARE(vendle::StrToDateTime(text, f), v);
    }

    void germanAndBritishOrders() {
        const DateTimeFormat de = dateTimeFormatFromLocale(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(de.order == DateTimeFormat::DateOrder::DMY);
        QCOMPARE(de.dateSeparator, std::string("."));
        QVERIFY(!de.hour12);
        const DateTimeFormat gb = dateTimeFormatFromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        QVERIFY(gb.order == DateTimeFormat::DateOrder::DMY);
        QCOMPARE(gb.dateSeparator, std::string("/"));
        const double v = vendle::encodeDate(2026, 3, 4) + vendle::encodeTime(15, 6, 7, 0);
        QCOMPARE(vendle::StrToDateTime(vendle::DateTimeToStr(v, de), de), v);
        QCOMPARE(vendle::StrToDateTime(vendle::DateTimeToStr(v, gb), gb), v);
    }

    void koreanMarkerComesFirst() {
        const QLocale ko(QLocale::Korean, QLocale::SouthKorea);
        const DateTimeFormat f = dateTimeFormatFromLocale(ko);
        if (!f.hour12)
            QSKIP("this Qt's Korean long time pattern has no marker");
        QVERIFY(f.markerFirst);
        const double v = vendle::encodeDate(2026, 3, 4) + vendle::encodeTime(15, 6, 7, 0);
        QCOMPARE(vendle::StrToDateTime(vendle::DateTimeToStr(v, f), f), v);
    }
};

QTEST_GUILESS_MAIN(LocaleFormatTest)
#include "test_localeformat.moc"
