#include "widgets/DelayRedraw.h"

bool CDelayRedraw::Create() {
    m_bCreating = true;
    bool created = CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{}, nullptr, 0);
    m_bCreating = false;
    if (!created) delete this;
    return created;
}

void CDelayRedraw::PostNcDestroy() {
    // A refused creation is cleaned up by Create, which still uses the object afterwards.
    if (!m_bCreating) delete this;
}

LRESULT CDelayRedraw::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_TIMER: return OnTimer(wParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDelayRedraw::OnCreate() {
    if (!::IsWindow(m_hWndTarget) || m_nDelay <= 0 || Default() == -1) return -1;
    ::SetTimer(m_hWnd, kTimerId, static_cast<UINT>(m_nDelay), nullptr);
    return 0;
}

LRESULT CDelayRedraw::OnTimer(UINT_PTR id) {
    LRESULT result = Default();
    if (id != kTimerId) return result;
    ::KillTimer(m_hWnd, kTimerId);
    ::InvalidateRect(m_hWndTarget, nullptr, TRUE);
    ::UpdateWindow(m_hWndTarget);
    ::SendMessageA(m_hWndTarget, WM_NCPAINT, 0, 0);
    DestroyWindow();  // deletes this object
    return result;
}

bool DelayRedraw(HWND target, int delay) {
    if (delay <= 0 || !::IsWindow(target)) return false;
    return (new CDelayRedraw(target, delay))->Create();
}
