#pragma once
// The skin manager: finds every standard control the user-interface thread creates or shows, through the
// thread's window messages (CHookMgr), and gives it a skin object; a 100 ms timer follows the mouse
// for the hot state. One per process, made on first use.
#include <windows.h>

#include "skin/SkinCtrl.h"
#include "skin/SkinGlobals.h"

#include <unordered_map>
#include <vector>

// True for a window of a dialog that another module made and runs: a "#32770" of a module other than
// the program's (and other than user32's, which makes the program's message boxes), the window itself or
// one of its parents or owners. parent, when given, stands for the window's parent or owner.
bool IsInOtherModulesDialog(HWND hWnd, HWND parent = nullptr);

// Holds the hooks of one derived class; only the call-window-procedure callback is used here.
//
// That callback sees the messages sent to every window of the thread before the window does. A
// WH_CALLWNDPROC hook would give them, but under Wine it costs a server round trip on every message sent
// in the thread (some 70 us here, which made loading a long list five times slower). So a WH_CBT hook,
// called only as windows are made and the like, puts a small forwarding procedure of our own under each
// new window's procedure, and that passes on the few messages the callback uses. It is put in with the
// window's own character set: a window still being made must keep it (a static whose text names an icon
// resource reads that name in the set it was made with).
//
// Windows of another module's dialog (the open and save dialogs, the font dialog, the folder browser)
// are left alone: they keep the platform's look and their own procedures.
template <class Derived>
class CHookMgr {
public:
    static Derived& GetInstance() {
        static Derived instance; // destroyed at exit, which releases everything
        return instance;
    }
    virtual ~CHookMgr() { ReleaseHooks(); }

    virtual void OnCallWndProc(const MSG& msg) {}
    virtual LRESULT OnCbt(int, WPARAM, LPARAM) { return 0; }
    virtual void OnDebug(WPARAM, LPARAM) {}
    virtual void OnGetMessage(WPARAM, LPARAM) {}
    virtual void OnJournalPlayback(int, WPARAM, LPARAM) {}
    virtual void OnJournalRecord(int, WPARAM, LPARAM) {}
    virtual void OnKeyboard(int, WPARAM, LPARAM) {}
    virtual void OnMouse(int, WPARAM, LPARAM) {}
    virtual void OnMsgFilter(int, WPARAM, LPARAM) {}
    virtual void OnShell(int, WPARAM, LPARAM) {}

protected:
    CHookMgr() = default;
    CHookMgr(const CHookMgr&) = delete;
    CHookMgr& operator=(const CHookMgr&) = delete;

    enum { kHookCallWndProc, kHookCbt, kHookCount = 10 };

    // Starts passing this thread's window messages to OnCallWndProc, for the windows already there and
    // every one made from now on.
    bool InitHooks(const char* classFilter = "") {
        ReleaseHooks();
        lstrcpynA(m_szClassFilter, classFilter ? classFilter : "", sizeof m_szClassFilter);
        m_hHooks[kHookCbt] = ::SetWindowsHookExA(WH_CBT, CbtHook, nullptr, ::GetCurrentThreadId());
        if (!m_hHooks[kHookCbt]) return false;
        ::EnumThreadWindows(::GetCurrentThreadId(), ForwardTree, 0);
        return true;
    }
    void ReleaseHooks() {
        for (HHOOK& hook : m_hHooks) {
            if (hook) ::UnhookWindowsHookEx(hook);
            hook = nullptr;
        }
        // The forwarding procedures stay under the windows' own (others may have hooked above them)
        // and pass every message straight on from now.
    }
    bool IsHooked() const { return m_hHooks[kHookCbt] != nullptr; }

    HHOOK m_hHooks[kHookCount] = {};
    char m_szClassFilter[128] = {};

private:
    struct Forwarded {
        WNDPROC previous;
        bool unicode;
    };

    // The messages the call-window-procedure callback acts on.
    static bool IsForwarded(UINT message) {
        return message == WM_SHOWWINDOW || message == WM_WINDOWPOSCHANGED || message == WM_STYLECHANGED ||
               message == WM_NCDESTROY || message == WM_PARENTNOTIFY;
    }
    void Forward(HWND hWnd, HWND parent = nullptr) {
        if (m_forwarded.count(hWnd) || IsInOtherModulesDialog(hWnd, parent)) return;
        const bool unicode = ::IsWindowUnicode(hWnd) != FALSE;
        const LONG_PTR previous =
            unicode ? ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardProcW))
                    : ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardProcA));
        if (previous) m_forwarded[hWnd] = {reinterpret_cast<WNDPROC>(previous), unicode};
    }
    static BOOL CALLBACK ForwardTree(HWND hWnd, LPARAM) {
        Derived& self = GetInstance();
        self.Forward(hWnd);
        ::EnumChildWindows(
            hWnd,
            [](HWND child, LPARAM) {
                GetInstance().Forward(child);
                return TRUE;
            },
            0);
        return TRUE;
    }
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
        Derived& self = GetInstance();
        if (code == HCBT_CREATEWND) {
            // The window is not linked to its parent yet: the parent it is being made for tells.
            const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
            self.Forward(reinterpret_cast<HWND>(wParam),
                         create && create->lpcs ? create->lpcs->hwndParent : nullptr);
        }
        return ::CallNextHookEx(self.m_hHooks[kHookCbt], code, wParam, lParam);
    }
    static LRESULT CALLBACK ForwardProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ForwardProc(hWnd, message, wParam, lParam, false);
    }
    static LRESULT CALLBACK ForwardProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ForwardProc(hWnd, message, wParam, lParam, true);
    }
    static LRESULT ForwardProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode) {
        Derived& self = GetInstance();
        auto it = self.m_forwarded.find(hWnd);
        if (it == self.m_forwarded.end())
            return unicode ? ::DefWindowProcW(hWnd, message, wParam, lParam)
                           : ::DefWindowProcA(hWnd, message, wParam, lParam);
        const WNDPROC previous = it->second.previous;
        if (message == WM_NCDESTROY) self.m_forwarded.erase(it); // the window's last message
        if (self.IsHooked() && IsForwarded(message)) {
            char className[40] = {};
            if (!self.m_szClassFilter[0] || (::GetClassNameA(hWnd, className, sizeof className) &&
                                             lstrcmpiA(className, self.m_szClassFilter) == 0)) {
                MSG msg{hWnd, message, wParam, lParam, 0, {0, 0}};
                self.OnCallWndProc(msg);
            }
        }
        return unicode ? ::CallWindowProcW(previous, hWnd, message, wParam, lParam)
                       : ::CallWindowProcA(previous, hWnd, message, wParam, lParam);
    }

    std::unordered_map<HWND, Forwarded> m_forwarded; // windows of this thread, while they live
};

class CSkinCtrlMgr : public CHookMgr<CSkinCtrlMgr>, public ISkinCtrlOwner {
    friend class CHookMgr<CSkinCtrlMgr>;

public:
    ~CSkinCtrlMgr() override;

    // 1 when the hook and timer run; 0 while the platform's visual styles still draw the controls.
    int Initialize();
    void Release();
    void OnCallWndProc(const MSG& msg) override;
    // Skins the window and, recursively, its children; a window already skinned is only refreshed.
    int AttachWindow(HWND hWnd);
    int DetachWindow(HWND hWnd) override;
    void DetachAll();
    CSkinCtrl* GetSkinCtrl(HWND hWnd) override;
    // The class-name factory: a new, not yet initialised skin object, or null for classes left alone.
    static CSkinCtrl* CreateSkinCtrl(const char* className, DWORD style);
    // ORs type bits into a skinned window's; 1 when the window is skinned.
    int SetCtrlType(HWND hWnd, DWORD type);
    void RefreshAll();
    static int GetWindowsVersion();
    // The platform's visual-style switch (from UXTheme.dll, when there is one); false when missing.
    static bool SetThemeAppProperties(DWORD flags);

    POINT GetLastCursorPos() override { return m_ptLast; }
    void SetLastCursorPos(POINT point) override { m_ptLast = point; }
    CSkinGlobals& GetGlobals() { return m_globals; }
    size_t GetCount() const { return m_map.size(); }
    bool IsStarted() const { return IsHooked(); }

    // One tick of hot tracking; the timer calls it every 100 ms.
    void TrackHot();
    // Gives the buttons whose kind changed since the last tick the skin of their new kind.
    void RepickSkins();

    DWORD m_bHotTracking = 1;
    UINT_PTR m_nHotTimer = static_cast<UINT_PTR>(-1);
    POINT m_ptLast{0, 0};
    CSkinCtrl* m_pHot = nullptr;
    DWORD m_bReleasing = 0;
    DWORD m_bInCallback = 0;

private:
    CSkinCtrlMgr();
    static void CALLBACK HotTimerProc(HWND, UINT, UINT_PTR, DWORD);
    HWND WindowUnderCursor(POINT cursor);
    void NotifyHot(CSkinCtrl* control, const POINT* oldScreen, const POINT* newScreen, bool leaving);

    std::unordered_map<HWND, CSkinCtrl*> m_map;
    std::vector<HWND> m_detaching; // windows whose skins are coming off, innermost last
    std::vector<HWND> m_repick;    // buttons whose style now wants another skin
    CSkinGlobals m_globals;
};

// For diagnostics from outside: kProcedureNotClass when the window's procedure is not its class's,
// kProcedureOurs when it lies in the program's own image (both read in the window's character set).
enum { kProcedureNotClass = 1, kProcedureOurs = 2 };
int WindowProcedureState(HWND hWnd);

// The class name used for skinning decisions (at most 127 characters).
void GetSkinClassName(HWND hWnd, char* name, int size);
// Case-insensitive class test; a null window is of no class.
bool IsWindowClass(HWND hWnd, const char* className);
