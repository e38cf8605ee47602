#include "skin/SkinCtrl.h"

#include "framework/Wnd.h"

#include <commctrl.h>

namespace {
// The scroll bar being dragged with the platform's modal scroll loop; one user-interface thread.
struct ScrollTracking {
    CSkinCtrl* ctrl = nullptr;
    int bar = -1; // 1 vertical, 0 horizontal
    HHOOK hook = nullptr;
};
thread_local ScrollTracking t_tracking;

LRESULT CALLBACK ScrollTrackingProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = t_tracking.hook;
    if (!(::GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        if (t_tracking.hook) ::UnhookWindowsHookEx(t_tracking.hook);
        t_tracking = ScrollTracking{};
    } else if (t_tracking.ctrl) {
        t_tracking.ctrl->SendMessage(WM_NCPAINT, 0, 0);
        POINT cursor{};
        if (skin::g_pOwner && ::GetCursorPos(&cursor)) skin::g_pOwner->SetLastCursorPos(cursor);
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

// Control-colour messages run from WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC; the message box one is not a
// child's.
bool IsCtlColorMessage(UINT message) {
    return message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC;
}
} // namespace

CSkinCtrl::~CSkinCtrl() {
    if (t_tracking.ctrl == this) StopScrollTracking();
    Hook(nullptr);
}

CSkinCtrl* CSkinCtrl::SkinOf(HWND hWnd) const {
    return hWnd && skin::g_pOwner ? skin::g_pOwner->GetSkinCtrl(hWnd) : nullptr;
}

bool CSkinCtrl::IsDropDownList() const {
    return m_hWnd && ::GetAncestor(m_hWnd, GA_PARENT) == ::GetDesktopWindow() &&
           (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD);
}

LRESULT CSkinCtrl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!::IsWindow(m_hWnd)) return 0;
    if (!skin::g_bEnabled) return CSubclassWnd::WindowProc(hWnd, message, wParam, lParam);
    return OnMessage(message, wParam, lParam);
}

void CSkinCtrl::StartScrollTracking(int bar) {
    StopScrollTracking();
    t_tracking.ctrl = this;
    t_tracking.bar = bar;
    t_tracking.hook = ::SetWindowsHookExA(WH_MSGFILTER, &ScrollTrackingProc, nullptr, ::GetCurrentThreadId());
}

void CSkinCtrl::StopScrollTracking() {
    if (t_tracking.hook) ::UnhookWindowsHookEx(t_tracking.hook);
    t_tracking = ScrollTracking{};
}

bool CSkinCtrl::IsScrollBarTracked() {
    return t_tracking.bar != -1;
}

bool CSkinCtrl::OnScroll(UINT code, int position, bool horizontal) {
    m_bThumbTracking = code == SB_THUMBTRACK;
    return code == SB_THUMBTRACK;
}

LRESULT CSkinCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (t_tracking.hook && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000)) StopScrollTracking();
    auto passOn = [&] { return CSubclassWnd::WindowProc(m_hWnd, message, wParam, lParam); };
    const DWORD features = m_dwFeatures;

    switch (message) {
    case WM_MOVE:
        if (OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))) return 0;
        return passOn();
    case WM_SIZE:
        if (OnSize(LOWORD(lParam), HIWORD(lParam))) return 0;
        return passOn();
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        SendMessage(WM_NCPAINT, 0, 0);
        OnFocusChange(message == WM_SETFOCUS);
        return passOn();
    case WM_ENABLE: {
        // The platform repaints in its own look while enabling; ours follows in one go.
        CSubclassWnd::WindowProc(m_hWnd, WM_SETREDRAW, FALSE, 0);
        LRESULT result = passOn();
        CSubclassWnd::WindowProc(m_hWnd, WM_SETREDRAW, TRUE, 0);
        Redraw(true);
        return result;
    }
    case WM_PAINT: {
        if (!(features & skin::kFeaturePaint)) return passOn();
        if (wParam) {
            if (OnPaint(reinterpret_cast<HDC>(wParam))) return 0;
            return passOn();
        }
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        LRESULT result = 0;
        if (!OnPaint(dc)) result = CSubclassWnd::WindowProc(m_hWnd, message, reinterpret_cast<WPARAM>(dc), 0);
        ::EndPaint(m_hWnd, &paint);
        return result;
    }
    case WM_ERASEBKGND:
        if ((features & skin::kFeatureEraseBkgnd) && OnEraseBkgnd(reinterpret_cast<HDC>(wParam))) return 1;
        return passOn();
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        CSkinCtrl* child = item && item->CtlType != ODT_MENU ? SkinOf(item->hwndItem) : nullptr;
        if (!child) return passOn();
        if (child->m_dwFeatures & skin::kFeatureDrawItem) return child->OnDrawItem(item) ? 1 : passOn();
        if (child->m_dwFeatures & skin::kFeatureDrawItemAfter) {
            LRESULT result = passOn();
            return child->OnDrawItem(item) ? 1 : result;
        }
        return passOn();
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (!header) return passOn();
        CSkinCtrl* sender = SkinOf(header->hwndFrom);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            LRESULT answer = 0;
            if (sender && (sender->m_dwFeatures & skin::kFeatureCustomDraw)) {
                // The window's own drawing (a bold row, a note over an empty list) goes first; the skin's
                // colours then apply to it.
                auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
                answer = passOn();
                answer |= draw->dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW
                                                             : sender->OnCustomDraw(draw, draw->dwDrawStage);
            }
            if (m_bDialog) ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, answer);
            return answer;
        }
        LRESULT result = passOn();
        if (sender) sender->OnReflectNotify(header, result);
        OnNotify(header);
        return result;
    }
    case WM_STYLECHANGED: {
        auto* styles = reinterpret_cast<STYLESTRUCT*>(lParam);
        if (styles)
            OnStyleChanged(static_cast<int>(wParam) == GWL_EXSTYLE, styles->styleOld, styles->styleNew);
        return passOn();
    }
    case WM_NCCALCSIZE: {
        LRESULT result = passOn();
        if (!IsDropDownList() && (features & skin::kFeatureNonClient) && wParam && lParam)
            OnNcCalcSize(&reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]);
        return result;
    }
    case WM_NCPAINT: {
        if (IsDropDownList()) {
            passOn();
            HDC dc = ::GetWindowDC(m_hWnd);
            DrawDropDownFrame(dc);
            ::ReleaseDC(m_hWnd, dc);
            return 0;
        }
        if (!(features & skin::kFeatureNonClient)) return passOn();
        if (!(features & skin::kFeatureNoDefNcPaint)) passOn();
        HDC dc = ::GetWindowDC(m_hWnd);
        OnNcPaint(dc);
        ::ReleaseDC(m_hWnd, dc);
        return 0;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTHSCROLL || wParam == HTVSCROLL) StartScrollTracking(wParam == HTVSCROLL ? 1 : 0);
        return passOn();
    case WM_NCLBUTTONUP: StopScrollTracking(); return passOn();
    case WM_COMMAND: {
        UINT code = HIWORD(wParam);
        if (code < 2) return passOn();
        LRESULT result = passOn();
        HWND child = reinterpret_cast<HWND>(lParam);
        if (CSkinCtrl* sender = SkinOf(child)) sender->OnReflectCommand(code, result);
        OnCommand(code, LOWORD(wParam), child);
        return result;
    }
    case WM_TIMER: OnTimer(wParam); return passOn();
    case WM_HSCROLL:
    case WM_VSCROLL: {
        bool horizontal = message == WM_HSCROLL;
        if (lParam) {
            if (CSkinCtrl* bar = SkinOf(reinterpret_cast<HWND>(lParam)))
                bar->OnScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), horizontal);
        } else {
            OnScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), horizontal);
        }
        [[fallthrough]];
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
        LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL)) {
            RECT window;
            GetRects(&window, nullptr);
            HDC dc = ::GetWindowDC(m_hWnd);
            DrawScrollBars(dc, window, 3);
            ::ReleaseDC(m_hWnd, dc);
        }
        return passOn();
    }
    case WM_PRINT: {
        if (!(lParam & PRF_NONCLIENT)) return passOn();
        HDC dc = reinterpret_cast<HDC>(wParam);
        // The platform's printing leaves its own clipping behind in the caller's context.
        int saved = ::SaveDC(dc);
        passOn();
        ::RestoreDC(dc, saved);
        if (IsDropDownList())
            DrawDropDownFrame(dc);
        else if (features & skin::kFeatureNonClient)
            OnNcPaint(dc);
        return 0;
    }
    default: break;
    }
    if (IsCtlColorMessage(message)) {
        // Never passed on: an unskinned child gets the platform's own colours.
        CSkinCtrl* child = SkinOf(reinterpret_cast<HWND>(lParam));
        if (child && (child->m_dwFeatures & skin::kFeatureCtlColor))
            return reinterpret_cast<LRESULT>(child->OnCtlColor(reinterpret_cast<HDC>(wParam)));
        return 0;
    }
    return passOn();
}

bool CSkinCtrl::Initialize(HWND hWnd) {
    m_bFrameworkFree = CWnd::FromHandlePermanent(hWnd) == nullptr;
    if (!Hook(hWnd)) return false;
    char className[128] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    m_bDialog = lstrcmpiA(className, "#32770") == 0;
    m_dwSavedStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    Refresh();
    // Only a skin that sizes the non-client area itself needs the frame computed again.
    if (m_dwFeatures & skin::kFeatureNonClient)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return true;
}

bool CSkinCtrl::Uninitialize() {
    if (!m_hWnd) return true;
    HWND hWnd = m_hWnd;
    // Our window objects hook through the same chain, which lets any hook leave in any order, so the
    // object of the window needs no unsubclassing around this.
    if (skin::g_pOwner) {
        HWND child = ::GetWindow(hWnd, GW_CHILD);
        while (child) {
            HWND next = ::GetWindow(child, GW_HWNDNEXT);
            skin::g_pOwner->DetachWindow(child);
            child = next;
        }
    }
    Hook(nullptr);
    if (::IsWindow(hWnd)) ::SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(m_dwSavedStyle));
    return true;
}

void CSkinCtrl::GetRects(RECT* window, RECT* client, bool clientOnly) {
    RECT screen{}, inner{};
    ::GetWindowRect(m_hWnd, &screen);
    ::GetClientRect(m_hWnd, &inner);
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    ::OffsetRect(&inner, origin.x - screen.left, origin.y - screen.top);
    if (window) *window = {0, 0, screen.right - screen.left, screen.bottom - screen.top};
    if (!client) return;
    if (!clientOnly) {
        LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
        if (style & WS_VSCROLL) {
            int width = ::GetSystemMetrics(SM_CXVSCROLL);
            if (::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)
                inner.left -= width;
            else
                inner.right += width;
        }
        if (style & WS_HSCROLL) inner.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    }
    *client = inner;
}

int CSkinCtrl::GetBorderWidth() {
    return skin::BorderWidth(m_dwFeatures, IsDropDownList());
}

void CSkinCtrl::OnNcCalcSize(RECT* proposed) {
    int inset = skin::NcInset(GetBorderWidth());
    if (inset > 0 && GetBorderWidth() >= 2) ::InflateRect(proposed, -inset, -inset);
}

bool CSkinCtrl::IsScrollBarUsable(int bar, bool thumb) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!thumb && !::GetScrollInfo(m_hWnd, bar, &info)) return false;
    RECT window;
    GetRects(&window, nullptr);
    bool vertical = bar == SB_VERT;
    int length = vertical ? window.bottom - window.top - 2 * GetBorderWidth()
                          : window.right - window.left - 2 * GetBorderWidth();
    int arrow = ::GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    return skin::IsScrollBarUsable(::IsWindowEnabled(m_hWnd), thumb, info.nMin, info.nMax, info.nPage, length,
                                   arrow, ::GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB), true);
}

void CSkinCtrl::Redraw(bool updateNow) {
    // A hidden window is painted whole when it shows; painting it now would be work for nothing, and a
    // dialog's start-up attaches and refreshes dozens of hidden controls.
    if (!IsValid() || !::IsWindowVisible(m_hWnd)) return;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (updateNow) ::UpdateWindow(m_hWnd);
    SendMessage(WM_NCPAINT, 0, 0);
}

COLORREF CSkinCtrl::GetBkColor() {
    int slot = skin::BkColorSlot(m_dwFeatures);
    return slot == skin::kSlotParentBkgnd ? GetParentBkColor() : GetColor(slot);
}

COLORREF CSkinCtrl::GetParentBkColor() {
    CSkinCtrl* parent = m_hWnd ? SkinOf(::GetParent(m_hWnd)) : nullptr;
    return parent && parent != this ? parent->GetBkColor() : GetColor(skin::kSlotBtnFace);
}

bool CSkinCtrl::OnEraseBkgnd(HDC dc) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, GetBrush(GetBkColor()));
    return true;
}

HBRUSH CSkinCtrl::OnCtlColor(HDC dc) {
    COLORREF background = GetBkColor();
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, background);
    ::SetTextColor(dc, GetColor(skin::kSlotWindowText));
    return GetBrush(background);
}

COLORREF CSkinCtrl::GetColor(int slot) {
    if (m_pGlobals) return m_pGlobals->GetColor(slot);
    return skin::NonBlack(::GetSysColor(slot == skin::kSlotParentBkgnd ? skin::kSlotBtnFace : slot));
}

HBRUSH CSkinCtrl::GetBrush(COLORREF color) {
    if (m_pGlobals) return m_pGlobals->GetBrush(color);
    m_scratchBrush.CreateSolidBrush(color);
    return m_scratchBrush;
}

HBRUSH CSkinCtrl::GetColorBrush(int slot) {
    COLORREF color = GetColor(slot);
    if (slot != skin::kSlotParentBkgnd && color == ::GetSysColor(slot)) return ::GetSysColorBrush(slot);
    return GetBrush(color);
}

HPEN CSkinCtrl::GetPen(COLORREF color) {
    if (m_pGlobals) return m_pGlobals->GetPen(color);
    m_scratchPen.CreatePen(PS_SOLID, 0, color);
    return m_scratchPen;
}

HPEN CSkinCtrl::GetColorPen(int slot) {
    return GetPen(GetColor(slot));
}
