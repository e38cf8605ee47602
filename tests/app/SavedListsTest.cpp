// The real program keeps its lists across a restart: the play list is filled through the list window's
// own "Load Directory" command and the shell's folder browser, two rows go to the queue with "Add to
// Queue", and after the program is closed both saved files hold exactly the records the format asks
// for; a second start shows the same rows in the same order. Nothing is lost by closing, or by the end
// of the session, while the lists still load, and a new "Load Directory" drops an earlier scan's rest.
#include "framework/CodePage.h"
#include "framework/File.h"
#include "library/SavedList.h"
#include "support/MelodeckProcess.h"
#include "support/MusicTree.h"
#include "support/RemoteList.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>
#include <mmsystem.h>
#include <vfw.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr UINT kAddToQueue = 32783;
constexpr UINT kLoadDirectory = 32788;
constexpr UINT kLoadPlayList = 32792;
constexpr UINT kCreatePlayList = 32779;
constexpr int kListControl = 1002;

using Rows = std::vector<std::vector<std::string>>;
using Bytes = std::vector<uint8_t>;

// The text of the item selected in the folder browser's tree.
std::string SelectedFolderName(HWND browser, DWORD processId) {
    HWND tree = ::FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!tree || !item) return std::string();
    constexpr size_t kTextSize = 260;
    CRemoteMemory remote(processId, sizeof(TVITEMA) + kTextSize);
    TVITEMA request{};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = reinterpret_cast<char*>(remote.Address() + sizeof(TVITEMA));
    request.cchTextMax = kTextSize;
    if (!remote.IsValid() || !remote.Write(&request, sizeof(request))) return std::string();
    ::SendMessageA(tree, TVM_GETITEMA, 0, remote.Address());
    char buffer[sizeof(TVITEMA) + kTextSize] = {};
    remote.Read(buffer, sizeof(buffer));
    return std::string(buffer + sizeof(TVITEMA));
}

// Selects the folder in the browser and confirms it; the browser must show that folder selected
// before OK is pressed, so that no other folder (the desktop, the user's home) is ever loaded.
// Otherwise the browser is cancelled and the result is false.
bool ChooseFolder(HWND browser, DWORD processId, const std::string& folder) {
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    CRemoteMemory path(processId, folder.size() + 1);
    if (path.IsValid() && path.Write(folder.c_str(), folder.size() + 1)) {
        // Up to 30 s: on a loaded machine the shell fills the tree slowly.
        for (int attempt = 0; attempt < 300; ++attempt) {
            ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, path.Address());
            if (SelectedFolderName(browser, processId) == name) {
                ::PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return true;
            }
            ::Sleep(100);
        }
    }
    ::PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return false;
}

int RowCount(HWND list) {
    return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ClassName(HWND hWnd) {
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

// The saved record of an entry, written out by hand: the count, then the five texts, each a length byte
// and its characters (every text here is shorter than 255).
void AppendRecord(Bytes& bytes, uint32_t count, const MediaEntry& entry) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(count >> shift));
    for (const std::string* text :
         {&entry.m_strPath, &entry.m_strFileName, &entry.m_strArtist, &entry.m_strAlbum, &entry.m_strSong}) {
        EXPECT_LT(text->size(), 255u);
        bytes.push_back(static_cast<uint8_t>(text->size()));
        bytes.insert(bytes.end(), text->begin(), text->end());
    }
}

Bytes ExpectedFile(const std::vector<MediaEntry>& entries) {
    Bytes bytes;
    for (const MediaEntry& entry : entries) AppendRecord(bytes, static_cast<uint32_t>(entries.size()), entry);
    return bytes;
}

// The texts of a window's static controls (the folder browser shows its title in one).
std::vector<std::string> StaticTexts(HWND window) {
    std::vector<std::string> texts;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            if (ClassName(child) == "Static") {
                char text[256] = {};
                ::GetWindowTextA(child, text, sizeof(text));
                reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::vector<MediaEntry> ParseSavedFile(const std::string& path) {
    std::vector<MediaEntry> entries;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return entries;
    ReadSavedList(file, [&](std::vector<MediaEntry>&& batch) {
        entries.insert(entries.end(), batch.begin(), batch.end());
    });
    return entries;
}

std::vector<std::string> RowOf(const MediaEntry& entry) {
    return {DisplayText(entry.m_strArtist), DisplayText(entry.m_strAlbum), DisplayText(entry.m_strSong)};
}

bool WriteWide(const std::string& path, const MediaBytes& bytes) {
    const std::u16string wide = AnsiToWide(path);
    HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    ::CloseHandle(file);
    return whole;
}

// The song column of every row, sorted.
std::vector<std::string> Songs(HWND list, DWORD processId) {
    std::vector<std::string> songs;
    for (const auto& row : ReadListRows(list, processId))
        songs.push_back(row[2]);
    std::sort(songs.begin(), songs.end());
    return songs;
}

class SavedListsTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string music = m_program.PathIn("Music");
        ASSERT_TRUE(::CreateDirectoryA(music.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((music + "\\Disc 2").c_str(), nullptr));
        AddTagged(music + "\\waterloo.mp3", {"Waterloo", "Abba", "Waterloo"});
        AddTagged(music + "\\Disc 2\\queen.mp3", {"Dancing Queen", "Abba", "Arrival"});
        AddTagged(music + "\\heroes.mp3", {"Heroes", "David Bowie", "Heroes"});
        const std::string untagged = music + "\\untagged.mp3";
        ASSERT_TRUE(WriteMp3File(untagged, 2));
        m_expected.push_back({untagged, "", "", "", "untagged"});
        m_strWav = music + "\\tone.wav";
        ASSERT_TRUE(WriteWavFile(m_strWav, 50));
        m_expected.push_back({m_strWav, "", "", "", "tone"});
        ASSERT_TRUE(WriteMediaFile(music + "\\notes.txt", MediaBytes{'x'}));  // not music: left out
        m_strMusic = music;
    }

    void AddTagged(const std::string& path, const Id3v1Fields& tag) {
        ASSERT_TRUE(WriteMp3File(path, 2, &tag));
        // Texts read from a tag keep their terminating zero character.
        m_expected.push_back({path, "", tag.artist + '\0', tag.album + '\0', tag.song + '\0'});
    }

    // The expected entry that a row shows; null when none does.
    const MediaEntry* EntryOfRow(const std::vector<std::string>& row) const {
        for (const MediaEntry& entry : m_expected)
            if (RowOf(entry) == row) return &entry;
        return nullptr;
    }

    HWND ListOf(const std::string& caption) const {
        HWND window = m_program.FindTopLevel(caption);
        return window ? ::GetDlgItem(window, kListControl) : nullptr;
    }

    // The shell's folder browser that the list window opened (owned by it); null when none came.
    HWND FindFolderBrowser(HWND owner) const {
        HWND found = nullptr;
        WaitFor(
            [&] {
                for (HWND hWnd : m_program.TopLevelWindows(true))
                    if (ClassName(hWnd) == "#32770" && ::GetWindow(hWnd, GW_OWNER) == owner) found = hWnd;
                return found != nullptr;
            },
            15000);
        return found;
    }

    // "Load Directory" in the list window, through the folder browser.
    ::testing::AssertionResult LoadDirectory(HWND listWindow, const std::string& folder) const {
        ::PostMessageA(listWindow, WM_COMMAND, MAKEWPARAM(kLoadDirectory, 0), 0);
        HWND browser = FindFolderBrowser(listWindow);
        if (!browser) return ::testing::AssertionFailure() << "no folder browser appeared";
        if (!ChooseFolder(browser, m_program.ProcessId(), folder))
            return ::testing::AssertionFailure() << "the browser did not select " << folder;
        return ::testing::AssertionSuccess();
    }

    // A saved file of count entries written before the program starts.
    MediaBytes WriteSavedFile(const std::string& name, int count) const {
        std::vector<MediaEntry> entries;
        for (int i = 0; i < count; ++i)
            entries.push_back({"C:\\Music\\" + std::to_string(i) + ".mp3", "", "Artist", "Album " + std::to_string(i),
                               "Song " + std::to_string(i)});
        std::string error;
        EXPECT_TRUE(WriteSavedList(m_program.PathIn(name), entries, &error)) << error;
        return ReadMediaFile(m_program.PathIn(name));
    }

    // Types the name into the program's file dialog of that caption and presses its default button.
    bool ChooseFile(const std::string& caption, const std::string& path) const {
        HWND dialog = m_program.FindTopLevel(caption, 20000);
        if (!dialog) return false;
        const std::u16string wide = AnsiToWide(path);
        ::SetDlgItemTextW(dialog, 1148, reinterpret_cast<const wchar_t*>(wide.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    }

    CMelodeckProcess m_program;
    std::string m_strMusic;
    std::string m_strWav;
    std::vector<MediaEntry> m_expected;
};

TEST_F(SavedListsTest, ListsFilledThroughTheWindowsAreSavedInTheirFormatAndComeBack) {
    ASSERT_TRUE(m_program.Start()) << "the player window did not appear";
    const DWORD pid = m_program.ProcessId();
    HWND playListWindow = m_program.FindTopLevel("Play List");
    ASSERT_TRUE(playListWindow);
    HWND playList = ::GetDlgItem(playListWindow, kListControl);
    HWND queue = ListOf("Queue");
    ASSERT_TRUE(playList && queue);
    EXPECT_EQ(0, RowCount(playList));

    // "Load Directory": the folder browser, told which folder to select, then OK.
    ::PostMessageA(playListWindow, WM_COMMAND, MAKEWPARAM(kLoadDirectory, 0), 0);
    HWND browser = FindFolderBrowser(playListWindow);
    ASSERT_TRUE(browser) << "no folder browser owned by the play list window appeared";
    const std::vector<std::string> texts = StaticTexts(browser);
    EXPECT_EQ(1, std::count(texts.begin(), texts.end(), "Select a Directory to play"));
    ASSERT_TRUE(ChooseFolder(browser, pid, m_strMusic)) << "the browser did not select " << m_strMusic;
    ASSERT_TRUE(WaitFor([&] { return RowCount(playList) >= 5; }, 20000))
        << RowCount(playList) << " rows after choosing " << m_strMusic << " in the folder browser";
    EXPECT_FALSE(::IsWindow(browser)) << "the browser closed";

    // Every music file is there once, in the order of the scan; the text file is not.
    const Rows playListRows = ReadListRows(playList, pid);
    ASSERT_EQ(5u, playListRows.size());
    std::vector<MediaEntry> playListEntries;
    for (const auto& row : playListRows) {
        const MediaEntry* entry = EntryOfRow(row);
        ASSERT_TRUE(entry) << "unexpected row " << row[0] << " | " << row[1] << " | " << row[2];
        playListEntries.push_back(*entry);
    }
    for (const MediaEntry& entry : m_expected)
        EXPECT_EQ(1, std::count(playListEntries.begin(), playListEntries.end(), entry)) << entry.m_strPath;

    // Rows 1 and 3 selected, then "Add to Queue".
    ASSERT_TRUE(SetRowSelected(playList, pid, -1, false));
    ASSERT_TRUE(SetRowSelected(playList, pid, 1, true));
    ASSERT_TRUE(SetRowSelected(playList, pid, 3, true));
    ::PostMessageA(playListWindow, WM_COMMAND, MAKEWPARAM(kAddToQueue, 0), 0);
    ASSERT_TRUE(WaitFor([&] { return RowCount(queue) >= 2; }, 10000));
    const Rows queueRows = ReadListRows(queue, pid);
    EXPECT_EQ((Rows{playListRows[1], playListRows[3]}), queueRows);
    EXPECT_EQ(playListRows, ReadListRows(playList, pid)) << "the play list keeps its rows";

    ASSERT_TRUE(m_program.Close()) << "the program did not end";
    EXPECT_EQ(0u, m_program.ExitCode());

    // Both files: the records back to back, each with the number of records, nothing else.
    const std::vector<MediaEntry> queueEntries{playListEntries[1], playListEntries[3]};
    const std::string playListFile = m_program.PathIn("Playlist.dat");
    const std::string queueFile = m_program.PathIn("Queue.dat");
    const MediaBytes playListBytes = ReadMediaFile(playListFile);
    const MediaBytes queueBytes = ReadMediaFile(queueFile);
    EXPECT_EQ(ExpectedFile(playListEntries), playListBytes);
    EXPECT_EQ(ExpectedFile(queueEntries), queueBytes);
    EXPECT_EQ(playListEntries, ParseSavedFile(playListFile));
    EXPECT_EQ(queueEntries, ParseSavedFile(queueFile));

    // The WAV entry's record byte for byte: count 5, the path, an empty file name, an empty artist
    // and album, the name without its extension as song.
    size_t offset = 0;
    size_t wavIndex = 0;
    while (wavIndex < playListEntries.size() && playListEntries[wavIndex].m_strPath != m_strWav) {
        Bytes record;
        AppendRecord(record, 5, playListEntries[wavIndex]);
        offset += record.size();
        ++wavIndex;
    }
    ASSERT_LT(wavIndex, playListEntries.size());
    Bytes wavRecord{0x05, 0x00, 0x00, 0x00, static_cast<uint8_t>(m_strWav.size())};
    wavRecord.insert(wavRecord.end(), m_strWav.begin(), m_strWav.end());
    for (char byte : std::string("\0\0\0\4tone", 8)) wavRecord.push_back(static_cast<uint8_t>(byte));
    ASSERT_LE(offset + wavRecord.size(), playListBytes.size());
    EXPECT_EQ(wavRecord, Bytes(playListBytes.begin() + static_cast<std::ptrdiff_t>(offset),
                               playListBytes.begin() + static_cast<std::ptrdiff_t>(offset + wavRecord.size())));

    // A second start reads both files back: the same rows, in the same order.
    ASSERT_TRUE(m_program.Start()) << "the player window did not appear again";
    playList = ListOf("Play List");
    queue = ListOf("Queue");
    ASSERT_TRUE(playList && queue);
    EXPECT_TRUE(WaitFor([&] { return RowCount(playList) >= 5 && RowCount(queue) >= 2; }, 15000));
    EXPECT_EQ(playListRows, ReadListRows(playList, m_program.ProcessId()));
    EXPECT_EQ(queueRows, ReadListRows(queue, m_program.ProcessId()));
    ASSERT_TRUE(m_program.Close());
    EXPECT_EQ(0u, m_program.ExitCode());
}

// Closing the program while a folder scan is still adding entries: it ends at once, cleanly, and the
// play list is saved whole as it stood, every record complete and counted.
TEST_F(SavedListsTest, ClosingDuringAScanEndsPromptlyAndSavesACompleteList) {
    const std::string big = m_program.PathIn("Big");
    ASSERT_TRUE(::CreateDirectoryA(big.c_str(), nullptr));
    CMusicTree tree(big);
    ASSERT_TRUE(tree.Write(4000));
    ASSERT_TRUE(m_program.Start());
    HWND playListWindow = m_program.FindTopLevel("Play List");
    HWND playList = ::GetDlgItem(playListWindow, kListControl);
    ASSERT_TRUE(LoadDirectory(playListWindow, big));
    ASSERT_TRUE(WaitFor([&] { return RowCount(playList) > 0; }, 20000));

    ASSERT_TRUE(m_program.Close(5000)) << "the program did not end promptly";
    EXPECT_EQ(0u, m_program.ExitCode());
    const std::vector<MediaEntry> saved = ParseSavedFile(m_program.PathIn("Playlist.dat"));
    const MediaBytes bytes = ReadMediaFile(m_program.PathIn("Playlist.dat"));
    ASSERT_FALSE(saved.empty());
    EXPECT_LE(saved.size(), tree.MusicCount());
    EXPECT_EQ(ExpectedFile(saved), bytes) << "every record complete, each counting them all";
    for (const MediaEntry& entry : saved) ASSERT_EQ(0u, entry.m_strPath.find(big)) << entry.m_strPath << " vs " << big;
}

// Closing the moment the player appears, while a long saved play list is still being loaded: the file
// afterwards is the one it started with, byte for byte. The close is sent, not posted, so that the player
// ends before the groups of entries already waiting for the play list window.
TEST_F(SavedListsTest, ClosingAtOnceKeepsEveryRecordOfALongSavedList) {
    const MediaBytes before = WriteSavedFile("Playlist.dat", 100000);
    ASSERT_TRUE(m_program.Start());
    ASSERT_TRUE(::SendNotifyMessageA(m_program.Player(), WM_CLOSE, 0, 0));
    ASSERT_TRUE(m_program.WaitForExit(90000)) << "the program did not end";
    EXPECT_EQ(0u, m_program.ExitCode());
    const MediaBytes after = ReadMediaFile(m_program.PathIn("Playlist.dat"));
    EXPECT_EQ(before.size(), after.size());
    EXPECT_TRUE(before == after) << ParseSavedFile(m_program.PathIn("Playlist.dat")).size() << " records";
}

// Create Play List saved into another folder: the save dialog must not take the lists there. At exit
// Playlist.dat is written in the folder the program started in, whole.
TEST_F(SavedListsTest, CreatePlayListIntoAnotherFolderKeepsTheListsInTheStartFolder) {
    const std::string other = m_program.PathIn("Lists");
    ASSERT_TRUE(::CreateDirectoryA(other.c_str(), nullptr));
    ASSERT_TRUE(m_program.Start(20000, "Music"));
    HWND playList = ListOf("Play List");
    ASSERT_TRUE(WaitFor([&] { return RowCount(playList) == 5; }, 20000)) << RowCount(playList);

    ::PostMessageA(m_program.Player(), WM_COMMAND, 32779 /* Create Play List */, 0);
    HWND save = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND hWnd : m_program.TopLevelWindows(true)) {
            char title[64] = {};
            ::GetWindowTextA(hWnd, title, sizeof(title));
            if (ClassName(hWnd) == "#32770" && std::string(title) == "Save As") save = hWnd;
        }
        return save != nullptr;
    }, 20000));
    // As a user does: into the folder first, then the file's name.
    ::SendMessageA(::GetDlgItem(save, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(other.c_str()));
    ::SendMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(::IsWindow(save));
    ::SendMessageA(::GetDlgItem(save, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("t2.m3u"));
    ::PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const std::string m3u = other + "\\t2.m3u";
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(save); }, 20000));
    const MediaBytes written = ReadMediaFile(m3u);
    EXPECT_EQ(6, std::count(written.begin(), written.end(), '\n')) << "the header and 5 paths";

    ASSERT_TRUE(m_program.Close());
    const std::vector<MediaEntry> saved = ParseSavedFile(m_program.PathIn("Playlist.dat"));
    EXPECT_EQ(5u, saved.size());
    for (const MediaEntry& entry : m_expected)
        EXPECT_EQ(1, std::count(saved.begin(), saved.end(), entry)) << entry.m_strPath;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((other + "\\Playlist.dat").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((other + "\\Queue.dat").c_str()));
}

// Explorer's "Open with" on 8 files may start 8 processes at once: they end as one player holding the 8
// files, each once, and at its exit Playlist.dat holds the 8 entries.
TEST_F(SavedListsTest, EightSimultaneousStartsEndAsOnePlayerWithEveryFile) {
    constexpr int kStarts = 8;
    std::vector<std::string> files;
    std::vector<PROCESS_INFORMATION> starts;
    // Whatever happens, no start outlives the test.
    struct Reaper {
        std::vector<PROCESS_INFORMATION>& starts;
        ~Reaper() {
            for (PROCESS_INFORMATION& info : starts) {
                if (!info.hProcess) continue;
                ::TerminateProcess(info.hProcess, 1);
                ::CloseHandle(info.hThread);
                ::CloseHandle(info.hProcess);
            }
        }
    } reaper{starts};
    for (int i = 0; i < kStarts; ++i) {
        files.push_back(m_program.PathIn("song" + std::to_string(i) + ".wav"));
        ASSERT_TRUE(WriteWavFile(files.back(), 50));
    }
    for (const std::string& file : files) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::string command = "\"" + m_program.PathIn("Melodeck.exe") + "\" \"" + file + "\"";
        ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     m_program.Folder().c_str(), &startup, &info));
        starts.push_back(info);
    }
    auto running = [&] {
        std::vector<DWORD> ids;
        for (const PROCESS_INFORMATION& info : starts)
            if (::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) ids.push_back(info.dwProcessId);
        return ids;
    };
    EXPECT_TRUE(WaitFor([&] { return running().size() == 1; }, 90000)) << running().size() << " still running";
    const std::vector<DWORD> left = running();
    ASSERT_EQ(1u, left.size());
    HWND player = nullptr, list = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND hWnd : TopLevelWindowsOf(left[0], true)) {
            char title[64] = {};
            ::GetWindowTextA(hWnd, title, sizeof(title));
            if (::GetDlgItem(hWnd, 1003)) player = hWnd;
            if (std::string(title) == "Play List") list = ::GetDlgItem(hWnd, kListControl);
        }
        return player && list;
    }, 20000));
    EXPECT_TRUE(WaitFor([&] { return RowCount(list) == kStarts; }, 30000)) << RowCount(list) << " rows";

    ::PostMessageA(player, WM_CLOSE, 0, 0);
    for (const PROCESS_INFORMATION& info : starts)
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(info.hProcess, 30000));
    std::vector<std::string> saved;
    for (const MediaEntry& entry : ParseSavedFile(m_program.PathIn("Playlist.dat"))) saved.push_back(entry.m_strPath);
    std::sort(saved.begin(), saved.end());
    EXPECT_EQ(files, saved);
}

FILETIME LastWriteOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool operator==(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// Logging off saves both lists, whole, as a normal exit does; the program then ends without saving again.
TEST_F(SavedListsTest, TheEndOfTheSessionSavesBothListsOnce) {
    const MediaBytes playList = WriteSavedFile("Playlist.dat", 20000);
    const MediaBytes queue = WriteSavedFile("Queue.dat", 3);
    const FILETIME playListWritten = LastWriteOf(m_program.PathIn("Playlist.dat"));
    const FILETIME queueWritten = LastWriteOf(m_program.PathIn("Queue.dat"));
    ASSERT_TRUE(m_program.Start());
    EXPECT_TRUE(::SendMessageA(m_program.Player(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ::SendMessageA(m_program.Player(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);

    const FILETIME playListSaved = LastWriteOf(m_program.PathIn("Playlist.dat"));
    const FILETIME queueSaved = LastWriteOf(m_program.PathIn("Queue.dat"));
    EXPECT_FALSE(playListSaved == playListWritten) << "the play list was saved";
    EXPECT_FALSE(queueSaved == queueWritten) << "the queue was saved";
    EXPECT_TRUE(playList == ReadMediaFile(m_program.PathIn("Playlist.dat")));
    EXPECT_TRUE(queue == ReadMediaFile(m_program.PathIn("Queue.dat")));

    ASSERT_TRUE(m_program.WaitForExit(30000)) << "the program did not end with the session";
    EXPECT_TRUE(playListSaved == LastWriteOf(m_program.PathIn("Playlist.dat"))) << "saved a second time";
    EXPECT_TRUE(queueSaved == LastWriteOf(m_program.PathIn("Queue.dat"))) << "saved a second time";
}

// "Load Directory" on a second folder while the scan of a large first one still runs: the list then
// holds exactly the second folder's files, and so does the saved file.
TEST_F(SavedListsTest, LoadDirectoryDropsTheRestOfAnEarlierScan) {
    const std::string big = m_program.PathIn("Big");
    ASSERT_TRUE(::CreateDirectoryA(big.c_str(), nullptr));
    CMusicTree tree(big);
    ASSERT_TRUE(tree.Write(10000));
    ASSERT_TRUE(m_program.Start());
    HWND playListWindow = m_program.FindTopLevel("Play List");
    HWND playList = ::GetDlgItem(playListWindow, kListControl);
    ASSERT_TRUE(LoadDirectory(playListWindow, big));
    ASSERT_TRUE(WaitFor([&] { return RowCount(playList) > 0; }, 20000));

    ASSERT_LT(static_cast<size_t>(RowCount(playList)), tree.MusicCount() / 2) << "the first scan ended too soon";
    ASSERT_TRUE(LoadDirectory(playListWindow, m_strMusic));
    ASSERT_TRUE(WaitFor([&] { return RowCount(playList) == 5; }, 20000)) << RowCount(playList) << " rows";
    ASSERT_TRUE(m_program.Close(30000));
    std::vector<MediaEntry> saved = ParseSavedFile(m_program.PathIn("Playlist.dat"));
    std::vector<MediaEntry> expected = m_expected;
    auto byPath = [](const MediaEntry& a, const MediaEntry& b) { return a.m_strPath < b.m_strPath; };
    std::sort(saved.begin(), saved.end(), byPath);
    std::sort(expected.begin(), expected.end(), byPath);
    EXPECT_EQ(expected, saved);
}

// Names in six scripts; each file's ID3 version 2 title holds the same characters in UTF-16.
TEST_F(SavedListsTest, NamesInEveryScriptComeInByEveryWayAndSurviveARestart) {
    const std::string intl = m_program.PathIn("Intl");
    ASSERT_TRUE(::CreateDirectoryA(intl.c_str(), nullptr));
    std::vector<std::string> titles, paths;
    std::string arguments;
    for (const std::u16string& name :
         {u"\u041A\u0438\u043D\u043E", u"\u03A9\u03BC\u03AD\u03B3\u03B1", u"\u65E5\u672C\u8A9E",
          u"\uD55C\uAD6D\uC5B4", u"\U0001F3B5 Song", u"Caf\u00E9 M\u00FCller"}) {
        titles.push_back(WideToUtf8(name));
        paths.push_back(intl + "\\" + titles.back() + ".mp3");
        MediaBytes bytes = MakeId3v2Title(name), audio = MakeSilentMp3(120);  // three seconds
        bytes.insert(bytes.end(), audio.begin(), audio.end());
        ASSERT_TRUE(WriteWide(paths.back(), bytes)) << paths.back();
        arguments += " \"" + paths.back() + "\"";
    }
    std::sort(titles.begin(), titles.end());

    // The command line, then a folder scan.
    ASSERT_TRUE(m_program.Start(60000, arguments)) << "the player window did not appear";
    const DWORD pid = m_program.ProcessId();
    HWND playListWindow = m_program.FindTopLevel("Play List"), queueWindow = m_program.FindTopLevel("Queue");
    HWND playList = ListOf("Play List"), queue = ListOf("Queue");
    ASSERT_TRUE(playListWindow && queueWindow && playList && queue);
    EXPECT_TRUE(WaitFor([&] { return Songs(playList, pid) == titles; }, 20000)) << "from the command line";
    // A second start hands the same names over to this player, which adds them again.
    std::u16string command = AnsiToWide("\"" + m_program.PathIn("Melodeck.exe") + "\"" + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(::CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(&command[0]), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &second));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(second.hProcess, 60000)) << "the second start ended";
    ::CloseHandle(second.hThread);
    ::CloseHandle(second.hProcess);
    std::vector<std::string> twice;
    for (const std::string& title : titles) twice.insert(twice.end(), 2, title);
    EXPECT_TRUE(WaitFor([&] { return Songs(playList, pid) == twice; }, 20000)) << "from a second start";
    ASSERT_TRUE(LoadDirectory(playListWindow, intl));
    EXPECT_TRUE(WaitFor([&] { return Songs(playList, pid) == titles; }, 20000)) << "from a folder scan";

    // Create Play List keeps the names (UTF-8 with a mark: Windows-1252 holds only one of them), and
    // Load Play List reads them back into the queue.
    const std::string m3u = m_program.PathIn("intl.m3u");
    ::PostMessageA(m_program.Player(), WM_COMMAND, kCreatePlayList, 0);
    ASSERT_TRUE(ChooseFile("Save As", m3u));
    std::string written;
    EXPECT_TRUE(WaitFor(
        [&] {
            const MediaBytes bytes = ReadMediaFile(m3u);
            written.assign(bytes.begin(), bytes.end());
            return written.size() > 6 * 10;
        },
        20000));
    EXPECT_EQ(0u, written.rfind("\xEF\xBB\xBF#EXTM3U\r\n", 0));
    for (const std::string& path : paths)
        EXPECT_NE(std::string::npos, written.find(path + "\r\n")) << path;
    ::PostMessageA(queueWindow, WM_COMMAND, kLoadPlayList, 0);
    ASSERT_TRUE(ChooseFile("Open", m3u));
    EXPECT_TRUE(WaitFor([&] { return Songs(queue, pid) == titles; }, 20000)) << "from the play list file";

    // Closed and started again, both lists come back.
    const Rows playListRows = ReadListRows(playList, pid), queueRows = ReadListRows(queue, pid);
    ASSERT_TRUE(m_program.Close());
    ASSERT_TRUE(m_program.Start());
    playList = ListOf("Play List");
    queue = ListOf("Queue");
    ASSERT_TRUE(playList && queue);
    EXPECT_TRUE(WaitFor([&] { return RowCount(playList) >= 6 && RowCount(queue) >= 6; }, 20000));
    EXPECT_EQ(playListRows, ReadListRows(playList, m_program.ProcessId()));
    EXPECT_EQ(queueRows, ReadListRows(queue, m_program.ProcessId()));

    // Each one plays: a song that could not be opened would be passed over, taking two rows at once.
    HWND device = ::GetDlgItem(m_program.Player(), 1010);
    ::PostMessageA(m_program.Player(), WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);  // Play
    for (int left = 5; left >= 0; --left) {
        EXPECT_TRUE(WaitFor([&] {
            return RowCount(queue) == left && ::SendMessageA(device, MCIWNDM_GETMODEA, 0, 0) == MCI_MODE_PLAY;
        }, 20000)) << left << " left";
        ::PostMessageA(m_program.Player(), WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);  // Next
    }
    ASSERT_TRUE(m_program.Close());
}

// An earlier version stored its 8-bit texts in the legacy code page.
TEST_F(SavedListsTest, APlayListSavedInTheLegacyCodePageLoadsWithItsNames) {
    if (LegacyCodePage() != 1252) GTEST_SKIP() << "needs Windows-1252 as the legacy code page";
    const std::string legacy = "Caf\xE9 M\xFCller", name = "Caf\xC3\xA9 M\xC3\xBCller";
    Bytes bytes;
    AppendRecord(bytes, 1, {"C:\\" + legacy + ".mp3", "", legacy + '\0', "", legacy + '\0'});
    ASSERT_TRUE(WriteMediaFile(m_program.PathIn("Playlist.dat"), bytes));
    ASSERT_TRUE(m_program.Start());
    HWND playList = ListOf("Play List");
    ASSERT_TRUE(WaitFor([&] { return RowCount(playList) == 1; }, 20000));
    EXPECT_EQ((Rows{{name, "", name}}), ReadListRows(playList, m_program.ProcessId()));
    ASSERT_TRUE(m_program.Close());
    // Written back in 16-bit characters, which earlier versions read too.
    EXPECT_EQ((std::vector<MediaEntry>{{"C:\\" + name + ".mp3", "", name + '\0', "", name + '\0'}}),
              ParseSavedFile(m_program.PathIn("Playlist.dat")));
    EXPECT_EQ(0xFF, ReadMediaFile(m_program.PathIn("Playlist.dat"))[4]);
}

}  // namespace
