// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/inifile.h"
#include "core/mainsettings.h"

#include <gtest/gtest.h>

using namespace vendle;

TEST(MemIniFile, ReadingRules) {
    MemIniFile ini;
    ini.parse("orphan=dropped\r\n"
              "[Main]\r\n"
              "; a comment\r\n"
              "\r\n"
              "Name= spaced value \r\n"
              "Empty=\r\n"
              "eq=a=b\n"
              "noequals\r"
              "[Other]\n"
              "x=1");
    EXPECT_FALSE(ini.ValueExists("Main", "orphan"));
    EXPECT_EQ(ini.ReadString("main", "NAME", "def"), " spaced value ");
    EXPECT_TRUE(ini.ValueExists("MAIN", "empty"));
    EXPECT_EQ(ini.ReadString("Main", "Empty", "def"), "");
    EXPECT_EQ(ini.ReadString("Main", "eq", ""), "a=b");
    EXPECT_EQ(ini.ReadString("Main", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");
    EXPECT_TRUE(ini.SectionExists("other"));
    EXPECT_FALSE(ini.SectionExists("Third"));
    // A line without "=" is kept as it was but is no key.
    EXPECT_FALSE(ini.ValueExists("Main", "noequals"));
    EXPECT_EQ(ini.serialize(), "[Main]\r\nName= spaced value \r\nEmpty=\r\neq=a=b\r\nnoequals\r\n\r\n"
                               "[Other]\r\nx=1\r\n\r\n");
}

TEST(MemIniFile, WritingRules) {
    MemIniFile ini;
    ini.parse("[A]\r\nFirst=1\r\nSecond=2\r\n\r\n[B]\r\nk=v\r\n");
    ini.WriteString("a", "SECOND", "two"); // replaced in place, the stored key spelling stays
    ini.WriteString("A", "Third", "3");    // appended at the end of its section
    ini.WriteString("C", "new", "x");      // a new section after the others
    EXPECT_EQ(ini.serialize(), "[A]\r\nFirst=1\r\nSecond=two\r\nThird=3\r\n\r\n"
                               "[B]\r\nk=v\r\n\r\n"
                               "[C]\r\nnew=x\r\n\r\n");
    MemIniFile empty;
    EXPECT_EQ(empty.serialize(), "");
}

TEST(MemIniFile, TypedValues) {
    MemIniFile ini;
    ini.parse("[S]\nhex=0x1F\nHEX=0X10\nbad=12abc\nneg=-3\nyes=7\nno=0\nwhen=2026/12/08 "
              "9:05:07\nmidnight=2026/12/08\n"
              "garbage=soon\n");
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "bad", 99), 99);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -3);
    EXPECT_EQ(ini.ReadInteger("S", "none", 5), 5);
    EXPECT_TRUE(ini.ReadBool("S", "yes", false));
    EXPECT_FALSE(ini.ReadBool("S", "no", true));
    EXPECT_TRUE(ini.ReadBool("S", "bad", true)); // unreadable: the default

    const auto ja = DateTimeFormat::japanese();
    EXPECT_DOUBLE_EQ(ini.ReadDateTime("S", "when", 0, ja), encodeDate(2026, 12, 8) + encodeTime(9, 5, 7, 0));
    EXPECT_DOUBLE_EQ(ini.ReadDateTime("S", "midnight", 0, ja), encodeDate(2026, 12, 8));
    EXPECT_DOUBLE_EQ(ini.ReadDateTime("S", "garbage", 1.5, ja), 1.5);

    ini.WriteInteger("S", "n", -42);
    ini.WriteBool("S", "b", true);
    ini.WriteDateTime("S", "d", encodeDate(2026, 1, 2));
    EXPECT_EQ(ini.ReadString("S", "n", ""), "-42");
    EXPECT_EQ(ini.ReadString("S", "b", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "d", ""), "2026/01/02");
}

TEST(MemIniFile, RoundTripThroughText) {
    MemIniFile a;
    a.WriteString("%%% Application Infomation Section %%%", "ExecCount", "3");
    a.WriteString("VendleMainForm", "Grid", "40,200,300,100,130");
    a.WriteString("VendleMainForm", "DataMax", "10000");
    MemIniFile b;
    b.parse(a.serialize());
    EXPECT_EQ(b.serialize(), a.serialize());
    EXPECT_EQ(b.ReadString("vendlemainform", "grid", ""), "40,200,300,100,130");
}

TEST(CommaText, Items) {
    EXPECT_EQ(splitCommaText("64,64,64"), (std::vector<std::string>{"64", "64", "64"}));
    EXPECT_EQ(splitCommaText("1, 2 3"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(splitCommaText("\"a, b\",c"), (std::vector<std::string>{"a, b", "c"}));
    EXPECT_EQ(splitCommaText("\"say \"\"hi\"\"\""), (std::vector<std::string>{"say \"hi\""}));
    EXPECT_EQ(splitCommaText("a,,b,"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_TRUE(splitCommaText("").empty());
    EXPECT_TRUE(splitCommaText("   ").empty());
}

TEST(MainSettings, DefaultsBoundsAndCounters) {
    MemIniFile ini;
    EXPECT_EQ(readDataMax(ini), 10000);
    EXPECT_FALSE(readConfirmReadOnly(ini));
    EXPECT_EQ(readItemsHint(ini), 100);
    for (const auto& [text, expected] : std::vector<std::pair<std::string, int>>{
             {"0", 1}, {"-5", 1}, {"100001", 100000}, {"2000000000", 100000}, {"250", 250}, {"x", 10000}}) {
        ini.WriteString("VendleMainForm", "DataMax", text);
        EXPECT_EQ(readDataMax(ini), expected) << text;
    }
    writeDataMax(ini, 500);
    EXPECT_EQ(ini.ReadString("VendleMainForm", "DataMax", ""), "500");
    EXPECT_EQ(incrementCounter(ini, Setting::ExecuteCount), 1);
    EXPECT_EQ(incrementCounter(ini, Setting::ExecuteCount), 2);
    EXPECT_EQ(ini.ReadString("VendleMainForm", "ExecuteCount", ""), "2");
    writeItems(ini, 0);
    EXPECT_EQ(readItemsHint(ini), 0);
}
