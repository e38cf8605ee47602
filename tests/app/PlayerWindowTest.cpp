// The real program: its windows at start-up and a clean end.
#include "library/SavedList.h"
#include "support/MelodeckProcess.h"
#include "support/RemoteList.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

RECT WindowRect(HWND hWnd) {
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string TextOf(HWND hWnd) {
    char text[256] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

constexpr UINT kTrayMessage = WM_APP + 10;
constexpr UINT kTrayIcon = 170;
constexpr UINT kCompactView = 32775;

class PlayerWindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_program.Start()) << "the player window did not appear"; }
    CMelodeckProcess m_program;
};

TEST_F(PlayerWindowTest, PlayerOpensAtFiftyFiftyWithItsControls) {
    HWND player = m_program.Player();
    char caption[64] = {};
    ::GetWindowTextA(player, caption, sizeof(caption));
    EXPECT_STREQ("Melodeck", caption);
    RECT rect = WindowRect(player);
    EXPECT_EQ(50, rect.left);
    EXPECT_EQ(50, rect.top);
    for (int id : {1003, 1004, 1005, 1006, 1007, 1009, 1010, 1015, 1022})
        EXPECT_TRUE(::GetDlgItem(player, id) != nullptr) << "control " << id;
    EXPECT_TRUE(::GetMenu(player) != nullptr);
}

TEST_F(PlayerWindowTest, QueueAndPlayListSitBelowThePlayerAsWideAsItsClientArea) {
    HWND queue = m_program.FindTopLevel("Queue");
    HWND playList = m_program.FindTopLevel("Play List");
    ASSERT_TRUE(queue);
    ASSERT_TRUE(playList);

    // The player's client width is read before the player takes its final size, which is that width.
    RECT player = WindowRect(m_program.Player());
    const int width = player.right - player.left;
    RECT queueRect = WindowRect(queue);
    RECT playListRect = WindowRect(playList);
    EXPECT_EQ(50, queueRect.left);
    EXPECT_EQ(50, playListRect.left);
    EXPECT_EQ(width, queueRect.right - queueRect.left);
    EXPECT_EQ(width, playListRect.right - playListRect.left);
    EXPECT_EQ(200, queueRect.bottom - queueRect.top);
    EXPECT_GE(queueRect.top, player.top + 129);
    EXPECT_GE(playListRect.top, queueRect.bottom) << "the play list is below the queue";

    // Each list window holds the three-column list control.
    HWND list = ::GetDlgItem(playList, 1002);
    ASSERT_TRUE(list);
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, 0x101F /* LVM_GETHEADER */, 0, 0));
    EXPECT_EQ(3, ::SendMessageA(header, 0x1200 /* HDM_GETITEMCOUNT */, 0, 0));
}

TEST_F(PlayerWindowTest, ClosingThePlayerEndsTheProgram) {
    ASSERT_TRUE(m_program.Close());
    EXPECT_EQ(0u, m_program.ExitCode());
    EXPECT_TRUE(m_program.TopLevelWindows(false).empty());
}

TEST_F(PlayerWindowTest, ClosingAListWindowOnlyHidesIt) {
    HWND queue = m_program.FindTopLevel("Queue");
    ASSERT_TRUE(queue);
    ::PostMessageA(queue, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(queue); }, 5000));
    EXPECT_TRUE(::IsWindow(queue));
    EXPECT_TRUE(m_program.IsRunning());
}

TEST_F(PlayerWindowTest, RestoringFromTheTrayBringsBackBothListWindowsInPlace) {
    HWND queue = m_program.FindTopLevel("Queue");
    HWND playList = m_program.FindTopLevel("Play List");
    ASSERT_TRUE(queue && playList);
    const RECT queueRect = WindowRect(queue), playListRect = WindowRect(playList);
    ::SendMessageA(m_program.Player(), WM_COMMAND, 32776 /* Minimize To Tray */, 0);
    ::PostMessageA(m_program.Player(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(m_program.Player()); }, 20000));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(queue) && !::IsWindowVisible(playList); }, 20000));

    ::PostMessageA(m_program.Player(), kTrayMessage, kTrayIcon, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(m_program.Player()) != FALSE; }, 20000));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(queue) && ::IsWindowVisible(playList); }, 20000));
    EXPECT_TRUE(SameRect(queueRect, WindowRect(queue)));
    EXPECT_TRUE(SameRect(playListRect, WindowRect(playList)));
}

}  // namespace

namespace {

// The compact view, standing in for the player in the tray, on songs of the saved play list.
TEST(CompactViewTest, ShowsTheSongItsButtonsDriveThePlayerAndADoubleClickBringsThePlayerBack) {
    CMelodeckProcess program;
    std::vector<MediaEntry> entries;
    for (const char* name : {"Alpha", "Bravo"}) {
        const std::string path = program.PathIn(std::string(name) + ".wav");
        ASSERT_TRUE(WriteWavFile(path, 20000));
        entries.push_back({path, std::string(name) + ".wav", "Band" + std::string(1, '\0'), name + std::string(1, '\0'), name + std::string(1, '\0')});
    }
    std::string error;
    ASSERT_TRUE(WriteSavedList(program.PathIn("Playlist.dat"), entries, &error)) << error;
    ASSERT_TRUE(program.Start());
    HWND list = ::GetDlgItem(program.FindTopLevel("Play List"), 1002);
    ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 20000));

    ::PostMessageA(program.Player(), WM_COMMAND, kCompactView, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.Player()); }, 20000));
    HWND playList = ::GetParent(list);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(playList); }, 20000)) << "the lists go with the player";
    HWND compact = program.FindTopLevel("Melodeck", 20000);
    ASSERT_TRUE(compact && compact != program.Player());
    HWND song = ::GetDlgItem(compact, 1009);
    ASSERT_TRUE(song);

    ::PostMessageA(::GetDlgItem(compact, 1003), BM_CLICK, 0, 0);  // Play/Pause
    EXPECT_TRUE(WaitFor([&] { return TextOf(song) == "Band - Alpha"; }, 20000)) << TextOf(song);
    ::PostMessageA(::GetDlgItem(compact, 1006), BM_CLICK, 0, 0);  // Next
    EXPECT_TRUE(WaitFor([&] { return TextOf(song) == "Band - Bravo"; }, 20000)) << TextOf(song);
    HWND pause = ::GetDlgItem(program.Player(), 1007);
    ::PostMessageA(::GetDlgItem(compact, 1003), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ::SendMessageA(pause, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 20000));
    ::PostMessageA(::GetDlgItem(compact, 1003), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ::SendMessageA(pause, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 20000));

    ::PostMessageA(compact, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.Player()) != FALSE; }, 20000));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(compact); }, 20000));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(playList) != FALSE; }, 20000));
    program.Close();
}

// Window places and column widths kept across restarts, and brought back onto the screen.
class KeptLayoutTest : public testing::Test {
protected:
    static int ColumnWidth(HWND window, int column) {
        return static_cast<int>(::SendMessageA(::GetDlgItem(window, 1002), LVM_GETCOLUMNWIDTH, column, 0));
    }
    static bool OnScreen(const RECT& rect) {
        const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        const RECT screen{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        return rect.left >= screen.left && rect.top >= screen.top && rect.right <= screen.right &&
               rect.bottom <= screen.bottom;
    }
    CMelodeckProcess m_program;
};

TEST_F(KeptLayoutTest, AMovedPlayerAResizedListAndAColumnWidthComeBackAfterARestart) {
    ASSERT_TRUE(m_program.Start());
    HWND playList = m_program.FindTopLevel("Play List");
    ASSERT_TRUE(playList);
    ASSERT_TRUE(::SetWindowPos(m_program.Player(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    ASSERT_TRUE(::SetWindowPos(playList, nullptr, 420, 300, 330, 240, SWP_NOZORDER));
    ::SendMessageA(::GetDlgItem(m_program.FindTopLevel("Queue"), 1002), LVM_SETCOLUMNWIDTH, 1, 77);
    const RECT player = WindowRect(m_program.Player()), list = WindowRect(playList);
    ASSERT_TRUE(m_program.Close());

    ASSERT_TRUE(m_program.Start());
    EXPECT_TRUE(SameRect(player, WindowRect(m_program.Player())));
    EXPECT_TRUE(SameRect(list, WindowRect(m_program.FindTopLevel("Play List"))));
    EXPECT_EQ(77, ColumnWidth(m_program.FindTopLevel("Queue"), 1));
    EXPECT_EQ(150, ColumnWidth(m_program.FindTopLevel("Play List"), 1));
}

TEST_F(KeptLayoutTest, PlacesOffEveryMonitorComeBackOnTheScreen) {
    HANDLE file = ::CreateFileA(m_program.PathIn("Melodeck.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const std::string ini = "[Setup]\r\nPlayerWindow=-5000,-4000,300,150\r\nPlayListWindow=9000,100,300,200\r\n"
                            "QueueWindow=junk\r\nQueueColumns=10,x,30\r\n";
    DWORD written = 0;
    ::WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_TRUE(m_program.Start());
    EXPECT_TRUE(OnScreen(WindowRect(m_program.Player())));
    RECT list = WindowRect(m_program.FindTopLevel("Play List"));
    EXPECT_TRUE(OnScreen(list));
    EXPECT_EQ(300, list.right - list.left);
    EXPECT_EQ(150, ColumnWidth(m_program.FindTopLevel("Queue"), 1)) << "a damaged value is ignored";
}

}  // namespace

namespace {

// Options saved by an earlier run, in the INI file beside the program.
class SavedOptionsTest : public testing::Test {
protected:
    void WriteIni(const std::string& text) {
        HANDLE file = ::CreateFileA(m_program.PathIn("Melodeck.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    // The list's header takes the list's font: its height tells the font's size from outside.
    static int HeaderHeight(HWND list) {
        HWND header = reinterpret_cast<HWND>(::SendMessageA(list, 0x101F /* LVM_GETHEADER */, 0, 0));
        RECT rect{};
        ::GetWindowRect(header, &rect);
        return rect.bottom - rect.top;
    }
    bool IsTopmost() const {
        return (::GetWindowLongPtrA(m_program.Player(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }
    CMelodeckProcess m_program;
};

// Esc, and Enter on the volume slider, leave the player running; the volume set with the keyboard is
// written at once and comes back at the next start.
TEST_F(SavedOptionsTest, EscAndEnterKeepThePlayerAndItsVolumeSurvivesARestart) {
    ASSERT_TRUE(m_program.Start());
    HWND slider = ::GetDlgItem(m_program.Player(), 1015);
    ASSERT_TRUE(slider);
    auto position = [&] { return static_cast<int>(::SendMessageA(::GetDlgItem(m_program.Player(), 1015), TBM_GETPOS, 0, 0)); };
    EXPECT_EQ(100, position()) << "a first start keeps the old level";
    ::PostMessageA(slider, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageA(m_program.Player(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageA(slider, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    // Keys are taken in order: once End has moved the slider, Esc and Enter have been handled.
    ::PostMessageA(slider, WM_KEYDOWN, VK_END, 0x014F0001);
    ::PostMessageA(slider, WM_KEYUP, VK_END, 0xC14F0001);
    EXPECT_TRUE(WaitFor([&] { return position() == 1000; }, 10000)) << position();
    const std::string ini = m_program.PathIn("Melodeck.ini");
    EXPECT_TRUE(WaitFor([&] { return ::GetPrivateProfileIntA("Setup", "Volume", -1, ini.c_str()) == 1000; }, 10000));
    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(m_program.Player()));

    ASSERT_TRUE(m_program.Close());
    ASSERT_TRUE(m_program.Start());
    EXPECT_EQ(1000, position());
}

TEST_F(SavedOptionsTest, SavedOnTopStartsTopmost) {
    WriteIni("[Setup]\r\nOnTop=1\r\n");
    ASSERT_TRUE(m_program.Start());
    EXPECT_TRUE(WaitFor([&] { return IsTopmost(); }, 5000));
}

TEST_F(SavedOptionsTest, AnyOtherSavedValueStartsNormal) {
    WriteIni("[setup]\r\nOnTop=2\r\n");
    ASSERT_TRUE(m_program.Start());
    EXPECT_FALSE(IsTopmost());
}

TEST_F(SavedOptionsTest, TheSavedListFontIsGivenToBothLists) {
    // A large font makes the rows visibly taller than with the dialog font.
    ASSERT_TRUE(m_program.Start());
    HWND list = ::GetDlgItem(m_program.FindTopLevel("Play List"), 1002);
    ASSERT_TRUE(list);
    int normal = HeaderHeight(list);
    ASSERT_TRUE(m_program.Close());

    WriteIni("[Setup]\r\nFont=Tahoma,-40,700,0\r\n");
    ASSERT_TRUE(m_program.Start());
    for (const char* caption : {"Play List", "Queue"}) {
        HWND control = ::GetDlgItem(m_program.FindTopLevel(caption), 1002);
        ASSERT_TRUE(control) << caption;
        int large = HeaderHeight(control);
        EXPECT_GE(large, normal + 20) << caption;
    }
}

TEST_F(SavedOptionsTest, AnUnreadableFontRecordKeepsTheDialogFont) {
    ASSERT_TRUE(m_program.Start());
    HWND list = ::GetDlgItem(m_program.FindTopLevel("Play List"), 1002);
    int normal = HeaderHeight(list);
    ASSERT_TRUE(m_program.Close());

    WriteIni("[Setup]\r\nFont=Tahoma 2,-40,700,0\r\n");
    ASSERT_TRUE(m_program.Start());
    list = ::GetDlgItem(m_program.FindTopLevel("Play List"), 1002);
    EXPECT_EQ(normal, HeaderHeight(list));
}

}  // namespace

namespace {

// Paths handed to the program from outside: its command line and a second start.
TEST(OpenFromOutsideTest, CommandLinePathsFillThePlayListAndASecondStartAddsToTheFirst) {
    CMelodeckProcess program;
    const std::string folder = program.PathIn("music");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    auto write = [](const std::string& path, const std::string& bytes) {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    };
    write(folder + "\\a.mp3", std::string(200, 'x'));
    write(program.PathIn("b.mp3"), std::string(200, 'x'));
    write(program.PathIn("c.mp3"), std::string(200, 'x'));
    write(program.PathIn("list.m3u"), "#EXTM3U\r\nb.mp3\r\n");
    ASSERT_TRUE(program.Start(20000, "music list.m3u c.mp3 gone.mp3"));
    // A path that is not there adds nothing, and the user is told once, with its name.
    const std::string told = CloseNextMessageBox(program.ProcessId());
    EXPECT_EQ(0u, told.find("Error Opening File")) << told;
    EXPECT_NE(std::string::npos, told.find("gone.mp3")) << told;
    HWND list = ::GetDlgItem(program.FindTopLevel("Play List"), 1002);
    auto rows = [&] { return static_cast<int>(::SendMessageA(list, 0x1004 /* LVM_GETITEMCOUNT */, 0, 0)); };
    EXPECT_TRUE(WaitFor([&] { return rows() == 3; }, 20000)) << rows();

    // A second start ends at once, whether it brings paths or only asks for the player.
    auto startAgain = [&](const std::string& arguments) {
        STARTUPINFOA startup{sizeof(startup)};
        PROCESS_INFORMATION second{};
        std::string command = "\"" + program.PathIn("Melodeck.exe") + "\"" + arguments;
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &second))
            return false;
        bool ended = ::WaitForSingleObject(second.hProcess, 20000) == WAIT_OBJECT_0;
        ::CloseHandle(second.hThread);
        ::CloseHandle(second.hProcess);
        return ended;
    };
    EXPECT_TRUE(startAgain(" \"" + program.PathIn("b.mp3") + "\""));
    EXPECT_TRUE(WaitFor([&] { return rows() == 4; }, 20000)) << rows();
    EXPECT_TRUE(startAgain(""));
    EXPECT_EQ(4, rows());
    EXPECT_TRUE(program.IsRunning());
}

}  // namespace

namespace {

// The juke box on the real program: songs from an M3U list; the device window's title names the file
// that plays.
class JukeBoxTest : public testing::Test {
protected:
    void StartWith(const std::vector<std::pair<std::string, unsigned>>& songs) {
        std::string list = "#EXTM3U\r\n";
        for (const auto& song : songs) {
            if (song.second > 0)
                ASSERT_TRUE(WriteWavFile(m_program.PathIn(song.first), song.second));
            else  // not a sound file at all
                ASSERT_TRUE(WriteMediaFile(m_program.PathIn(song.first), MediaBytes(5000, 0x55)));
            list += song.first + "\r\n";
        }
        ASSERT_TRUE(WriteMediaFile(m_program.PathIn("list.m3u"), MediaBytes(list.begin(), list.end())));
        ASSERT_TRUE(m_program.Start(20000, "list.m3u"));
        HWND rows = ::GetDlgItem(m_program.FindTopLevel("Play List"), 1002);
        ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(rows, 0x1004 /* LVM_GETITEMCOUNT */, 0, 0) == 3; }, 20000));
    }
    std::string Playing() const {
        char title[MAX_PATH] = {};
        ::GetWindowTextA(::GetDlgItem(m_program.Player(), 1010), title, sizeof(title));
        return title;
    }
    void Press(int id) const { ::PostMessageA(::GetDlgItem(m_program.Player(), id), BM_CLICK, 0, 0); }
    LRESULT PauseCheck() const { return ::SendMessageA(::GetDlgItem(m_program.Player(), 1007), BM_GETCHECK, 0, 0); }
    // Mean brightness of the Pause button's face as the screen shows it.
    int PauseBrightness() const {
        RECT button{};
        ::GetWindowRect(::GetDlgItem(m_program.Player(), 1007), &button);
        HDC screen = ::GetDC(nullptr);
        long sum = 0, count = 0;
        for (int y = button.top + 4; y < button.bottom - 4; y += 2)
            for (int x = button.left + 4; x < button.right - 4; x += 2, ++count) {
                COLORREF pixel = ::GetPixel(screen, x, y);
                sum += (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3;
            }
        ::ReleaseDC(nullptr, screen);
        return count ? static_cast<int>(sum / count) : 0;
    }
    // A message box: captioned with the program's name, owned by the player (as the list windows are).
    bool ABoxIsUp() const {
        for (HWND window : m_program.TopLevelWindows(true)) {
            char caption[32] = {};
            ::GetWindowTextA(window, caption, sizeof(caption));
            if (std::string(caption) == "Melodeck" && ::GetWindow(window, GW_OWNER) == m_program.Player())
                return true;
        }
        return false;
    }
    CMelodeckProcess m_program;
};

TEST_F(JukeBoxTest, ACorruptFileBetweenTwoGoodOnesIsPassedOverWithoutABox) {
    ASSERT_NO_FATAL_FAILURE(StartWith({{"first.wav", 1500}, {"corrupt.mp3", 0}, {"third.wav", 3000}}));
    Press(1003);
    bool boxSeen = false;
    EXPECT_TRUE(WaitFor([&] { boxSeen = boxSeen || ABoxIsUp(); return Playing() == "third.wav"; }, 30000))
        << "playing: " << Playing();
    EXPECT_FALSE(boxSeen || ABoxIsUp());
}

TEST_F(JukeBoxTest, PauseLooksPressedAndPlayResumesAndPlaysOn) {
    ASSERT_NO_FATAL_FAILURE(StartWith({{"first.wav", 2500}, {"second.wav", 3000}, {"third.wav", 3000}}));
    Press(1003);
    ASSERT_TRUE(WaitFor([&] { return Playing() == "first.wav"; }, 20000));
    const int released = PauseBrightness();
    Press(1007);
    ASSERT_TRUE(WaitFor([&] { return PauseCheck() == BST_CHECKED; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return PauseBrightness() < released - 8; }, 5000))
        << "checked " << PauseBrightness() << ", unchecked " << released;
    Press(1003);
    EXPECT_TRUE(WaitFor([&] { return PauseCheck() == BST_UNCHECKED; }, 10000));
    EXPECT_EQ("first.wav", Playing()) << "the paused song goes on";
    EXPECT_TRUE(WaitFor([&] { return Playing() == "second.wav"; }, 30000)) << "playing: " << Playing();
}

}  // namespace
