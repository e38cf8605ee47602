#pragma once
// CSubclassWnd: an object that sees an existing window's messages before the window does, apart from
// the framework's window objects. Several may hook one window; they form a chain, newest first.
#include <windows.h>

#include "framework/SubclassChain.h"

#include <unordered_map>

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    HWND m_hWnd = nullptr;
    // How a message is passed on below this hook: CallNextWindowHook, which reaches the next
    // older hook (ours or any other module's) and finally the window's own procedure. Every hook of one
    // window holds the same value; null when not hooked.
    WNDPROC m_pfnOldProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;  // the hook that was newest on the window before this one; not owned

    // Hooks the window, or with none unhooks. Fails for a hook already in use or a handle that is no
    // window; unhooking always succeeds.
    virtual bool Hook(HWND hWnd);
    virtual bool IsValid() { return IsValidHwnd(); }
    // Around the unhook that the window's destruction forces.
    virtual void OnBeforeUnhook() {}
    virtual void OnAfterUnhook() {}
    virtual bool IsHooked() { return m_hWnd != nullptr; }
    virtual bool IsValidHwnd() { return m_hWnd && ::IsWindow(m_hWnd); }
    virtual void Invalidate() { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
    virtual BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return IsValid() ? ::PostMessageA(m_hWnd, message, wParam, lParam) : 0;
    }
    virtual LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return IsValid() ? ::SendMessageA(m_hWnd, message, wParam, lParam) : 0;
    }
    // Sees each message of the hooked window; the base passes it on to the older hooks.
    virtual LRESULT WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Unhooks: the derived part is already gone, so nothing is called on it.
    virtual ~CSubclassWnd();

    // The message being dispatched, passed on below this hook (whatever override is running).
    LRESULT Default();

private:
    void Unhook();
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
};

// The newest hook of each hooked window. It never owns the hooks.
class CSubclassWndMap {
public:
    static CSubclassWndMap& Instance();
    CSubclassWnd* Lookup(HWND hWnd) const;
    // A null hook removes the window's entry.
    void SetAt(HWND hWnd, CSubclassWnd* pHook);

private:
    std::unordered_map<HWND, CSubclassWnd*> m_map;
};
