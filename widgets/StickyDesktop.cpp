#include "widgets/StickyDesktop.h"

namespace {

// DWMWA_EXTENDED_FRAME_BOUNDS: the frame the desktop window manager draws, without the invisible border.
constexpr DWORD kExtendedFrameBounds = 9;
// Borders wider than this are not invisible resize borders (a process not aware of the display's
// scaling, as this one is, gets the bounds in physical pixels): the window rectangle is used then.
constexpr int kMaxInvisibleBorder = 32;

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

DwmGetWindowAttributeFn DwmGetWindowAttributeOnce() {
    static const DwmGetWindowAttributeFn function = [] {
        HMODULE dwm = ::LoadLibraryA("dwmapi.dll");
        return dwm ? reinterpret_cast<DwmGetWindowAttributeFn>(
                         reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    return function;
}

}  // namespace

bool CStickyDesktop::GetWindowRect(StickyWindow window, StickyRect* rect) const {
    RECT r;
    if (!window || !::GetWindowRect(ToHwnd(window), &r)) return false;
    *rect = ToSticky(r);
    return true;
}

StickyRect CStickyDesktop::GetInvisibleBorders(StickyWindow window) const {
    const DwmGetWindowAttributeFn dwmGetWindowAttribute = DwmGetWindowAttributeOnce();
    RECT rect{}, frame{};
    HWND hWnd = ToHwnd(window);
    if (!dwmGetWindowAttribute || !hWnd || !::IsWindowVisible(hWnd) || ::IsIconic(hWnd) ||
        !::GetWindowRect(hWnd, &rect) || FAILED(dwmGetWindowAttribute(hWnd, kExtendedFrameBounds, &frame, sizeof(frame))))
        return StickyRect{};
    const StickyRect borders{frame.left - rect.left, frame.top - rect.top, rect.right - frame.right,
                             rect.bottom - frame.bottom};
    for (int side : {borders.left, borders.top, borders.right, borders.bottom})
        if (side < 0 || side > kMaxInvisibleBorder) return StickyRect{};
    // The resize border is the same on both sides; bounds in scaled pixels are not.
    if (borders.left - borders.right > 2 || borders.right - borders.left > 2) return StickyRect{};
    return borders;
}

bool CStickyDesktop::GetWorkArea(const StickyRect& rect, StickyRect* area) const {
    const RECT r = ToRect(rect);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return false;
    *area = ToSticky(info.rcWork);
    return true;
}

StickyRect CStickyDesktop::GetFrame(HWND hWnd) const {
    StickyRect rect;
    if (!GetWindowRect(ToSticky(hWnd), &rect)) return StickyRect{};
    return FrameOfWindowRect(rect, GetInvisibleBorders(ToSticky(hWnd)));
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
