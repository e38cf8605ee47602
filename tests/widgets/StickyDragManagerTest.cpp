// Snapping and docking geometry on rectangles, with a scripted desktop; the kept window layout.
#include "widgets/StickyDragManager.h"
#include "widgets/WindowLayout.h"

#include <gtest/gtest.h>

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
