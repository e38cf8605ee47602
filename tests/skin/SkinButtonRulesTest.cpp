#include "skin/SkinButtonRules.h"

#include <gtest/gtest.h>

using namespace skin;

TEST(SkinButtonRules, TextFlagsFollowTheStyleAndPushButtonsCentreByDefault) {
    EXPECT_EQ(ButtonTextFlags(0x0), kDtCenter | kDtVCenter | kDtSingleLine); // push
    EXPECT_EQ(ButtonTextFlags(0x3), kDtLeft | kDtVCenter | kDtSingleLine);   // check box
    EXPECT_EQ(ButtonTextFlags(0xB), kDtLeft | kDtVCenter | kDtSingleLine);   // owner drawn
    EXPECT_EQ(ButtonTextFlags(0x3 | kBsCenter), kDtCenter | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(ButtonTextFlags(0x1 | kBsRight | kBsTop), kDtRight | kDtTop | kDtSingleLine);
    EXPECT_EQ(ButtonTextFlags(0x1 | kBsLeft | kBsBottom), kDtLeft | kDtBottom | kDtSingleLine);
    EXPECT_EQ(ButtonTextFlags(0x0 | kBsVCenter | kBsMultiLine), kDtCenter | kDtVCenter);
}

TEST(SkinButtonRules, PlacementMovesSmallerTextsAndNeverLeavesTheArea) {
    const Rect area{10, 20, 110, 40};
    EXPECT_EQ(PlaceInArea(area, 30, 10, kDtLeft | kDtTop), (Rect{10, 20, 40, 30}));
    EXPECT_EQ(PlaceInArea(area, 30, 10, kDtCenter | kDtVCenter), (Rect{45, 25, 75, 35}));
    EXPECT_EQ(PlaceInArea(area, 30, 10, kDtRight | kDtBottom), (Rect{80, 30, 110, 40}));
    EXPECT_EQ(PlaceInArea(area, 300, 50, kDtCenter | kDtVCenter), area);
}

TEST(SkinButtonRules, GlyphBoxSitsAtTheTextlessSideWithTheTextThreePixelsAway) {
    const Rect client{0, 0, 100, 30};
    Rect check = GlyphBox(client, 0x3, false);
    EXPECT_EQ(check, (Rect{1, 8, 14, 21}));
    EXPECT_EQ(GlyphTextArea(client, check, 0x3), (Rect{17, 0, 100, 30}));
    Rect radio = GlyphBox(client, 0x9 | kBsLeftText | kBsTop, true);
    EXPECT_EQ(radio, (Rect{86, 2, 98, 14}));
    EXPECT_EQ(GlyphTextArea(client, radio, 0x9 | kBsLeftText), (Rect{0, 0, 83, 30}));
    EXPECT_EQ(GlyphBox(client, 0x3 | kBsBottom, false).bottom, 28);
    EXPECT_EQ(GlyphBox(client, 0x3 | kBsVCenter, false).top, 8); // both bits: centred
}

TEST(SkinButtonRules, JoinedSidesAreSquareAndTakeTheJoinedCaps) {
    EXPECT_EQ(PushFaceCorners(0), 15);
    EXPECT_EQ(PushFaceCorners(kTypeJoinedLeft), 2 | 8);
    EXPECT_EQ(PushFaceCorners(kTypeJoinedRight), 1 | 4);
    EXPECT_EQ(PushFaceCorners(3), 0);
    EXPECT_EQ(LeftCapKey(kTypeJoinedLeft), kKeyJoinedLeft);
    EXPECT_EQ(LeftCapKey(kTypeJoinedRight), kKeyLeft);
    EXPECT_EQ(RightCapKey(kTypeJoinedRight, true), kKeyJoinedRight);
    EXPECT_EQ(RightCapKey(kTypeJoinedRight, false), kKeyRight);
    EXPECT_EQ(RightCapKey(kTypeJoinedLeft, true), kKeyRight);
}

TEST(SkinButtonRules, FaceShapeColourAndState) {
    EXPECT_EQ(LightenFace(0x00F8800A), 0x00FF8D17u);
    EXPECT_EQ(PushFaceRadius(75, 21), 6);
    EXPECT_EQ(PushFaceRadius(6, 40), 0);
    EXPECT_EQ(GroupFrameRadius(200, 100), 9);
    EXPECT_EQ(GroupFrameRadius(10, 100), 5);
    EXPECT_EQ(PushState(true, true, true), kStateDisabled);
    EXPECT_EQ(PushState(false, true, true), kStatePressed);
    EXPECT_EQ(PushState(false, false, true), kStateHot);
    EXPECT_EQ(PushState(false, false, false), kStateNormal);
}
