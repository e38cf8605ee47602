// The scrolling banner under Wine: its tick chain, scrolling, lifetime and mouse forwarding.
#include "widgets/BannerStatic.h"

#include "BannerTestSupport.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <tlhelp32.h>

#include <memory>
#include <set>

namespace {

constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kWhite = 0x00FFFFFF;

// Waits, without dispatching anything, until a tick of the window stands in the message queue.
bool WaitForQueuedTick(HWND hWnd, DWORD timeoutMs = 10000) {
    const double end = NowSeconds() + timeoutMs / 1000.0;
    MSG msg;
    while (!::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE | PM_NOYIELD)) {
        if (NowSeconds() > end) return false;
        ::Sleep(1);
    }
    return true;
}

// Counts what reaches the banner, in counters that outlive the object.
struct TickCounts {
    int nTimerMessages = 0; // every WM_TIMER, current or superseded
    int nHandledTicks = 0;  // the ones carrying the current timer id
};

class CCountingBanner : public CBannerStatic {
public:
    explicit CCountingBanner(TickCounts* counts) : m_pCounts(counts) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) {
            ++m_pCounts->nTimerMessages;
            if (GetTimerId() != 0 && wParam == GetTimerId()) ++m_pCounts->nHandledTicks;
        }
        return CBannerStatic::WindowProc(message, wParam, lParam);
    }

private:
    TickCounts* m_pCounts;
};

class BannerWindow : public testing::Test {
protected:
    CTestParent m_parent;
    TickCounts m_counts;
    std::unique_ptr<CCountingBanner> m_pBanner = std::make_unique<CCountingBanner>(&m_counts);
    HWND m_hStatic = nullptr;

    void SetUp() override {
        ASSERT_TRUE(m_parent.Create());
        m_hStatic = m_parent.CreateStatic(20, 30, 400, 30);
        ASSERT_NE(m_hStatic, nullptr);
    }
    void TearDown() override {
        m_parent.DestroyWindow();
        m_pBanner.reset();
        PumpPending();
    }
    CBannerStatic& Banner() { return *m_pBanner; }
    void Subclass() {
        ASSERT_TRUE(Banner().SubclassWindow(m_hStatic));
        ::UpdateWindow(m_parent);
    }
    CCapture Painted() {
        ::UpdateWindow(m_hStatic);
        return CaptureClient(m_hStatic);
    }
    // Dispatches until n more ticks were handled; the seconds that took, or -1 on a time-out.
    double SecondsForTicks(int n) {
        const int target = m_counts.nHandledTicks + n;
        const double start = NowSeconds();
        if (!PumpUntil([&] { return m_counts.nHandledTicks >= target; })) return -1;
        return NowSeconds() - start;
    }
    // Each tick handled increments this; how many arrive while pumping for the given time.
    int TicksDuring(DWORD milliseconds) {
        int before = m_counts.nHandledTicks;
        PumpMessages(milliseconds);
        return m_counts.nHandledTicks - before;
    }
};

TEST_F(BannerWindow, StandsStillAfterSubclassingUntilASpeedIsSet) {
    Subclass();
    EXPECT_NE(::GetWindowLongA(m_hStatic, GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_EQ(Banner().GetTimerId(), 0u);
    EXPECT_EQ(Banner().GetTickPeriod(), 100);
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    PumpMessages(300);
    EXPECT_EQ(m_counts.nTimerMessages, 0);
    EXPECT_EQ(Banner().GetPosition(), 0);
}

TEST_F(BannerWindow, SpeedsOutOfRangeChangeNothingAndTheLimitsGiveTheirPeriods) {
    Subclass();
    Banner().SetSpeed(1001);
    EXPECT_EQ(Banner().GetTimerId(), 0u);
    EXPECT_EQ(Banner().GetSpeed(), 0);

    Banner().SetSpeed(200);
    UINT running = Banner().GetTimerId();
    EXPECT_NE(running, 0u);
    EXPECT_EQ(Banner().GetTickPeriod(), 50);
    Banner().SetSpeed(-1001);
    Banner().SetSpeed(1001);
    EXPECT_EQ(Banner().GetTimerId(), running);
    EXPECT_EQ(Banner().GetSpeed(), 200);
    EXPECT_EQ(Banner().GetTickPeriod(), 50);

    Banner().SetSpeed(1000);
    EXPECT_EQ(Banner().GetTickPeriod(), 10);
    Banner().SetSpeed(-1000);
    EXPECT_EQ(Banner().GetTickPeriod(), 10);
    Banner().SetSpeed(1);
    EXPECT_EQ(Banner().GetTickPeriod(), 10000);
}

// One pixel a tick, never faster than the 50 ms period: ten pixels take at least about half a second.
TEST_F(BannerWindow, ScrollsLeftOnePixelATickAtSpeed200) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    CCapture before = Painted();
    ASSERT_GT(before.Count(kBlack), 50);
    ASSERT_GT(before.LastColumnWith(kWhite), 100);
    const double start = NowSeconds();
    Banner().SetSpeed(200);
    ASSERT_TRUE(PumpUntil([&] { return Banner().GetPosition() <= -10; }));
    EXPECT_GE(NowSeconds() - start, 0.4);
    Banner().SetSpeed(0);
    PumpPending();
    CCapture after = Painted();

    int shift = BestLeftShift(before.InkProfile(::GetSysColor(COLOR_BTNFACE)),
                              after.InkProfile(::GetSysColor(COLOR_BTNFACE)), 40);
    EXPECT_EQ(Banner().GetPosition(), -shift);
}

TEST_F(BannerWindow, NegativeSpeedScrollsRight) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    CCapture before = Painted();
    Banner().SetSpeed(-200);
    ASSERT_TRUE(PumpUntil([&] { return Banner().GetPosition() >= 10; }));
    Banner().SetSpeed(0);
    PumpPending();
    CCapture after = Painted();
    int shift = BestLeftShift(before.InkProfile(::GetSysColor(COLOR_BTNFACE)),
                              after.InkProfile(::GetSysColor(COLOR_BTNFACE)), 40);
    EXPECT_EQ(shift, -Banner().GetPosition());
}

// After any amount of scrolling, the pixels moved plus the strips repainted must equal a full repaint.
class BannerPictureAfterScrolling : public BannerWindow, public testing::WithParamInterface<int> {};

TEST_P(BannerPictureAfterScrolling, MatchesAFullRepaintAcrossWrapArounds) {
    ::SetWindowPos(m_hStatic, nullptr, 0, 0, 70, 24, SWP_NOMOVE | SWP_NOZORDER);
    Subclass();
    Banner().AddText("Ab", 0x000000FF, kWhite);
    Banner().AddText("ba", 0x00FF0000 | kSegmentBold, 0x0000FFFF);
    ::UpdateWindow(m_hStatic);
    Banner().SetSpeed(GetParam());
    int width = Banner().GetTextWidth();
    ASSERT_GT(width, 20);
    // Long enough at 10 ms a tick to pass both edges at least once.
    PumpMessages(1800);
    Banner().SetSpeed(0);
    PumpPending();
    CCapture scrolled = Painted();
    EXPECT_EQ(Banner().GetTextWidth(), width);

    ::InvalidateRect(m_hStatic, nullptr, FALSE);
    CCapture repainted = Painted();
    EXPECT_EQ(scrolled.pixels, repainted.pixels) << "position " << Banner().GetPosition();
}

INSTANTIATE_TEST_SUITE_P(Directions, BannerPictureAfterScrolling, testing::Values(1000, -1000));

// Positions after each tick, read as the ticks are dispatched one message at a time.
std::vector<int> PositionsOverTicks(const CBannerStatic& banner, int ticks) {
    std::vector<int> positions;
    MSG msg;
    while (static_cast<int>(positions.size()) < ticks && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        bool tick = msg.message == WM_TIMER && msg.hwnd == banner.m_hWnd && msg.wParam == banner.GetTimerId();
        ::DispatchMessageA(&msg);
        if (tick) positions.push_back(banner.GetPosition());
    }
    return positions;
}

TEST_F(BannerWindow, WrapsBackInFromTheRightEdge) {
    ::SetWindowPos(m_hStatic, nullptr, 0, 0, 40, 24, SWP_NOMOVE | SWP_NOZORDER);
    Subclass();
    Banner().AddText("Ab", 0, kWhite);
    ::UpdateWindow(m_hStatic);
    const int width = Banner().GetTextWidth();
    ASSERT_GT(width, 10);
    Banner().SetSpeed(1000);
    std::vector<int> positions = PositionsOverTicks(Banner(), width + 2);
    std::vector<int> expected;
    for (int p = -1; p >= -width; --p)
        expected.push_back(p);
    expected.push_back(40); // -width - 1: the right end passed the left edge
    expected.push_back(39);
    EXPECT_EQ(positions, expected);
}

TEST_F(BannerWindow, NegativeSpeedRestartsFullyOutsideTheLeftEdge) {
    ::SetWindowPos(m_hStatic, nullptr, 0, 0, 40, 24, SWP_NOMOVE | SWP_NOZORDER);
    Subclass();
    Banner().AddText("Ab", 0, kWhite);
    ::UpdateWindow(m_hStatic);
    const int width = Banner().GetTextWidth();
    Banner().SetSpeed(-1000);
    std::vector<int> positions = PositionsOverTicks(Banner(), 43);
    std::vector<int> expected;
    for (int p = 1; p <= 40; ++p)
        expected.push_back(p);
    expected.push_back(-width);
    expected.push_back(-width + 1);
    expected.push_back(-width + 2);
    EXPECT_EQ(positions, expected);
}

TEST_F(BannerWindow, ChangingTheSpeedOftenLeavesOneTickChain) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    Banner().SetSpeed(200);
    ASSERT_GT(SecondsForTicks(3), 0);

    for (int i = 0; i < 40; ++i) {
        Banner().SetSpeed(i % 2 ? 200 : -200);
        // Every other time a tick fires and posts before the speed changes again.
        if (i % 2) {
            ASSERT_TRUE(WaitForQueuedTick(m_hStatic));
        } else {
            PumpPending();
        }
    }
    Banner().SetSpeed(200);
    // Whatever the superseded ticks still post arrives within a few ticks of the live chain.
    ASSERT_GT(SecondsForTicks(5), 0);
    const int messagesBefore = m_counts.nTimerMessages;
    const int ticksBefore = m_counts.nHandledTicks;
    const double seconds = SecondsForTicks(20);
    ASSERT_GT(seconds, 0);
    EXPECT_LE(m_counts.nTimerMessages - messagesBefore, m_counts.nHandledTicks - ticksBefore + 1);
    EXPECT_GE(seconds, 20 * 0.05 * 0.8);  // one chain: no faster than its period
}

void CALLBACK IdleTimer(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

TEST_F(BannerWindow, KeepsTickingWhenNoMultimediaTimerIsLeft) {
    std::vector<UINT> hogs;
    for (int i = 0; i < 256; ++i) {
        UINT id = ::timeSetEvent(60000, 100, &IdleTimer, 0, TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
        if (!id) break;
        hogs.push_back(id);
    }
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    Banner().SetSpeed(200);
    const double seconds = SecondsForTicks(5);
    Banner().SetSpeed(0);
    int afterStop = TicksDuring(200);
    for (UINT id : hogs)
        ::timeKillEvent(id);
    if (hogs.size() == 256) GTEST_SKIP() << "this system has more multimedia timers than the test takes";
    EXPECT_GE(seconds, 5 * 0.05 * 0.8);  // a window timer stands in, at the same period
    EXPECT_EQ(afterStop, 0);
}

TEST_F(BannerWindow, SpeedZeroStopsTheChainAndKeepsTheSpeed) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    Banner().SetSpeed(-300);
    PumpMessages(200);
    Banner().SetSpeed(0);
    EXPECT_EQ(Banner().GetTimerId(), 0u);
    EXPECT_EQ(Banner().GetSpeed(), -300);
    int position = Banner().GetPosition();
    EXPECT_GT(position, 0);
    EXPECT_EQ(TicksDuring(300), 0);
    EXPECT_EQ(Banner().GetPosition(), position);
}

TEST_F(BannerWindow, TheChainKeepsRunningWhileTheBannerIsEmpty) {
    Subclass();
    Banner().SetSpeed(200);
    EXPECT_GT(SecondsForTicks(5), 0);
    EXPECT_EQ(Banner().GetPosition(), 0);
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    EXPECT_TRUE(PumpUntil([&] { return Banner().GetPosition() < 0; }));
}

TEST_F(BannerWindow, SizeChangeKeepsThePeriodAndRepaintsTheNewWidth) {
    Subclass();
    ::SetWindowPos(m_hStatic, nullptr, 0, 0, 300, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Banner().GetTickPeriod(), 100); // no speed yet: still defined
    Banner().SetSpeed(300);
    ::SetWindowPos(m_hStatic, nullptr, 0, 0, 450, 26, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Banner().GetTickPeriod(), 33);
    EXPECT_NE(::GetUpdateRect(m_hStatic, nullptr, FALSE), FALSE);
    Banner().SetSpeed(0);
    CCapture capture = Painted();
    EXPECT_EQ(capture.nWidth, 450);
    EXPECT_EQ(capture.Count(::GetSysColor(COLOR_BTNFACE)), 450 * 26);
}

std::set<DWORD> ThreadsOfThisProcess() {
    std::set<DWORD> threads;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) threads.insert(entry.th32ThreadID);
    ::CloseHandle(snapshot);
    return threads;
}

// Wine ends its multimedia timer thread whenever no timer is pending: a one-shot chain alone would
// start a thread for every tick.
TEST_F(BannerWindow, TicksDoNotStartAThreadEach) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    Banner().SetSpeed(200);
    PumpMessages(200);
    std::set<DWORD> seen = ThreadsOfThisProcess();
    const size_t atStart = seen.size();
    int ticks = 0;
    for (int i = 0; i < 20; ++i) {
        ticks += TicksDuring(50);
        std::set<DWORD> now = ThreadsOfThisProcess();
        seen.insert(now.begin(), now.end());
    }
    EXPECT_GE(ticks, 10);
    EXPECT_LE(seen.size(), atStart + 1);
    EXPECT_TRUE(CTimerThreadHold::KeepAliveRunning());
    ASSERT_TRUE(::DestroyWindow(m_hStatic));
    EXPECT_FALSE(CTimerThreadHold::KeepAliveRunning()) << "held past the banner's window";
}

// ---- Lifetime: no tick may ever reach a banner that is gone.

TEST_F(BannerWindow, DestroyingTheWindowWithTicksPendingEndsAllWork) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    for (int i = 0; i < 5; ++i)
        Banner().SetSpeed(1000); // four superseded ticks still pending
    ASSERT_TRUE(WaitForQueuedTick(m_hStatic)); // a tick posted into the queue, undispatched
    ASSERT_TRUE(::DestroyWindow(m_hStatic));
    EXPECT_EQ(Banner().m_hWnd, nullptr);
    EXPECT_EQ(Banner().GetTimerId(), 0u);
    m_pBanner.reset(); // the object goes right after its window

    int seen = m_counts.nTimerMessages;
    PumpMessages(300);
    EXPECT_EQ(m_counts.nTimerMessages, seen);
    EXPECT_FALSE(::IsWindow(m_hStatic));
}

TEST_F(BannerWindow, DeletingTheObjectWithItsWindowAliveStopsTheChain) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    Banner().SetSpeed(1000);
    Banner().SetSpeed(1000);
    PumpPending();
    ASSERT_TRUE(WaitForQueuedTick(m_hStatic));
    m_pBanner.reset();
    EXPECT_TRUE(::IsWindow(m_hStatic)); // the object only lets go of its window
    int seen = m_counts.nTimerMessages;
    PumpMessages(300);
    EXPECT_EQ(m_counts.nTimerMessages, seen);
}

TEST_F(BannerWindow, DestroyingTheParentWithATickPendingEndsAllWork) {
    Subclass();
    Banner().AddText("Abba - Waterloo", 0, kWhite);
    Banner().SetSpeed(1000);
    ASSERT_TRUE(WaitForQueuedTick(m_hStatic));
    ASSERT_TRUE(m_parent.DestroyWindow());
    EXPECT_EQ(Banner().m_hWnd, nullptr);
    int seen = m_counts.nTimerMessages;
    PumpMessages(200);
    m_pBanner.reset();
    PumpMessages(100);
    EXPECT_EQ(m_counts.nTimerMessages, seen);
}

TEST(BannerWithoutWindow, SetSpeedStoresTheSpeedButStartsNoTimer) {
    TickCounts counts;
    CCountingBanner banner(&counts);
    banner.SetSpeed(250);
    EXPECT_EQ(banner.GetSpeed(), 250);
    EXPECT_EQ(banner.GetTickPeriod(), 40);
    EXPECT_EQ(banner.GetTimerId(), 0u);
}

// ---- Mouse.

class BannerMouse : public BannerWindow, public testing::WithParamInterface<UINT> {};

TEST_P(BannerMouse, ButtonMessagesReachTheParentInItsCoordinates) {
    Subclass();
    const UINT message = GetParam();
    const WPARAM keys = MK_SHIFT | MK_CONTROL;
    ::SendMessageA(m_hStatic, message, keys, MAKELPARAM(5, 7));
    ::SendMessageA(m_hStatic, message, keys, MAKELPARAM(static_cast<WORD>(-3), 29));
    PumpPending();
    ASSERT_EQ(m_parent.m_received.size(), 2u);
    EXPECT_EQ(m_parent.m_received[0].nMessage, message);
    EXPECT_EQ(m_parent.m_received[0].wParam, keys);
    EXPECT_EQ(m_parent.m_received[0].x, 25);
    EXPECT_EQ(m_parent.m_received[0].y, 37);
    EXPECT_EQ(m_parent.m_received[1].x, 17);
    EXPECT_EQ(m_parent.m_received[1].y, 59);
}

INSTANTIATE_TEST_SUITE_P(Buttons, BannerMouse,
                         testing::Values(WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP,
                                         WM_RBUTTONDOWN, WM_RBUTTONUP));

TEST_F(BannerWindow, MouseMovesAreNotPassedOn) {
    Subclass();
    ::SendMessageA(m_hStatic, WM_MOUSEMOVE, 0, MAKELPARAM(5, 7));
    PumpPending();
    EXPECT_TRUE(m_parent.m_received.empty());
}

TEST_F(BannerWindow, ARealClickOnTheBannerReachesTheParent) {
    Subclass();
    POINT screen{30, 12};
    ::ClientToScreen(m_hStatic, &screen);
    ::SetForegroundWindow(m_parent);
    ::SetCursorPos(screen.x, screen.y);
    PumpMessages(50);
    m_parent.m_received.clear();
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(2, inputs, sizeof(INPUT)), 2u);
    PumpMessages(300);

    std::vector<UINT> buttons;
    for (const CTestParent::Received& received : m_parent.m_received)
        if (received.nMessage != WM_MOUSEMOVE) {
            buttons.push_back(received.nMessage);
            EXPECT_EQ(received.x, 50);
            EXPECT_EQ(received.y, 42);
        }
    EXPECT_EQ(buttons, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(BannerWindow, CursorOverTheBannerIsTheArrow) {
    Subclass();
    ::SetCursor(::LoadCursorA(nullptr, IDC_IBEAM));
    EXPECT_NE(::SendMessageA(m_hStatic, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hStatic),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              0);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

// ---- On the player window's own template, as the player binds it.

class CBannerHost : public CDialog {
public:
    CBannerHost() : CDialog(IDD_MELODECK_DIALOG) {}
    CBannerStatic m_banner;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_BANNER, m_banner); }
};

TEST(BannerOnPlayerTemplate, ShowsTheNowPlayingTextBlackOnWhiteAndScrolls) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    CBannerHost host;
    ASSERT_TRUE(host.Create());
    host.ShowWindow(SW_SHOW);
    ASSERT_EQ(host.m_banner.m_hWnd, host.GetDlgItem(IDC_BANNER));
    host.m_banner.SetSpeed(200);
    host.m_banner.RemoveAll();
    ASSERT_TRUE(host.m_banner.AddText("Abba - Waterloo", 0, 0x00FFFFFF));
    ::UpdateWindow(host);
    CCapture first = CaptureClient(host.m_banner);
    EXPECT_GT(first.Count(kBlack), 50);
    EXPECT_GT(first.Count(kWhite), 200);
    EXPECT_TRUE(PumpUntil([&] { return host.m_banner.GetPosition() < 0; }));
    ASSERT_TRUE(host.DestroyWindow());
    PumpMessages(100);
}

} // namespace
