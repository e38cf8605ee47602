// Moving the player with both list windows docked: for each step of a drag, the time from the moving
// message to the last docked window standing at its new place. Goal: under 5 ms per move.
// Usage: DockBench [rounds]   (100 moves per round)
#include "BenchFigures.h"
#include "app/MelodeckDlg.h"
#include "framework/App.h"
#include "support/MediaFolder.h"
#include "support/WorkingFolder.h"

#include <cstdlib>

namespace {

constexpr int kMoves = 100;
constexpr int kStep = 3;

bool At(HWND window, LONG left, LONG top) {
    RECT rect{};
    return ::GetWindowRect(window, &rect) && rect.left == left && rect.top == top;
}

// One drag as the system's move loop runs it: the frame press, then for each step the moving message,
// after which the loop itself puts the player where the message left the rectangle.
void Drag(CMelodeckDlg& player, Figure& perMove) {
    HWND playList = player.m_wndPlayList.m_hWnd;
    RECT rect = player.GetWindowRect();
    const POINT grab{60, 10};
    ::SetCursorPos(rect.left + grab.x, rect.top + grab.y);
    BeginStickyDrag(player.m_sticky, player.m_hWnd);
    player.m_ptGrab = grab;
    RECT list = player.m_wndPlayList.GetWindowRect();
    for (int move = 0; move < kMoves; ++move) {
        // Out and back, clear of the screen's edges, which would catch the group.
        const int sign = move < kMoves / 2 ? 1 : -1;
        ::OffsetRect(&rect, sign * kStep, sign);
        ::OffsetRect(&list, sign * kStep, sign);
        ::SetCursorPos(rect.left + grab.x, rect.top + grab.y);
        RECT proposed = rect;
        const BenchClock::time_point start = BenchClock::now();
        player.SendMessage(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
        while (!At(playList, list.left, list.top))
            if (SecondsSince(start) > 1) {
                std::printf("the play list did not follow the player\n");
                std::exit(1);
            }
        perMove.values.push_back(SecondsSince(start) * 1000);
        player.SetWindowPos(nullptr, proposed.left, proposed.top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    CMediaFolder work("melodeck-dockbench");
    CWorkingFolder folder(work.Path());
    CWinApp app;
    CMelodeckDlg player;
    player.m_settings = CMelodeckSettings(work.PathOf("Melodeck.ini"));
    app.m_pMainWnd = &player;
    if (!player.Create()) {
        std::printf("the player window could not be made\n");
        return 1;
    }
    player.ShowWindow(SW_SHOW);

    std::printf("Dock benchmark: %d moves of the player with both lists docked, %d rounds\n", kMoves, rounds);
    PrintRule();
    Figure perMove;
    for (int round = 0; round < rounds; ++round)
        Drag(player, perMove);
    std::printf("  moving message to the last docked window's new place:  best %.3f ms  median %.3f ms  "
                "worst %.3f ms  (goal under 5 ms)\n",
                perMove.Best(), perMove.Median(), perMove.Worst());
    player.DestroyWindow();
    app.m_pMainWnd = nullptr;
    return 0;
}
