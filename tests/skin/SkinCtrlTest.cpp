#include "res/resource.h"
#include "SkinTestOwner.h"

namespace {
constexpr COLORREF kShadow = RGB(0, 160, 0), kHighlight = RGB(250, 250, 90), kWindow = RGB(30, 40, 200),
                   kFace = RGB(240, 120, 10);

int g_parentCtlColors = 0;
LRESULT CALLBACK ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ++g_parentCtlColors;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// A plain parent with an edit and a list box.
class SkinCtrlTest : public SkinTestOwner {
protected:
    void SetUp() override {
        SkinTestOwner::SetUp();
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SkinCtrlTestParent";
        RegisterClassA(&wc);
        const DWORD style = WS_BORDER | WS_VSCROLL;
        ASSERT_TRUE(CreateParent("SkinCtrlTestParent", 50, 50, 400, 300));
        m_edit = Child("Edit", style | ES_MULTILINE, 10, 10, 200, 120, WS_EX_CLIENTEDGE, "text");
        m_list = Child("ListBox", style, 220, 10, 150, 120, WS_EX_CLIENTEDGE);
        ASSERT_TRUE(m_edit && m_list);
        for (int i = 0; i < 40; ++i)
            SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
        SetColors({{kShadow, skin::kSlotBtnShadow},
                   {kHighlight, skin::kSlotBtnHighlight},
                   {kWindow, skin::kSlotWindow},
                   {kFace, skin::kSlotBtnFace}});
    }
    void TearDown() override {
        DestroyParent();
        for (auto& entry : m_skins)
            EXPECT_FALSE(entry.second->IsHooked()); // let go as the windows went
        SkinTestOwner::TearDown();
    }

    // The window as WM_PRINT draws it, frame included.
    static std::unique_ptr<Image> Print(HWND hWnd) {
        RECT rect;
        GetWindowRect(hWnd, &rect);
        auto printed = std::make_unique<Image>(rect.right - rect.left, rect.bottom - rect.top);
        SendMessageA(hWnd, WM_PRINT, reinterpret_cast<WPARAM>(printed->dc),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        return printed;
    }

    HWND m_edit = nullptr, m_list = nullptr;
};
} // namespace

TEST_F(SkinCtrlTest, FlatFrameReplacesTheBorderAndOurArrowsTheScrollBarButtons) {
    RECT before, after;
    GetClientRect(m_edit, &before);
    ASSERT_TRUE(Attach(m_parent, 0));
    ASSERT_TRUE(Attach(m_edit, skin::kFrameFlat | skin::kFeatureNonClient | skin::kFeatureEraseBkgnd |
                                   skin::kFeatureCtlColor));
    ASSERT_TRUE(Attach(m_list, 0x49));
    GetClientRect(m_edit, &after);
    EXPECT_EQ(before.right - after.right, 2); // one pixel more of frame on each side

    auto edit = Print(m_edit);
    int middle = edit->width / 2, bottom = edit->height - 1;
    EXPECT_EQ(edit->At(middle, 0), kShadow);
    EXPECT_EQ(edit->At(middle, 1), kHighlight);
    EXPECT_EQ(edit->At(middle, bottom - 1), kShadow);
    EXPECT_EQ(edit->At(middle, bottom), kHighlight);
    EXPECT_EQ(edit->At(0, 0), kWindow); // corners rounded off in the parent's colour

    // The window's own painting draws the same frame.
    Repaint(m_edit);
    EXPECT_EQ(WindowPixel(m_edit, middle, 0), kShadow);
    EXPECT_EQ(WindowPixel(m_edit, middle, 1), kHighlight);

    // Our own arrow buttons sit inside the frame band, in the skin's face colour.
    const int arrowLeft = edit->width - 3 - GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(edit->At(arrowLeft + 3, 3 + 3), kFace);
    EXPECT_EQ(edit->At(arrowLeft + 3, bottom - 3 - 3), kFace);
    auto list = Print(m_list);
    EXPECT_EQ(list->At(list->width - 3 - GetSystemMetrics(SM_CXVSCROLL) + 3, 6), kFace);

    // With a registered arrow set the button shows its image instead.
    const UINT arrows[4] = {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED};
    ASSERT_EQ(m_globals.SetBitmap(arrows, skin::kArrowKeyCommon), 1);
    auto withImage = Print(m_edit);
    int differing = 0;
    for (int y = 3; y < 3 + GetSystemMetrics(SM_CYVSCROLL); ++y)
        for (int x = arrowLeft; x < arrowLeft + GetSystemMetrics(SM_CXVSCROLL); ++x)
            differing += withImage->At(x, y) != edit->At(x, y);
    EXPECT_GT(differing, 20);
}

TEST_F(SkinCtrlTest, ParentMessagesReachOnlySkinnedChildrenWithTheirFeatures) {
    HWND trackbar = Child(TRACKBAR_CLASSA, 0, 10, 150, 150, 30);
    ASSERT_TRUE(Attach(m_parent, 0));
    ASSERT_TRUE(Attach(m_edit, 0x59));
    ASSERT_TRUE(Attach(trackbar, 0x64));
    HDC dc = GetDC(m_parent);
    g_parentCtlColors = 0;
    LRESULT brush = SendMessageA(m_parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(m_edit));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), m_globals.GetBrush(kWindow));
    EXPECT_EQ(GetTextColor(dc), m_globals.GetColor(skin::kSlotWindowText));
    EXPECT_EQ(SendMessageA(m_parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(m_list)),
              0);
    EXPECT_EQ(g_parentCtlColors, 0);
    ReleaseDC(m_parent, dc);

    NMCUSTOMDRAW draw{};
    draw.hdr = {trackbar, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(SendMessageA(m_parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
    draw.hdr.hwndFrom = m_edit; // no custom-draw feature
    EXPECT_EQ(SendMessageA(m_parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), 0);
}

TEST_F(SkinCtrlTest, AttachReportsFailureAndDetachRestoresStyleAndProcedure) {
    const LONG style = GetWindowLongA(m_list, GWL_STYLE);
    const LONG_PTR procedure = GetWindowLongPtrA(m_list, GWLP_WNDPROC);
    CSkinCtrl* skin = Attach(m_list, 0x49);
    ASSERT_TRUE(skin);
    EXPECT_FALSE(skin->Initialize(m_list)); // already hooked
    CSkinCtrl stray(0x49);
    HWND gone = CreateWindowA("Static", "", WS_CHILD, 0, 0, 5, 5, m_parent, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(stray.Initialize(gone));

    SetWindowLongA(m_list, GWL_STYLE, (style & ~WS_BORDER) | WS_HSCROLL);
    ASSERT_EQ(DetachWindow(m_list), 1);
    EXPECT_EQ(GetWindowLongA(m_list, GWL_STYLE), style);
    EXPECT_EQ(GetWindowLongPtrA(m_list, GWLP_WNDPROC), procedure);
}
