// The player window itself, in this process: its buttons drive the device through real tracks, and
// the juke-box order is seen as each track starts.
#include "app/MelodeckDlg.h"
#include "framework/App.h"
#include "library/MakeEntry.h"
#include "res/resource.h"
#include "support/MediaFolder.h"
#include "support/WorkingFolder.h"
#include "support/TestMedia.h"
#include "widgets/BannerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TransportWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        ASSERT_TRUE(m_workingFolder.Entered());
        m_player.m_settings = CMelodeckSettings(IniPath());  // never the test program's own INI
        for (const char* name : {"A", "B", "X", "Y", "Z"})
            ASSERT_TRUE(WriteWavFile(m_folder.PathOf(std::string(name) + ".wav"), 300));
        // Its options and window layout go to this folder, not beside the test program.
        m_player.m_settings = CMelodeckSettings(m_folder.PathOf("Melodeck.ini"));
        ASSERT_TRUE(m_player.Create());
        ASSERT_TRUE(m_player.m_player.IsWindow()) << "the device window was created";
        m_player.m_wndQueue.AddEntry(Entry("A"));
        m_player.m_wndQueue.AddEntry(Entry("B"));
        for (const char* name : {"X", "Y", "Z"}) m_player.m_wndPlayList.AddEntry(Entry(name));
    }
    void TearDown() override {
        m_player.DestroyWindow();
    }

    MediaEntry Entry(const std::string& name) {
        MediaEntry entry;
        entry.m_strPath = m_folder.PathOf(name + ".wav");
        entry.m_strArtist = name;
        entry.m_strSong = name;
        return entry;
    }

    std::string CurrentName() const { return m_player.m_current.m_strArtist; }
    std::string IniPath() const { return m_folder.PathOf("Melodeck.ini"); }

    void Click(int id) {
        m_player.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(m_player.GetDlgItem(id)));
    }

    // Handles messages one at a time, noting every entry that starts, until count have started or
    // the time is up; also notes the queue's row count and the selected play-list row at each start.
    void WatchStarts(size_t count, DWORD timeoutMs) {
        DWORD start = ::GetTickCount();
        std::string last = m_player.m_current.m_strPath;
        while (m_started.size() < count && ::GetTickCount() - start < timeoutMs) {
            MSG msg;
            if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            } else {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            }
            if (m_player.m_current.m_strPath != last) {
                last = m_player.m_current.m_strPath;
                m_started.push_back(CurrentName());
                m_queueRows.push_back(m_player.m_wndQueue.m_list.GetItemCount());
                m_playingRows.push_back(m_player.m_wndPlayList.GetPlayingIndex());
                m_selectedRows.push_back(m_player.m_wndPlayList.m_list.GetNextItem(-1, LVNI_SELECTED));
            }
        }
    }

    CMediaFolder m_folder;
    CWorkingFolder m_workingFolder{m_folder.Path()};  // the saved lists are read and written here
    CMelodeckDlg m_player;
    std::vector<std::string> m_started;
    std::vector<int> m_queueRows;
    std::vector<int> m_selectedRows;
    std::vector<int> m_playingRows;
};

TEST_F(TransportWindowTest, QueueThenPlayListInOrderAsTracksEndByThemselves) {
    Click(IDC_PLAY);
    m_started.push_back(CurrentName());
    m_queueRows.push_back(m_player.m_wndQueue.m_list.GetItemCount());
    m_selectedRows.push_back(-1);
    m_playingRows.push_back(-1);
    WatchStarts(6, 30000);

    EXPECT_EQ((std::vector<std::string>{"A", "B", "X", "Y", "Z", "X"}), m_started);
    ASSERT_GE(m_queueRows.size(), 2u);
    EXPECT_EQ(1, m_queueRows[0]) << "A left the queue as it started";
    EXPECT_EQ(0, m_queueRows[1]) << "B left the queue as it started";
    EXPECT_EQ(3, m_player.m_wndPlayList.m_list.GetItemCount()) << "play-list entries stay";
    // Each play-list row is marked as it starts; the selection stays the user's (none).
    EXPECT_EQ((std::vector<int>{-1, -1, 0, 1, 2, 0}), m_playingRows);
    EXPECT_EQ(std::vector<int>(6, -1), m_selectedRows);
}

TEST_F(TransportWindowTest, PlayShowsArtistAndSongScrollingLeft) {
    std::string path = m_folder.PathOf("abba.mp3");
    ASSERT_TRUE(WriteMediaFile(path, MakeAbbaWaterlooMp3()));
    m_player.m_wndQueue.RemoveAll();
    m_player.m_wndPlayList.RemoveAll();  // nothing follows, so the banner keeps this song
    m_player.m_wndQueue.AddEntry(MakeEntry(path, "abba.mp3", ".mp3"));
    m_player.ShowWindow(SW_SHOW);
    Click(IDC_PLAY);
    ASSERT_EQ(1, m_player.m_banner.GetSegmentCount());
    EXPECT_EQ("Abba - Waterloo", m_player.m_banner.GetSegment(0).m_strText);

    HWND banner = m_player.GetDlgItem(IDC_BANNER);
    ::UpdateWindow(banner);
    CCapture earlier = CaptureClient(banner);
    const int start = m_player.m_banner.GetPosition();
    ASSERT_TRUE(PumpUntil([&] { return m_player.m_banner.GetPosition() <= start - 10; }));
    m_player.m_banner.SetSpeed(0);
    PumpPending();
    ::UpdateWindow(banner);
    CCapture later = CaptureClient(banner);
    int shift = BestLeftShift(earlier.InkProfile(0x00FFFFFF), later.InkProfile(0x00FFFFFF), 30);
    EXPECT_EQ(shift, start - m_player.m_banner.GetPosition());
}

TEST_F(TransportWindowTest, AClosedListWindowClearsOnlyItsOwnShownFlag) {
    const UINT listClosed = CPlayList::ListClosedMessage();
    m_player.SendMessage(listClosed, 0, 999);
    EXPECT_EQ(1, m_player.m_bQueueShown);
    EXPECT_EQ(1, m_player.m_bPlayListShown);
    m_player.SendMessage(listClosed, 0, CPlayList::kQueueId);
    EXPECT_EQ(0, m_player.m_bQueueShown);
    EXPECT_EQ(1, m_player.m_bPlayListShown);
    m_player.SendMessage(listClosed, 0, CPlayList::kPlayListId);
    EXPECT_EQ(0, m_player.m_bPlayListShown);
}

TEST_F(TransportWindowTest, StopEndsPlayingAndNothingMoreStarts) {
    Click(IDC_PLAY);
    Click(IDC_STOP);
    WatchStarts(1, 2000);
    EXPECT_TRUE(m_started.empty());
    EXPECT_EQ("A", CurrentName());
    EXPECT_EQ(1, m_player.m_wndQueue.m_list.GetItemCount());
}

TEST_F(TransportWindowTest, NextStartsTheNextEntry) {
    ASSERT_TRUE(WriteWavFile(m_folder.PathOf("A.wav"), 5000));  // still playing when Next comes
    Click(IDC_PLAY);
    PumpPending();  // the device tells that it plays, as it does before a user could click again
    Click(IDC_NEXT);
    WatchStarts(1, 5000);
    EXPECT_EQ(std::vector<std::string>{"B"}, m_started);
}

TEST_F(TransportWindowTest, PreviousWithNothingPickedPlaysNothing) {
    m_player.m_wndQueue.RemoveAll();
    Click(IDC_PREVIOUS);
    EXPECT_EQ(0, m_player.m_nPlayPos);
    EXPECT_TRUE(m_player.m_current.m_strPath.empty());
}

TEST_F(TransportWindowTest, TheTrackbarRunsFromZeroToOneThousandAtTheDevicesVolume) {
    HWND slider = m_player.GetDlgItem(IDC_VOLUME);
    EXPECT_EQ(0, ::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1000, ::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(100, ::SendMessageA(slider, TBM_GETPOS, 0, 0));
    EXPECT_EQ(100, m_player.m_player.GetVolume());
}

TEST_F(TransportWindowTest, ReleasingTheTrackbarSetsTheVolumeOfThePlayingTrack) {
    ASSERT_TRUE(WriteMp3File(m_folder.PathOf("song.mp3"), 200));
    m_player.m_wndQueue.RemoveAll();
    MediaEntry song;
    song.m_strPath = m_folder.PathOf("song.mp3");
    song.m_strArtist = "song";
    m_player.m_wndQueue.AddEntry(song);
    Click(IDC_PLAY);
    ASSERT_EQ("song", CurrentName());
    HWND slider = m_player.GetDlgItem(IDC_VOLUME);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 640);
    NMHDR released{slider, IDC_VOLUME, static_cast<UINT>(NM_RELEASEDCAPTURE)};
    m_player.SendMessage(WM_NOTIFY, IDC_VOLUME, reinterpret_cast<LPARAM>(&released));
    EXPECT_EQ(640, m_player.m_player.GetVolume());
    Click(IDC_STOP);
}

// Songs that cannot be played are passed over and told in the banner after the song that plays: a
// missing file and one the device cannot read. The loaders leave the file name empty: the message
// names the path. The device window keeps an id of its own, apart from the banner's.
TEST_F(TransportWindowTest, BadSongsArePassedOverAndToldInTheBanner) {
    EXPECT_EQ(m_player.m_player.GetSafeHwnd(), m_player.GetDlgItem(IDC_PLAYER));
    EXPECT_NE(m_player.m_player.GetSafeHwnd(), m_player.GetDlgItem(IDC_BANNER));
    std::string garbage = m_folder.PathOf("garbage.mp3");
    ASSERT_TRUE(WriteMediaFile(garbage, MediaBytes(5000, 0x55)));
    m_player.m_wndQueue.RemoveAll();
    m_player.m_wndQueue.AddEntry(MakeEntry(m_folder.PathOf("missing.mp3"), "missing.mp3", ".mp3"));
    m_player.m_wndQueue.AddEntry(MakeEntry(garbage, "garbage.mp3", ".mp3"));
    Click(IDC_PLAY);
    EXPECT_EQ("X", CurrentName());
    ASSERT_EQ(2, m_player.m_banner.GetSegmentCount());
    EXPECT_EQ("X - X", m_player.m_banner.GetSegment(0).m_strText);
    const std::string told = m_player.m_banner.GetSegment(1).m_strText;
    EXPECT_NE(std::string::npos, told.find("Skipped 2 songs")) << told;
    EXPECT_NE(std::string::npos, told.find(garbage + ": ")) << told;
    EXPECT_GT(told.size(), told.find(garbage + ": ") + garbage.size() + 2) << "the device's reason is told";
}

}  // namespace

// A song played for two seconds comes back after a restart: the same entry, paused where it stood,
// named on the banner; Play goes on from there. The queue entry it came from is long gone by then.
TEST_F(TransportWindowTest, TheSongLeftPlayingComesBackPausedWhereItStoodAndPlayGoesOn) {
    ASSERT_TRUE(WriteWavFile(m_folder.PathOf("Long.wav"), 20000));
    m_player.m_wndQueue.RemoveAll();
    MediaEntry song = Entry("Long");
    m_player.m_wndQueue.AddEntry(song);
    Click(IDC_PLAY);
    ASSERT_TRUE(PumpUntil([&] { return m_player.m_player.GetPosition() >= 2000; }, 20000));
    m_player.DestroyWindow();

    CMelodeckDlg restarted;
    restarted.m_settings = CMelodeckSettings(IniPath());
    ASSERT_TRUE(restarted.Create());
    EXPECT_EQ(song, restarted.m_current);
    EXPECT_EQ(MCI_MODE_PAUSE, restarted.m_player.GetMode());
    const LONG position = restarted.m_player.GetPosition();
    EXPECT_GE(position, 2000);
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(restarted.GetDlgItem(IDC_PAUSE), BM_GETCHECK, 0, 0));
    ASSERT_EQ(1, restarted.m_banner.GetSegmentCount());
    EXPECT_EQ("Long - Long", restarted.m_banner.GetSegment(0).m_strText);

    restarted.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY, BN_CLICKED),
                          reinterpret_cast<LPARAM>(restarted.GetDlgItem(IDC_PLAY)));
    EXPECT_EQ(song, restarted.m_current) << "Play went on with the same song";
    EXPECT_TRUE(PumpUntil([&] { return restarted.m_player.GetPosition() >= position + 500; }, 20000));
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(restarted.GetDlgItem(IDC_PAUSE), BM_GETCHECK, 0, 0));

    // A remembered file that has gone is forgotten without a word.
    restarted.DestroyWindow();
    ASSERT_TRUE(::DeleteFileA(song.m_strPath.c_str()));
    CMelodeckDlg again;
    again.m_settings = CMelodeckSettings(IniPath());
    ASSERT_TRUE(again.Create());
    EXPECT_TRUE(again.m_current.m_strPath.empty());
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(again.GetDlgItem(IDC_PAUSE), BM_GETCHECK, 0, 0));
    again.DestroyWindow();
    EXPECT_TRUE(CMelodeckSettings(IniPath()).ReadText(CMelodeckSettings::kResumePoint).empty());
}
