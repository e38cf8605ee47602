#include "res/resource.h"
#include "skin/SkinGlobals.h"

#include <gtest/gtest.h>

TEST(SkinGlobals, NewSlotColourDeletesTheOldBrushAndPen) {
    CSkinGlobals globals;
    globals.SetColor(RGB(1, 2, 3), 16);
    HBRUSH brush = globals.GetBrush(globals.GetColor(16));
    HPEN pen = globals.GetPen(globals.GetColor(16));
    EXPECT_EQ(globals.GetBrush(RGB(1, 2, 3)), brush);
    EXPECT_EQ(globals.GetPen(RGB(1, 2, 3)), pen);
    globals.SetColor(RGB(1, 2, 3), 16);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    globals.SetColor(RGB(9, 9, 9), 16);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(globals.GetColor(255), GetSysColor(COLOR_BTNFACE) ? GetSysColor(COLOR_BTNFACE) : 1u);
}

TEST(SkinGlobals, BitmapSetsReplaceFallBackAndSurviveAFailedLoad) {
    CSkinGlobals globals;
    const UINT arrows[4] = {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED};
    const UINT caps[4] = {IDB_LEFT_NORMAL, 0, 0, IDB_LEFT_DISABLED};
    const UINT missing[4] = {9999, IDB_ARROW_NORMAL, 0, 0};
    ASSERT_EQ(globals.SetBitmap(arrows, 10), 1);
    ASSERT_EQ(globals.SetBitmap(arrows, 25), 1);
    ASSERT_EQ(globals.SetBitmap(caps, 25), 1);
    COLORREF transparent = 0;
    HBITMAP hot = globals.GetBitmap(25, 0, -1, &transparent);
    ASSERT_NE(hot, nullptr);
    EXPECT_EQ(transparent, RGB(255, 0, 0));
    EXPECT_EQ(globals.GetBitmap(25, 1), hot);  // normal left empty: image 0 stands in
    EXPECT_NE(globals.GetBitmap(25, 3), hot);
    BITMAP info{};
    GetObjectA(hot, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 10);  // the second registration, the 10-pixel cap, replaced the arrows
    EXPECT_EQ(globals.SetBitmap(missing, 25), 0);
    EXPECT_EQ(globals.GetBitmap(25, 0), hot);
    EXPECT_EQ(globals.GetBitmap(17, 1), nullptr);
    EXPECT_NE(globals.GetBitmap(17, 1, 10), nullptr);
    globals.ClearBitmaps();
    EXPECT_EQ(globals.GetBitmap(10, 1), nullptr);
    EXPECT_EQ(GetObjectType(hot), 0u);
}
