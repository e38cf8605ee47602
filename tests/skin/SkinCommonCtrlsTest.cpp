#include "res/resource.h"
#include "skin/SkinCommonCtrls.h"
#include "support/MelodeckProcess.h"

#include "SkinTestOwner.h"

namespace {
constexpr COLORREF kFace = RGB(240, 120, 10), kBar = RGB(20, 200, 60);

// Counts the paints that reach the date picker's skin.
class CCountingPicker : public CSkinDatetimepick {
public:
    using CSkinDatetimepick::CSkinDatetimepick;
    bool OnPaint(HDC dc) override { return ++m_nPaints, CSkinDatetimepick::OnPaint(dc); }
    int m_nPaints = 0;
};

// An unskinned popup parent, so that controls sit on the face colour.
class SkinCommonCtrlsTest : public SkinTestOwner {
protected:
    void SetUp() override {
        SkinTestOwner::SetUp();
        INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS | ICC_DATE_CLASSES};
        InitCommonControlsEx(&init);
        ASSERT_TRUE(CreateParent("Static", 50, 50, 400, 300));
        SetColors({{kFace, skin::kSlotBtnFace}, {kBar, COLOR_HIGHLIGHT}});
    }
};
} // namespace

TEST_F(SkinCommonCtrlsTest, ProgressBarCoversItsShareOfTheRangeFlatOrFromBitmaps) {
    HWND bar = Child(PROGRESS_CLASSA, 0, 10, 10, 204, 22);
    HWND tiny = Child(PROGRESS_CLASSA, 0, 10, 40, 2, 1);
    SendMessageA(bar, PBM_SETRANGE32, 100, 300);
    SendMessageA(bar, PBM_SETPOS, 200, 0);
    ASSERT_TRUE(Attach<CSkinProgress>(bar, 0x1D) && Attach<CSkinProgress>(tiny, 0x1D));
    UpdateWindow(tiny);
    RECT client;
    GetClientRect(bar, &client);
    const int half = 1 + (client.right - 2) / 2, y = client.bottom / 2;
    UpdateWindow(bar);
    EXPECT_EQ(ClientPixel(bar, 2, y), kBar);
    EXPECT_EQ(ClientPixel(bar, half - 1, y), kBar);
    EXPECT_EQ(ClientPixel(bar, half + 1, y), kFace);
    EXPECT_EQ(ClientPixel(bar, client.right - 2, y), kFace);

    // Registered as the program does: 25 left caps, 27 middles, 26 right caps.
    const UINT left[4] = {IDB_LEFT_NORMAL, 0, 0, IDB_LEFT_DISABLED};
    const UINT middle[4] = {IDB_MIDDLE_NORMAL, 0, 0, IDB_MIDDLE_DISABLED};
    const UINT right[4] = {IDB_RIGHT_NORMAL, 0, 0, IDB_RIGHT_DISABLED};
    ASSERT_TRUE(m_globals.SetBitmap(left, 25) && m_globals.SetBitmap(middle, 27) &&
                m_globals.SetBitmap(right, 26));
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    int fromImages = 0;
    for (int x = 1; x < half; ++x)
        fromImages += ClientPixel(bar, x, y) != kFace && ClientPixel(bar, x, y) != kBar;
    EXPECT_GT(fromImages, half * 3 / 4);
    EXPECT_EQ(ClientPixel(bar, half + 1, y), kFace);
}

TEST_F(SkinCommonCtrlsTest, MonthCalendarKeepsItsFrameOnlyWithAClientEdge) {
    HWND plain = Child(MONTHCAL_CLASSA, 0, 0, 0, 200, 160);
    HWND edged = Child(MONTHCAL_CLASSA, 0, 200, 0, 200, 160, WS_EX_CLIENTEDGE);
    HWND dropDown = CreateWindowA(MONTHCAL_CLASSA, "", WS_POPUP | WS_BORDER, 0, 0, 200, 160, m_parent,
                                  nullptr, nullptr, nullptr);
    EXPECT_EQ(Attach<CSkinMonthcal>(plain, 0x19)->m_dwFeatures, 0u);
    EXPECT_EQ(Attach<CSkinMonthcal>(edged, 0x19)->m_dwFeatures, 0x19u);
    EXPECT_EQ(Attach<CSkinMonthcal>(dropDown, 0x19)->m_dwFeatures, 0x18u);
}

TEST_F(SkinCommonCtrlsTest, DatePickerPaintsOnlyItsDropButtonWhileTheCalendarIsOpen) {
    HWND picker = Child(DATETIMEPICK_CLASSA, 0, 10, 10, 180, 24);
    ASSERT_TRUE(Attach<CSkinCtrl>(m_parent, 0)); // reflects the picker's notifications
    auto* skin = Attach<CCountingPicker>(picker, 0x31D);
    ASSERT_TRUE(skin);
    UpdateWindow(picker);
    RECT client;
    GetClientRect(picker, &client);
    HDC dc = GetDC(picker);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(picker, dc);

    NMHDR drop{picker, 0, static_cast<UINT>(DTN_DROPDOWN)};
    SendMessageA(m_parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
    EXPECT_TRUE(skin->IsCalendarOpen());
    skin->m_nPaints = 0;
    RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(skin->m_nPaints, 0);
    // The first tick brings drawing back and shows the button, and nothing else.
    ASSERT_TRUE(WaitFor([&] { return (GetWindowLongA(picker, GWL_STYLE) & WS_VISIBLE) != 0; }, 5000));
    const int size = GetSystemMetrics(SM_CXHSCROLL);
    int drawn = 0;
    for (int x = client.right - size; x < client.right; ++x)
        drawn += ClientPixel(picker, x, client.bottom / 2) != 0;
    EXPECT_GT(drawn, size / 2);
    EXPECT_EQ(ClientPixel(picker, 3, client.bottom / 2), 0u);
    EXPECT_EQ(skin->m_nPaints, 0);

    NMHDR close{picker, 0, static_cast<UINT>(DTN_CLOSEUP)};
    SendMessageA(m_parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&close));
    EXPECT_FALSE(skin->IsCalendarOpen());
    EXPECT_TRUE(WaitFor([&] { return skin->m_nPaints > 0; }, 5000)); // the delayed redraw
}
