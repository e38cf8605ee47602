// The player window in this process stays responsive while its play list loads a large folder tree:
// the rows come from a loading thread, and the window answers messages all along.
#include "app/MelodeckDlg.h"
#include "support/MediaFolder.h"
#include "support/MusicTree.h"
#include "support/ResponseProbe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

constexpr size_t kTreeFiles = 10000;

class ResponsivenessTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        // The lists are read from and saved to the working directory: this test's own folder.
        char previous[MAX_PATH] = {};
        ::GetCurrentDirectoryA(sizeof(previous), previous);
        m_strPreviousFolder = previous;
        ASSERT_TRUE(::SetCurrentDirectoryA(m_folder.Path().c_str()));
        ASSERT_TRUE(::CreateDirectoryA(m_strTree.c_str(), nullptr));
        const DWORD start = ::GetTickCount();
        ASSERT_TRUE(m_tree.Write(kTreeFiles)) << "could not write the tree in " << m_strTree;
        std::printf("tree of %zu files written in %lu ms\n", kTreeFiles, ::GetTickCount() - start);
        // Its options and window layout go to this folder, not beside the test program.
        m_player.m_settings = CMelodeckSettings(m_folder.PathOf("Melodeck.ini"));
        ASSERT_TRUE(m_player.Create());
    }
    void TearDown() override {
        if (m_player.IsWindow()) m_player.DestroyWindow();
        ::SetCurrentDirectoryA(m_strPreviousFolder.c_str());
        // Removing ten thousand files takes Wine half a minute; say so rather than seem to hang.
        const DWORD start = ::GetTickCount();
        m_tree.Remove();
        std::printf("tree removed in %lu ms\n", ::GetTickCount() - start);
    }

    // Handles this thread's messages until the play list holds count entries and rows, or the time is up.
    bool RunUntilLoaded(int count, DWORD timeoutMs) {
        CPlayList& list = m_player.m_wndPlayList;
        const DWORD start = ::GetTickCount();
        for (;;) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (list.GetCount() >= count && list.m_list.GetItemCount() >= count) return true;
            if (::GetTickCount() - start > timeoutMs) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    CMediaFolder m_folder{"melodeck-responsiveness"};
    std::string m_strPreviousFolder;
    std::string m_strTree = m_folder.PathOf("Music");
    CMusicTree m_tree{m_strTree};
    CMelodeckDlg m_player;
};

TEST_F(ResponsivenessTest, ThePlayerAnswersWithinATenthOfASecondWhileTheTreeLoads) {
    const int music = static_cast<int>(m_tree.MusicCount());
    ASSERT_EQ(9000, music);
    CPlayList& list = m_player.m_wndPlayList;

    const DWORD start = ::GetTickCount();
    list.LoadDirectory(m_strTree, true);
    CResponseProbe probe(m_player.m_hWnd);
    const bool loaded = RunUntilLoaded(music, 120000);
    probe.Stop();
    std::printf("%d files loaded in %lu ms; longest answer of the player %.1f ms over %zu messages\n",
                list.GetCount(), ::GetTickCount() - start, probe.LongestMs(), probe.ProbeCount());

    ASSERT_TRUE(loaded) << list.GetCount() << " entries and " << list.m_list.GetItemCount() << " rows of "
                        << music;
    EXPECT_GT(probe.ProbeCount(), 0u);
    EXPECT_EQ(0u, probe.UnansweredCount());
    EXPECT_LT(probe.LongestMs(), 100.0) << "longest answer of the player window, over " << probe.ProbeCount()
                                        << " messages";

    // Every music file arrived once, each row with its entry's texts.
    EXPECT_EQ(music, list.GetCount());
    EXPECT_EQ(music, list.m_list.GetItemCount());
    std::set<std::string> paths;
    size_t tagged = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        const MediaEntry entry = list.GetEntryAt(i);
        paths.insert(entry.m_strPath);
        if (entry.m_strAlbum.compare(0, 6, "Album ") == 0) ++tagged;
        if (i % 97 == 0) {
            EXPECT_EQ(DisplayText(entry.m_strArtist), list.m_list.GetItemText(i, 0)) << "row " << i;
            EXPECT_EQ(DisplayText(entry.m_strAlbum), list.m_list.GetItemText(i, 1)) << "row " << i;
            EXPECT_EQ(DisplayText(entry.m_strSong), list.m_list.GetItemText(i, 2)) << "row " << i;
        }
    }
    EXPECT_EQ(static_cast<size_t>(music), paths.size()) << "no file twice";
    EXPECT_EQ(m_tree.TaggedMp3Count(), tagged);
}

}  // namespace
