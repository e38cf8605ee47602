#include "widgets/BannerStatic.h"

#include <windowsx.h>

#include <mmsystem.h>

namespace {

constexpr UINT kTickResolution = 100; // ms; one pixel a little late is invisible
// A window timer stands in when no multimedia timer is to be had; its id lies outside theirs.
constexpr UINT kWindowTimerId = 0x4D440001;

// Runs on the multimedia timer's thread. It knows only the window handle, never the object, so a tick
// that outlives the banner posts to a dead handle, which the system refuses.
void CALLBACK TickCallback(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    HWND hWnd = reinterpret_cast<HWND>(user);
    if (::IsWindow(hWnd)) ::PostMessageA(hWnd, WM_TIMER, timerId, 0);
}

} // namespace

CBannerStatic::~CBannerStatic() {
    KillTick();
    m_timerThread.Release();
}

void CBannerStatic::SetSpeed(int speed) {
    if (!m_scroll.SetSpeed(speed)) return;
    if (speed == 0) {
        KillTick();
        return;
    }
    // The pending tick is superseded. Killing it keeps timers from piling up (the system has only a few);
    // one that already fired and posted is ignored, because its id no longer matches.
    KillTick();
    ScheduleTick();
}

void CBannerStatic::ScheduleTick() {
    if (!IsWindow()) {
        m_nTimerId = 0; // nothing to post to; the owner sets a speed once the window exists
        return;
    }
    m_timerThread.Acquire();
    const UINT period = static_cast<UINT>(m_scroll.GetPeriod());
    UINT id = ::timeSetEvent(period, kTickResolution, &TickCallback, reinterpret_cast<DWORD_PTR>(m_hWnd),
                             TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
    if (!id && ::SetTimer(m_hWnd, kWindowTimerId, period, nullptr)) id = kWindowTimerId;
    m_nTimerId = id;
}

void CBannerStatic::KillTick() {
    if (m_nTimerId == kWindowTimerId)
        ::KillTimer(m_hWnd, kWindowTimerId);
    else if (m_nTimerId)
        ::timeKillEvent(m_nTimerId);
    m_nTimerId = 0;
}

void CBannerStatic::PreSubclassWindow() {
    CMultiColorStatic::PreSubclassWindow();
    SetSpeed(0); // still until the owner sets a speed
}

LRESULT CBannerStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: return OnTimer(wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return OnMouseButton(message, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor();
    }
    return CMultiColorStatic::WindowProc(message, wParam, lParam);
}

void CBannerStatic::PaintLine(HDC dc) {
    ::IntersectClipRect(dc, m_rcClient.left, m_rcClient.top, m_rcClient.right, m_rcClient.bottom);
    FillBackground(dc);
    m_scroll.ResetTextWidth();
    m_scroll.AddTextWidth(DrawSegments(dc, m_scroll.GetPosition()));
}

LRESULT CBannerStatic::OnTimer(WPARAM timerId) {
    // Only the current tick counts; a superseded chain ends here.
    if (m_nTimerId == 0 || timerId != m_nTimerId) return Default();
    if (m_nTimerId == kWindowTimerId) ::KillTimer(m_hWnd, kWindowTimerId); // used as a one-shot
    m_nTimerId = 0; // a one-shot timer is gone once it fired

    if (!m_segments.empty()) {
        CBannerScroll::Step step = m_scroll.Tick(m_rcClient.left, m_rcClient.right);
        if (step.bInvalidateAll) ::InvalidateRect(m_hWnd, nullptr, FALSE);
        // Move the picture one pixel; only the uncovered strip is left for the paint handler.
        if (step.nScrollBy)
            ::ScrollWindowEx(m_hWnd, step.nScrollBy, 0, &m_rcClient, &m_rcClient, nullptr, nullptr,
                             SW_INVALIDATE);
    }
    ScheduleTick(); // also while empty, so that the chain keeps running
    return 0;
}

LRESULT CBannerStatic::OnSize() {
    LRESULT result = CMultiColorStatic::OnSize();
    m_scroll.RecomputePeriod();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return result;
}

LRESULT CBannerStatic::OnDestroy() {
    KillTick(); // nothing may re-arm the chain once the window goes
    m_timerThread.Release();
    return CMultiColorStatic::OnDestroy();
}

LRESULT CBannerStatic::OnMouseButton(UINT message, WPARAM keys, LPARAM point) {
    HWND parent = GetParent();
    if (!parent) return Default();
    POINT pt{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ::MapWindowPoints(m_hWnd, parent, &pt, 1);
    ::PostMessageA(parent, message, keys, MAKELPARAM(pt.x, pt.y));
    return 0;
}

LRESULT CBannerStatic::OnSetCursor() {
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}
