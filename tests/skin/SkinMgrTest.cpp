#include "skin/SkinButtons.h"
#include "skin/SkinCtrlMgr.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The manager on this thread's windows: started for each test and released after it, so that the other
// skin tests attach their objects by hand without it.
class SkinMgrTest : public testing::Test {
protected:
    CSkinCtrlMgr& m_mgr = CSkinCtrlMgr::GetInstance();

    void SetUp() override {
        skin::g_bVisualStylesActive = false; // as the program does before starting the skin
        skin::g_pOwner = &m_mgr;
        ASSERT_EQ(m_mgr.Initialize(), 1);
        m_before = m_mgr.GetCount();
    }
    void TearDown() override {
        if (m_dialog) DestroyWindow(m_dialog);
        EXPECT_EQ(m_mgr.GetCount(), m_before); // nothing left behind for windows that are gone
        m_mgr.Release();
    }

    // A hidden dialog-class window holding the controls the program's dialogs use.
    void MakeDialog() {
        m_dialog = CreateWindowExA(0, "#32770", "dialog", WS_POPUP | WS_CAPTION, 50, 50, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
        const struct {
            const char* cls;
            DWORD style;
        } controls[] = {{"Button", BS_PUSHBUTTON}, {"Button", BS_AUTOCHECKBOX}, {"Edit", ES_AUTOHSCROLL},
                        {"Static", SS_LEFT}, {"ListBox", LBS_NOTIFY}, {"msctls_trackbar32", 0}};
        int y = 5;
        for (const auto& control : controls) {
            // Dialog templates make their controls without parent notification; so do these.
            m_children.push_back(CreateWindowExA(WS_EX_NOPARENTNOTIFY, control.cls, "x",
                                                 WS_CHILD | WS_VISIBLE | control.style, 5, y, 120, 20,
                                                 m_dialog, nullptr, nullptr, nullptr));
            y += 25;
        }
    }

    size_t m_before = 0;
    HWND m_dialog = nullptr;
    std::vector<HWND> m_children;
};

TEST_F(SkinMgrTest, ADialogIsSkinnedWhenShownAndSoIsAChildMadeLater) {
    MakeDialog();
    EXPECT_EQ(m_mgr.GetSkinCtrl(m_dialog), nullptr);
    m_mgr.DetachWindow(m_children[1]); // as if made before the skin started
    ShowWindow(m_dialog, SW_SHOW);
    ASSERT_NE(m_mgr.GetSkinCtrl(m_dialog), nullptr); // a reflector for the top-level dialog
    for (HWND child : m_children) EXPECT_NE(m_mgr.GetSkinCtrl(child), nullptr);
    const size_t shown = m_mgr.GetCount();
    EXPECT_EQ(shown, m_before + 1 + m_children.size());

    HWND later = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 160, 100, 20, m_dialog,
                                 nullptr, nullptr, nullptr);
    EXPECT_NE(m_mgr.GetSkinCtrl(later), nullptr);
    m_mgr.AttachWindow(later); // only refreshes
    EXPECT_EQ(m_mgr.GetCount(), shown + 1);

    // A tooltip refuses; a window that is gone cannot be hooked and is not kept.
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, m_dialog, nullptr, nullptr,
                               nullptr);
    m_mgr.AttachWindow(tip);
    EXPECT_EQ(m_mgr.GetSkinCtrl(tip), nullptr);
    DestroyWindow(tip);
    HWND gone = CreateWindowExA(0, "Edit", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    m_mgr.AttachWindow(gone);
    EXPECT_EQ(m_mgr.GetCount(), shown + 1);
}

TEST_F(SkinMgrTest, TypeBitsAddUpAndOnlyForSkinnedWindows) {
    MakeDialog();
    m_mgr.DetachWindow(m_children[0]);
    EXPECT_EQ(m_mgr.SetCtrlType(m_children[0], 1), 0);
    ShowWindow(m_dialog, SW_SHOW);
    EXPECT_EQ(m_mgr.SetCtrlType(m_children[0], 1), 1);
    EXPECT_EQ(m_mgr.SetCtrlType(m_children[0], 2), 1);
    EXPECT_EQ(m_mgr.GetSkinCtrl(m_children[0])->m_dwType, 3u);
}

TEST_F(SkinMgrTest, ACheckBoxMadePushLikeTakesThePushSkinAndKeepsItsStyleAndTypeBits) {
    MakeDialog();
    ShowWindow(m_dialog, SW_SHOW);
    HWND box = m_children[1];
    m_mgr.SetCtrlType(box, 2);
    SetWindowLongA(box, GWL_STYLE, GetWindowLongA(box, GWL_STYLE) | BS_PUSHLIKE);
    m_mgr.RepickSkins(); // the next timer tick
    CSkinCtrl* skin = m_mgr.GetSkinCtrl(box);
    EXPECT_NE(dynamic_cast<CSkinButtonPush*>(skin), nullptr);
    EXPECT_EQ(skin ? skin->m_dwType : 0, 2u);
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & BS_PUSHLIKE);
}

TEST_F(SkinMgrTest, TheControlUnderTheCursorIsHotUnlessItsWindowIsDisabled) {
    MakeDialog();
    ShowWindow(m_dialog, SW_SHOW);
    SetForegroundWindow(m_dialog);
    RECT button;
    GetWindowRect(m_children[0], &button);
    const POINT inside{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    if (!SetCursorPos(inside.x, inside.y)) GTEST_SKIP() << "no pointer to move";
    m_mgr.TrackHot();
    EXPECT_EQ(m_mgr.m_pHot, m_mgr.GetSkinCtrl(m_children[0]));
    EnableWindow(m_dialog, FALSE);
    SetCursorPos(inside.x + 1, inside.y);
    m_mgr.TrackHot();
    EXPECT_EQ(m_mgr.m_pHot, nullptr);
    EnableWindow(m_dialog, TRUE);
}

} // namespace
