#include "widgets/StickyDesktop.h"

bool CStickyDesktop::GetWindowRect(StickyWindow window, StickyRect* rect) const {
    RECT r;
    if (!window || !::GetWindowRect(ToHwnd(window), &r)) return false;
    *rect = ToSticky(r);
    return true;
}

StickyPoint CStickyDesktop::GetCursorPos() const {
    POINT pt{};
    ::GetCursorPos(&pt);
    return StickyPoint{pt.x, pt.y};
}

namespace {

struct Gathering {
    CStickyDragManager* manager;
    HWND main;
};

BOOL CALLBACK AddCandidate(HWND hWnd, LPARAM lParam) {
    auto* gathering = reinterpret_cast<Gathering*>(lParam);
    // A hidden window (the compact view, helper windows) would make the player snap to nothing visible.
    if (hWnd != gathering->main && ::IsWindowVisible(hWnd) && !::IsIconic(hWnd))
        gathering->manager->m_windows.push_back(CStickyDesktop::ToSticky(hWnd));
    return TRUE;
}

}  // namespace

void BeginStickyDrag(CStickyDragManager& manager, HWND main) {
    manager.Init(CStickyDesktop::ToSticky(main));
    Gathering gathering{&manager, main};
    ::EnumThreadWindows(::GetWindowThreadProcessId(main, nullptr), &AddCandidate,
                        reinterpret_cast<LPARAM>(&gathering));
    HWND desktop = ::GetDesktopWindow();
    manager.m_windows.push_back(CStickyDesktop::ToSticky(desktop));
    manager.m_hwndNoDock = CStickyDesktop::ToSticky(desktop);
    manager.StartDrag();
}

void MoveDockedWindows(const CStickyDragManager::Moves& moves) {
    if (moves.windows.empty()) return;
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(moves.windows.size()));
    for (size_t i = 0; i < moves.windows.size() && batch; ++i)
        batch = ::DeferWindowPos(batch, CStickyDesktop::ToHwnd(moves.windows[i]), nullptr, moves.rects[i].left,
                                 moves.rects[i].top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (batch) ::EndDeferWindowPos(batch);
}
