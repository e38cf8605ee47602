// The tray icon under Wine: the icon in the notification area, the Pause check and the trip to the tray.
#include "widgets/SystemTray.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// What the notification area was asked, call by call.
struct NotifyCall {
    DWORD message;
    UINT flags;
    std::string text;
    DWORD iconFlags;
};
std::vector<NotifyCall> g_calls;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA data) {
    g_calls.push_back({message, data->uFlags, data->szInfo, data->dwInfoFlags});
    return ::Shell_NotifyIconA(message, data);
}

// A balloon on each track start: quiet, shown now or never, and taking the place of the one before
// (the first one of the start included), so that the system's notification list does not fill up.
TEST_F(SystemTray, EachBalloonTakesThePlaceOfTheOneBeforeAndIsShownNowOrNever) {
    g_calls.clear();
    CSystemTray::s_pfnNotifyIcon = RecordNotify;
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.Create(m_icon));
        ASSERT_FALSE(g_calls.empty());
        EXPECT_EQ(NIIF_INFO | CSystemTray::kQuietBalloon, g_calls.back().iconFlags) << "the first balloon too";
        for (const char* song : {"Abba - Waterloo", "Abba - SOS"}) {
            g_calls.clear();
            tray.ShowBalloon(song, nullptr, CSystemTray::kQuietBalloon, 10000);
            ASSERT_EQ(2u, g_calls.size());
            EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), g_calls[0].message);
            EXPECT_EQ(static_cast<UINT>(NIF_INFO), g_calls[0].flags);
            EXPECT_EQ("", g_calls[0].text) << "the balloon before goes";
            EXPECT_EQ(static_cast<UINT>(NIF_INFO | NIF_REALTIME), g_calls[1].flags);
            EXPECT_EQ(song, g_calls[1].text);
            EXPECT_EQ(CSystemTray::kQuietBalloon, g_calls[1].iconFlags);
        }
    }
    CSystemTray::s_pfnNotifyIcon = ::Shell_NotifyIconA;
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
