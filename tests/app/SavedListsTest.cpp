// The real program keeps its lists across a restart: the play list is filled through the list window's
// own "Load Directory" command and the shell's folder browser, two rows go to the queue with "Add to
// Queue", and after the program is closed both saved files hold exactly the records the format asks
// for; a second start shows the same rows in the same order. Nothing is lost by closing, or by the end
// of the session, while the lists still load, and a new "Load Directory" drops an earlier scan's rest.
#include "framework/File.h"
#include "library/SavedList.h"
#include "support/MelodeckProcess.h"
#include "support/MusicTree.h"
#include "support/RemoteList.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr UINT kAddToQueue = 32783;
constexpr UINT kLoadDirectory = 32788;
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
// afterwards is the one it started with, byte for byte. Cancel is sent, not posted, so that the player
// ends before the groups of entries already waiting for the play list window.
TEST_F(SavedListsTest, ClosingAtOnceKeepsEveryRecordOfALongSavedList) {
    const MediaBytes before = WriteSavedFile("Playlist.dat", 100000);
    ASSERT_TRUE(m_program.Start());
    ASSERT_TRUE(::SendNotifyMessageA(m_program.Player(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
    ASSERT_TRUE(m_program.WaitForExit(90000)) << "the program did not end";
    EXPECT_EQ(0u, m_program.ExitCode());
    const MediaBytes after = ReadMediaFile(m_program.PathIn("Playlist.dat"));
    EXPECT_EQ(before.size(), after.size());
    EXPECT_TRUE(before == after) << ParseSavedFile(m_program.PathIn("Playlist.dat")).size() << " records";
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

}  // namespace
