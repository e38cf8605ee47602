#pragma once
// CSystemTray: the program's icon in the notification area, with its tooltip, balloons and menu, and the
// player window's trip into and out of the tray. A hidden window of its own receives the icon's mouse
// messages; menu commands go to the target window (the main window unless told otherwise).
#include "framework/Menu.h"
#include "framework/Wnd.h"

#include <shellapi.h>

#include <string>

class CSystemTray : public CWnd {
public:
    static constexpr UINT kIconId = 170;
    static constexpr UINT kCallbackMessage = WM_APP + 10;
    static constexpr UINT kPauseCommand = 32800;

    CSystemTray();
    ~CSystemTray() override;

    // Adds the icon; false when the system has no tray or adding failed.
    bool Create(HICON icon);
    void SetMenuDefaultItem(UINT item, bool byPosition);
    void SetTarget(CWnd* target) { m_pTarget = target; }

    virtual LRESULT OnTrayNotification(WPARAM id, LPARAM mouseMessage);
    // The popup about to be shown; nothing to change here.
    virtual void CustomizeMenu(HMENU popup) {}

    // Replaces the balloon shown before, if any, and shows this one now or never (it is not queued
    // up, nor kept among the notifications of newer systems).
    void ShowBalloon(const std::string& text, const char* title, DWORD iconFlags, UINT timeoutMs);
    // The icon's tooltip (at most 127 characters); an empty text gives back the program's name.
    void SetTooltipText(const std::string& text);
    // Balloon icon flags of a notice that makes no sound and waits out the user's quiet time.
    static constexpr DWORD kQuietBalloon = NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME;
    // Every call to the notification area goes through here; tests see the calls this way.
    static BOOL(WINAPI* s_pfnNotifyIcon)(DWORD message, PNOTIFYICONDATAA data);
    void SetPauseCheck(bool checked);
    int GetPauseState() const;

    void MinimiseToTray(HWND window);
    void RestoreFromTray(HWND window) { BackFromTray(window, SW_RESTORE); }
    void MaximiseFromTray(HWND window) { BackFromTray(window, SW_MAXIMIZE); }
    // Where the notification area is, in screen coordinates (for the animations).
    static RECT GetTrayWndRect();

    bool IsIconShown() const { return !m_bHidden; }
    const NOTIFYICONDATAA& GetNotifyData() const { return m_nid; }
    HMENU GetTrayPopup() const { return m_menu.GetSubMenu(m_nSubMenu); }

    NOTIFYICONDATAA m_nid;
    BOOL m_bEnabled = FALSE;
    BOOL m_bHidden = TRUE;
    BOOL m_bRemoved = TRUE;
    BOOL m_bShowPending = FALSE;
    BOOL m_bBalloons = FALSE;
    CWnd* m_pTarget = nullptr;
    UINT m_nDefaultItem = 0;
    BOOL m_bDefaultByPos = TRUE;
    UINT m_nAddFlags = 0;
    CMenu m_menu;
    int m_nSubMenu = 0;
    HMENU m_pSubMenu = nullptr;  // the popup whose Pause item carries the check, as the owner sets it
    BOOL m_bRestore = FALSE;
    BOOL m_bBalloonShown = FALSE;  // a balloon may still be up: the next one takes its place

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND Target() const;
    bool AddIcon();
    void RemoveIcon();
    void BackFromTray(HWND window, int showCommand);
    LRESULT OnTaskbarCreated();
    LRESULT OnSettingChange(WPARAM flag);
    static HWND HiddenParent();
};
