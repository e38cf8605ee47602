// The tray icon under Wine: the icon in the notification area, the Pause check and the trip to the tray.
#include "widgets/SystemTray.h"

#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

// Wine's notification area without a window manager: one child window per icon.
int TrayIconWindows() {
    int count = 0;
    for (HWND tray = ::FindWindowExA(nullptr, nullptr, "__winex11_standalone_tray", nullptr); tray;
         tray = ::FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr))
        for (HWND icon = ::FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon;
             icon = ::FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr))
            ++count;
    return count;
}

template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 20000) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

class SystemTray : public testing::Test {
protected:
    HICON m_icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
};

TEST_F(SystemTray, AddsOneIconWithTheTooltipAndRemovesItWithTheObject) {
    const int before = TrayIconWindows();
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.Create(m_icon));
        EXPECT_TRUE(tray.IsIconShown());
        EXPECT_STREQ(tray.GetNotifyData().szTip, "Melodeck");
        EXPECT_EQ(tray.GetNotifyData().szInfo[0], '\0');  // the first balloon is not shown again
        EXPECT_TRUE(WaitUntil([&] { return TrayIconWindows() == before + 1; }));
        // A recreated taskbar gets the icon again, still one.
        ::SendMessageA(tray.m_hWnd, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        EXPECT_TRUE(tray.IsIconShown());
        EXPECT_EQ(TrayIconWindows(), before + 1);
    }
    EXPECT_TRUE(WaitUntil([&] { return TrayIconWindows() == before; }));
}

TEST_F(SystemTray, PauseCheckFollowsTheCallsAndKeepsTheItemText) {
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(m_icon));
    tray.m_pSubMenu = tray.GetTrayPopup();
    ASSERT_NE(tray.m_pSubMenu, nullptr);
    const std::string text = GetMenuItemText(tray.m_pSubMenu, ID_TRAY_PAUSE, MF_BYCOMMAND);
    EXPECT_EQ(tray.GetPauseState() & MF_CHECKED, 0);
    tray.SetPauseCheck(true);
    EXPECT_EQ(tray.GetPauseState() & MF_CHECKED, static_cast<int>(MF_CHECKED));
    tray.SetPauseCheck(false);
    EXPECT_EQ(tray.GetPauseState() & MF_CHECKED, 0);
    EXPECT_EQ(GetMenuItemText(tray.m_pSubMenu, ID_TRAY_PAUSE, MF_BYCOMMAND), text);
}

// What the player window is to the tray: it sees the default command posted after a double-click.
class CTarget : public CWnd {
public:
    int m_nCommands = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && wParam == 0) ++m_nCommands;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(SystemTray, MinimisedToTheTrayAWindowLeavesTheTaskbarAndADoubleClickBringsItBack) {
    CTarget target;
    ASSERT_TRUE(target.CreateEx(0, nullptr, "Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 50, 350, 250},
                                nullptr, 0));
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(m_icon));
    tray.SetTarget(&target);
    tray.SetMenuDefaultItem(0, false);
    tray.m_bRestore = TRUE;

    tray.MinimiseToTray(target.m_hWnd);
    EXPECT_FALSE(target.IsWindowVisible());
    EXPECT_NE(::GetWindow(target.m_hWnd, GW_OWNER), nullptr);  // owned windows have no taskbar button

    EXPECT_EQ(tray.OnTrayNotification(CSystemTray::kIconId, WM_LBUTTONDBLCLK), 1);
    EXPECT_TRUE(target.IsWindowVisible());
    EXPECT_EQ(::GetWindow(target.m_hWnd, GW_OWNER), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return target.m_nCommands == 1; }));  // command 0, which does nothing
    EXPECT_EQ(tray.OnTrayNotification(CSystemTray::kIconId + 1, WM_LBUTTONDBLCLK), 0);
    target.DestroyWindow();
}

}  // namespace
