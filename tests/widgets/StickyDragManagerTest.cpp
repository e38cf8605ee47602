// Snapping and docking geometry on rectangles, with a scripted desktop; the kept window layout.
#include "widgets/StickyDragManager.h"
#include "widgets/WindowLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

class FakeDesktop : public IStickyDesktop {
public:
    std::map<StickyWindow, StickyRect> rects;
    StickyPoint cursor;
    bool GetWindowRect(StickyWindow window, StickyRect* rect) const override {
        auto it = rects.find(window);
        if (it == rects.end()) return false;
        *rect = it->second;
        return true;
    }
    StickyPoint GetCursorPos() const override { return cursor; }

    // Windows 10 and 11: an invisible resize border left, right and below; monitors with their work areas.
    std::map<StickyWindow, StickyRect> borders;
    std::vector<StickyRect> workAreas;
    StickyRect GetInvisibleBorders(StickyWindow window) const override {
        auto it = borders.find(window);
        return it == borders.end() ? StickyRect{} : it->second;
    }
    // The monitor the rectangle overlaps most, else the first, as the system picks it.
    bool GetWorkArea(const StickyRect& rect, StickyRect* area) const override {
        if (workAreas.empty()) return false;
        auto overlap = [&](const StickyRect& a) {
            const long long w = std::min(a.right, rect.right) - std::max(a.left, rect.left);
            const long long h = std::min(a.bottom, rect.bottom) - std::max(a.top, rect.top);
            return w > 0 && h > 0 ? w * h : 0;
        };
        *area = workAreas.front();
        for (const StickyRect& a : workAreas)
            if (overlap(a) > overlap(*area)) *area = a;
        return true;
    }
};

// Handles are only compared, never followed.
StickyWindow Handle(int n) { return reinterpret_cast<StickyWindow>(static_cast<std::uintptr_t>(n)); }
const StickyWindow kPlayer = Handle(1), kQueue = Handle(2), kList = Handle(3), kOther = Handle(4),
                   kScreen = Handle(99);

class StickyDrag : public testing::Test {
protected:
    FakeDesktop m_desktop;
    CStickyDragManager m_manager{m_desktop};

    void SetUp() override {
        m_desktop.rects[kPlayer] = {100, 100, 400, 250};
        m_desktop.rects[kScreen] = {0, 0, 1280, 1024};
        m_manager.m_bDockGroup = true;
    }
    // What the player window does on a press on its frame.
    void Press(std::initializer_list<StickyWindow> others) {
        m_manager.Init(kPlayer);
        for (StickyWindow w : others) m_manager.m_windows.push_back(w);
        m_manager.m_windows.push_back(kScreen);
        m_manager.m_hwndNoDock = kScreen;
        m_manager.StartDrag();
    }
    // One move step with the cursor where the proposed rectangle puts it.
    CStickyDragManager::Moves MoveTo(int left, int top, StickyRect* result = nullptr) {
        m_desktop.cursor = {left + 10, top + 10};
        StickyRect rect{left, top, left + 300, top + 150};
        CStickyDragManager::Moves moves = m_manager.OnMoving(rect);
        if (result) *result = rect;
        return moves;
    }
};

TEST_F(StickyDrag, SnapsToTheScreenEdgeInsideTheStrictBandOnly) {
    Press({});
    StickyRect rect;
    MoveTo(3, 300, &rect);
    EXPECT_EQ(rect.left, 0);
    Press({});
    MoveTo(5, 300, &rect);
    EXPECT_EQ(rect.left, 5);
}

TEST_F(StickyDrag, ASnappedSideHoldsForTenPixelsOfCursorTravelThenCatchesUp) {
    Press({});
    StickyRect rect;
    MoveTo(3, 300, &rect);  // snapped at cursor x 13
    ASSERT_TRUE(m_manager.m_bSnapped[CStickyDragManager::kLeft]);
    m_desktop.cursor = {23, 310};  // 10 pixels on: still held
    rect = {0, 300, 300, 450};
    m_manager.SnapRect(rect);
    EXPECT_TRUE(m_manager.m_bSnapped[CStickyDragManager::kLeft]);
    EXPECT_EQ(rect.left, 0);
    m_desktop.cursor = {24, 310};  // 11 pixels on: let go, shifted by the whole travel
    m_manager.SnapRect(rect);
    EXPECT_FALSE(m_manager.m_bSnapped[CStickyDragManager::kLeft]);
    EXPECT_EQ(rect.left, 11);
}

TEST_F(StickyDrag, FlushWindowsAndTheirChainsMoveWithThePlayerAGapSeparates) {
    m_desktop.rects[kQueue] = {100, 250, 400, 450};   // flush below the player
    m_desktop.rects[kList] = {100, 450, 400, 650};    // flush below the queue only
    m_desktop.rects[kOther] = {100, 651, 400, 800};   // one pixel below the list
    Press({kQueue, kList, kOther});
    EXPECT_EQ(m_manager.m_docked, (std::vector<StickyWindow>{kQueue, kList}));
    EXPECT_EQ(m_manager.m_targets, (std::vector<StickyWindow>{kOther, kScreen}));

    CStickyDragManager::Moves moves = MoveTo(200, 130);
    ASSERT_EQ(moves.windows, m_manager.m_docked);
    EXPECT_EQ(moves.rects[0], (StickyRect{200, 280, 500, 480}));
    EXPECT_EQ(moves.rects[1], (StickyRect{200, 480, 500, 680}));
}

TEST_F(StickyDrag, ADockedWindowSnappingMovesTheWholeGroupAlike) {
    m_desktop.rects[kQueue] = {100, 250, 400, 450};
    m_desktop.rects[kOther] = {600, 500, 800, 700};
    Press({kQueue, kOther});
    StickyRect rect;
    // The queue's right edge comes 3 pixels short of the other window's left edge.
    CStickyDragManager::Moves moves = MoveTo(297, 150, &rect);
    ASSERT_EQ(moves.rects.size(), 1u);
    EXPECT_EQ(moves.rects[0].right, 600);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(moves.rects[0].left - rect.left, 0);  // still flush under the player
    EXPECT_EQ(moves.rects[0].top, rect.bottom);
}

TEST_F(StickyDrag, WithNothingSnappedTheWindowJumpsBackUnderTheCursor) {
    StickyRect rect{500, 500, 800, 650};
    EXPECT_FALSE(CStickyDragManager::PullUnderCursor(rect, {520, 505}, {10, 5}));
    EXPECT_TRUE(CStickyDragManager::PullUnderCursor(rect, {521, 505}, {10, 5}));
    EXPECT_EQ(rect, (StickyRect{511, 500, 811, 650}));
}

TEST_F(StickyDrag, ResizedEdgesMeetNearbyEdgesExactly) {
    m_desktop.rects[kOther] = {404, 120, 600, 300};
    Press({kOther});
    StickyRect rect{100, 100, 401, 250};
    m_manager.SnapEdges(rect);
    EXPECT_EQ(rect.right, 404);
    rect = {100, 100, 399, 250};
    m_manager.SnapEdges(rect);
    EXPECT_EQ(rect.right, 399);
}

// Windows 10 and 11: window rectangles carry 7 invisible pixels left, right and below, and the screen
// has two monitors, the primary with a taskbar 40 pixels high at its bottom.
class StickyFrames : public StickyDrag {
protected:
    static constexpr StickyRect kBorders{7, 0, 7, 7};
    void SetUp() override {
        StickyDrag::SetUp();
        for (StickyWindow w : {kPlayer, kQueue, kList, kOther}) m_desktop.borders[w] = kBorders;
        m_desktop.rects[kPlayer] = WindowRectOfFrame({100, 100, 400, 250}, kBorders);
        m_desktop.workAreas = {{0, 0, 1280, 984}, {1280, 0, 2560, 1024}};
    }
    // One move step that puts the player's visible frame at left, top.
    StickyRect MoveFrameTo(int left, int top, CStickyDragManager::Moves* moves = nullptr) {
        m_desktop.cursor = {left + 10, top + 10};
        StickyRect rect = WindowRectOfFrame({left, top, left + 300, top + 150}, kBorders);
        CStickyDragManager::Moves made = m_manager.OnMoving(rect);
        if (moves) *moves = made;
        return FrameOfWindowRect(rect, kBorders);
    }
};

TEST_F(StickyFrames, WindowsDockWhenTheirVisibleFramesAreFlushAndPlacedFlushTheyAre) {
    m_desktop.rects[kQueue] = PlaceFlushBelow({100, 100, 400, 250}, kBorders, 200);
    EXPECT_EQ(m_desktop.rects[kQueue], (StickyRect{93, 250, 407, 450}));
    // Flush by window rectangles shows a gap of 7 pixels: not docked.
    m_desktop.rects[kOther] = {93, m_desktop.rects[kQueue].bottom, 407, 657};
    Press({kQueue, kOther});
    EXPECT_EQ(m_manager.m_docked, (std::vector<StickyWindow>{kQueue}));
    CStickyDragManager::Moves moves;
    MoveFrameTo(160, 130, &moves);
    ASSERT_EQ(moves.rects.size(), 1u);
    EXPECT_EQ(moves.rects[0], (StickyRect{153, 280, 467, 480}));
}

TEST_F(StickyFrames, VisibleEdgesSnapToVisibleEdgesWhileMovingAndSizing) {
    m_desktop.rects[kOther] = WindowRectOfFrame({600, 100, 800, 300}, kBorders);
    Press({kOther});
    EXPECT_EQ(MoveFrameTo(297, 120).right, 600);
    Press({kOther});
    StickyRect rect = WindowRectOfFrame({100, 100, 597, 250}, kBorders);
    m_manager.SnapEdges(rect);
    EXPECT_EQ(FrameOfWindowRect(rect, kBorders).right, 600);
}

TEST_F(StickyFrames, TheScreenEdgesAreThoseOfTheWorkAreaOfTheWindowsMonitor) {
    Press({});
    EXPECT_EQ(MoveFrameTo(3, 300).left, 0) << "the frame, not the window rectangle, meets the edge";
    Press({});
    EXPECT_EQ(MoveFrameTo(500, 831).bottom, 984) << "above the taskbar";
    Press({});
    EXPECT_EQ(MoveFrameTo(2257, 500).right, 2560) << "the second monitor's right edge";
    Press({});
    EXPECT_EQ(MoveFrameTo(1500, 831).bottom, 981) << "no taskbar there: nothing to snap to";
}

TEST(WindowLayout, PlacesAndWidthsReadBackAndDamagedTextsAreRefused) {
    StickyRect rect;
    ASSERT_TRUE(ParsePlacement(FormatPlacement({-1700, 40, -1200, 300}), &rect));
    EXPECT_EQ(rect, (StickyRect{-1700, 40, -1200, 300}));
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "1,2,0,4", "1,2,-3,4", "1, 2,3,4", "a,2,3,4", "1,,3,4",
                            "1,2,3,99999999999", "200000,2,3,4"})
        EXPECT_FALSE(ParsePlacement(bad, &rect)) << bad;
    EXPECT_EQ(ParseWidths(FormatWidths({150, 0, 77}), 3), (std::vector<int>{150, 0, 77}));
    for (const char* bad : {"150,150", "150,150,150,150", "150,-1,150", "150,5000,150", "150,x,150"})
        EXPECT_TRUE(ParseWidths(bad, 3).empty()) << bad;
}

TEST(WindowLayout, APlaceOffEveryMonitorComesBackOntoTheOneItOverlapsMostOrThePrimary) {
    const std::vector<StickyRect> areas{{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
    const StickyRect onSecond{2000, 100, 2300, 300};
    EXPECT_EQ(KeepOnScreen(onSecond, areas), onSecond);
    // A caption still grabbable at the edge stays where it is.
    EXPECT_EQ(KeepOnScreen({-250, 500, 50, 700}, areas), (StickyRect{-250, 500, 50, 700}));
    // The second monitor is gone: back onto the primary, at its nearest edge.
    EXPECT_EQ(KeepOnScreen(onSecond, {areas[0]}), (StickyRect{1620, 100, 1920, 300}));
    // Far off: the primary; a caption above the top of the screen comes down.
    EXPECT_EQ(KeepOnScreen({-5000, -4000, -4700, -3850}, areas), (StickyRect{0, 0, 300, 150}));
    EXPECT_EQ(KeepOnScreen({3000, -100, 3300, 200}, areas), (StickyRect{2900, 0, 3200, 300}));
    // Larger than the work area: its top left corner on it.
    EXPECT_EQ(KeepOnScreen({-10, 2000, 2500, 3500}, areas), (StickyRect{0, 0, 2510, 1500}));
}

}  // namespace
