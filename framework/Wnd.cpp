#include "framework/Wnd.h"

#include "framework/App.h"
#include "framework/Debug.h"
#include "framework/Exception.h"

#include <mutex>
#include <unordered_map>

namespace {

// Handle-to-object map. Windows live on the user-interface thread, but the lock keeps a query from
// another thread (a test, a worker asking whether its target still exists) well defined.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static auto* map = new std::unordered_map<HWND, CWnd*>();  // outlives every static window object
    return *map;
}

void MapInsert(HWND hWnd, CWnd* pWnd) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    HandleMap()[hWnd] = pWnd;
}

void MapRemove(HWND hWnd, CWnd* pWnd) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = HandleMap().find(hWnd);
    if (it != HandleMap().end() && it->second == pWnd) HandleMap().erase(it);
}

// The message being handled on this thread, for Default().
struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage t_current{};

// Window-creation hook state of this thread.
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCreate = nullptr;

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam);

}  // namespace

CWnd::~CWnd() {
    // A window we created or hooked goes with its object; a merely attached one is only let go.
    if (m_hWnd && m_pfnSuper && ::IsWindow(m_hWnd) &&
        ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId()) {
        DestroyWindow();
    }
    if (m_hWnd) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

bool CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return false;
    m_hWnd = hWnd;
    MapInsert(hWnd, this);
    return true;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) MapRemove(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

bool CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) return false;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent) {
    HWND control = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    // Only put the old procedure back when nobody hooked the window after us.
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    if (m_pfnSuper && current == &CWnd::StdWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu, void* param) {
    if (m_hWnd) return false;
    HookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(idOrMenu), AfxGetInstanceHandle(), param);
    bool hookUnused = UnhookWindowCreate();
    if (!hWnd) {
        if (!hookUnused && m_hWnd) Detach();  // creation was refused after the object was bound
        m_pfnSuper = nullptr;
        return false;
    }
    return m_hWnd == hWnd;
}

bool CWnd::DestroyWindow() {
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT CWnd::GetClientRect() const {
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const {
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

void CWnd::ClientToScreen(RECT* rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(RECT* rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

bool CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) const {
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return false;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, changed);
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}

bool CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) const {
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return false;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, changed);
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}

int CWnd::MessageBox(const std::string& text, const char* caption, UINT type) const {
    return ::MessageBoxA(m_hWnd, text.c_str(), caption ? caption : AfxGetAppName().c_str(), type);
}

LRESULT CWnd::Default() {
    const CurrentMessage& msg = t_current;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

bool CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* pChild = FromHandlePermanent(child);
    return pChild && pChild->OnReflect(message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control && ReflectToChild(control, message, wParam, lParam, &result)) return result;
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), control)) return 0;
        break;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (ReflectToChild(header->hwndFrom, message, wParam, lParam, &result)) return result;
        if (OnNotify(header, &result)) return result;
        break;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU && ReflectToChild(item->hwndItem, message, wParam, lParam, &result))
            return result;
        break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam && ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result))
            return result;
        break;
    }
    return Default();
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);

    CurrentMessage saved = t_current;
    t_current = CurrentMessage{hWnd, message, wParam, lParam};
    LRESULT result = 0;
    // No exception may unwind through the system's frames: each message is an operation boundary.
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    } catch (const std::exception& e) {
        DebugOutput(e.what());
    }
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) {
        pWnd->m_pfnSuper = nullptr;
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    t_current = saved;
    return result;
}

namespace {

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hHookCreate, code, wParam, lParam);
}

}  // namespace

void CWnd::HookWindowCreate(CWnd* pWnd) {
    if (!t_hHookCreate)
        t_hHookCreate = ::SetWindowsHookExA(WH_CBT, CreateHookProc, nullptr, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
}

bool CWnd::UnhookWindowCreate() {
    bool unused = t_pWndInit != nullptr;
    t_pWndInit = nullptr;
    if (t_hHookCreate) {
        ::UnhookWindowsHookEx(t_hHookCreate);
        t_hHookCreate = nullptr;
    }
    return unused;
}
