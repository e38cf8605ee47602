// Folders as users' disks hold them, loaded by the player's own play list window in this process: every
// scan ends, each file it meets gives one defined entry, and no file is changed.
#include "app/MelodeckDlg.h"
#include "library/MP3Thread.h"
#include "library/MakeEntry.h"
#include "support/MediaFolder.h"
#include "support/WorkingFolder.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// Waits, without handling messages, for a condition to become true; false when the time ran out.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return condition();
        ::Sleep(10);
    }
    return true;
}

const Id3v1Fields kTag{"Waterloo", "Abba", "Waterloo"};

// Runs a program of the Unix system under Wine (through drive Z:) in the folder; true when it ran.
bool RunUnix(std::string commandLine, const std::string& folder) {
    const std::string program = "Z:\\bin\\" + commandLine.substr(0, commandLine.find(' '));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info)) {
        ADD_FAILURE() << program << ": error " << ::GetLastError();
        return false;
    }
    // Wine's handle of a Unix process cannot be waited for: the caller waits for the outcome.
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return true;
}

class HostileFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        ASSERT_TRUE(m_workingFolder.Entered());
        ASSERT_TRUE(::CreateDirectoryA(m_strRoot.c_str(), nullptr));
        const unsigned ended = CMP3Thread::EndedCount();
        // Its options and window layout go to this folder, not beside the test program.
        m_player.m_settings = CMelodeckSettings(m_folder.PathOf("Melodeck.ini"));
        ASSERT_TRUE(m_player.Create());
        ASSERT_TRUE(WaitForLoaders(ended + 2, 20000)) << "the saved lists were not read";
    }
    void TearDown() override {
        if (m_player.IsWindow()) m_player.DestroyWindow();
    }

    // Handles messages until `count` loaders have ended in this process, none is at work, and their
    // groups are taken; false when the time ran out.
    bool WaitForLoaders(unsigned count, DWORD timeoutMs) {
        const DWORD start = ::GetTickCount();
        for (;;) {
            // Read before the last groups are taken.
            const bool done = CMP3Thread::EndedCount() >= count && CMP3Thread::LiveCount() == 0;
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (done) return true;
            if (::GetTickCount() - start > timeoutMs) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    // "Load Directory" on the root, to its end; the entries by path.
    std::map<std::string, MediaEntry> Scan(DWORD timeoutMs = 60000) {
        CPlayList& list = m_player.m_wndPlayList;
        const unsigned ended = CMP3Thread::EndedCount();
        list.LoadDirectory(m_strRoot, true);
        EXPECT_TRUE(WaitForLoaders(ended + 1, timeoutMs)) << "the scan did not end within " << timeoutMs << " ms";
        std::map<std::string, MediaEntry> entries;
        for (int i = 0; i < list.GetCount(); ++i) {
            MediaEntry entry = list.GetEntryAt(i);
            EXPECT_TRUE(entries.emplace(entry.m_strPath, entry).second) << "twice: " << entry.m_strPath;
        }
        EXPECT_EQ(list.GetCount(), list.m_list.GetItemCount());
        return entries;
    }

    std::string Make(const std::string& relative) const { return m_strRoot + "\\" + relative; }
    void Folder(const std::string& relative) const {
        ASSERT_TRUE(::CreateDirectoryA(Make(relative).c_str(), nullptr)) << relative;
    }
    void Tagged(const std::string& path) const { ASSERT_TRUE(WriteMp3File(path, 2, &kTag)) << path; }

    static void ExpectTagged(const MediaEntry& entry) {
        EXPECT_EQ(kTag.artist + '\0', entry.m_strArtist) << entry.m_strPath;
        EXPECT_EQ(kTag.song + '\0', entry.m_strSong) << entry.m_strPath;
    }
    // Untagged files show their name; only one that cannot be opened shows the error.
    static void ExpectUntagged(const MediaEntry& entry, const std::string& name, bool opened = true) {
        EXPECT_EQ("", entry.m_strArtist);
        EXPECT_EQ(opened ? "" : "Error Opening File", entry.m_strAlbum);
        EXPECT_EQ(name.substr(0, name.rfind('.')), entry.m_strSong);
    }

    CMediaFolder m_folder{"melodeck-hostile"};
    // The lists are read from and saved to the working directory: this test's own folder.
    CWorkingFolder m_workingFolder{m_folder.Path()};
    std::string m_strRoot = m_folder.PathOf("Music");
    CMelodeckDlg m_player;
};

TEST_F(HostileFoldersTest, EmptyAndShortMp3FilesAreShownByName) {
    ASSERT_TRUE(WriteMediaFile(Make("empty.mp3"), {}));
    ASSERT_TRUE(WriteMediaFile(Make("short.mp3"), MediaBytes(127, 'T')));
    Tagged(Make("good.mp3"));
    auto entries = Scan();
    ASSERT_EQ(3u, entries.size());
    ExpectUntagged(entries[Make("empty.mp3")], "empty.mp3");
    ExpectUntagged(entries[Make("short.mp3")], "short.mp3");
    ExpectTagged(entries[Make("good.mp3")]);
}

TEST_F(HostileFoldersTest, AFileOpenedExclusivelyElsewhereIsListedAndLeftAsItWas) {
    Tagged(Make("locked.mp3"));
    Tagged(Make("free.mp3"));
    const MediaBytes before = ReadMediaFile(Make("locked.mp3"));
    HANDLE lock = ::CreateFileA(Make("locked.mp3").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    auto entries = Scan();
    ::CloseHandle(lock);
    ASSERT_EQ(2u, entries.size());
    ExpectUntagged(entries[Make("locked.mp3")], "locked.mp3", false);
    ExpectTagged(entries[Make("free.mp3")]);
    EXPECT_EQ(before, ReadMediaFile(Make("locked.mp3")));
}

TEST_F(HostileFoldersTest, AFolderThatCannotBeListedIsPassedOver) {
    Folder("Sealed");
    Tagged(Make("Sealed\\inside.mp3"));
    Tagged(Make("outside.mp3"));
    // A folder held open by someone who shares it with nobody cannot be listed.
    HANDLE seal = ::CreateFileA(Make("Sealed").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, seal);
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(Make("Sealed\\*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    ASSERT_EQ(INVALID_HANDLE_VALUE, find) << "the sealed folder can still be listed";
    auto entries = Scan();
    ::CloseHandle(seal);
    ASSERT_EQ(1u, entries.size());
    ExpectTagged(entries[Make("outside.mp3")]);
}

TEST_F(HostileFoldersTest, FilesBeyondMaxPathAreReachedThroughShortNames) {
    // Six folders of 40 characters: the innermost file's long path is beyond 260 characters.
    std::wstring path = L"\\\\?\\" + std::wstring(m_strRoot.begin(), m_strRoot.end());
    for (int level = 0; level < 6; ++level) {
        path += L"\\" + std::wstring(36, static_cast<wchar_t>(L'a' + level)) + L" dir";
        ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)) << level;
    }
    HANDLE file = ::CreateFileW((path + L"\\deep.mp3").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const MediaBytes bytes = MakeAbbaWaterlooMp3();
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ::CloseHandle(file);
    Tagged(Make("near.mp3"));

    auto entries = Scan();
    ASSERT_EQ(2u, entries.size());
    ExpectTagged(entries[Make("near.mp3")]);
    entries.erase(Make("near.mp3"));
    const MediaEntry& deep = entries.begin()->second;
    EXPECT_LT(deep.m_strPath.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ("Abba", DisplayText(deep.m_strArtist)) << deep.m_strPath;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(deep.m_strPath.c_str())) << "a path that plays";
}

// The program's texts are UTF-8: every name is read whole, no short name needed.
TEST_F(HostileFoldersTest, NamesOutsideTheLegacyCodePageAreReadWhole) {
    const std::wstring root(m_strRoot.begin(), m_strRoot.end());
    const std::wstring folder = root + L"\\\u65E5\u672C\u8A9E \u0416\u0451\u043B\u0442\u044B\u0439";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    for (const std::wstring& name : {folder + L"\\\u6C34\u306E\u6B4C.mp3", root + L"\\\u03A9\u03BC\u03AD\u03B3\u03B1.mp3"}) {
        HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const MediaBytes bytes = MakeAbbaWaterlooMp3();
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        ::CloseHandle(file);
    }
    auto entries = Scan();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(1u,
              entries.count(Make(
                  "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xD0\x96\xD1\x91\xD0\xBB\xD1\x82\xD1\x8B\xD0\xB9\\"
                  "\xE6\xB0\xB4\xE3\x81\xAE\xE6\xAD\x8C.mp3")));
    EXPECT_EQ(1u, entries.count(Make("\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.mp3")));
    for (const auto& [path, entry] : entries) {
        EXPECT_EQ("Abba", DisplayText(entry.m_strArtist)) << path;
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str())) << path;
    }
}

TEST_F(HostileFoldersTest, TwentyLevelsOfNestingAreAllWalked) {
    std::string relative;
    for (int level = 1; level <= 20; ++level) {
        relative += (relative.empty() ? "" : "\\") + std::string("level") + std::to_string(level);
        Folder(relative);
        Tagged(Make(relative + "\\song" + std::to_string(level) + ".mp3"));
    }
    auto entries = Scan();
    EXPECT_EQ(20u, entries.size());
    for (const auto& [path, entry] : entries) ExpectTagged(entry);
    EXPECT_EQ(1u, entries.count(Make(relative + "\\song20.mp3")));
}

TEST_F(HostileFoldersTest, AFolderLinkBackToItsParentIsWalkedOnce) {
    Folder("Album");
    Tagged(Make("top.mp3"));
    Tagged(Make("Album\\track.mp3"));
    // Under Wine a Unix symbolic link in the drive is a link; the system's "ln" makes it.
    ASSERT_TRUE(RunUnix("ln -s .. Back", Make("Album")));
    // Removed first, since removing the folder would follow it.
    struct LinkRemover {
        std::string folder;
        ~LinkRemover() {
            RunUnix("rm -f Back", folder);
            WaitFor([&] { return ::GetFileAttributesA((folder + "\\Back").c_str()) == INVALID_FILE_ATTRIBUTES; },
                    30000);
        }
    } remover{Make("Album")};
    ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesA(Make("Album\\Back\\Album\\Back\\top.mp3").c_str()) !=
                                     INVALID_FILE_ATTRIBUTES; }, 30000));

    auto entries = Scan();
    ASSERT_EQ(2u, entries.size());
    ExpectTagged(entries[Make("top.mp3")]);
    ExpectTagged(entries[Make("Album\\track.mp3")]);
}

}  // namespace
