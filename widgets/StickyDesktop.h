#pragma once
// The window system as the docking geometry sees it: window rectangles, their invisible borders, the
// work areas of the monitors and the cursor, plus the two steps of a drag that touch real windows
// (gathering the candidates, moving the docked group).
#include "widgets/StickyDragManager.h"

#include <windows.h>

class CStickyDesktop : public IStickyDesktop {
public:
    bool GetWindowRect(StickyWindow window, StickyRect* rect) const override;
    StickyPoint GetCursorPos() const override;
    // From the desktop window manager's extended frame bounds where the system answers them; none
    // otherwise (older systems, Wine, hidden windows).
    StickyRect GetInvisibleBorders(StickyWindow window) const override;
    bool GetWorkArea(const StickyRect& rect, StickyRect* area) const override;
    // The visible frame of a window: its rectangle less its invisible borders.
    StickyRect GetFrame(HWND hWnd) const;

    static StickyWindow ToSticky(HWND hWnd) { return hWnd; }
    static HWND ToHwnd(StickyWindow window) { return static_cast<HWND>(const_cast<void*>(window)); }
    static StickyRect ToSticky(const RECT& rect) { return StickyRect{rect.left, rect.top, rect.right, rect.bottom}; }
    static RECT ToRect(const StickyRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }
};

// Starts a drag of main: every shown top-level window of its thread in the system's order,
// then the desktop, which is a snap target but never docked.
void BeginStickyDrag(CStickyDragManager& manager, HWND main);

// Moves the docked windows to their new places in one deferred batch, so the group never tears: no size,
// stacking or activation change.
void MoveDockedWindows(const CStickyDragManager::Moves& moves);
