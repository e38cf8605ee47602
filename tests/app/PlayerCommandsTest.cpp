// The player window's commands, in this process: options written at once with their check marks, the
// View toggles, Lyrics, Compact View, Create Play List, Font and the tray menu's transport commands with
// the track's quiet balloon.
#include "app/MelodeckDlg.h"
#include "framework/App.h"
#include "res/resource.h"
#include "support/MediaFolder.h"
#include "support/MelodeckProcess.h"
#include "support/TestMedia.h"
#include "support/WorkingFolder.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

// Runs on its own thread: waits for a dialog of the given caption (a message box when null) to show on
// the player's thread, reads its message, lets act fill it in, then presses its default button.
class CDialogWatcher {
public:
    CDialogWatcher(DWORD threadId, const char* caption, std::function<void(HWND)> act = nullptr)
        : m_thread([=] { Watch(threadId, caption ? caption : "", act); }) {}
    ~CDialogWatcher() { m_thread.join(); }
    std::string Text() {
        m_thread.join();
        m_thread = std::thread([] {});
        return m_strText;
    }

private:
    void Watch(DWORD threadId, std::string caption, std::function<void(HWND)> act) {
        HWND found = nullptr;
        WaitFor([&] { return (found = Find(threadId, caption)) != nullptr; }, 20000);
        if (!found) return;
        char text[512] = {};
        ::GetDlgItemTextA(found, 0xFFFF, text, sizeof(text));
        m_strText = text;
        if (act) act(found);
        ::PostMessageA(found, WM_COMMAND, IDOK, 0);
    }
    static HWND Find(DWORD threadId, const std::string& caption) {
        struct Search { const std::string* caption; HWND found; } search{&caption, nullptr};
        ::EnumThreadWindows(threadId, [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            char name[64] = {}, title[128] = {};
            ::GetClassNameA(hWnd, name, sizeof(name));
            ::GetWindowTextA(hWnd, title, sizeof(title));
            bool isBox = ::GetDlgItem(hWnd, 0xFFFF) != nullptr;
            if (::IsWindowVisible(hWnd) && std::string(name) == "#32770" &&
                (s->caption->empty() ? isBox : *s->caption == title)) {
                s->found = hWnd;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    std::string m_strText;
    std::thread m_thread;
};

class PlayerCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_workingFolder.Entered());
        m_player.m_settings = CMelodeckSettings(IniPath());
        m_app.m_pMainWnd = &m_player;
        ASSERT_TRUE(m_player.Create());
    }
    void TearDown() override {
        m_player.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
    }
    std::string IniPath() const { return m_folder.PathOf("Melodeck.ini"); }
    int IniValue(const char* key) const {
        return static_cast<int>(::GetPrivateProfileIntA("Setup", key, -1, IniPath().c_str()));
    }
    void Command(UINT id) { m_player.SendMessage(WM_COMMAND, id, 0); }
    // Opens the menu bar's popup holding the item the way the system does, and reads the item's check.
    bool IsChecked(UINT id) {
        HMENU bar = ::GetMenu(m_player);
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            HMENU popup = ::GetSubMenu(bar, i);
            if (::GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
            m_player.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
            return (::GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
        }
        ADD_FAILURE() << "no item " << id;
        return false;
    }
    DWORD Thread() const { return ::GetCurrentThreadId(); }

    CMediaFolder m_folder;
    CWorkingFolder m_workingFolder{m_folder.Path()};
    CWinApp m_app;
    CMelodeckDlg m_player;
};

struct SavedOption {
    UINT id;
    const char* key;
};

class SavedOptionCommandTest : public PlayerCommandsTest, public testing::WithParamInterface<SavedOption> {};

TEST_P(SavedOptionCommandTest, TogglesIsWrittenAtOnceAndShowsItsCheck) {
    const SavedOption option = GetParam();
    for (int expected : {1, 0, 1}) {
        Command(option.id);
        EXPECT_EQ(expected, IniValue(option.key));
        EXPECT_EQ(expected == 1, IsChecked(option.id));
    }
    if (option.id == ID_OPTIONS_ONTOP) {
        EXPECT_TRUE(::GetWindowLongPtrA(m_player, GWL_EXSTYLE) & WS_EX_TOPMOST);
        Command(option.id);
        EXPECT_FALSE(::GetWindowLongPtrA(m_player, GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}

INSTANTIATE_TEST_SUITE_P(Options, SavedOptionCommandTest,
                         testing::Values(SavedOption{ID_OPTIONS_RANDOM, "Random"}, SavedOption{ID_OPTIONS_TRAY, "Tray"},
                                         SavedOption{ID_OPTIONS_ONTOP, "OnTop"}),
                         [](const testing::TestParamInfo<SavedOption>& info) { return std::string(info.param.key); });

TEST_F(PlayerCommandsTest, ClosingThePlayListClearsItsViewCheckAndViewShowsItAgain) {
    EXPECT_TRUE(IsChecked(ID_VIEW_PLAYLIST));
    m_player.m_wndPlayList.SendMessage(WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !m_player.m_wndPlayList.IsWindowVisible(); }, 5000));
    EXPECT_FALSE(IsChecked(ID_VIEW_PLAYLIST));
    EXPECT_TRUE(IsChecked(ID_VIEW_QUEUE));
    Command(ID_VIEW_PLAYLIST);
    EXPECT_TRUE(m_player.m_wndPlayList.IsWindowVisible());
    EXPECT_TRUE(IsChecked(ID_VIEW_PLAYLIST));
}

TEST_F(PlayerCommandsTest, LyricsBeforeAnythingPlayedSaysThereIsNoArtist) {
    CDialogWatcher box(Thread(), nullptr);
    m_player.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LYRICS, BN_CLICKED), 0);
    EXPECT_EQ("No Artist information availible for look up", box.Text());
}

// The check is on exactly while the compact view is up, however it goes: the player restored from
// the tray, or the compact view closed (the player then stays in the tray).
TEST_F(PlayerCommandsTest, CompactViewCheckIsOnExactlyWhileTheCompactViewIsUp) {
    for (bool restoreFromTray : {true, false}) {
        Command(ID_OPTIONS_COMPACT);
        EXPECT_TRUE(m_player.m_dlgCompact.IsWindowVisible());
        EXPECT_FALSE(m_player.IsWindowVisible()) << "the player went to the tray";
        EXPECT_TRUE(IsChecked(ID_OPTIONS_COMPACT));
        if (restoreFromTray) {
            m_player.SendMessage(CSystemTray::kCallbackMessage, CSystemTray::kIconId, WM_LBUTTONDBLCLK);
            EXPECT_TRUE(m_player.IsWindowVisible()) << "a double-click on the icon brings it back";
        } else {
            m_player.m_dlgCompact.SendMessage(WM_CLOSE);
            EXPECT_FALSE(m_player.IsWindowVisible());
        }
        EXPECT_TRUE(WaitFor([&] { return !m_player.m_dlgCompact.IsWindowVisible(); }, 5000));
        EXPECT_FALSE(IsChecked(ID_OPTIONS_COMPACT));
    }
}

TEST_F(PlayerCommandsTest, CreatePlayListWritesCrLfLinesThatReadBackIntoTheSameEntries) {
    std::vector<std::string> paths;
    for (const char* name : {"a.wav", "b.wav"}) {
        ASSERT_TRUE(WriteWavFile(m_folder.PathOf(name), 100));
        paths.push_back(m_folder.PathOf(name));
        MediaEntry entry;
        entry.m_strPath = paths.back();
        m_player.m_wndPlayList.AddEntry(entry);
    }
    const std::string list = m_folder.PathOf("out.m3u");
    {
        CDialogWatcher save(Thread(), "Save As", [&](HWND dialog) { ::SetDlgItemTextA(dialog, 1148, list.c_str()); });
        Command(ID_CREATE_PLAYLIST);
    }
    std::ifstream file(list, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_EQ("#EXTM3U\r\n" + paths[0] + "\r\n" + paths[1] + "\r\n", bytes.str());

    m_player.m_wndQueue.LoadPlayListFile(list);
    ASSERT_TRUE(WaitFor([&] { return m_player.m_wndQueue.GetCount() == 2; }, 20000));
    for (int i = 0; i < 2; ++i) EXPECT_EQ(paths[i], m_player.m_wndQueue.GetEntryAt(i).m_strPath);
}

TEST_F(PlayerCommandsTest, TheChosenFontReachesBothListsAndSurvivesARestart) {
    {
        CDialogWatcher font(Thread(), "Font");
        Command(ID_OPTIONS_FONT);
    }
    LOGFONTA chosen{};
    ASSERT_TRUE(m_player.m_font.GetLogFont(&chosen));
    char record[260] = {};
    ::GetPrivateProfileStringA("Setup", "Font", "", record, sizeof(record), IniPath().c_str());
    EXPECT_EQ(0, std::string(record).find(chosen.lfFaceName)) << "the record is written at once";
    for (CPlayList* list : {&m_player.m_wndPlayList, &m_player.m_wndQueue})
        EXPECT_EQ(m_player.m_font.GetSafeHandle(), list->m_list.GetFont());

    CMelodeckDlg restarted;
    restarted.m_settings = CMelodeckSettings(IniPath());
    ASSERT_TRUE(restarted.Create());
    LOGFONTA again{};
    ::GetObjectA(restarted.m_wndPlayList.m_list.GetFont(), sizeof(again), &again);
    EXPECT_EQ(chosen.lfHeight, again.lfHeight);
    EXPECT_STREQ(chosen.lfFaceName, again.lfFaceName);
    restarted.DestroyWindow();
}

TEST_F(PlayerCommandsTest, TheFontDialogOpensOnTheListFont) {
    LOGFONTA large{};
    large.lfHeight = -30;
    std::strcpy(large.lfFaceName, "Tahoma");
    m_player.m_font.Attach(::CreateFontIndirectA(&large));
    for (CPlayList* list : {&m_player.m_wndPlayList, &m_player.m_wndQueue})
        list->m_list.SetFont(m_player.m_font, true);
    std::string face;
    {
        CDialogWatcher font(Thread(), "Font", [&](HWND dialog) {
            char text[64] = {};
            ::GetDlgItemTextA(dialog, 0x470, text, sizeof(text));
            face = text;
        });
        Command(ID_OPTIONS_FONT);
    }
    EXPECT_EQ("Tahoma", face);
    LOGFONTA chosen{};
    ASSERT_TRUE(m_player.m_font.GetLogFont(&chosen));
    EXPECT_STREQ("Tahoma", chosen.lfFaceName) << "OK at once keeps the font in use";
}

TEST_F(PlayerCommandsTest, AFontThatCannotBeMadeShowsErrorAndChangesNothing) {
    const HFONT before = m_player.m_wndPlayList.m_list.GetFont();
    const auto create = CMelodeckDlg::s_pfnCreateFont;
    CMelodeckDlg::s_pfnCreateFont = [](const LOGFONTA*) -> HFONT { return nullptr; };
    std::string text;
    {
        CDialogWatcher font(Thread(), "Font");
        CDialogWatcher box(Thread(), AfxGetAppName().c_str());
        Command(ID_OPTIONS_FONT);
        text = box.Text();
    }
    CMelodeckDlg::s_pfnCreateFont = create;
    EXPECT_EQ("Error", text);
    EXPECT_EQ(before, m_player.m_wndPlayList.m_list.GetFont());
    char record[260] = {};
    ::GetPrivateProfileStringA("Setup", "Font", "", record, sizeof(record), IniPath().c_str());
    EXPECT_STREQ("", record);
}

// The shell hands a drop over as a DROPFILES block in moveable memory, the names following it.
HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    names += '\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::copy(names.begin(), names.end(), reinterpret_cast<char*>(drop + 1));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(PlayerCommandsTest, FilesAndFoldersDroppedOnAListAreAddedToThatList) {
    ASSERT_TRUE(::CreateDirectoryA(m_folder.PathOf("dropped").c_str(), nullptr));
    for (const char* name : {"dropped\\a.wav", "dropped\\b.wav", "c.wav"})
        ASSERT_TRUE(WriteWavFile(m_folder.PathOf(name), 100));
    HDROP drop = MakeDrop({m_folder.PathOf("dropped"), m_folder.PathOf("c.wav")});
    m_player.m_wndQueue.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
    EXPECT_TRUE(WaitFor([&] { return m_player.m_wndQueue.GetCount() == 3; }, 20000));
    EXPECT_EQ(0, m_player.m_wndPlayList.GetCount());
}

// Minimize To Tray off: the player goes to the taskbar, still a visible (minimised) window; on: the tray.
TEST_F(PlayerCommandsTest, MinimizeToTrayDecidesWhereMinimisingGoes) {
    m_player.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(m_player.IsWindowVisible());
    EXPECT_TRUE(::IsIconic(m_player));
    m_player.ShowWindow(SW_RESTORE);
    Command(ID_OPTIONS_TRAY);
    m_player.ShowWindow(SW_MINIMIZE);
    EXPECT_FALSE(m_player.IsWindowVisible());
    m_player.SendMessage(CSystemTray::kCallbackMessage, CSystemTray::kIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m_player.IsWindowVisible());
}

// Ctrl+F reaches Find from the list windows too: the queue's own Find from the queue, the play list's
// from anywhere else.
TEST_F(PlayerCommandsTest, CtrlFOpensFindOfTheListWindowItComesFrom) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    auto findOwnedBy = [&](HWND owner) {
        HWND found = nullptr;
        WaitFor([&] {
            for (HWND hWnd = ::GetTopWindow(nullptr); hWnd && !found; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
                if (::GetWindow(hWnd, GW_OWNER) == owner && ::IsWindowVisible(hWnd) &&
                    ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId())
                    found = hWnd;
            return found != nullptr;
        }, 5000);
        return found;
    };
    for (CPlayList* list : {&m_player.m_wndQueue, &m_player.m_wndPlayList}) {
        MSG key{list->m_list.m_hWnd, WM_KEYDOWN, 'F', 0x00210001};
        EXPECT_TRUE(m_player.TranslateAccelerators(&key));
        HWND find = findOwnedBy(list->m_hWnd);
        EXPECT_TRUE(find) << "no Find window for list " << list->GetListId();
        if (find) ::SendMessageA(find, WM_CLOSE, 0, 0);
    }
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    MSG plain{m_player.m_wndQueue.m_list.m_hWnd, WM_KEYDOWN, 'F', 0x00210001};
    EXPECT_FALSE(m_player.TranslateAccelerators(&plain));
}

// The File menu's Load Play List replaces the play list with the file's entries.
TEST_F(PlayerCommandsTest, FileLoadPlayListReplacesThePlayList) {
    MediaEntry old;
    old.m_strPath = m_folder.PathOf("old.wav");
    m_player.m_wndPlayList.AddEntry(old);
    for (const char* name : {"x.wav", "y.wav"}) ASSERT_TRUE(WriteWavFile(m_folder.PathOf(name), 100));
    const std::string list = m_folder.PathOf("new.m3u");
    {
        std::ofstream file(list, std::ios::binary);
        file << "#EXTM3U\r\nx.wav\r\ny.wav\r\n";
    }
    {
        CDialogWatcher open(Thread(), "Open", [&](HWND dialog) { ::SetDlgItemTextA(dialog, 1148, list.c_str()); });
        Command(ID_LIST_LOADPLAYLIST);
    }
    ASSERT_TRUE(WaitFor([&] { return m_player.m_wndPlayList.GetCount() == 2; }, 20000));
    EXPECT_EQ(m_folder.PathOf("x.wav"), m_player.m_wndPlayList.GetEntryAt(0).m_strPath);
    EXPECT_EQ(m_folder.PathOf("y.wav"), m_player.m_wndPlayList.GetEntryAt(1).m_strPath);
}

TEST_F(PlayerCommandsTest, TrayMenuDrivesTheJukeBoxWithItsPauseCheck) {
    for (const char* name : {"x.wav", "y.wav"}) {
        ASSERT_TRUE(WriteWavFile(m_folder.PathOf(name), 3000));
        MediaEntry entry;
        entry.m_strPath = m_folder.PathOf(name);
        entry.m_strArtist = entry.m_strSong = name;
        m_player.m_wndPlayList.AddEntry(entry);
    }
    EXPECT_STREQ("Melodeck", m_player.m_trayIcon.GetNotifyData().szTip);
    Command(ID_TRAY_PLAY);
    EXPECT_EQ("x.wav", m_player.m_current.m_strArtist);
    EXPECT_NE(nullptr, std::strstr(m_player.m_trayIcon.GetNotifyData().szTip, "x.wav")) << "the tooltip names the song";
    // The track's balloon is quiet and is shown now or never.
    EXPECT_EQ(static_cast<UINT>(NIF_INFO | NIF_REALTIME), m_player.m_trayIcon.GetNotifyData().uFlags);
    EXPECT_EQ(CSystemTray::kQuietBalloon, m_player.m_trayIcon.GetNotifyData().dwInfoFlags);
    Command(ID_TRAY_PAUSE);
    EXPECT_TRUE(m_player.m_trayIcon.GetPauseState() & MF_CHECKED);
    EXPECT_EQ(BST_CHECKED, m_player.m_btnPause.GetCheck());
    Command(ID_TRAY_PAUSE);
    EXPECT_FALSE(m_player.m_trayIcon.GetPauseState() & MF_CHECKED);
    Command(ID_TRAY_NEXT);
    EXPECT_TRUE(WaitFor([&] { return m_player.m_current.m_strArtist == "y.wav"; }, 10000));
    Command(ID_TRAY_PREVIOUS);
    Command(ID_TRAY_STOP);
    EXPECT_FALSE(m_player.m_bAutoAdvance);
}

}  // namespace
