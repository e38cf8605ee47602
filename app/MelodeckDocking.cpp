// The player's side of sticky docking: each drag starts on a press on the frame, and every step of the
// system's move loop snaps the player and carries the windows docked to it.
#include "app/MelodeckDlg.h"

#include <windowsx.h>

LRESULT CMelodeckDlg::OnNcLButtonDown(WPARAM hitTest, LPARAM point) {
    BeginStickyDrag(m_sticky, m_hWnd);
    RECT window = GetWindowRect();
    m_ptGrab = POINT{GET_X_LPARAM(point) - window.left, GET_Y_LPARAM(point) - window.top};
    return Default();  // starts the system's move or size loop
}

LRESULT CMelodeckDlg::OnMoving(RECT* proposed) {
    LRESULT result = Default();
    StickyPoint cursor = m_stickyDesktop.GetCursorPos();
    StickyRect rect = CStickyDesktop::ToSticky(*proposed);
    const StickyRect before = rect;
    CStickyDragManager::Moves moves = m_sticky.OnMoving(rect);
    if (rect == before) CStickyDragManager::PullUnderCursor(rect, cursor, StickyPoint{m_ptGrab.x, m_ptGrab.y});
    *proposed = CStickyDesktop::ToRect(rect);
    MoveDockedWindows(moves);
    return result;
}

LRESULT CMelodeckDlg::OnSizing(RECT* proposed) {
    StickyRect rect = CStickyDesktop::ToSticky(*proposed);
    m_sticky.SnapEdges(rect);
    *proposed = CStickyDesktop::ToRect(rect);
    return TRUE;
}
