#include "res/resource.h"
#include "skin/SkinControls.h"
#include "skin/SkinGlyphs.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {
constexpr COLORREF kShadow = RGB(0, 160, 0), kLight = RGB(250, 250, 90), kWindow = RGB(30, 40, 200),
                   kFace = RGB(240, 120, 10), kSelection = RGB(200, 0, 200), kText = RGB(0, 250, 250);
const UINT kArrowIds[4] = {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED};

// A pixel of one of the program's bitmaps, as the skin would copy it.
COLORREF BitmapPixel(UINT id, int x, int y) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixel;
}

// Stands in for the skin manager: skin objects found by handle, a cursor far away.
class SkinControlsTest : public testing::Test, public ISkinCtrlOwner {
protected:
    void SetUp() override {
        m_parent = CreateWindowA("#32770", "controls", WS_POPUP | WS_VISIBLE, 40, 40, 420, 320, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_parent);
        SetForegroundWindow(m_parent);
        m_globals.SetColor(kShadow, skin::kSlotBtnShadow);
        m_globals.SetColor(kLight, skin::kSlotBtnHighlight);
        m_globals.SetColor(kWindow, skin::kSlotWindow);
        m_globals.SetColor(kFace, skin::kSlotBtnFace);
        m_globals.SetColor(kSelection, COLOR_HIGHLIGHT);
        m_globals.SetColor(kText, skin::kSlotWindowText);
        skin::g_pOwner = this;
        skin::g_bVisualStylesActive = false; // as the program has it once it restricted the visual styles
        ASSERT_TRUE(Attach<CSkinCtrlReflector>(m_parent, 0x10));
    }
    void TearDown() override {
        DestroyWindow(m_parent);
        skin::g_pOwner = nullptr;
    }

    HWND Child(const char* className, DWORD style, int x, int y, int width, int height, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               m_parent, nullptr, nullptr, nullptr);
    }
    template <class Skin> Skin* Attach(HWND hWnd, DWORD features) {
        auto skin = std::make_unique<Skin>(features);
        if (!skin->Initialize(hWnd)) return nullptr;
        skin->m_pGlobals = &m_globals;
        Skin* result = skin.get();
        m_skins[hWnd] = std::move(skin);
        return result;
    }
    CSkinCtrl* GetSkinCtrl(HWND hWnd) override {
        auto it = m_skins.find(hWnd);
        return it == m_skins.end() ? nullptr : it->second.get();
    }
    int DetachWindow(HWND hWnd) override { return static_cast<int>(m_skins.erase(hWnd)); }
    POINT GetLastCursorPos() override { return {-1000, -1000}; }
    void SetLastCursorPos(POINT) override {}

    // Repaints the window, frame included, and reads a pixel in window coordinates.
    static void Repaint(HWND hWnd) {
        RedrawWindow(hWnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    static COLORREF At(HWND hWnd, int x, int y) {
        HDC dc = GetWindowDC(hWnd);
        COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(hWnd, dc);
        return pixel;
    }
    static POINT Origin(HWND hWnd) {
        RECT window;
        GetWindowRect(hWnd, &window);
        POINT origin{0, 0};
        ClientToScreen(hWnd, &origin);
        return {origin.x - window.left, origin.y - window.top};
    }

    HWND m_parent = nullptr;
    CSkinGlobals m_globals;
    std::map<HWND, std::unique_ptr<CSkinCtrl>> m_skins;
};
} // namespace

TEST_F(SkinControlsTest, DropDownListPaintsItsFieldAndButtonAndHighlightsOnlyWhileClosedWithFocus) {
    HWND combo = Child("ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 10, 10, 200, 200);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("First song"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    ASSERT_TRUE(Attach<CSkinCombobox>(combo, 0x21D));
    RECT client;
    GetClientRect(combo, &client);
    const POINT origin = Origin(combo);
    const int size = GetSystemMetrics(SM_CXHSCROLL), middle = origin.y + client.bottom / 2;
    const int buttonLeft = origin.x + client.right - size, buttonTop = origin.y + (client.bottom - size) / 2;
    const int field = origin.x + client.right / 2; // past the text, short of the button

    Repaint(combo);
    EXPECT_EQ(At(combo, field, middle), kWindow);
    EXPECT_EQ(At(combo, buttonLeft + 4, buttonTop + 4), kFace); // the built-in round button

    SetFocus(combo);
    Repaint(combo);
    EXPECT_EQ(At(combo, field, middle), kSelection);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Repaint(combo);
    EXPECT_EQ(At(combo, field, middle), kWindow); // the open list shows the selection instead
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Repaint(combo);
    EXPECT_EQ(At(combo, field, middle), kSelection);

    // The program's drop-button set replaces the built-in button.
    ASSERT_EQ(m_globals.SetBitmap(kArrowIds, 15), 1);
    Repaint(combo);
    EXPECT_EQ(At(combo, buttonLeft + size / 2, buttonTop + size / 2), BitmapPixel(IDB_ARROW_NORMAL, 10, 10));
}

TEST_F(SkinControlsTest, EditWithoutClientEdgeKeepsItsSizeAndGetsNoFrameButTheSkinColours) {
    HWND plain = Child("Edit", 0, 10, 10, 150, 24);
    HWND framed = Child("Edit", 0, 10, 50, 150, 24, WS_EX_CLIENTEDGE);
    RECT before, after;
    GetClientRect(plain, &before);
    CSkinEdit* plainSkin = Attach<CSkinEdit>(plain, 0x59);
    ASSERT_TRUE(plainSkin && Attach<CSkinEdit>(framed, 0x59));
    GetClientRect(plain, &after);
    EXPECT_EQ(plainSkin->m_dwFeatures, 0x58u);
    EXPECT_TRUE(EqualRect(&before, &after));
    Repaint(plain);
    Repaint(framed);
    EXPECT_EQ(At(plain, 75, 0), kWindow);
    EXPECT_EQ(At(plain, 75, 23), kWindow);
    EXPECT_EQ(At(framed, 75, 0), kShadow); // the framed one gets the sunken skin edge
}

TEST_F(SkinControlsTest, ControlsLeftToThePlatformRefuseAndASizeGripIsPaintedAway) {
    HWND noScrollList = Child("ListBox", 0x1000 | WS_VSCROLL, 10, 10, 100, 100);
    const LONG_PTR procedure = GetWindowLongPtrA(noScrollList, GWLP_WNDPROC);
    EXPECT_FALSE(Attach<CSkinListbox>(noScrollList, 0x49));
    EXPECT_EQ(GetWindowLongPtrA(noScrollList, GWLP_WNDPROC), procedure);
    EXPECT_FALSE(Attach<CSkinScrollbar>(Child("ScrollBar", SBS_VERT, 120, 10, 16, 100), 0));
    HWND tip =
        CreateWindowExA(0, TOOLTIPS_CLASSA, "", WS_POPUP, 0, 0, 10, 10, m_parent, nullptr, nullptr, nullptr);
    EXPECT_FALSE(Attach<CSkinTooltip>(tip, 0));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), GetSysColor(COLOR_INFOBK));

    HWND grip = Child("ScrollBar", SBS_SIZEGRIP, 200, 200, 20, 20);
    ASSERT_TRUE(Attach<CSkinScrollbar>(grip, 0));
    Repaint(grip);
    int other = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            other += At(grip, x, y) != kFace;
    EXPECT_EQ(other, 0);
}

TEST_F(SkinControlsTest, TrackbarThumbAndChannelComeFromTheSkinThroughTheParentsCustomDraw) {
    HWND trackbar = Child(TRACKBAR_CLASSA, TBS_HORZ, 10, 10, 200, 32);
    ASSERT_TRUE(Attach<CSkinTrackbar>(trackbar, 0x64));
    ASSERT_EQ(m_globals.SetBitmap(kArrowIds, 24), 1);
    Repaint(trackbar);
    RECT thumb{}, channel{};
    SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageA(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const POINT origin = Origin(trackbar);
    EXPECT_EQ(
        At(trackbar, origin.x + (thumb.left + thumb.right) / 2, origin.y + (thumb.top + thumb.bottom) / 2),
        BitmapPixel(IDB_ARROW_NORMAL, 10, 10));
    EXPECT_EQ(At(trackbar, origin.x + channel.right - 4, origin.y + channel.top), kShadow);
    EXPECT_EQ(At(trackbar, origin.x + channel.right - 4, origin.y + channel.bottom - 1), kLight);
}

class SkinHeaderTest : public SkinControlsTest, public testing::WithParamInterface<DWORD> {};

TEST_P(SkinHeaderTest, ReportListHeaderItemsComeFromTheHeaderBitmapSets) {
    HWND list = Child(WC_LISTVIEWA, LVS_REPORT | GetParam(), 10, 10, 300, 200, WS_EX_CLIENTEDGE);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 120;
    column.pszText = const_cast<char*>("Artist");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<char*>("Song");
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(Attach<CSkinListview>(list, 0x29));
    ASSERT_TRUE(Attach<CSkinHeader>(header, 0x1E));
    const UINT left[4] = {IDB_LEFT_HOT, IDB_LEFT_NORMAL, IDB_LEFT_NORMAL, IDB_LEFT_DISABLED};
    const UINT middle[4] = {IDB_MIDDLE_HOT, IDB_MIDDLE_NORMAL, IDB_MIDDLE_NORMAL, IDB_MIDDLE_DISABLED};
    const UINT right[4] = {IDB_RIGHT_HOT, IDB_RIGHT_NORMAL, IDB_RIGHT_NORMAL, IDB_RIGHT_DISABLED};
    ASSERT_EQ(m_globals.SetBitmap(left, 5), 1);
    ASSERT_EQ(m_globals.SetBitmap(right, 6), 1);
    ASSERT_EQ(m_globals.SetBitmap(middle, 7), 1);
    Repaint(list);
    RECT first{}, second{};
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const POINT origin = Origin(header);
    const int y = origin.y + (first.top + first.bottom) / 2;
    EXPECT_EQ(At(header, origin.x + first.left, y),
              BitmapPixel(IDB_LEFT_NORMAL, 0, 10)); // key 8 falls back to 5
    EXPECT_EQ(At(header, origin.x + first.left + 60, y), BitmapPixel(IDB_MIDDLE_NORMAL, 1, 10));
    EXPECT_EQ(At(header, origin.x + first.right - 1, y), kShadow); // the line between items
    EXPECT_EQ(At(header, origin.x + second.left, y), BitmapPixel(IDB_MIDDLE_NORMAL, 1, 10)); // joined
}
INSTANTIATE_TEST_SUITE_P(PlainAndOwnerData, SkinHeaderTest, testing::Values(0, LVS_OWNERDATA));

TEST_F(SkinControlsTest, ScrollArrowsShowKey10ImagesWithTheGlyphOnTopUntilKey14Exists) {
    CSkinCtrl* skin = Attach<CSkinCtrl>(Child("Static", 0, 10, 10, 30, 30), 0);
    ASSERT_TRUE(skin);
    skin::ForceGlyphShapes(true); // solid shapes: Marlett's smoothed edges match neither colour
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 21, 21);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto count = [&](int upKey) {
        int image = 0, glyph = 0;
        const RECT rect{0, 0, 21, 21};
        skin->DrawScrollArrow(dc, rect, skin::kArrowUp, skin::kStateNormal, kWindow);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x) {
                COLORREF pixel = GetPixel(dc, x, y), source = BitmapPixel(upKey, x, y);
                glyph += pixel == kText;
                image += pixel == (source == RGB(255, 0, 0) ? kWindow : source);
            }
        return std::make_pair(image, glyph);
    };
    ASSERT_EQ(m_globals.SetBitmap(kArrowIds, skin::kArrowKeyCommon), 1);
    auto [image, glyph] = count(IDB_ARROW_NORMAL);
    EXPECT_GT(glyph, 4);
    EXPECT_EQ(image + glyph, 21 * 21);
    const UINT ownUp[4] = {IDB_SQ_UP_HOT, IDB_SQ_UP_NORMAL, IDB_SQ_UP_NORMAL, IDB_SQ_UP_DISABLED};
    ASSERT_EQ(m_globals.SetBitmap(ownUp, skin::kArrowKeyUp), 1);
    auto [ownImage, noGlyph] = count(IDB_SQ_UP_NORMAL);
    EXPECT_EQ(noGlyph, 0);
    EXPECT_EQ(ownImage, 21 * 21);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    skin::ForceGlyphShapes(false);
}
