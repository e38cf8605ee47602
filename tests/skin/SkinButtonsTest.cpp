#include "res/resource.h"
#include "skin/SkinButtonRules.h"
#include "skin/SkinButtons.h"
#include "skin/SkinGlyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {
constexpr COLORREF kParent = RGB(30, 40, 200), kFace = RGB(240, 120, 10), kText = RGB(0, 90, 0),
                   kHighlight = RGB(250, 250, 90), kWindowText = RGB(200, 0, 160), kGray = RGB(0, 180, 180);

// A copy of a window's client area or of a bitmap resource, read pixel by pixel.
struct Image {
    explicit Image(HBITMAP owned) : dc(CreateCompatibleDC(nullptr)) {
        bitmap.Attach(owned);
        BITMAP info{};
        GetObjectA(owned, sizeof info, &info);
        width = info.bmWidth, height = info.bmHeight;
        SelectObject(dc, owned);
    }
    ~Image() { DeleteDC(dc); }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // How many pixels have the colour, and the box around them.
    int Count(COLORREF color, RECT* bounds = nullptr) const {
        int count = 0;
        RECT box{width, height, -1, -1};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) == color)
                    ++count, box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                    std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
        if (bounds) *bounds = box;
        return count;
    }
    HDC dc;
    CBitmap bitmap;
    int width = 0, height = 0;
};
std::unique_ptr<Image> ReadResource(UINT id) {
    return std::make_unique<Image>(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
}

// Stands in for the skin manager: a skinned parent (its background is the WINDOW slot) and buttons.
class SkinButtonsTest : public testing::Test, public ISkinCtrlOwner {
protected:
    void SetUp() override {
        m_parent = CreateWindowA("Static", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_TRUE(m_parent);
        const std::pair<COLORREF, int> colors[] = {
            {kParent, skin::kSlotWindow},         {kFace, skin::kSlotBtnFace},
            {kText, skin::kSlotBtnText},          {kHighlight, skin::kSlotBtnHighlight},
            {kWindowText, skin::kSlotWindowText}, {kGray, skin::kSlotGrayText}};
        for (auto& [color, slot] : colors)
            m_globals.SetColor(color, slot);
        skin::g_pOwner = this;
        auto parent = std::make_unique<CSkinCtrl>(0);
        ASSERT_TRUE(parent->Initialize(m_parent));
        parent->m_pGlobals = &m_globals;
        m_skins[m_parent] = std::move(parent);
    }
    void TearDown() override {
        DestroyWindow(m_parent);
        m_skins.clear();
        skin::g_pOwner = nullptr;
        skin::ForceGlyphShapes(false);
    }

    HWND Button(DWORD style, const char* text, int width, int height) {
        HWND button = CreateWindowA("Button", text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                                    m_parent, nullptr, nullptr, nullptr);
        std::unique_ptr<CSkinCtrl> skin(CreateSkinButton(style));
        EXPECT_TRUE(skin && skin->Initialize(button));
        skin->m_pGlobals = &m_globals;
        m_skins[button] = std::move(skin);
        return button;
    }
    // The client area as it is on screen after any pending paint.
    static std::unique_ptr<Image> Screen(HWND hWnd) {
        UpdateWindow(hWnd);
        RECT client;
        GetClientRect(hWnd, &client);
        HDC window = GetDC(hWnd);
        auto image = std::make_unique<Image>(CreateCompatibleBitmap(window, client.right, client.bottom));
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

    CSkinCtrl* GetSkinCtrl(HWND hWnd) override {
        auto it = m_skins.find(hWnd);
        return it == m_skins.end() ? nullptr : it->second.get();
    }
    int DetachWindow(HWND) override { return 0; }
    POINT GetLastCursorPos() override { return {-1000, -1000}; }
    void SetLastCursorPos(POINT) override {}

    HWND m_parent = nullptr;
    CSkinGlobals m_globals;
    std::map<HWND, std::unique_ptr<CSkinCtrl>> m_skins;
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
