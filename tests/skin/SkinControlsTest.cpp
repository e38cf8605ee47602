#include "res/resource.h"
#include "skin/SkinControls.h"
#include "skin/SkinGlyphs.h"

#include "SkinTestOwner.h"

namespace {
constexpr COLORREF kShadow = RGB(0, 160, 0), kLight = RGB(250, 250, 90), kWindow = RGB(30, 40, 200),
                   kFace = RGB(240, 120, 10), kSelection = RGB(200, 0, 200), kText = RGB(0, 250, 250);
const UINT kArrowIds[4] = {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED};

// A dialog-class parent that reflects its children's notifications.
class SkinControlsTest : public SkinTestOwner {
protected:
    void SetUp() override {
        SkinTestOwner::SetUp();
        ASSERT_TRUE(CreateParent("#32770", 40, 40, 420, 320));
        SetForegroundWindow(m_parent);
        SetColors({{kShadow, skin::kSlotBtnShadow},
                   {kLight, skin::kSlotBtnHighlight},
                   {kWindow, skin::kSlotWindow},
                   {kFace, skin::kSlotBtnFace},
                   {kSelection, COLOR_HIGHLIGHT},
                   {kText, skin::kSlotWindowText}});
        ASSERT_TRUE(Attach<CSkinCtrlReflector>(m_parent, 0x10));
    }

    // The client area's top left corner in window coordinates.
    static POINT Origin(HWND hWnd) {
        RECT window;
        GetWindowRect(hWnd, &window);
        POINT origin{0, 0};
        ClientToScreen(hWnd, &origin);
        return {origin.x - window.left, origin.y - window.top};
    }
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
    EXPECT_EQ(WindowPixel(combo, field, middle), kWindow);
    EXPECT_EQ(WindowPixel(combo, buttonLeft + 4, buttonTop + 4), kFace); // the built-in round button

    SetFocus(combo);
    Repaint(combo);
    EXPECT_EQ(WindowPixel(combo, field, middle), kSelection);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Repaint(combo);
    EXPECT_EQ(WindowPixel(combo, field, middle), kWindow); // the open list shows the selection instead
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Repaint(combo);
    EXPECT_EQ(WindowPixel(combo, field, middle), kSelection);

    // The program's drop-button set replaces the built-in button.
    ASSERT_EQ(m_globals.SetBitmap(kArrowIds, 15), 1);
    Repaint(combo);
    EXPECT_EQ(WindowPixel(combo, buttonLeft + size / 2, buttonTop + size / 2),
              BitmapPixel(IDB_ARROW_NORMAL, 10, 10));
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
    EXPECT_EQ(WindowPixel(plain, 75, 0), kWindow);
    EXPECT_EQ(WindowPixel(plain, 75, 23), kWindow);
    EXPECT_EQ(WindowPixel(framed, 75, 0), kShadow); // the framed one gets the sunken skin edge
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
            other += WindowPixel(grip, x, y) != kFace;
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
    EXPECT_EQ(WindowPixel(trackbar, origin.x + (thumb.left + thumb.right) / 2,
                          origin.y + (thumb.top + thumb.bottom) / 2),
              BitmapPixel(IDB_ARROW_NORMAL, 10, 10));
    EXPECT_EQ(WindowPixel(trackbar, origin.x + channel.right - 4, origin.y + channel.top), kShadow);
    EXPECT_EQ(WindowPixel(trackbar, origin.x + channel.right - 4, origin.y + channel.bottom - 1), kLight);
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
    EXPECT_EQ(WindowPixel(header, origin.x + first.left, y),
              BitmapPixel(IDB_LEFT_NORMAL, 0, 10)); // key 8 falls back to 5
    EXPECT_EQ(WindowPixel(header, origin.x + first.left + 60, y), BitmapPixel(IDB_MIDDLE_NORMAL, 1, 10));
    EXPECT_EQ(WindowPixel(header, origin.x + first.right - 1, y), kShadow); // the line between items
    EXPECT_EQ(WindowPixel(header, origin.x + second.left, y),
              BitmapPixel(IDB_MIDDLE_NORMAL, 1, 10)); // joined
}
INSTANTIATE_TEST_SUITE_P(PlainAndOwnerData, SkinHeaderTest, testing::Values(0, LVS_OWNERDATA));

TEST_F(SkinControlsTest, ScrollArrowsShowKey10ImagesWithTheGlyphOnTopUntilKey14Exists) {
    CSkinCtrl* skin = Attach<CSkinCtrl>(Child("Static", 0, 10, 10, 30, 30), 0);
    ASSERT_TRUE(skin);
    skin::ForceGlyphShapes(true); // solid shapes: Marlett's smoothed edges match neither colour
    Image canvas(21, 21);
    auto count = [&](UINT upKey) {
        int image = 0, glyph = 0;
        const RECT rect{0, 0, 21, 21};
        skin->DrawScrollArrow(canvas.dc, rect, skin::kArrowUp, skin::kStateNormal, kWindow);
        auto source = ReadResource(upKey);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x) {
                COLORREF pixel = canvas.At(x, y), from = source->At(x, y);
                glyph += pixel == kText;
                image += pixel == (from == RGB(255, 0, 0) ? kWindow : from);
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
}
