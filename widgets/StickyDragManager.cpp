#include "widgets/StickyDragManager.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool Near(int a, int b, int distance) { return std::abs(a - b) < distance; }

int SideCoordinate(int side, StickyPoint cursor) { return side % 2 == 0 ? cursor.x : cursor.y; }

}  // namespace

bool StickyRect::Intersects(const StickyRect& other) const {
    if (left >= right || top >= bottom || other.left >= other.right || other.top >= other.bottom) return false;
    return std::max(left, other.left) < std::min(right, other.right) &&
           std::max(top, other.top) < std::min(bottom, other.bottom);
}

StickyRect PlaceFlushBelow(const StickyRect& aboveFrame, const StickyRect& borders, int height) {
    const StickyRect frame{aboveFrame.left, aboveFrame.bottom, aboveFrame.right, aboveFrame.bottom + height};
    StickyRect window = WindowRectOfFrame(frame, borders);
    window.bottom = window.top + height;
    return window;
}

CStickyDragManager::CStickyDragManager(const IStickyDesktop& desktop) : m_desktop(desktop) { Init(nullptr); }

void CStickyDragManager::Init(StickyWindow mainWindow) {
    m_hwndMain = mainWindow;
    m_docked.clear();
    m_targets.clear();
    m_windows.clear();
    m_nSnapDistance = kDefaultSnapDistance;
    m_hwndNoDock = nullptr;
    for (int side = 0; side < 4; ++side) {
        m_bSnapped[side] = false;
        m_nSnapCursor[side] = 0;
    }
}

StickyRect CStickyDragManager::RectOf(StickyWindow window) const {
    StickyRect rect;
    if (!m_desktop.GetWindowRect(window, &rect)) return StickyRect{};
    return rect;
}

bool CStickyDragManager::FrameOf(StickyWindow window, StickyRect* frame) const {
    StickyRect rect;
    if (!m_desktop.GetWindowRect(window, &rect)) return false;
    *frame = FrameOfWindowRect(rect, m_desktop.GetInvisibleBorders(window));
    return true;
}

bool CStickyDragManager::TargetRect(StickyWindow target, const StickyRect& moving, StickyRect* rect) const {
    if (target == m_hwndNoDock && m_desktop.GetWorkArea(moving, rect)) return true;
    return FrameOf(target, rect);
}

void CStickyDragManager::StartDrag() {
    for (int side = 0; side < 4; ++side) {
        m_bSnapped[side] = false;
        m_nSnapCursor[side] = 0;
    }
    m_targets.clear();
    m_docked.clear();
    if (m_bDockGroup) {
        if (m_hwndMain) FindDocked(m_hwndMain, -1);
        for (size_t i = 0; i < m_windows.size(); ++i)
            if (i >= m_isDocked.size() || !m_isDocked[i]) m_targets.push_back(m_windows[i]);
    } else {
        m_targets = m_windows;
    }
    if (!FrameOf(m_hwndMain, &m_rcLast)) m_rcLast = StickyRect{};
}

// Marks every window touching the start window edge to edge, then the windows touching those, once each.
void CStickyDragManager::FindDocked(StickyWindow start, int expanding) {
    const size_t count = m_windows.size();
    if (expanding < 0) {
        m_isDocked.assign(count, false);
        m_expanded.assign(count, false);
    } else {
        m_expanded[static_cast<size_t>(expanding)] = true;
    }
    StickyRect r;
    if (FrameOf(start, &r)) {
        const StickyRect grown = r.Inflated(1);
        for (size_t a = 0; a < count; ++a) {
            StickyWindow window = m_windows[a];
            if (window == m_hwndNoDock || static_cast<int>(a) == expanding || m_isDocked[a]) continue;
            StickyRect w;
            if (!FrameOf(window, &w) || !w.Intersects(grown)) continue;
            if (w.left == r.left || w.left == r.right || w.right == r.left || w.right == r.right ||
                w.top == r.top || w.top == r.bottom || w.bottom == r.top || w.bottom == r.bottom)
                m_isDocked[a] = true;
            if (m_isDocked[a] && !m_expanded[a]) FindDocked(window, static_cast<int>(a));
        }
    }
    if (expanding < 0) {
        m_docked.clear();
        for (size_t a = 0; a < count; ++a)
            if (m_isDocked[a]) m_docked.push_back(m_windows[a]);
    }
}

void CStickyDragManager::SnapRect(StickyRect& rect) {
    const StickyRect borders = m_desktop.GetInvisibleBorders(m_hwndMain);
    StickyRect frame = FrameOfWindowRect(rect, borders);
    SnapFrame(frame);
    rect = WindowRectOfFrame(frame, borders);
}

void CStickyDragManager::SnapFrame(StickyRect& rect) {
    const int d = m_nSnapDistance;
    const StickyPoint cursor = m_desktop.GetCursorPos();

    // A held side lets go once the cursor has travelled more than twice the band since the snap, and the
    // rectangle catches up with all of that travel at once.
    for (int side = 0; side < 4; ++side) {
        if (!m_bSnapped[side]) continue;
        const int travel = SideCoordinate(side, cursor) - m_nSnapCursor[side];
        if (std::abs(travel) <= 2 * d) continue;
        m_bSnapped[side] = false;
        if (side % 2 == 0)
            rect.Offset(travel, 0);
        else
            rect.Offset(0, travel);
    }

    int xShift = 0, yShift = 0;
    int xSide = kNoSide, ySide = kNoSide;
    for (StickyWindow target : m_targets) {
        StickyRect t;
        if (!TargetRect(target, rect, &t) || !t.Inflated(d).Intersects(rect)) continue;

        if (Near(rect.right, t.left, d)) {
            xSide = kRight;
            xShift = rect.right - t.left;
        } else if (Near(rect.right, t.right, d)) {
            xSide = kRight;
            xShift = rect.right - t.right;
        } else if (Near(rect.left, t.left, d)) {
            xSide = kLeft;
            xShift = rect.left - t.left;
        } else if (Near(rect.left, t.right, d)) {
            xSide = kLeft;
            xShift = rect.left - t.right;
        }

        if (Near(rect.top, t.top, d)) {
            ySide = kTop;
            yShift = rect.top - t.top;
        } else if (Near(rect.top, t.bottom, d)) {
            ySide = kTop;
            yShift = rect.top - t.bottom;
        } else if (Near(rect.bottom, t.top, d)) {
            ySide = kBottom;
            yShift = rect.bottom - t.top;
        } else if (Near(rect.bottom, t.bottom, d)) {
            ySide = kBottom;
            yShift = rect.bottom - t.bottom;
        }

        rect.Offset(-xShift, -yShift);
        if (xSide != kNoSide && !m_bSnapped[xSide]) {
            m_bSnapped[xSide] = true;
            m_nSnapCursor[xSide] = cursor.x;
        }
        if (ySide != kNoSide && !m_bSnapped[ySide]) {
            m_bSnapped[ySide] = true;
            m_nSnapCursor[ySide] = cursor.y;
        }
        // One target per call moves the rectangle; an exact alignment marks its side and the search goes on.
        if (xShift != 0 || yShift != 0) break;
    }
}

CStickyDragManager::Moves CStickyDragManager::OnMoving(StickyRect& window) {
    Moves moves;
    const StickyRect mainBorders = m_desktop.GetInvisibleBorders(m_hwndMain);
    StickyRect rect = FrameOfWindowRect(window, mainBorders);
    const int dx = rect.left - m_rcLast.left;
    const int dy = rect.top - m_rcLast.top;
    const StickyPoint proposed{rect.left, rect.top};

    if (m_bDockGroup && !m_docked.empty()) {
        std::vector<StickyRect>& group = moves.rects;
        for (StickyWindow docked : m_docked) {
            StickyRect r;
            if (!FrameOf(docked, &r)) r = StickyRect{};
            r.Offset(dx, dy);
            group.push_back(r);
        }
        // Each snap, of the main rectangle or of a docked one, shifts the whole group, so the group snaps
        // to whatever any of its members comes near and stays rigid while doing so.
        auto shiftOthers = [&](const StickyRect& saved, const StickyRect& snapped, size_t self) {
            const int sx = saved.left - snapped.left, sy = saved.top - snapped.top;
            if (sx == 0 && sy == 0) return;
            if (self != group.size()) rect.Offset(-sx, -sy);
            for (size_t g = 0; g < group.size(); ++g)
                if (g != self) group[g].Offset(-sx, -sy);
        };
        for (int pass = 0; pass < kMaxSettlePasses; ++pass) {
            const StickyPoint before{rect.left, rect.top};
            StickyRect saved = rect;
            SnapFrame(rect);
            shiftOthers(saved, rect, group.size());
            for (size_t f = 0; f < group.size(); ++f) {
                saved = group[f];
                SnapFrame(group[f]);
                shiftOthers(saved, group[f], f);
            }
            if (rect.left == before.x && rect.top == before.y) break;
        }
        // Every docked window moves by exactly the main window's net movement.
        const int cx = proposed.x - rect.left, cy = proposed.y - rect.top;
        for (size_t f = 0; f < m_docked.size(); ++f) {
            group[f] = RectOf(m_docked[f]);
            group[f].Offset(dx - cx, dy - cy);
        }
        moves.windows = m_docked;
    } else {
        SnapFrame(rect);
    }
    m_rcLast = rect;
    window = WindowRectOfFrame(rect, mainBorders);
    return moves;
}

void CStickyDragManager::SnapEdges(StickyRect& rect) const {
    const StickyRect borders = m_desktop.GetInvisibleBorders(m_hwndMain);
    StickyRect frame = FrameOfWindowRect(rect, borders);
    SnapFrameEdges(frame);
    rect = WindowRectOfFrame(frame, borders);
}

void CStickyDragManager::SnapFrameEdges(StickyRect& rect) const {
    const int d = m_nSnapDistance;
    for (StickyWindow target : m_targets) {
        StickyRect t;
        if (!TargetRect(target, rect, &t) || !t.Inflated(d).Intersects(rect)) continue;
        if (Near(rect.right, t.left, d))
            rect.right = t.left;
        else if (Near(rect.right, t.right, d))
            rect.right = t.right;
        if (Near(rect.left, t.left, d))
            rect.left = t.left;
        else if (Near(rect.left, t.right, d))
            rect.left = t.right;
        if (Near(rect.top, t.top, d))
            rect.top = t.top;
        else if (Near(rect.top, t.bottom, d))
            rect.top = t.bottom;
        if (Near(rect.bottom, t.top, d))
            rect.bottom = t.top;
        else if (Near(rect.bottom, t.bottom, d))
            rect.bottom = t.bottom;
    }
}

bool CStickyDragManager::PullUnderCursor(StickyRect& rect, StickyPoint cursor, StickyPoint grab) {
    const int x = cursor.x - grab.x, y = cursor.y - grab.y;
    if (std::abs(rect.left - x) <= 10 && std::abs(rect.top - y) <= 10) return false;
    rect.Offset(x - rect.left, y - rect.top);
    return true;
}
