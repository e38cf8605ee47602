// A list window filled by its loading threads: folder scans (hidden files included), clearing,
// repeated loads, M3U lists, and the start-up load of the saved file.
#include "library/MakeEntry.h"
#include "library/SavedList.h"
#include "lists/PlayList.h"
#include "support/MediaFolder.h"
#include "support/WorkingFolder.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string Zero(const std::string& text) { return text + std::string(1, '\0'); }

class LoadingTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_workingFolder.Entered());

        ::CreateDirectoryA(m_tree.PathOf("sub").c_str(), nullptr);
        Id3v1Fields tag{"Waterloo", "Abba", "Gold"};
        ASSERT_TRUE(WriteMp3File(m_tree.PathOf("a.mp3"), 1, &tag));
        ASSERT_TRUE(WriteWavFile(m_tree.PathOf("sub\\b.wav"), 10));
        ASSERT_TRUE(WriteMp3File(m_tree.PathOf("Track.MP3"), 1));
        ASSERT_TRUE(WriteWavFile(m_tree.PathOf("x.WAV"), 10));
        ASSERT_TRUE(WriteMp3File(m_tree.PathOf("h.mp3"), 1, &tag));
        ASSERT_TRUE(::SetFileAttributesA(m_tree.PathOf("h.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(WriteMp3File(m_tree.PathOf("01. Intro.mp3"), 1, &tag));
        ASSERT_TRUE(WriteMediaFile(m_tree.PathOf("notes.txt"), MediaBytes(10, 'n')));
    }
    void TearDown() override {
        if (m_list.IsWindow()) m_list.DestroyWindow();
    }

    void CreateList() {
        ASSERT_TRUE(m_list.Create(CPlayList::kPlayListId, nullptr));
        m_list.ShowWindow(SW_SHOW);
    }

    // Runs the message loop until the list holds count rows and nothing more arrives for a moment.
    bool WaitForRows(int count, DWORD timeoutMs = 20000) {
        DWORD start = ::GetTickCount();
        DWORD settledSince = 0;
        for (;;) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            DWORD now = ::GetTickCount();
            if (m_list.m_list.GetItemCount() == count) {
                if (!settledSince) settledSince = now;
                if (now - settledSince > 300) return true;
            } else {
                settledSince = 0;
            }
            if (now - start > timeoutMs) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const auto& entry : m_list.GetEntries()) paths.push_back(entry.m_strPath);
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    CMediaFolder m_work{"melodeck-work"};
    CMediaFolder m_tree{"melodeck-tree"};
    CWorkingFolder m_workingFolder{m_work.Path()};  // the saved lists are read and written here
    CPlayList m_list;
};

TEST_F(LoadingTest, LoadDirectoryFindsExactlyTheMusicFilesHiddenOnesIncluded) {
    CreateList();
    m_list.LoadDirectory(m_tree.Path(), true);
    ASSERT_TRUE(WaitForRows(5)) << m_list.m_list.GetItemCount() << " rows";
    std::vector<std::string> expected{m_tree.PathOf("Track.MP3"), m_tree.PathOf("a.mp3"),
                                      m_tree.PathOf("h.mp3"), m_tree.PathOf("sub\\b.wav"),
                                      m_tree.PathOf("x.WAV")};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, Paths());

    for (int row = 0; row < 5; ++row) {
        MediaEntry entry = m_list.GetEntryAt(row);
        if (entry.m_strPath == m_tree.PathOf("a.mp3")) {
            EXPECT_EQ(Zero("Abba"), entry.m_strArtist);
            EXPECT_EQ("Abba", m_list.m_list.GetItemText(row, 0));
            EXPECT_EQ("Gold", m_list.m_list.GetItemText(row, 1));
            EXPECT_EQ("Waterloo", m_list.m_list.GetItemText(row, 2));
        } else if (entry.m_strPath == m_tree.PathOf("Track.MP3")) {
            EXPECT_EQ("", m_list.m_list.GetItemText(row, 0) + m_list.m_list.GetItemText(row, 1));
            EXPECT_EQ("Track", m_list.m_list.GetItemText(row, 2)) << "an untagged file shows its name";
        }
    }
}

TEST_F(LoadingTest, LoadingTwiceAddsEveryFileTwiceAndClearingEmptiesFirst) {
    CreateList();
    m_list.LoadDirectory(m_tree.Path(), false);
    ASSERT_TRUE(WaitForRows(5));
    m_list.LoadDirectory(m_tree.Path(), false);
    ASSERT_TRUE(WaitForRows(10));
    m_list.LoadDirectory(m_tree.Path(), true);
    EXPECT_EQ(0, m_list.GetCount()) << "Load empties the list at once";
    EXPECT_TRUE(WaitForRows(5));
}

TEST_F(LoadingTest, AnEmptyPathDoesNothingAndDoesNotClear) {
    CreateList();
    m_list.AddEntry(MediaEntry{"C:\\kept.mp3", "", "kept", "", "kept"});
    m_list.LoadDirectory("", true);
    EXPECT_TRUE(WaitForRows(1, 1000));
    EXPECT_EQ("C:\\kept.mp3", m_list.GetEntryAt(0).m_strPath);
}

TEST_F(LoadingTest, AnM3UListAddsItsLinesJoinedToItsFolder) {
    std::string text = "#EXTM3U\r\na.mp3\r\n\r\n#comment\r\nsub\\b.wav\r\n" + m_tree.PathOf("x.WAV") + "\r\n";
    std::string list = m_tree.PathOf("list.m3u");
    ASSERT_TRUE(WriteMediaFile(list, MediaBytes(text.begin(), text.end())));
    CreateList();
    m_list.LoadPlayListFile(list);
    ASSERT_TRUE(WaitForRows(3));
    EXPECT_EQ(m_tree.PathOf("a.mp3"), m_list.GetEntryAt(0).m_strPath);
    EXPECT_EQ(m_tree.PathOf("sub\\b.wav"), m_list.GetEntryAt(1).m_strPath);
    EXPECT_EQ(m_tree.PathOf("x.WAV"), m_list.GetEntryAt(2).m_strPath);
    EXPECT_EQ("Abba", m_list.m_list.GetItemText(0, 0));
    EXPECT_EQ("b", m_list.m_list.GetItemText(1, 2)) << "the file's name is shown";
}

TEST_F(LoadingTest, AnUnreadableM3UListAddsNothing) {
    CreateList();
    m_list.LoadPlayListFile(m_tree.PathOf("missing.m3u"));
    EXPECT_TRUE(WaitForRows(0, 1000));
}

TEST_F(LoadingTest, TheSavedFileIsLoadedAsTheWindowStarts) {
    std::vector<MediaEntry> saved;
    for (int i = 0; i < 700; ++i)
        saved.push_back({"C:\\m\\" + std::to_string(i) + ".mp3", "", Zero("artist"), Zero("album"), Zero("s")});
    std::string error;
    ASSERT_TRUE(WriteSavedList("Playlist.dat", saved, &error)) << error;
    CreateList();
    ASSERT_TRUE(WaitForRows(700));
    EXPECT_EQ(saved, m_list.GetEntries());
    EXPECT_GT(m_list.m_list.GetColumnWidth(0), 0) << "the columns were fitted";
}

TEST_F(LoadingTest, SavingWritesTheListsOwnFileInTheWorkingDirectory) {
    CreateList();
    m_list.AddEntry(MediaEntry{"C:\\a.mp3", "", "X", "", "Y"});
    std::string error;
    ASSERT_TRUE(m_list.SaveList(&error)) << error;
    MediaBytes bytes = ReadMediaFile(m_work.PathOf("Playlist.dat"));
    const unsigned char expected[] = {1, 0, 0, 0, 8, 'C', ':', '\\', 'a', '.', 'm', 'p', '3', 0, 1, 'X', 0, 1, 'Y'};
    EXPECT_EQ(MediaBytes(expected, expected + sizeof(expected)), bytes);
}

}  // namespace
