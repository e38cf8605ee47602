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

thread_local MSG t_current{};

// Our one entry in each hooked window's subclass chain: a window has at most one object.
constexpr UINT_PTR kSubclassId = 1;

const char kPlainClassName[] = "MelodeckWnd";

const char* PlainClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = AfxGetInstanceHandle();
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kPlainClassName;
        return ::RegisterClassA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered ? kPlainClassName : nullptr;
}

// Window-creation hook state of this thread.
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCreate = nullptr;

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam);

}  // namespace

MSG* AfxGetCurrentMessage() { return &t_current; }

CMessageScope::CMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) : m_saved(t_current) {
    DWORD pos = ::GetMessagePos();
    t_current = MSG{hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                    POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))}};
}

CMessageScope::~CMessageScope() { t_current = m_saved; }

CWnd::~CWnd() {
    // The derived part is gone: its WM_DESTROY can no longer run, so the window is only let go.
    if (m_hWnd && m_pfnSuper && ::IsWindow(m_hWnd)) {
        DebugOutputF("Window object destroyed while its window %p lives", static_cast<void*>(m_hWnd));
        UnsubclassWindow();
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
    if (!AddWindowHook(hWnd, &CWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        Detach();
        return false;
    }
    m_pfnSuper = &CallNextWindowHook;
    return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent) {
    HWND control = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper) RemoveWindowHook(m_hWnd, &CWnd::SubclassProc, kSubclassId);
    m_pfnSuper = nullptr;
    return Detach();
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu, void* param) {
    if (m_hWnd) return false;
    if (!className && !(className = PlainClass())) return false;
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
    const MSG& msg = t_current;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return m_pfnSuper(m_hWnd, message, wParam, lParam);
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

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR refData) {
    auto* pWnd = reinterpret_cast<CWnd*>(refData);
    CMessageScope scope(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    // No exception may unwind through the system's frames: each message is an operation boundary.
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    } catch (const std::exception& e) {
        DebugOutput(e.what());
    }
    // The object may be gone after any other message (a window that deletes itself), so only the
    // last message touches it again.
    if (message == WM_NCDESTROY) {
        RemoveWindowHook(hWnd, &CWnd::SubclassProc, kSubclassId);
        if (pWnd->m_hWnd == hWnd) {
            pWnd->m_pfnSuper = nullptr;
            pWnd->Detach();
            pWnd->PostNcDestroy();
        }
    }
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
