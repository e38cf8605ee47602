#include "res/resource.h"
#include "skin/SkinButtonRules.h"
#include "skin/SkinButtons.h"
#include "skin/SkinGlyphs.h"

#include "SkinTestOwner.h"

namespace {
constexpr COLORREF kParent = RGB(30, 40, 200), kFace = RGB(240, 120, 10), kText = RGB(0, 90, 0),
                   kHighlight = RGB(250, 250, 90), kWindowText = RGB(200, 0, 160), kGray = RGB(0, 180, 180);

// A skinned parent (its background is the WINDOW slot) and buttons.
class SkinButtonsTest : public SkinTestOwner {
protected:
    void SetUp() override {
        SkinTestOwner::SetUp();
        ASSERT_TRUE(CreateParent("Static", 50, 50, 300, 200));
        SetColors({{kParent, skin::kSlotWindow},
                   {kFace, skin::kSlotBtnFace},
                   {kText, skin::kSlotBtnText},
                   {kHighlight, skin::kSlotBtnHighlight},
                   {kWindowText, skin::kSlotWindowText},
                   {kGray, skin::kSlotGrayText}});
        ASSERT_TRUE(Attach(m_parent, 0));
    }

    HWND Button(DWORD style, const char* text, int width, int height) {
        HWND button = Child("Button", style, 10, 10, width, height, 0, text);
        EXPECT_TRUE(Adopt(button, std::unique_ptr<CSkinCtrl>(CreateSkinButton(style))));
        return button;
    }
    // The client area as it is on screen after any pending paint.
    static std::unique_ptr<Image> Screen(HWND hWnd) {
        UpdateWindow(hWnd);
        RECT client;
        GetClientRect(hWnd, &client);
        auto image = std::make_unique<Image>(client.right, client.bottom);
        HDC window = GetDC(hWnd);
        BitBlt(image->dc, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
        ReleaseDC(hWnd, window);
        return image;
    }
    static std::unique_ptr<Image> Repainted(HWND hWnd) {
        InvalidateRect(hWnd, nullptr, TRUE);
        return Screen(hWnd);
    }
    void RegisterPushSets(bool withKeyZero) {
        const UINT sets[][5] = {
            {0, IDB_LEFT_HOT, IDB_LEFT_NORMAL, IDB_LEFT_NORMAL, IDB_LEFT_DISABLED},
            {2, IDB_MIDDLE_HOT, IDB_MIDDLE_NORMAL, IDB_MIDDLE_NORMAL, IDB_MIDDLE_DISABLED},
            {1, IDB_RIGHT_HOT, IDB_RIGHT_NORMAL, IDB_RIGHT_NORMAL, IDB_RIGHT_DISABLED},
            {3, IDB_JOINL_HOT, IDB_JOINL_NORMAL, IDB_JOINL_NORMAL, IDB_JOINL_DISABLED},
            {4, IDB_JOINR_HOT, IDB_JOINR_NORMAL, IDB_JOINR_NORMAL, IDB_JOINR_DISABLED}};
        for (const auto& set : sets) {
            if (withKeyZero || set[0] != 0) {
                ASSERT_EQ(m_globals.SetBitmap(set + 1, static_cast<int>(set[0])), 1);
            }
        }
    }
};

} // namespace

TEST_F(SkinButtonsTest, TypeBitsPickTheCapsOfTheBitmapFace) {
    RegisterPushSets(true);
    HWND button = Button(BS_PUSHBUTTON, "", 60, 21);
    CSkinCtrl* skin = m_skins[button].get();
    for (DWORD type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        skin->m_dwType = type;
        auto face = Repainted(button);
        auto left = ReadResource(type & 1 ? IDB_JOINL_NORMAL : IDB_LEFT_NORMAL);
        auto right = ReadResource(type & 2 ? IDB_JOINR_NORMAL : IDB_RIGHT_NORMAL);
        auto shown = [](COLORREF image) { return image == RGB(255, 0, 0) ? kParent : image; }; // red: clear
        int mismatches = 0;
        for (int y = 0; y < face->height; ++y) {
            for (int x = 0; x < left->width; ++x)
                mismatches += face->At(x, y) != shown(left->At(x, y));
            for (int x = 0; x < right->width; ++x)
                mismatches += face->At(face->width - right->width + x, y) != shown(right->At(x, y));
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(face->Count(kFace), 0);
    }
}

TEST_F(SkinButtonsTest, WithoutKeyZeroTheBuiltInFaceIsDrawnAndJoinedSidesAreSquare) {
    RegisterPushSets(false);
    HWND button = Button(BS_PUSHBUTTON, "", 75, 25);
    auto rounded = Repainted(button);
    EXPECT_EQ(rounded->At(37, 12), kFace);
    EXPECT_EQ(rounded->At(1, 1), kParent); // outside the rounded corner
    m_skins[button]->m_dwType = skin::kTypeJoinedLeft | skin::kTypeJoinedRight;
    auto square = Repainted(button);
    EXPECT_EQ(square->At(1, 1), kFace);
    EXPECT_EQ(square->At(0, 0), kHighlight); // the raised edge runs straight into the corner
}

TEST_F(SkinButtonsTest, PressingMovesTheTextByOnePixelAndLightensTheFace) {
    HWND button = Button(BS_PUSHBUTTON, "Wg", 75, 25);
    auto normal = Repainted(button);
    RECT before, after;
    ASSERT_GT(normal->Count(kText, &before), 0);
    SendMessageA(button, BM_SETSTATE, TRUE, 0); // repaints at once
    auto pressed = Screen(button);
    pressed->Count(kText, &after);
    EXPECT_EQ(after.left - before.left, 1);
    EXPECT_EQ(after.top - before.top, 1);
    EXPECT_EQ(after.right - before.right, 1);
    EXPECT_EQ(pressed->At(8, 12), skin::LightenFace(kFace));
    EXPECT_EQ(normal->At(8, 12), kFace);
}

TEST_F(SkinButtonsTest, ThirdStateMarkIsGreyAndShapesStandInForMarlett) {
    HWND box = Button(BS_AUTO3STATE, "", 120, 20);
    SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    auto third = Screen(box);
    EXPECT_GT(third->Count(kGray), 4);
    EXPECT_EQ(third->Count(kWindowText), 0);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    auto checked = Screen(box);
    EXPECT_GT(checked->Count(kWindowText), 4);
    EXPECT_EQ(checked->Count(kGray), 0);
    skin::ForceGlyphShapes(true);
    auto shape = Repainted(box);
    RECT mark;
    EXPECT_GT(shape->Count(kWindowText, &mark), 4);
    EXPECT_GE(mark.left, 1); // inside the 13 x 13 box at the left
    EXPECT_LE(mark.right, 14);
}
