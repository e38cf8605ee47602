#include "widgets/SystemTray.h"

#include "framework/App.h"
#include "framework/CodePage.h"

#include <cstring>

namespace {

const char kTip[] = "Melodeck";
const UINT kWorkAreaChanged = SPI_SETWORKAREA;  // 47

template <size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    // A long song name is cut between characters, never inside one.
    const std::string cut = CutToWholeChars(text.c_str(), N - 1);
    std::memcpy(field, cut.c_str(), cut.size() + 1);
}

UINT TaskbarCreatedMessage() {
    static const CRegisteredMessage message("TaskbarCreated");
    return message;
}

// The system's version: balloons need the NT family after version 4.
OSVERSIONINFOA SystemVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version;
}

bool IsEmpty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

}  // namespace

BOOL(WINAPI* CSystemTray::s_pfnNotifyIcon)(DWORD, PNOTIFYICONDATAA) = ::Shell_NotifyIconA;

CSystemTray::CSystemTray() {
    std::memset(&m_nid, 0, sizeof(m_nid));
    OSVERSIONINFOA version = SystemVersion();
    m_bBalloons = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

CSystemTray::~CSystemTray() {
    if (m_bEnabled && !m_bRemoved) RemoveIcon();
    if (IsWindow()) DestroyWindow();
    m_menu.DestroyMenu();
}

bool CSystemTray::Create(HICON icon) {
    m_bEnabled = SystemVersion().dwMajorVersion >= 4;
    if (!m_bEnabled) return false;
    if (!IsWindow() && !CreateEx(0, nullptr, "", WS_POPUP, RECT{0, 0, 0, 0}, nullptr, 0)) return false;

    m_nid.cbSize = sizeof(m_nid);
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kIconId;
    m_nid.hIcon = icon;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = kCallbackMessage;
    CopyText(m_nid.szTip, kTip);
    if (m_bBalloons) {
        m_nid.uFlags |= NIF_INFO;
        CopyText(m_nid.szInfo, kTip);
        CopyText(m_nid.szInfoTitle, kTip);
        m_nid.uTimeout = 20000;
        m_nid.dwInfoFlags = NIIF_INFO | kQuietBalloon;
    }
    m_nAddFlags = m_nid.uFlags;
    const bool added = AddIcon();
    m_bHidden = m_bRemoved = m_bShowPending = !added;
    m_bBalloonShown = added && m_bBalloons;
    if (m_bBalloons) m_nid.szInfo[0] = '\0';  // later updates must not show the first balloon again

    m_menu.LoadMenu(AfxGetInstanceHandle(), kIconId);
    return added;
}

bool CSystemTray::AddIcon() {
    m_nid.uFlags = m_nAddFlags;
    if (s_pfnNotifyIcon(NIM_ADD, &m_nid)) return true;
    // A taskbar that was not really recreated still has the icon and refuses a second one.
    UINT flags = m_nid.uFlags;
    m_nid.uFlags &= ~static_cast<UINT>(NIF_INFO);
    const bool present = s_pfnNotifyIcon(NIM_MODIFY, &m_nid) != FALSE;
    m_nid.uFlags = flags;
    return present;
}

void CSystemTray::RemoveIcon() {
    m_nid.uFlags = 0;
    if (s_pfnNotifyIcon(NIM_DELETE, &m_nid)) m_bHidden = m_bRemoved = TRUE;
}

void CSystemTray::SetMenuDefaultItem(UINT item, bool byPosition) {
    if (m_nDefaultItem == item && (m_bDefaultByPos != FALSE) == byPosition) return;
    m_nDefaultItem = item;
    m_bDefaultByPos = byPosition;
    if (HMENU popup = GetTrayPopup()) ::SetMenuDefaultItem(popup, item, byPosition);
}

HWND CSystemTray::Target() const {
    if (m_pTarget) return m_pTarget->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main ? main->m_hWnd : nullptr;
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallbackMessage) return OnTrayNotification(wParam, lParam);
    if (message == TaskbarCreatedMessage()) return OnTaskbarCreated();
    if (message == WM_SETTINGCHANGE) return OnSettingChange(wParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CSystemTray::OnTrayNotification(WPARAM id, LPARAM mouseMessage) {
    if (id != m_nid.uID) return 0;
    HMENU popup = GetTrayPopup();
    HWND target = Target();
    if (!target) return 0;

    switch (LOWORD(mouseMessage)) {
    case WM_RBUTTONUP: {
        if (!popup) return 0;
        ::SetMenuDefaultItem(popup, m_nDefaultItem, m_bDefaultByPos);
        CustomizeMenu(popup);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::SetForegroundWindow(target);
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, target, nullptr);
        ::PostMessageA(target, WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
        break;
    }
    case WM_LBUTTONDBLCLK: {
        ::SetForegroundWindow(target);
        if (m_bRestore)
            RestoreFromTray(target);
        else
            MaximiseFromTray(target);
        UINT command = m_nDefaultItem;
        if (m_bDefaultByPos) command = popup ? ::GetMenuItemID(popup, static_cast<int>(m_nDefaultItem)) : 0;
        ::PostMessageA(target, WM_COMMAND, command, 0);
        break;
    }
    }
    return 1;
}

void CSystemTray::ShowBalloon(const std::string& text, const char* title, DWORD iconFlags, UINT timeoutMs) {
    if (!m_bBalloons) return;
    if (m_bBalloonShown) {
        m_nid.uFlags = NIF_INFO;
        m_nid.szInfo[0] = '\0';  // an empty text takes the balloon down
        s_pfnNotifyIcon(NIM_MODIFY, &m_nid);
    }
    m_nid.uFlags = NIF_INFO | NIF_REALTIME;
    CopyText(m_nid.szInfo, text);
    CopyText(m_nid.szInfoTitle, title ? title : "");
    m_nid.dwInfoFlags = iconFlags;
    m_nid.uTimeout = timeoutMs;
    m_bBalloonShown = s_pfnNotifyIcon(NIM_MODIFY, &m_nid);
    m_nid.szInfo[0] = '\0';
}

void CSystemTray::SetTooltipText(const std::string& text) {
    CopyText(m_nid.szTip, text.empty() ? std::string(kTip) : text);
    if (m_bHidden) return;  // the icon gets the tooltip when it is added again
    m_nid.uFlags = NIF_TIP;
    s_pfnNotifyIcon(NIM_MODIFY, &m_nid);
}

void CSystemTray::SetPauseCheck(bool checked) {
    if (!m_pSubMenu) return;
    std::string text = GetMenuItemText(m_pSubMenu, kPauseCommand, MF_BYCOMMAND);
    ::ModifyMenuA(m_pSubMenu, kPauseCommand, MF_BYCOMMAND | MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED),
                  kPauseCommand, text.c_str());
}

int CSystemTray::GetPauseState() const {
    HMENU popup = GetTrayPopup();
    if (!popup) return 0;
    UINT state = ::GetMenuState(popup, kPauseCommand, MF_BYCOMMAND);
    return state == static_cast<UINT>(-1) ? 0 : static_cast<int>(state);
}

LRESULT CSystemTray::OnTaskbarCreated() {
    m_bShowPending = TRUE;
    if (!m_bHidden) m_bHidden = m_bShowPending = !AddIcon();
    return 0;
}

LRESULT CSystemTray::OnSettingChange(WPARAM flag) {
    LRESULT result = Default();
    if (flag == kWorkAreaChanged) {
        m_bShowPending = !m_bHidden;
        if (!m_bHidden) m_bHidden = m_bShowPending = !AddIcon();
    }
    return result;
}

RECT CSystemTray::GetTrayWndRect() {
    RECT rect{};
    // A taskbar that is there but shows nothing (a desktop without one keeps it hidden and empty) tells
    // nothing about where the icons are.
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (tray && ::GetWindowRect(tray, &rect) && !IsEmpty(rect)) {
        char className[64];
        for (HWND child = ::GetWindow(tray, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!::GetClassNameA(child, className, sizeof(className))) continue;
            RECT childRect{};
            ::GetWindowRect(child, &childRect);
            if (std::strcmp(className, "TrayNotifyWnd") == 0) {
                rect = childRect;
            } else if (std::strcmp(className, "TrayClockWClass") == 0) {
                if (childRect.bottom < rect.bottom - 5)
                    rect.top = childRect.bottom;  // a vertical taskbar
                else
                    rect.right = childRect.left;
                break;
            }
        }
        return rect;
    }
    APPBARDATA bar{};
    bar.cbSize = sizeof(bar);
    if (::SHAppBarMessage(ABM_GETTASKBARPOS, &bar) && !IsEmpty(bar.rc)) {
        rect = bar.rc;
        if (bar.uEdge == ABE_LEFT || bar.uEdge == ABE_RIGHT) {
            rect.top = bar.rc.bottom - 100;
            rect.bottom = bar.rc.bottom - 16;
        } else {
            rect.left = bar.rc.right - 100;
            rect.right = bar.rc.right - 16;
        }
        return rect;
    }
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
    rect.left = rect.right - 150;
    rect.top = rect.bottom - 30;
    return rect;
}

HWND CSystemTray::HiddenParent() {
    // One for the program's life: an owned window is never on the taskbar.
    static HWND parent = ::CreateWindowExA(0, "Static", "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                                           nullptr, AfxGetInstanceHandle(), nullptr);
    return parent;
}

void CSystemTray::MinimiseToTray(HWND window) {
    RECT from{}, to = GetTrayWndRect();
    ::GetWindowRect(window, &from);
    ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    ::SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(HiddenParent()));
    ::ShowWindow(window, SW_HIDE);
}

void CSystemTray::BackFromTray(HWND window, int showCommand) {
    ANIMATIONINFO animation{sizeof(animation), 0};
    ::SystemParametersInfoA(SPI_GETANIMATION, sizeof(animation), &animation, 0);
    ::SetWindowLongPtrA(window, GWLP_HWNDPARENT, 0);
    if (animation.iMinAnimate) {
        RECT from = GetTrayWndRect(), to{};
        ::GetWindowRect(window, &to);
        ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    ::ShowWindow(window, showCommand);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
    ::SetActiveWindow(window);
    ::SetForegroundWindow(window);
}
