// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numericpicture.h"
#include "core/partgeometry.h"
#include "core/sudfunctions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>

using namespace vendle;

TEST(ValueFunctions, LinearAndExponentialSteps) {
    TSUDLinear lin;
    EXPECT_EQ(lin.ValueOf(lin.StepOf(10) + 1), 11);
    lin.Rate = 0.5L;
    EXPECT_EQ(lin.StepOf(10), 20);
    EXPECT_EQ(lin.ValueOf(21), 10.5L);
    lin.Rate = 0;
    EXPECT_EQ(lin.ValueOf(5), 0);
    EXPECT_EQ(lin.StepOf(5), 0);

    TSUDExponential ex;
    EXPECT_NEAR(ex.StepOf(8), 3, 1e-15);
    EXPECT_NEAR(ex.ValueOf(4), 16, 1e-14);
    EXPECT_NEAR(ex.ValueOf(-1), 0.5, 1e-15);
    EXPECT_NEAR(ex.ValueOf(ex.StepOf(8) + 1), 16, 1e-13);
    EXPECT_NEAR(ex.ValueOf(ex.StepOf(8) - 1), 4, 1e-13);
    EXPECT_EQ(ex.StepOf(0), 0);
    EXPECT_EQ(ex.StepOf(-5), 0);
    ex.Rate = 1;
    EXPECT_EQ(ex.StepOf(8), 0);
    EXPECT_EQ(ex.ValueOf(7), 1);
    ex.Rate = 0;
    EXPECT_EQ(ex.ValueOf(3), 0);

    TSUDFunction base;
    EXPECT_EQ(base.ValueOf(3), 0);
    EXPECT_EQ(base.StepOf(3), 0);
}

TEST(ValueFunctions, RateForAndItsGuards) {
    TSUDLinear lin;
    TSUDExponential ex;
    EXPECT_EQ(lin.RateFor(10, 1, 100), 10);
    EXPECT_NEAR(ex.RateFor(10, 1, 100), 1.1L, 1e-15L);
    EXPECT_EQ(lin.RateFor(-100, 1, 100), -100);
    EXPECT_EQ(ex.RateFor(-100, 1, 100), 0);
    EXPECT_EQ(lin.RateFor(10, 0, 100), 0);
    EXPECT_EQ(ex.RateFor(10, 0, 100), 0);
    EXPECT_EQ(ex.RateFor(10, 1, 0), 0);
}

TEST(ValueFunctions, KindSwitchKeepsTheRate) {
    TSUDFunctions f;
    EXPECT_EQ(f.FunctionKind(), fkLinear);
    EXPECT_EQ(f.GetRate(), 1);
    f.SetRate(5);
    f.SetKind(fkExponential);
    EXPECT_EQ(f.GetRate(), 5);
    EXPECT_NEAR(f.ValueOf(1), 5, 1e-15);
    f.SetKind(7); // unknown kinds answer 0
    EXPECT_EQ(f.ValueOf(1), 0);
    EXPECT_EQ(f.GetRate(), 5);
    TSUDFunctions copy;
    copy.Assign(f);
    EXPECT_EQ(copy.FunctionKind(), 7);
    EXPECT_EQ(copy.GetRate(), 5);
}

TEST(Confine, BoundsClampAndWrap) {
    TfConfine c;
    c.SetMax(100);
    c.SetMin(150);
    EXPECT_EQ(c.Min(), 150);
    EXPECT_EQ(c.Max(), 150);
    c.SetMin(0);
    c.SetMax(-1);
    EXPECT_EQ(c.Min(), -1);
    EXPECT_EQ(c.Max(), -1);

    c.SetMax(100000);
    c.SetMin(1);
    EXPECT_EQ(c.Confine(0), 1);
    EXPECT_EQ(c.Confine(100001), 100000);
    EXPECT_EQ(c.Confine(500), 500);

    c.SetMin(0);
    c.SetMax(100);
    c.Wrap = true;
    EXPECT_EQ(c.Confine(101), 1);
    EXPECT_EQ(c.Confine(-1), 99);
    EXPECT_EQ(c.Confine(250), 50);
    EXPECT_EQ(c.Confine(0), 0);
    EXPECT_EQ(c.Confine(100), 100);
    EXPECT_EQ(c.Confine(-100), 0);
    EXPECT_EQ(c.Confine(200), 100);
    EXPECT_EQ(c.Confine(1e30L), c.Confine(1e30L)); // huge values end without looping for ages
    EXPECT_GE(c.Confine(1e30L), 0);
    EXPECT_LE(c.Confine(1e30L), 100);

    TfConfine point; // no span: values inside stay, values outside become Min
    point.SetMax(5);
    point.SetMin(5);
    point.Wrap = true;
    EXPECT_EQ(point.Confine(5), 5);
    EXPECT_EQ(point.Confine(9), 5);
    EXPECT_EQ(point.Confine(-9), 5);
}

TEST(NumericPicture, Pictures) {
    EXPECT_EQ(FormatPicture("#,##0", 10000), "10,000");
    EXPECT_EQ(FormatPicture("#,##0", 1234.5L), "1,235");
    EXPECT_EQ(FormatPicture("#,##0", 100000), "100,000");
    EXPECT_EQ(FormatPicture("#,##0", 0), "0");
    EXPECT_EQ(FormatPicture("#,##0", -1234567), "-1,234,567");
    EXPECT_EQ(FormatPicture("#,##0", 2.5L), "3"); // half away from zero
    EXPECT_EQ(FormatPicture("#,##0", -2.5L), "-3");
    EXPECT_EQ(FormatPicture("#,##0", -0.2L), "0");
    EXPECT_EQ(FormatPicture("#,##0.00", 1), "1.00");
    EXPECT_EQ(FormatPicture("#,##0.00", 100), "100.00");
    EXPECT_EQ(FormatPicture("0.00", 0.125L), "0.13"); // an exact half goes away from zero
    EXPECT_EQ(FormatPicture("0.00", -0.125L), "-0.13");
    EXPECT_EQ(FormatPicture("0.0#", 1.5L), "1.5");
    EXPECT_EQ(FormatPicture("000", 7), "007");
    EXPECT_EQ(FormatPicture("#,##0.00", 1234.5L, {".", ","}), "1.234,50");
}

TEST(NumericPicture, TextToValueExamples) {
    const auto read = [](std::string_view t) { return TextToValue(t); };
    EXPECT_EQ(read("10,000").value, 10000);
    EXPECT_EQ(read("-0.5").value, -0.5L);
    EXPECT_EQ(read("-.5").value, -0.5L);
    EXPECT_NEAR(read("1e-5").value, 0.00001L, 1e-20L);
    EXPECT_EQ(read("1e").value, 1);
    EXPECT_EQ(read("1.").value, 1);
    EXPECT_EQ(read("0-5").value, -5);
    EXPECT_EQ(read("abc").value, 0);
    EXPECT_FALSE(read("abc").ok);
    EXPECT_TRUE(read("0").ok);
    EXPECT_EQ(read("  ¥1,500 円").value, 1500);
    EXPECT_EQ(read("000123").value, 123);
    EXPECT_EQ(read("1e0005").value, 100000);
    // Beyond the extended range: the largest finite value of the sign, never a crash.
    EXPECT_EQ(read("9e99999").value, LDBL_MAX);
    EXPECT_EQ(read("-9e99999").value, -LDBL_MAX);
    EXPECT_TRUE(read("9e99999").ok);
    // A German text: "." groups, "," is the decimal separator.
    EXPECT_EQ(TextToValue("1.234,5", NumberSeparators{".", ","}).value, 1234.5L);
}

TEST(PartGeometry, TruncatedThirdsAndTenths) {
    EXPECT_EQ(truncThird(3), 0);
    EXPECT_EQ(truncThird(6), 1);
    EXPECT_EQ(truncThird(8), 2);
    EXPECT_EQ(truncTwoThirds(3), 1);
    EXPECT_EQ(truncTwoThirds(4), 2);
    EXPECT_EQ(truncTenth(10), 0);
    EXPECT_EQ(truncTenth(25), 2);
    EXPECT_EQ(truncTenth(20), 1);
}

TEST(PartGeometry, TheSettingsDialogsArrowPair) {
    // Width 12, heights 8 and 9, full body: both arrows are sized by w 12, h 8.
    const ArrowShape up = arrowShape(btUp, bdFull, 12, 8, 12, 8, false);
    EXPECT_EQ(up.size, 2);
    EXPECT_EQ(up.left, (PartPoint{4, 4}));
    EXPECT_EQ(up.right, (PartPoint{6, 4}));
    EXPECT_EQ(up.apex, (PartPoint{5, 3}));
    const ArrowShape down = arrowShape(btDown, bdFull, 12, 9, 12, 8, false);
    EXPECT_EQ(down.left, (PartPoint{4, 3}));
    EXPECT_EQ(down.right, (PartPoint{6, 3}));
    EXPECT_EQ(down.apex, (PartPoint{5, 4}));
    const ArrowShape pressed = arrowShape(btUp, bdFull, 12, 8, 12, 8, true);
    EXPECT_EQ(pressed.left, (PartPoint{5, 5}));
    EXPECT_EQ(pressed.apex, (PartPoint{6, 4}));
    EXPECT_EQ(arrowShape(btUp, bdFull, 4, 4, 4, 4, false).size, 0);
}

TEST(PartGeometry, FrameRule) {
    const FramePixels solid = framePixels(4, 3, 0, true);
    // Top-left: left column from T to B-1 and the top row from L to R-1.
    std::vector<PartPoint> tl = solid.topLeft;
    std::sort(tl.begin(), tl.end(), [](auto a, auto b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    EXPECT_EQ(tl, (std::vector<PartPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}}));
    // Bottom-right: the right column and the bottom row completely.
    EXPECT_EQ(solid.bottomRight.size(), 6u);
    EXPECT_NE(std::find(solid.bottomRight.begin(), solid.bottomRight.end(), PartPoint{0, 2}),
              solid.bottomRight.end());
    EXPECT_NE(std::find(solid.bottomRight.begin(), solid.bottomRight.end(), PartPoint{3, 0}),
              solid.bottomRight.end());

    const FramePixels dotted = framePixels(5, 5, 0, false);
    for (const auto& p : dotted.topLeft)
        EXPECT_EQ((p.x + p.y) % 2, 0);
    for (const auto& p : dotted.bottomRight)
        EXPECT_EQ((p.x + p.y) % 2, 0);
    EXPECT_FALSE(dotted.topLeft.empty());

    EXPECT_TRUE(framePixels(2, 10, 1, true).topLeft.empty()); // narrower than 2 * inset + 1
    EXPECT_TRUE(framePixels(2, 10, 1, true).bottomRight.empty());
    EXPECT_FALSE(framePixels(3, 3, 1, true).bottomRight.empty());
}

TEST(PartGeometry, RepeatTimesFromTheDesktopsSetting) {
    // Delay settings 0..3 are 250..1000 ms; speed settings 0..31 are 549 down to 33 ms.
    EXPECT_EQ(repeatTimesFor(500, 33).delay, 500u);
    EXPECT_EQ(repeatTimesFor(500, 33).speed, 33u);
    EXPECT_EQ(repeatTimesFor(660, 25).delay, 750u);
    EXPECT_EQ(repeatTimesFor(660, 25).speed, 33u);
    EXPECT_EQ(repeatTimesFor(100, 1000).delay, 250u);
    EXPECT_EQ(repeatTimesFor(100, 1000).speed, 549u);
    EXPECT_EQ(repeatTimesFor(5000, 100).delay, 1000u);
    EXPECT_EQ(repeatTimesFor(5000, 100).speed, 104u); // setting 11 (104 ms) is as near as 12 (96 ms)
}
