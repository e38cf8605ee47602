// The banner's arithmetic and the segment rule, natively.
#include "widgets/BannerScroll.h"
#include "widgets/TextSegment.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace {

// A 200-pixel banner.
constexpr int kLeft = 0;
constexpr int kRight = 200;

CBannerScroll ScrollWith(int speed, int textWidth, int position = 0) {
    CBannerScroll scroll;
    EXPECT_TRUE(scroll.SetSpeed(speed));
    scroll.AddTextWidth(textWidth);
    scroll.SetPosition(position);
    return scroll;
}

TEST(BannerPeriod, StartsAtOneHundredMillisecondsWithoutASpeed) {
    CBannerScroll scroll;
    EXPECT_EQ(scroll.GetSpeed(), 0);
    EXPECT_EQ(scroll.GetPeriod(), 100);
    EXPECT_EQ(scroll.GetDirection(), 0);
}

TEST(BannerPeriod, SizeChangeBeforeAnySpeedKeepsAPositivePeriod) {
    CBannerScroll scroll;
    scroll.RecomputePeriod();
    EXPECT_EQ(scroll.GetPeriod(), 100);
    EXPECT_TRUE(scroll.SetSpeed(0));
    scroll.RecomputePeriod();
    EXPECT_EQ(scroll.GetPeriod(), 100);
}

struct PeriodCase {
    int nSpeed;
    int nPeriod;
};

void PrintTo(const PeriodCase& period, std::ostream* out) {
    *out << "speed " << period.nSpeed;
}

class BannerPeriodForSpeed : public testing::TestWithParam<PeriodCase> {};

TEST_P(BannerPeriodForSpeed, IsTenThousandDividedByTheMagnitude) {
    CBannerScroll scroll;
    ASSERT_TRUE(scroll.SetSpeed(GetParam().nSpeed));
    EXPECT_EQ(scroll.GetSpeed(), GetParam().nSpeed);
    EXPECT_EQ(scroll.GetPeriod(), GetParam().nPeriod);
    scroll.RecomputePeriod();
    EXPECT_EQ(scroll.GetPeriod(), GetParam().nPeriod);
}

INSTANTIATE_TEST_SUITE_P(Speeds, BannerPeriodForSpeed,
                         testing::Values(PeriodCase{1, 10000}, PeriodCase{-1, 10000}, PeriodCase{200, 50},
                                         PeriodCase{-200, 50}, PeriodCase{300, 33}, PeriodCase{-300, 33},
                                         PeriodCase{999, 10}, PeriodCase{1000, 10}, PeriodCase{-1000, 10},
                                         PeriodCase{3, 3333}));

class BannerSpeedOutOfRange : public testing::TestWithParam<int> {};

TEST_P(BannerSpeedOutOfRange, ChangesNothing) {
    CBannerScroll scroll;
    ASSERT_TRUE(scroll.SetSpeed(300));
    EXPECT_FALSE(scroll.SetSpeed(GetParam()));
    EXPECT_EQ(scroll.GetSpeed(), 300);
    EXPECT_EQ(scroll.GetPeriod(), 33);

    CBannerScroll fresh;
    EXPECT_FALSE(fresh.SetSpeed(GetParam()));
    EXPECT_EQ(fresh.GetSpeed(), 0);
    EXPECT_EQ(fresh.GetPeriod(), 100);
}

INSTANTIATE_TEST_SUITE_P(Speeds, BannerSpeedOutOfRange, testing::Values(1001, -1001, 5000, INT_MAX, INT_MIN));

TEST(BannerSpeed, ZeroKeepsTheStoredSpeedAndPeriod) {
    CBannerScroll scroll;
    ASSERT_TRUE(scroll.SetSpeed(-250));
    EXPECT_TRUE(scroll.SetSpeed(0));
    EXPECT_EQ(scroll.GetSpeed(), -250);
    EXPECT_EQ(scroll.GetPeriod(), 40);
    EXPECT_EQ(scroll.GetDirection(), 1);
}

TEST(BannerSpeed, SignGivesTheDirection) {
    CBannerScroll scroll;
    scroll.SetSpeed(200);
    EXPECT_EQ(scroll.GetDirection(), -1);
    scroll.SetSpeed(-1);
    EXPECT_EQ(scroll.GetDirection(), 1);
}

TEST(BannerTick, WideTextLeavesTheLeftEdgeOnTick301AndReentersAtTheRight) {
    CBannerScroll scroll = ScrollWith(200, 300);
    for (int tick = 1; tick <= 300; ++tick) {
        CBannerScroll::Step step = scroll.Tick(kLeft, kRight);
        ASSERT_EQ(scroll.GetPosition(), -tick) << "tick " << tick;
        ASSERT_EQ(step.nScrollBy, -1);
        ASSERT_FALSE(step.bInvalidateAll);
    }
    // Position -300: the right end is exactly at the left edge, still not past it.
    CBannerScroll::Step step = scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), kRight);
    EXPECT_EQ(step.nScrollBy, -1);
    EXPECT_FALSE(step.bInvalidateAll);
    scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), kRight - 1);
}

TEST(BannerTick, WrapHonoursAClientRectangleNotAtZero) {
    CBannerScroll scroll = ScrollWith(100, 10, 16);
    scroll.Tick(5, 50); // 15 + 10 = 25: still in
    EXPECT_EQ(scroll.GetPosition(), 15);
    scroll.SetPosition(-4);
    scroll.Tick(5, 50); // -5 + 10 = 5: the right end at the left edge, still in
    EXPECT_EQ(scroll.GetPosition(), -5);
    scroll.Tick(5, 50); // -6 + 10 = 4 < 5: wraps
    EXPECT_EQ(scroll.GetPosition(), 50);
}

TEST(BannerTick, NegativeSpeedMovesRightAndRestartsFullyOutsideTheLeftEdge) {
    CBannerScroll scroll = ScrollWith(-200, 300, kRight - 1);
    CBannerScroll::Step step = scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), kRight); // at the edge: not yet past it
    EXPECT_EQ(step.nScrollBy, 1);
    EXPECT_FALSE(step.bInvalidateAll);

    step = scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), kLeft - 300); // the whole text just left of the control
    EXPECT_EQ(step.nScrollBy, 1);
    EXPECT_TRUE(step.bInvalidateAll);

    step = scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), kLeft - 299);
    EXPECT_FALSE(step.bInvalidateAll);
}

TEST(BannerTick, EmptyTextWrapsAtOnce) {
    CBannerScroll scroll = ScrollWith(200, 0);
    scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), kRight);
}

TEST(BannerTick, DoesNotMoveBeforeASpeedIsSet) {
    CBannerScroll scroll;
    scroll.SetPosition(7);
    CBannerScroll::Step step = scroll.Tick(kLeft, kRight);
    EXPECT_EQ(scroll.GetPosition(), 7);
    EXPECT_EQ(step.nScrollBy, 0);
    EXPECT_FALSE(step.bInvalidateAll);
}

TEST(BannerTick, ExtremePositionsAndWidthsDoNotOverflow) {
    CBannerScroll left = ScrollWith(1000, 0, INT_MIN);
    left.AddTextWidth(INT_MAX);
    left.AddTextWidth(INT_MAX);
    EXPECT_EQ(left.GetTextWidth(), CBannerScroll::kMaxTextWidth);
    left.Tick(kLeft, kRight); // INT_MIN - 1 + width < 0: wraps
    EXPECT_EQ(left.GetPosition(), kRight);

    CBannerScroll right = ScrollWith(-1000, 0, INT_MAX);
    right.AddTextWidth(INT_MAX);
    CBannerScroll::Step step = right.Tick(INT_MIN, kRight);
    EXPECT_TRUE(step.bInvalidateAll);
    EXPECT_EQ(right.GetPosition(), INT_MIN); // clamped, not wrapped round
}

TEST(BannerTextWidth, SumsSegmentsAndIgnoresNegativeWidths) {
    CBannerScroll scroll;
    scroll.AddTextWidth(120);
    scroll.AddTextWidth(-40);
    scroll.AddTextWidth(30);
    EXPECT_EQ(scroll.GetTextWidth(), 150);
    scroll.ResetTextWidth();
    EXPECT_EQ(scroll.GetTextWidth(), 0);
}

TEST(TextSegmentRule, NoColourBecomesTheButtonFaceGiven) {
    TextSegment segment = MakeTextSegment("Abba - Waterloo", 0x1000000, kSegmentNoColour, 0x00C8D0D4);
    EXPECT_EQ(segment.m_strText, "Abba - Waterloo");
    EXPECT_EQ(segment.m_nStyle, 0x1000000u);
    EXPECT_EQ(segment.m_crBackground, 0x00C8D0D4u);

    // The value -1 as callers write it is the same marker.
    EXPECT_EQ(MakeTextSegment("x", 0, static_cast<uint32_t>(-1), 0x00112233).m_crBackground, 0x00112233u);
}

TEST(TextSegmentRule, OwnColoursStayIncludingBlackAndWhite) {
    EXPECT_EQ(MakeTextSegment("x", 0, 0x00FFFFFF, 0x00C8D0D4).m_crBackground, 0x00FFFFFFu);
    EXPECT_EQ(MakeTextSegment("x", 0, 0x00000000, 0x00C8D0D4).m_crBackground, 0x00000000u);
}

TEST(TextSegmentRule, StyleBitsSplitIntoColourAndFlags) {
    TextSegment plain = MakeTextSegment("x", 0x00123456, 0, 0);
    EXPECT_EQ(plain.TextColour(), 0x00123456u);
    EXPECT_FALSE(plain.IsBold());
    EXPECT_FALSE(plain.IsItalic());
    EXPECT_FALSE(plain.IsUnderline());

    TextSegment all = MakeTextSegment("x", 0xFF0000FF, 0, 0);
    EXPECT_EQ(all.TextColour(), 0x000000FFu);
    EXPECT_TRUE(all.IsBold());
    EXPECT_TRUE(all.IsItalic());
    EXPECT_TRUE(all.IsUnderline());

    EXPECT_TRUE(MakeTextSegment("x", kSegmentItalic, 0, 0).IsItalic());
    EXPECT_FALSE(MakeTextSegment("x", kSegmentItalic, 0, 0).IsBold());
    EXPECT_TRUE(MakeTextSegment("x", kSegmentUnderline, 0, 0).IsUnderline());
}

} // namespace
