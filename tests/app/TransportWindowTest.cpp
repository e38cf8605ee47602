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

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

class TransportWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        ASSERT_TRUE(m_workingFolder.Entered());
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
};

TEST_F(TransportWindowTest, QueueThenPlayListInOrderAsTracksEndByThemselves) {
    Click(IDC_PLAY);
    m_started.push_back(CurrentName());
    m_queueRows.push_back(m_player.m_wndQueue.m_list.GetItemCount());
    m_selectedRows.push_back(-1);
    WatchStarts(6, 30000);

    EXPECT_EQ((std::vector<std::string>{"A", "B", "X", "Y", "Z", "X"}), m_started);
    ASSERT_GE(m_queueRows.size(), 2u);
    EXPECT_EQ(1, m_queueRows[0]) << "A left the queue as it started";
    EXPECT_EQ(0, m_queueRows[1]) << "B left the queue as it started";
    EXPECT_EQ(3, m_player.m_wndPlayList.m_list.GetItemCount()) << "play-list entries stay";
    ASSERT_EQ(6u, m_selectedRows.size());
    EXPECT_EQ(0, m_selectedRows[2]);
    for (size_t i = 2; i < 6; ++i) {
        int row = static_cast<int>(i - 2) % 3;
        EXPECT_EQ(LVIS_SELECTED, m_player.m_wndPlayList.m_list.GetItemState(row, LVIS_SELECTED))
            << "row " << row << " was selected when it started";
    }
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

TEST_F(TransportWindowTest, PausedPlayPlaysOneTrackAndDoesNotAdvance) {
    ::SendMessageA(m_player.GetDlgItem(IDC_PAUSE), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_PAUSE);
    Click(IDC_PLAY);
    EXPECT_EQ("A", CurrentName());
    WatchStarts(1, 2500);  // A lasts 300 ms; nothing may follow it
    EXPECT_TRUE(m_started.empty());
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(m_player.GetDlgItem(IDC_PAUSE), BM_GETCHECK, 0, 0));
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
    Click(IDC_PLAY);
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

// Waits on its own thread for a message box owned by the window (a dialog captioned with the
// application's name: the list windows are dialogs owned by the player too), keeps its text and
// closes it.
class CMessageBoxCatcher {
public:
    explicit CMessageBoxCatcher(HWND owner)
        : m_thread([this, owner] {
              DWORD start = ::GetTickCount();
              while (!m_bStop && ::GetTickCount() - start < 15000) {
                  HWND box = nullptr;
                  while ((box = ::FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
                      if (::GetWindow(box, GW_OWNER) != owner || !::IsWindowVisible(box)) continue;
                      char caption[256] = {};
                      ::GetWindowTextA(box, caption, sizeof(caption));
                      if (AfxGetAppName() != caption) continue;
                      char text[1024] = {};
                      ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                      m_strText = text;
                      m_strCaption = caption;
                      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                      m_bSeen = true;
                      return;
                  }
                  ::Sleep(20);
              }
          }) {}
    ~CMessageBoxCatcher() {
        m_bStop = true;
        m_thread.join();
    }
    std::atomic<bool> m_bSeen{false};
    std::string m_strText;
    std::string m_strCaption;

private:
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

TEST_F(TransportWindowTest, AMissingFileShowsThePlayBackErrorAndThePlayerGoesOn) {
    m_player.m_wndQueue.RemoveAll();
    MediaEntry missing;
    missing.m_strPath = m_folder.PathOf("missing.mp3");
    missing.m_strFileName = "missing.mp3";
    missing.m_strArtist = "missing";
    m_player.m_wndQueue.AddEntry(missing);
    {
        CMessageBoxCatcher catcher(m_player.m_hWnd);
        Click(IDC_PLAY);
        WatchStarts(1, 3000);  // keeps the messages flowing while the box is up
        ASSERT_TRUE(catcher.m_bSeen) << "no message box appeared";
        EXPECT_EQ(0u, catcher.m_strText.find("Play Back Error!\n\n ")) << catcher.m_strText;
        EXPECT_NE(std::string::npos, catcher.m_strText.find("\n\n missing.mp3")) << catcher.m_strText;
        EXPECT_GT(catcher.m_strText.size(), std::string("Play Back Error!\n\n \n\n missing.mp3").size())
            << "the device's error text is shown";
        EXPECT_FALSE(catcher.m_strCaption.empty());
    }
    Click(IDC_PLAY);
    EXPECT_EQ("X", CurrentName()) << "the player goes on with the next entry";
}

// The loaders leave the file name empty: the message names the path. The device window keeps an id
// of its own, apart from the banner's.
TEST_F(TransportWindowTest, AFailingLoadedEntryIsNamedByItsPath) {
    EXPECT_EQ(m_player.m_player.GetSafeHwnd(), m_player.GetDlgItem(IDC_PLAYER));
    EXPECT_NE(m_player.m_player.GetSafeHwnd(), m_player.GetDlgItem(IDC_BANNER));
    std::string path = m_folder.PathOf("gone.wav");
    m_player.m_wndQueue.RemoveAll();
    m_player.m_wndQueue.AddEntry(MakeEntry(path, "gone.wav", ".wav"));
    CMessageBoxCatcher catcher(m_player.m_hWnd);
    Click(IDC_PLAY);
    WatchStarts(1, 3000);
    ASSERT_TRUE(catcher.m_bSeen) << "no message box appeared";
    EXPECT_EQ(0u, catcher.m_strText.find("Play Back Error!\n\n ")) << catcher.m_strText;
    EXPECT_NE(std::string::npos, catcher.m_strText.find("\n\n " + path)) << catcher.m_strText;
}

TEST_F(TransportWindowTest, AnUnreadableFileShowsThePlayBackError) {
    ASSERT_TRUE(WriteMediaFile(m_folder.PathOf("garbage.mp3"), MediaBytes(5000, 0x55)));
    m_player.m_wndQueue.RemoveAll();
    MediaEntry garbage;
    garbage.m_strPath = m_folder.PathOf("garbage.mp3");
    garbage.m_strArtist = "garbage";
    m_player.m_wndQueue.AddEntry(garbage);
    CMessageBoxCatcher catcher(m_player.m_hWnd);
    Click(IDC_PLAY);
    WatchStarts(1, 3000);
    ASSERT_TRUE(catcher.m_bSeen);
    EXPECT_EQ(0u, catcher.m_strText.find("Play Back Error!")) << catcher.m_strText;
}

}  // namespace
