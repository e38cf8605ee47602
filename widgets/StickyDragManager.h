#pragma once
// CStickyDragManager: makes a dragged window magnetic. Its edges snap to the edges of the other
// candidate windows and of the work area of its monitor, and the windows docked to it (edge to edge,
// directly or through a chain) move with it as one group. Pure geometry on screen rectangles: the window
// system is reached through IStickyDesktop, so the rules run and are tested without it. Edges are those
// of the visible frames, which on newer systems lie inside the window rectangles; rectangles going in
// and out are window rectangles.
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
    // How far the window's visible frame lies inside its rectangle on each side (left, top, right,
    // bottom, all zero or more): the invisible resize border of newer systems. None by default.
    virtual StickyRect GetInvisibleBorders(StickyWindow window) const { return StickyRect{}; }
    // The work area of the monitor the rectangle is on; false when the desktop cannot tell, and the
    // screen window's own rectangle is used.
    virtual bool GetWorkArea(const StickyRect& rect, StickyRect* area) const { return false; }
};

// The visible frame of a window rectangle, and back.
inline StickyRect FrameOfWindowRect(const StickyRect& window, const StickyRect& borders) {
    return StickyRect{window.left + borders.left, window.top + borders.top, window.right - borders.right,
                      window.bottom - borders.bottom};
}
inline StickyRect WindowRectOfFrame(const StickyRect& frame, const StickyRect& borders) {
    return StickyRect{frame.left - borders.left, frame.top - borders.top, frame.right + borders.right,
                      frame.bottom + borders.bottom};
}

// The window rectangle that puts a window with these borders flush below the frame above, its visible
// frame as wide as that one and height pixels high (as a window rectangle).
StickyRect PlaceFlushBelow(const StickyRect& aboveFrame, const StickyRect& borders, int height);

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
    Moves OnMoving(StickyRect& window);
    // Snaps a proposed rectangle of the main window while it is resized.
    void SnapEdges(StickyRect& rect) const;
    // Snaps one moving window rectangle to the targets, keeping the side marks.
    void SnapRect(StickyRect& rect);

    // When nothing snapped and the window drifted more than 10 pixels from where the grab point puts it
    // (cursor - grab), moves the rectangle there; true when it moved.
    static bool PullUnderCursor(StickyRect& rect, StickyPoint cursor, StickyPoint grab);

    StickyRect m_rcLast;  // the main window's visible frame after the previous move step
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
    bool FrameOf(StickyWindow window, StickyRect* frame) const;
    // What a moving frame snaps to: the target's frame, or for the screen the work area it is on.
    bool TargetRect(StickyWindow target, const StickyRect& moving, StickyRect* rect) const;
    void SnapFrame(StickyRect& frame);
    void SnapFrameEdges(StickyRect& frame) const;
    void FindDocked(StickyWindow start, int expanding);
};
