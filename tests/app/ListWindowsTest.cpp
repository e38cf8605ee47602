// The list windows of the real program, driven through their own commands: Add to Queue, a click on a
// column header, the queue's menu, the tag editor on good and bad files, Find and Lyrics.
#include "library/MediaEntry.h"
#include "library/SavedList.h"
#include "lyrics/LyricsAddress.h"
#include "settings/MelodeckSettings.h"
#include "support/MelodeckProcess.h"
#include "support/RemoteList.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr UINT kAddToQueue = 32783;
constexpr UINT kRemove = 32784;
constexpr int kPlayButton = 1003;
constexpr UINT kRemoveAll = 32791;
constexpr UINT kFind = 32793;
constexpr UINT kLyrics = 32809;
constexpr UINT kProperties = 32785;
constexpr int kListControl = 1002;

using Rows = std::vector<std::vector<std::string>>;

std::string TagText(const std::string& text) { return text + '\0'; }

MediaEntry Song(const std::string& path, const std::string& artist, const std::string& album, const std::string& song) {
    return {path, "", TagText(artist), TagText(album), TagText(song)};
}

class ListWindowsTest : public testing::Test {
protected:
    // Starts the program with the play list saved before.
    void Start(const std::vector<MediaEntry>& entries) {
        std::string error;
        ASSERT_TRUE(WriteSavedList(m_program.PathIn("Playlist.dat"), entries, &error)) << error;
        ASSERT_TRUE(m_program.Start()) << "the player window did not appear";
        m_hPlayListWindow = m_program.FindTopLevel("Play List");
        m_hQueueWindow = m_program.FindTopLevel("Queue");
        ASSERT_TRUE(m_hPlayListWindow && m_hQueueWindow);
        m_hPlayList = ::GetDlgItem(m_hPlayListWindow, kListControl);
        m_hQueue = ::GetDlgItem(m_hQueueWindow, kListControl);
        ASSERT_TRUE(WaitFor([&] { return RowCount(m_hPlayList) == static_cast<int>(entries.size()); }, 20000));
    }

    static int RowCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
    Rows RowsOf(HWND list) const { return ReadListRows(list, m_program.ProcessId()); }

    std::vector<int> SelectedRows(HWND list) const {
        std::vector<int> rows;
        for (int row = -1; (row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
            rows.push_back(row);
        return rows;
    }

    void SelectOnly(HWND list, std::initializer_list<int> rows) const {
        ASSERT_TRUE(SetRowSelected(list, m_program.ProcessId(), -1, false));
        for (int row : rows) ASSERT_TRUE(SetRowSelected(list, m_program.ProcessId(), row, true));
    }

    CMelodeckProcess m_program;
    HWND m_hPlayListWindow = nullptr;
    HWND m_hQueueWindow = nullptr;
    HWND m_hPlayList = nullptr;
    HWND m_hQueue = nullptr;
};

TEST_F(ListWindowsTest, AddToQueueSortingByAHeaderClickAndTheQueuesMenu) {
    std::vector<MediaEntry> entries;
    for (const char* song : {"Fernando", "Waterloo", "Chiquitita", "Mamma Mia", "Abc", "SOS"})
        entries.push_back(Song(std::string("C:\\Music\\") + song + ".mp3", "Abba", "Gold", song));
    ASSERT_NO_FATAL_FAILURE(Start(entries));
    const Rows before = RowsOf(m_hPlayList);

    SelectOnly(m_hPlayList, {2, 5});
    ::PostMessageA(m_hPlayListWindow, WM_COMMAND, kAddToQueue, 0);
    ASSERT_TRUE(WaitFor([&] { return RowCount(m_hQueue) == 2; }, 10000));
    EXPECT_EQ((Rows{before[2], before[5]}), RowsOf(m_hQueue));
    EXPECT_EQ(before, RowsOf(m_hPlayList));

    // A click in the middle of the Song column's header.
    HWND header = reinterpret_cast<HWND>(::SendMessageA(m_hPlayList, LVM_GETHEADER, 0, 0));
    const int x = static_cast<int>(::SendMessageA(m_hPlayList, LVM_GETCOLUMNWIDTH, 0, 0) +
                                   ::SendMessageA(m_hPlayList, LVM_GETCOLUMNWIDTH, 1, 0) +
                                   ::SendMessageA(m_hPlayList, LVM_GETCOLUMNWIDTH, 2, 0) / 2);
    ::PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
    ::PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    Rows bySong = before;
    std::sort(bySong.begin(), bySong.end(), [](const auto& a, const auto& b) { return a[2] < b[2]; });
    EXPECT_TRUE(WaitFor([&] { return RowsOf(m_hPlayList) == bySong; }, 10000)) << RowsOf(m_hPlayList)[0][2];

    // The queue's first menu item removes the selected row: it is "&Remove", not "Add to &Queue".
    SelectOnly(m_hQueue, {0});
    ::PostMessageA(m_hQueueWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hQueueWindow), MAKELPARAM(80, 300));
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND hWnd : m_program.TopLevelWindows(true)) {
                char name[16] = {};
                ::GetClassNameA(hWnd, name, sizeof(name));
                if (std::string(name) == "#32768") popup = hWnd;
            }
            return popup != nullptr;
        },
        10000));
    ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([&] { return RowsOf(m_hQueue) == Rows{before[5]}; }, 10000));
}

TEST_F(ListWindowsTest, PropertiesChangeTheRowOnlyWhenTheFileTakesTheNewAlbum) {
    const std::string music = m_program.PathIn("Music");
    ASSERT_TRUE(::CreateDirectoryA(music.c_str(), nullptr));
    std::vector<MediaEntry> entries;
    for (const char* name : {"tagged", "gone", "readonly", "playing"}) {
        const std::string path = music + "\\" + name + ".mp3";
        const Id3v1Fields tag{name, "Abba", "Gold"};
        ASSERT_TRUE(WriteMp3File(path, 3, &tag));
        entries.push_back(Song(path, "Abba", "Gold", name));
    }
    ASSERT_TRUE(::DeleteFileA(entries[1].m_strPath.c_str()));
    ASSERT_TRUE(::SetFileAttributesA(entries[2].m_strPath.c_str(), FILE_ATTRIBUTE_READONLY));
    // Held open as the playback device holds the file it plays.
    HANDLE device = ::CreateFileA(entries[3].m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    ASSERT_NO_FATAL_FAILURE(Start(entries));
    const Rows before = RowsOf(m_hPlayList);

    // The tag editor on a row, the album changed to Live, OK.
    auto editAlbum = [&](int row) {
        SelectOnly(m_hPlayList, {row});
        ::PostMessageA(m_hPlayListWindow, WM_COMMAND, kProperties, 0);
        HWND editor = m_program.FindTopLevel("Edit MP3 Tag", 15000);
        ASSERT_TRUE(editor) << "row " << row;
        ASSERT_TRUE(::SetDlgItemTextA(editor, 1012, "Live"));
        ::PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    for (int row : {1, 2, 3}) {
        const MediaBytes file = ReadMediaFile(entries[row].m_strPath);
        ASSERT_NO_FATAL_FAILURE(editAlbum(row));
        EXPECT_EQ(0u, CloseNextMessageBox(m_program.ProcessId()).rfind("Error Writting to disk", 0)) << "row " << row;
        EXPECT_EQ("Error Opening File", CloseNextMessageBox(m_program.ProcessId())) << "row " << row;
        EXPECT_EQ(file, ReadMediaFile(entries[row].m_strPath)) << "row " << row;
        EXPECT_EQ(before, RowsOf(m_hPlayList)) << "row " << row;
    }
    ::CloseHandle(device);
    ::SetFileAttributesA(entries[2].m_strPath.c_str(), FILE_ATTRIBUTE_NORMAL);

    MediaBytes expected = ReadMediaFile(entries[0].m_strPath);
    ASSERT_NO_FATAL_FAILURE(editAlbum(0));
    Rows after = before;
    after[0][1] = "Live";
    EXPECT_TRUE(WaitFor([&] { return RowsOf(m_hPlayList) == after; }, 10000)) << RowsOf(m_hPlayList)[0][1];
    const size_t album = expected.size() - kId3v1Bytes + 63;
    std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(album), 30, 0);
    std::copy_n("Live", 4, expected.begin() + static_cast<std::ptrdiff_t>(album));
    EXPECT_EQ(expected, ReadMediaFile(entries[0].m_strPath));
}

TEST_F(ListWindowsTest, FindSelectsMatchesInTurnAndLyricsCaptionsItsWindowWithTheAddress) {
    std::vector<MediaEntry> entries;
    for (const char* artist : {"Abba", "Queen", "Abba", "David Bowie", "Abba"})
        entries.push_back(Song(std::string("C:\\Music\\") + artist + ".mp3", artist, "Hits", "Song"));
    ASSERT_NO_FATAL_FAILURE(Start(entries));

    // Lyrics with no row selected opens nothing (the command has run when SendMessage returns).
    SelectOnly(m_hPlayList, {});
    const size_t windows = m_program.TopLevelWindows(false).size();
    ::SendMessageA(m_hPlayListWindow, WM_COMMAND, kLyrics, 0);
    EXPECT_EQ(windows, m_program.TopLevelWindows(false).size());

    ::SendMessageA(m_hPlayListWindow, WM_COMMAND, kFind, 0);
    HWND find = m_program.FindTopLevel("Find in Play List");
    ASSERT_TRUE(find);
    ASSERT_TRUE(::SetDlgItemTextA(find, 1016, "Abba"));
    // Each hit alone is the selection and the focused row.
    for (int hit : {0, 2, 4}) {
        ::SendMessageA(find, WM_COMMAND, IDOK, 0);  // the row is selected before the press returns
        EXPECT_EQ(std::vector<int>{hit}, SelectedRows(m_hPlayList));
        EXPECT_EQ(hit, ::SendMessageA(m_hPlayList, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
    }
    ::PostMessageA(find, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("Item Not Found", CloseNextMessageBox(m_program.ProcessId()));

    // Lyrics on a row: a window captioned with the song's lookup address.
    SelectOnly(m_hPlayList, {1});
    ::SendMessageA(m_hPlayListWindow, WM_COMMAND, kLyrics, 0);
    const std::string address =
        LyricsAddress(CMelodeckSettings::kDefaultLyricsHost, entries[1].m_strArtist, entries[1].m_strSong);
    EXPECT_NE(std::string::npos, address.find("/q/queen/song/")) << address;
    EXPECT_TRUE(m_program.FindTopLevel(address, 15000)) << address;

    // An emptied list: a press finds nothing at once, rather than sending a row the list no longer has.
    ::SendMessageA(m_hPlayListWindow, WM_COMMAND, kRemoveAll, 0);
    ::SetDlgItemTextA(find, 1016, "");
    ::PostMessageA(find, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("Item Not Found", CloseNextMessageBox(m_program.ProcessId()));
    EXPECT_EQ(0, RowCount(m_hPlayList));
}

// Untagged files from a folder named on the command line, then played one after another: the rows
// show each file's name as the song, and the songs that start leave the user's selection alone.
TEST_F(ListWindowsTest, UntaggedSongsShowTheirNamesAndPlayingThemLeavesTheSelectionToTheUser) {
    const std::string music = m_program.PathIn("music");
    ASSERT_TRUE(::CreateDirectoryA(music.c_str(), nullptr));
    std::vector<std::string> names;
    for (const char* name : {"Intro", "Song 2", "Song 3", "Song 4", "Song 5", "Song 6"}) {
        ASSERT_TRUE(WriteWavFile(music + "\\" + name + ".wav", 20000));
        names.push_back(name);
    }
    ASSERT_TRUE(m_program.Start(20000, "music"));
    m_hPlayListWindow = m_program.FindTopLevel("Play List");
    ASSERT_TRUE(m_hPlayListWindow);
    m_hPlayList = ::GetDlgItem(m_hPlayListWindow, kListControl);
    ASSERT_TRUE(WaitFor([&] { return RowCount(m_hPlayList) == 6; }, 20000));
    Rows rows = RowsOf(m_hPlayList);
    std::vector<std::string> songs;
    for (const auto& row : rows) {
        EXPECT_EQ("", row[0] + row[1]) << row[2] << ": no artist or album, and no error";
        songs.push_back(row[2]);
    }
    std::sort(songs.begin(), songs.end());
    EXPECT_EQ(names, songs);

    SelectOnly(m_hPlayList, {1});
    HWND play = ::GetDlgItem(m_program.Player(), kPlayButton);
    for (int started = 0; started < 5; ++started)
        ::SendMessageA(m_program.Player(), WM_COMMAND, MAKEWPARAM(kPlayButton, BN_CLICKED), reinterpret_cast<LPARAM>(play));
    EXPECT_EQ(std::vector<int>{1}, SelectedRows(m_hPlayList));
    ::SendMessageA(m_hPlayListWindow, WM_COMMAND, kRemove, 0);
    rows.erase(rows.begin() + 1);
    EXPECT_EQ(rows, RowsOf(m_hPlayList));

    // A right-click selects the row playing (the fifth, now the fourth); Remove takes it alone.
    SelectOnly(m_hPlayList, {3});
    ::SendMessageA(m_hPlayListWindow, WM_COMMAND, kRemove, 0);
    rows.erase(rows.begin() + 3);
    EXPECT_EQ(rows, RowsOf(m_hPlayList));
}

}  // namespace
