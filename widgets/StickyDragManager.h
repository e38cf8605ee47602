#pragma once
// CStickyDragManager: makes a dragged window magnetic. Its edges snap to the edges of the other
// candidate windows and of the screen, and the windows docked to it (edge to edge, directly or through a
// chain) move with it as one group. Pure geometry on screen rectangles: the window system is reached
// through IStickyDesktop, so the rules run and are tested without it.
#include <cstdint>
#include <utility>
#include <vector>

// Screen rectangle; right and bottom are exclusive, as window rectangles are reported.
struct StickyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    void Offset(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    StickyRect Inflated(int d) const { return StickyRect{left - d, top - d, right + d, bottom + d}; }
    // True when the two share at least one pixel.
    bool Intersects(const StickyRect& other) const;
    bool operator==(const StickyRect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    bool operator!=(const StickyRect& other) const { return !(*this == other); }
};

struct StickyPoint {
    int x = 0;
    int y = 0;
};

// An opaque window handle.
using StickyWindow = const void*;

// What the manager reads from the window system.
class IStickyDesktop {
public:
    virtual ~IStickyDesktop() = default;
    // The window's current rectangle; false (and nothing written) when there is no such window.
    virtual bool GetWindowRect(StickyWindow window, StickyRect* rect) const = 0;
    virtual StickyPoint GetCursorPos() const = 0;
};

class CStickyDragManager {
public:
    // Sides, as indices into m_bSnapped and m_nSnapCursor.
    enum Side { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3, kNoSide = -1 };
    static constexpr int kDefaultSnapDistance = 5;
    static constexpr int kMaxSettlePasses = 10;

    // The docked windows and, in the same order, where each is to go.
    struct Moves {
        std::vector<StickyWindow> windows;
        std::vector<StickyRect> rects;
    };

    explicit CStickyDragManager(const IStickyDesktop& desktop);
    virtual ~CStickyDragManager() = default;

    // Forgets the previous drag: the lists, the side marks and the window to move.
    void Init(StickyWindow mainWindow);
    // Prepares one drag from the windows as they stand now.
    void StartDrag();
    // The main window's proposed rectangle while it moves (adjusted in place); returns the docked windows
    // with their new rectangles.
    Moves OnMoving(StickyRect& rect);
    // Snaps a proposed rectangle of the main window while it is resized.
    void SnapEdges(StickyRect& rect) const;
    // Snaps one moving rectangle to the targets, keeping the side marks.
    void SnapRect(StickyRect& rect);

    // When nothing snapped and the window drifted more than 10 pixels from where the grab point puts it
    // (cursor - grab), moves the rectangle there; true when it moved.
    static bool PullUnderCursor(StickyRect& rect, StickyPoint cursor, StickyPoint grab);

    StickyRect m_rcLast;
    bool m_bDockGroup = false;
    int m_nSnapDistance = kDefaultSnapDistance;
    bool m_bSnapped[4] = {};
    int m_nSnapCursor[4] = {};
    StickyWindow m_hwndMain = nullptr;
    StickyWindow m_hwndNoDock = nullptr;
    std::vector<StickyWindow> m_targets;
    std::vector<StickyWindow> m_windows;
    std::vector<StickyWindow> m_docked;
    std::vector<bool> m_isDocked;
    std::vector<bool> m_expanded;

private:
    const IStickyDesktop& m_desktop;

    StickyRect RectOf(StickyWindow window) const;
    void FindDocked(StickyWindow start, int expanding);
};
