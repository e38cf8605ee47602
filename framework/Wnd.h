#pragma once
// CWnd: a window object bound to a window handle. Objects are found from their handle in constant time
// through the process's handle map; a window with an entry there has a permanent object.
#include <windows.h>

#include "framework/SubclassChain.h"

#include <string>

// The message this thread is dispatching to a window object or a hook. Each dispatch saves and restores
// it, so that Default inside a nested message still answers the outer one once the nested one returns.
MSG* AfxGetCurrentMessage();

// Records one message as the current one for the duration of its dispatch.
class CMessageScope {
public:
    CMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    ~CMessageScope();
    CMessageScope(const CMessageScope&) = delete;
    CMessageScope& operator=(const CMessageScope&) = delete;

private:
    MSG m_saved;
};

// Several hooks may sit on one window (ours, CSubclassWnd objects, other modules'): a CWnd hooks through
// the window's subclass chain, so it removes only itself and never cuts out a hook above it.
class CWnd {
public:
    CWnd() = default;
    // Only lets go of the window: destroy it first, while the derived object still handles its messages.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a handle, or null when the window has none.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Binds the object to an existing window without hooking its messages.
    bool Attach(HWND hWnd);
    HWND Detach();

    // Binds the object and routes the window's messages through WindowProc before the older hooks.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(int id, CWnd* parent);
    // Takes our hook out of the window's chain wherever it sits, and lets go of the window.
    HWND UnsubclassWindow();

    // A null class name gives the framework's plain window class.
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT_PTR idOrMenu, void* param = nullptr);
    virtual bool DestroyWindow();

    // Handles one message. Overrides switch on the message and call the base for anything else.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Command from a menu, accelerator or control; true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control) { return false; }
    // Notification from a child (WM_NOTIFY); true when handled, with the result in *result.
    virtual bool OnNotify(NMHDR* header, LRESULT* result) { return false; }
    // A notification of this control reflected back from its parent; true when handled.
    virtual bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) { return false; }
    // Called once the object is bound to a window it hooks (subclassing or creation), before any
    // message of the window reaches it.
    virtual void PreSubclassWindow() {}
    // Called after the window is gone; the object is no longer bound.
    virtual void PostNcDestroy() {}
    // Keyboard messages bound for this window's tree, before dispatch; true when consumed.
    virtual bool PreTranslateMessage(MSG* msg) { return false; }

    // The message that is being handled, passed on to the previous window procedure.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Small conveniences over the window functions.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
    }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    bool IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }
    bool ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true) const {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint) != FALSE;
    }
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
    }
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(RECT* rect) const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetFont(HFONT font, bool redraw = true) const {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    bool ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) const;
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0) const;
    // A message box owned by this window, captioned with the application's name unless told otherwise.
    int MessageBox(const std::string& text, const char* caption = nullptr, UINT type = MB_OK) const;

protected:
    // How a message is passed on below our hook (CallNextWindowHook); null when not hooked.
    WNDPROC m_pfnSuper = nullptr;

    // Passes a child's notification to the child's own object; true when the child handled it.
    static bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);

    // Creation hook: the next window this thread creates is bound to pWnd before its first message.
    static void HookWindowCreate(CWnd* pWnd);
    static bool UnhookWindowCreate();

    friend class CDialog;
};

// Registers a window message by name once and keeps its number.
class CRegisteredMessage {
public:
    explicit CRegisteredMessage(const char* name) : m_nMessage(::RegisterWindowMessageA(name)) {}
    operator UINT() const { return m_nMessage; }

private:
    UINT m_nMessage;
};
