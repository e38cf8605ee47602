// The real program driven by real mouse input through the X server (xdotool): dragging the player by its
// caption carries the list windows docked to it, and a double-click on its tray icon brings it back.
#include "library/SavedList.h"
#include "support/MelodeckProcess.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <vfw.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 20000;

// Wine starts a Unix program when handed its Unix path, but its handle cannot be waited on: every step
// is followed by waiting for its effect instead.
bool Xdotool(const std::string& arguments) {
    std::string line = "/usr/bin/xdotool " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return true;
}

bool CursorAt(POINT point) {
    POINT now{};
    return ::GetCursorPos(&now) && now.x == point.x && now.y == point.y;
}

// Moves the pointer and waits until Wine sees it there, then the half second after which a press is
// no longer lost.
bool MovePointer(POINT point) {
    if (!Xdotool("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y))) return false;
    if (!WaitFor([&] { return CursorAt(point); }, kWaitMs)) return false;
    ::Sleep(500);
    return true;
}

bool InMoveLoop(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

POINT TopLeft(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return POINT{rect.left, rect.top};
}

bool operator==(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}
POINT operator+(POINT a, POINT b) {
    return POINT{a.x + b.x, a.y + b.y};
}

class RealMouseTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.Start());
        m_queue = m_program.FindTopLevel("Queue");
        m_playList = m_program.FindTopLevel("Play List");
        ASSERT_TRUE(m_queue && m_playList);
    }
    void TearDown() override {
        // A drag that failed half-way must not leave the button down for the tests after it.
        if (InMoveLoop(m_program.Player()) && Xdotool("mouseup 1"))
            WaitFor([&] { return !InMoveLoop(m_program.Player()); }, kWaitMs);
        m_program.Close();
    }

    // A point on the player's caption, away from its icon and buttons.
    POINT CaptionPoint() const {
        RECT rect{};
        ::GetWindowRect(m_program.Player(), &rect);
        for (int y = rect.top + 2; y < rect.top + 40; ++y) {
            POINT point{rect.left + 60, y};
            LRESULT hit = ::SendMessageA(m_program.Player(), WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
            if (hit == HTCAPTION && ::WindowFromPoint(point) == m_program.Player()) return point;
        }
        ADD_FAILURE() << "no caption point on the player that is not covered";
        return POINT{rect.left + 60, rect.top + 10};
    }

    // Presses on the caption, moves by offset in steps, each awaited on the player's position, and
    // lets go.
    void DragPlayer(POINT offset) {
        const POINT start = CaptionPoint(), origin = TopLeft(m_program.Player());
        ASSERT_TRUE(MovePointer(start));
        ASSERT_TRUE(Xdotool("mousedown 1"));
        ASSERT_TRUE(WaitFor([&] { return InMoveLoop(m_program.Player()); }, kWaitMs)) << "no move loop";
        constexpr int kSteps = 5;
        for (int step = 1; step <= kSteps; ++step) {
            const POINT by{offset.x * step / kSteps, offset.y * step / kSteps};
            const POINT to = start + by;
            ASSERT_TRUE(Xdotool("mousemove " + std::to_string(to.x) + " " + std::to_string(to.y)));
            ASSERT_TRUE(WaitFor([&] { return TopLeft(m_program.Player()) == origin + by; }, kWaitMs))
                << "step " << step;
        }
        ASSERT_TRUE(Xdotool("mouseup 1"));
        ASSERT_TRUE(WaitFor([&] { return !InMoveLoop(m_program.Player()); }, kWaitMs));
    }

    CMelodeckProcess m_program;
    HWND m_queue = nullptr;
    HWND m_playList = nullptr;
};

TEST_F(RealMouseTest, DraggingThePlayerCarriesTheDockedListsButNotOneMovedAway) {
    const POINT offset{90, 35};
    const POINT queue = TopLeft(m_queue), playList = TopLeft(m_playList);
    DragPlayer(offset);
    EXPECT_TRUE(WaitFor([&] { return TopLeft(m_queue) == queue + offset; }, kWaitMs));
    EXPECT_TRUE(WaitFor([&] { return TopLeft(m_playList) == playList + offset; }, kWaitMs));

    const POINT away = TopLeft(m_playList) + POINT{0, 20};
    ASSERT_TRUE(::SetWindowPos(m_playList, nullptr, away.x, away.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    const POINT queueBefore = TopLeft(m_queue);
    DragPlayer(POINT{40, -30}); // away from the play list, which would otherwise catch the group
    EXPECT_TRUE(WaitFor([&] { return TopLeft(m_queue) == queueBefore + POINT{40, -30}; }, kWaitMs));
    EXPECT_TRUE(TopLeft(m_playList) == away) << "the play list 20 pixels away stays";
}

std::vector<HWND> TrayIcons() {
    std::vector<HWND> icons;
    HWND tray = nullptr;
    while ((tray = ::FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr)))
        for (HWND icon = nullptr; (icon = ::FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr));)
            icons.push_back(icon);
    return icons;
}

TEST(RealMouseTrayTest, DoubleClickOnTheIconBringsBackAPlayerMinimisedToTheTray) {
    // Other tests may have icons in the same tray: ours is the one that came with our program.
    const std::vector<HWND> before = TrayIcons();
    CMelodeckProcess program;
    // Minimize To Tray on: otherwise minimising goes to the taskbar.
    ASSERT_TRUE(::WritePrivateProfileStringA("Setup", "Tray", "1", program.PathIn("Melodeck.ini").c_str()));
    ASSERT_TRUE(program.Start());
    std::vector<HWND> ours;
    ASSERT_TRUE(WaitFor(
        [&] {
            ours.clear();
            for (HWND icon : TrayIcons())
                if (std::find(before.begin(), before.end(), icon) == before.end()) ours.push_back(icon);
            return !ours.empty();
        },
        kWaitMs));

    ::PostMessageA(program.Player(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.Player()); }, kWaitMs));
    for (HWND icon : ours) {
        RECT rect{};
        ::GetWindowRect(icon, &rect);
        ASSERT_TRUE(MovePointer(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}));
        ASSERT_TRUE(Xdotool("click --repeat 2 1"));
        if (WaitFor([&] { return ::IsWindowVisible(program.Player()) != FALSE; }, kWaitMs)) break;
    }
    EXPECT_TRUE(::IsWindowVisible(program.Player()));
    EXPECT_FALSE(::IsIconic(program.Player()));
    program.Close();
}

// The keyboard's media keys reach a player minimised to the tray while another program has the focus;
// with the option off the player lets go of them.
TEST(MediaKeysTest, PlayPauseNextAndStopWorkFromTheTrayAndTheOptionLetsGo) {
    constexpr int kDevice = 1010, kList = 1002;
    constexpr UINT kMediaKeysOption = 32855;
    CMelodeckProcess program;
    std::vector<MediaEntry> queue;
    for (const char* name : {"First", "Second"}) {
        queue.push_back(MediaEntry{program.PathIn(std::string(name) + ".wav"), "", name, "", name});
        ASSERT_TRUE(WriteWavFile(queue.back().m_strPath, 30000));
    }
    std::string error;
    ASSERT_TRUE(WriteSavedList(program.PathIn("Queue.dat"), queue, &error)) << error;
    ASSERT_TRUE(program.Start());
    HWND list = ::GetDlgItem(program.FindTopLevel("Queue"), kList);
    auto rows = [&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); };
    auto mode = [&] { return ::SendMessageA(::GetDlgItem(program.Player(), kDevice), MCIWNDM_GETMODEA, 0, 0); };
    ASSERT_TRUE(WaitFor([&] { return rows() == 2; }, kWaitMs));
    ::PostMessageA(program.Player(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.Player()) || ::IsIconic(program.Player()); }, kWaitMs));

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION notepad{};
    char command[] = "notepad.exe";
    ASSERT_TRUE(::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &notepad));
    EXPECT_TRUE(WaitFor([&] {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &owner);
        return owner == notepad.dwProcessId;
    }, kWaitMs)) << "notepad has the focus";

    ASSERT_TRUE(Xdotool("key XF86AudioPlay"));
    EXPECT_TRUE(WaitFor([&] { return rows() == 1 && mode() == MCI_MODE_PLAY; }, kWaitMs)) << "the first song starts";
    ASSERT_TRUE(Xdotool("key XF86AudioPlay"));
    EXPECT_TRUE(WaitFor([&] { return mode() == MCI_MODE_PAUSE; }, kWaitMs)) << "and pauses";
    ASSERT_TRUE(Xdotool("key XF86AudioNext"));
    EXPECT_TRUE(WaitFor([&] { return rows() == 0 && mode() == MCI_MODE_PLAY; }, kWaitMs)) << "the second starts";
    ASSERT_TRUE(Xdotool("key XF86AudioStop"));
    EXPECT_TRUE(WaitFor([&] { return mode() == MCI_MODE_STOP; }, kWaitMs)) << "and stops";

    // Off: the key is free for another program (this test), and the player does not start.
    ::SendMessageA(program.Player(), WM_COMMAND, kMediaKeysOption, 0);
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, 0x4000 /* MOD_NOREPEAT */, VK_MEDIA_PLAY_PAUSE));
    ASSERT_TRUE(Xdotool("key XF86AudioPlay"));
    MSG msg{};
    bool heard = false;  // WaitFor would take the message off the queue itself
    for (DWORD start = ::GetTickCount(); !heard && ::GetTickCount() - start < kWaitMs;)
        if (!(heard = ::PeekMessageA(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != FALSE))
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_HOTKEY);
    EXPECT_TRUE(heard) << "the key reached this test's hot key";
    EXPECT_EQ(MCI_MODE_STOP, mode());
    ::UnregisterHotKey(nullptr, 1);

    ::TerminateProcess(notepad.hProcess, 0);
    ::CloseHandle(notepad.hThread);
    ::CloseHandle(notepad.hProcess);
    program.Close();
}

} // namespace
