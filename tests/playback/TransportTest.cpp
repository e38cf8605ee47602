// The juke-box rule against a scripted device, two collections with stand-in rows, and stand-in
// controls of the player window.
#include "framework/Exception.h"
#include "library/FakeListRows.h"
#include "library/MakeEntry.h"
#include "library/PlayListEntries.h"
#include "playback/Transport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

MediaEntry Entry(const std::string& name) {
    MediaEntry entry;
    entry.m_strPath = "C:\\Music\\" + name + ".mp3";
    entry.m_strArtist = name + std::string(1, '\0');
    entry.m_strSong = "song " + name + std::string(1, '\0');
    return entry;
}

std::string NameOf(const MediaEntry& entry) {
    std::string path = entry.m_strPath;
    return path.substr(9, path.size() - 13);
}

// Records what the player asked of it. Stopping a playing device is reported to the test, which
// delivers the stopped notification when it chooses (as the device's message loop would); playing,
// pausing and errors it reports to the player itself.
class CScriptedDevice : public ITransportDevice {
public:
    CTransportController* m_pPlayer = nullptr;
    std::vector<std::string> m_log;
    std::map<std::string, long> m_openErrors;
    bool m_bPlaying = false;
    bool m_bThrowOnOpen = false;
    long m_nPlayError = 0;
    long m_nVolume = -1;

    long OpenFile(const std::string& path) override {
        if (m_bThrowOnOpen) throw CException("device gone");
        m_bPlaying = false;
        m_log.push_back("open " + path);
        auto it = m_openErrors.find(path);
        if (it == m_openErrors.end()) return 0;
        if (m_pPlayer) m_pPlayer->OnDeviceError("The file cannot be played.");
        return it->second;
    }
    long Play() override {
        m_bPlaying = m_nPlayError == 0;
        m_log.push_back("play");
        if (m_pPlayer && m_bPlaying) m_pPlayer->OnDeviceMode(CTransportController::kModePlaying);
        return m_nPlayError;
    }
    long Stop() override {
        m_bPlaying = false;
        m_log.push_back("stop");
        return 0;
    }
    long Pause() override {
        m_log.push_back("pause");
        if (m_pPlayer && m_bPlaying) m_pPlayer->OnDeviceMode(CTransportController::kModePaused);
        return 0;
    }
    long Resume() override {
        m_log.push_back("resume");
        if (m_pPlayer && m_bPlaying) m_pPlayer->OnDeviceMode(CTransportController::kModePlaying);
        return 0;
    }
    void SetVolume(long volume) override {
        m_nVolume = volume;
        m_log.push_back("volume " + std::to_string(volume));
    }
    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& entry : m_log) n += entry == call;
        return n;
    }
};

class CScriptedList : public ITransportList {
public:
    CFakeListRows m_rows;
    CPlayListEntries m_entries{m_rows};
    int TakeFront(MediaEntry& out) override { return m_entries.TakeFront(out); }
    int TakeAt(int index, MediaEntry& out) override { return m_entries.TakeAt(index, out); }
    int TakeRandom(MediaEntry& out) override { return m_entries.TakeRandom(out); }
    void ClearPlaying() override { m_entries.ClearPlaying(); }
    void Add(std::initializer_list<const char*> names) {
        for (const char* name : names) m_entries.AddEntry(Entry(name));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : m_entries.GetEntries()) names.push_back(NameOf(entry));
        return names;
    }
};

class CScriptedView : public ITransportView {
public:
    bool m_bPause = false;
    int m_nVolume = 700;
    int m_nTrayState = 0;
    std::vector<std::string> m_banner;
    std::vector<std::string> m_replays;
    std::vector<std::string> m_messages;
    std::vector<bool> m_stopped;

    bool IsPauseChecked() const override { return m_bPause; }
    void SetPauseChecked(bool checked) override { m_bPause = checked; }
    int GetVolumePosition() const override { return m_nVolume; }
    void ShowNowPlaying(const std::string& text) override { m_banner.push_back(text); }
    void ShowReplaying(const std::string& text) override { m_replays.push_back(text); }
    void ShowMessage(const std::string& text, bool stopped) override {
        m_messages.push_back(text);
        m_stopped.push_back(stopped);
    }
    void SetTrayPauseCheck(bool checked) override { m_nTrayState = checked ? 8 /* MF_CHECKED */ : 0; }
    int GetTrayPauseState() const override { return m_nTrayState; }
};

class TransportTest : public testing::Test {
protected:
    CScriptedDevice m_device;
    CScriptedList m_queue;
    CScriptedList m_playList;
    CScriptedView m_view;
    CTransportController m_player{m_device, m_queue, m_playList, m_view};
    void SetUp() override { m_device.m_pPlayer = &m_player; }

    // The track ends by itself: the device stops and says so.
    void EndOfTrack() {
        m_device.m_bPlaying = false;
        m_player.OnDeviceMode(CTransportController::kModeStopped);
    }
    std::string Current() const { return NameOf(m_player.m_current); }
    bool Selected(int row) const { return m_playList.m_rows.m_rows[static_cast<size_t>(row)].selected; }
    void ClearSelection() {
        for (auto& row : m_playList.m_rows.m_rows) row.selected = false;
    }
};

TEST_F(TransportTest, QueueFirstThenThePlayListInOrderWrappingAround) {
    m_queue.Add({"A", "B"});
    m_playList.Add({"X", "Y", "Z"});

    m_player.OnPlay();
    EXPECT_EQ("A", Current());
    EXPECT_EQ(std::vector<std::string>{"B"}, m_queue.Names());

    std::vector<std::string> started{Current()};
    for (int track = 0; track < 5; ++track) {
        ClearSelection();
        EndOfTrack();
        started.push_back(Current());
        if (started.back() >= "X") {
            int row = started.back()[0] - 'X';
            EXPECT_EQ(row, m_playList.m_rows.m_nPlayingRow) << started.back() << " is marked as it starts";
            EXPECT_FALSE(Selected(row)) << started.back() << " is left out of the selection";
        }
    }
    EXPECT_EQ((std::vector<std::string>{"A", "B", "X", "Y", "Z", "X"}), started);
    EXPECT_TRUE(m_queue.Names().empty());
    EXPECT_EQ((std::vector<std::string>{"X", "Y", "Z"}), m_playList.Names()) << "play-list entries stay";
    EXPECT_EQ(1, m_player.m_nPlayPos);

    // A song queued meanwhile plays next, and no play-list row is marked while it does.
    m_queue.Add({"C"});
    EndOfTrack();
    EXPECT_EQ("C", Current());
    EXPECT_EQ(-1, m_playList.m_rows.m_nPlayingRow);
}

TEST_F(TransportTest, PlayWhilePlayingStartsTheNextEntryAtOnce) {
    m_playList.Add({"X", "Y"});
    m_player.OnPlay();
    m_player.OnPlay();
    EXPECT_EQ("Y", Current());
    EXPECT_EQ(2, m_device.Count("play"));
}

TEST_F(TransportTest, AfterTheQueueEmptiesThePlayListContinuesAfterTheEntryLastPicked) {
    m_playList.Add({"X", "Y", "Z"});
    m_player.OnPlay();
    ASSERT_EQ("X", Current());
    m_queue.Add({"A"});
    EndOfTrack();
    EXPECT_EQ("A", Current());
    EndOfTrack();
    EXPECT_EQ("Y", Current());
}

TEST_F(TransportTest, RandomModePlaysTheEntryPickedAndTheNextPickDiffersInTheSameSecond) {
    m_playList.Add({"V", "W", "X", "Y", "Z"});
    m_player.m_nRandom = 1;
    m_playList.m_entries.SetSeedSource([] { return 1700000000u; });
    std::set<std::string> played;
    for (int i = 0; i < 20; ++i) {
        m_player.OnPlay();
        ASSERT_GE(m_player.m_nPlayPos, 1);
        ASSERT_LE(m_player.m_nPlayPos, 5);
        EXPECT_EQ(m_playList.Names()[static_cast<size_t>(m_player.m_nPlayPos - 1)], Current());
        played.insert(Current());
    }
    EXPECT_GT(played.size(), 2u);
}

TEST_F(TransportTest, StartingATrackOpensItSetsTheTrackbarVolumeAndPlays) {
    m_playList.Add({"X"});
    m_view.m_nVolume = 350;
    m_player.OnPlay();
    EXPECT_EQ((std::vector<std::string>{"open C:\\Music\\X.mp3", "volume 350", "play"}), m_device.m_log);
    EXPECT_TRUE(m_player.m_bAutoAdvance);
    EXPECT_EQ(std::vector<std::string>{"X - song X"}, m_view.m_banner);
}

TEST_F(TransportTest, TheVolumeReachesTheDeviceWhenTheTrackbarIsReleased) {
    m_view.m_nVolume = 420;
    m_player.OnVolumeReleased();
    EXPECT_EQ(420, m_device.m_nVolume);
}

TEST_F(TransportTest, StopThenTheStoppedReportStartsNothing) {
    m_playList.Add({"X", "Y"});
    m_player.OnPlay();
    m_player.OnStop();
    EndOfTrack();
    EXPECT_EQ("X", Current());
    EXPECT_EQ(1, m_device.Count("play"));
    EXPECT_FALSE(m_player.m_bAutoAdvance);
}

TEST_F(TransportTest, NextStopsAndTheStoppedReportStartsTheNextEntry) {
    m_playList.Add({"X", "Y"});
    m_player.OnPlay();
    m_player.OnNext();
    EXPECT_EQ("X", Current()) << "Next itself picks nothing";
    EndOfTrack();
    EXPECT_EQ("Y", Current());
}

TEST_F(TransportTest, NextAndPreviousWhilePausedReleasePauseAndPlay) {
    m_playList.Add({"X", "Y", "Z"});
    m_player.OnPlay();
    m_view.m_bPause = true;
    m_player.OnPause();
    m_player.OnNext();
    EXPECT_FALSE(m_view.m_bPause);
    EXPECT_EQ(0, m_view.GetTrayPauseState());
    EndOfTrack();
    EXPECT_EQ("Y", Current());
    m_view.m_bPause = true;
    m_player.OnPause();
    m_player.OnPrevious();
    EXPECT_FALSE(m_view.m_bPause);
    EXPECT_EQ(std::vector<std::string>{"Y - song Y"}, m_view.m_replays);
}

TEST_F(TransportTest, NextWithNothingLoadedStartsTheNextEntryItself) {
    m_playList.Add({"X", "Y"});
    m_player.OnPlay();
    m_player.OnStop();
    EndOfTrack();
    m_player.OnNext();
    EXPECT_EQ("Y", Current());
    EXPECT_TRUE(m_player.m_bAutoAdvance);
}

TEST_F(TransportTest, StopFromTheDevicesOwnBarAdvancesLikeTheEndOfATrack) {
    m_playList.Add({"X", "Y"});
    m_player.OnPlay();
    m_player.OnDeviceMode(CTransportController::kModeStopped);
    EXPECT_EQ("Y", Current());
}

TEST_F(TransportTest, OtherModesAreIgnored) {
    m_playList.Add({"X", "Y"});
    m_player.OnPlay();
    for (long mode : {524L, 526L, 527L, 528L, 529L, 530L}) m_player.OnDeviceMode(mode);
    EXPECT_EQ("X", Current());
}

TEST_F(TransportTest, PlayWhilePausedResumesThenTheEndAdvances) {
    m_playList.Add({"X", "Y", "Z"});
    m_player.OnPlay();
    m_view.m_bPause = true;
    m_player.OnPause();
    m_player.OnPlay();
    EXPECT_EQ("X", Current()) << "the paused song goes on";
    EXPECT_EQ("resume", m_device.m_log.back());
    EXPECT_FALSE(m_view.m_bPause);
    EXPECT_EQ(0, m_view.GetTrayPauseState());
    EndOfTrack();
    EXPECT_EQ("Y", Current());
}

TEST_F(TransportTest, PlayWithPauseCheckedAndNothingLoadedStartsTheNextEntry) {
    m_playList.Add({"X", "Y"});
    m_view.m_bPause = true;
    m_player.OnPause();
    m_player.OnPlay();
    EXPECT_EQ("X", Current());
    EXPECT_FALSE(m_view.m_bPause);
    EndOfTrack();
    EXPECT_EQ("Y", Current());
}

TEST_F(TransportTest, PauseAndResumeFollowTheButtonAndTheTrayItemAgrees) {
    m_view.m_bPause = true;
    m_player.OnPause();
    EXPECT_EQ("pause", m_device.m_log.back());
    EXPECT_NE(0, m_view.GetTrayPauseState());
    m_view.m_bPause = false;
    m_player.OnPause();
    EXPECT_EQ("resume", m_device.m_log.back());
    EXPECT_EQ(0, m_view.GetTrayPauseState());
}

TEST_F(TransportTest, TrayPauseTogglesWithButtonAndMenuAgreeing) {
    m_player.OnTrayPause();
    EXPECT_TRUE(m_view.m_bPause);
    EXPECT_NE(0, m_view.GetTrayPauseState());
    EXPECT_EQ("pause", m_device.m_log.back());
    m_player.OnTrayPause();
    EXPECT_FALSE(m_view.m_bPause);
    EXPECT_EQ(0, m_view.GetTrayPauseState());
    EXPECT_EQ("resume", m_device.m_log.back());
}

TEST_F(TransportTest, PreviousWithAnEmptyQueuePlaysTheLastPickedEntryAgain) {
    m_playList.Add({"X", "Y", "Z"});
    m_player.OnPlay();
    EndOfTrack();
    ASSERT_EQ("Y", Current());
    m_device.m_log.clear();
    m_player.OnPrevious();
    EXPECT_EQ((std::vector<std::string>{"open C:\\Music\\Y.mp3", "play"}), m_device.m_log);
    EXPECT_EQ(std::vector<std::string>{"Y - song Y"}, m_view.m_replays);
    EXPECT_EQ("Y", Current()) << "Previous leaves the current entry";
    EXPECT_EQ(2, m_player.m_nPlayPos);
}

TEST_F(TransportTest, PreviousInRandomModeAlsoReplaysTheLastPick) {
    m_playList.Add({"X", "Y", "Z"});
    m_player.m_nRandom = 1;
    m_playList.m_entries.SetSeedSource([] { return 7u; });
    m_player.OnPlay();
    const std::string picked = Current();
    m_player.OnPrevious();
    EXPECT_EQ(std::vector<std::string>{picked + " - song " + picked}, m_view.m_replays);
}

TEST_F(TransportTest, PreviousWithAQueuePlaysItsSecondEntryWithoutRemovingIt) {
    m_queue.Add({"A", "B", "C"});
    m_player.OnPrevious();
    EXPECT_EQ("open C:\\Music\\B.mp3", m_device.m_log.front());
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), m_queue.Names());
    EXPECT_FALSE(m_player.m_bAutoAdvance) << "Previous leaves auto-advance alone";
}

TEST_F(TransportTest, PreviousWithOneQueuedEntryPlaysThatEntry) {
    m_queue.Add({"A"});
    m_player.OnPrevious();
    EXPECT_EQ("open C:\\Music\\A.mp3", m_device.m_log.front());
}

TEST_F(TransportTest, PreviousWithNothingPickedYetPlaysNothing) {
    m_playList.Add({"X", "Y"});
    m_player.OnPrevious();
    EXPECT_TRUE(m_device.m_log.empty());
    EXPECT_EQ(0, m_player.m_nPlayPos);
    m_player.OnPlay();
    EXPECT_EQ("X", Current()) << "Play still starts at the first entry";
}

TEST_F(TransportTest, BothListsEmptyPlayDoesNothing) {
    m_player.m_nPlayPos = 5;
    m_player.OnPlay();
    EXPECT_TRUE(m_device.m_log.empty());
    EXPECT_EQ(0, m_player.m_nPlayPos);
    m_player.m_nRandom = 1;
    m_player.OnPlay();
    EXPECT_TRUE(m_device.m_log.empty());
    EXPECT_EQ(0, m_player.m_nPlayPos);
}

TEST_F(TransportTest, ABadSongIsPassedOverAndToldAfterTheSongThatPlays) {
    m_queue.m_entries.AddEntry(MediaEntry{});
    m_playList.Add({"X", "Y"});
    m_device.m_openErrors["C:\\Music\\X.mp3"] = 275;
    m_player.OnPlay();
    EXPECT_EQ("Y", Current());
    EXPECT_EQ(std::vector<std::string>{"Y - song Y"}, m_view.m_banner);
    EXPECT_EQ(std::vector<std::string>{"Skipped 2 songs that could not be played; the last was "
                                       "C:\\Music\\X.mp3: The file cannot be played."},
              m_view.m_messages);
    EXPECT_EQ(std::vector<bool>{false}, m_view.m_stopped);
}

TEST_F(TransportTest, FailuresInARowStopThePlayerOnceAndSayWhy) {
    m_playList.Add({"P", "Q", "R", "S", "T", "U", "V"});
    for (const char* name : {"P", "Q", "R", "S", "T", "U"})
        m_device.m_openErrors["C:\\Music\\" + std::string(name) + ".mp3"] = 275;
    m_player.OnPlay();
    EXPECT_EQ(5, m_player.m_nPlayPos) << "gave up after five";
    EXPECT_EQ(0, m_device.Count("play"));
    ASSERT_EQ(1u, m_view.m_messages.size());
    EXPECT_EQ(0u, m_view.m_messages[0].find("Stopped: 5 songs in a row could not be played")) << m_view.m_messages[0];
    EXPECT_EQ(std::vector<bool>{true}, m_view.m_stopped);
    EndOfTrack();  // the device's report of the stop starts nothing
    EXPECT_TRUE(m_device.m_log.size() == 5u && m_view.m_messages.size() == 1u);

    m_player.OnNext();  // a fresh try after the stop: U fails, V plays
    EXPECT_EQ("V", Current());
    EXPECT_EQ(1, m_device.Count("play"));
}

TEST_F(TransportTest, APlayListThatFailsWholeStopsWhenItComesRound) {
    m_playList.Add({"X", "Y"});
    m_device.m_nPlayError = 263;
    m_player.OnPlay();
    EXPECT_EQ(2, m_device.Count("play"));
    EXPECT_TRUE(m_view.m_banner.empty());
    EXPECT_EQ(std::vector<bool>{true}, m_view.m_stopped);
    EXPECT_FALSE(m_player.m_bAutoAdvance);
}

TEST_F(TransportTest, AFailedPreviousGoesOnWithTheNextEntry) {
    m_playList.Add({"X", "Y", "Z"});
    m_player.OnPlay();
    m_device.m_openErrors["C:\\Music\\X.mp3"] = 275;
    m_player.OnPrevious();
    EXPECT_EQ("Y", Current());
    EXPECT_TRUE(m_view.m_replays.empty());
    EXPECT_EQ(1u, m_view.m_messages.size());
}

TEST_F(TransportTest, ADeviceExceptionEndsPlayQuietly) {
    m_playList.Add({"X"});
    m_device.m_bThrowOnOpen = true;
    EXPECT_NO_THROW(m_player.OnPlay());
    EXPECT_TRUE(m_view.m_banner.empty());
}

struct NowPlayingCase {
    const char* name;
    MediaEntry entry;
    const char* text;
};

class NowPlayingTextTest : public testing::TestWithParam<NowPlayingCase> {};

TEST_P(NowPlayingTextTest, ShowsArtistAndSongUpToTheirZeroCharacter) {
    EXPECT_EQ(GetParam().text, NowPlayingText(GetParam().entry));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NowPlayingTextTest,
    testing::Values(
        NowPlayingCase{"TagTexts", MediaEntry{"p", "", std::string("Abba\0", 5), "", std::string("Waterloo\0", 9)},
                       "Abba - Waterloo"},
        NowPlayingCase{"TypedInTheEditor", MediaEntry{"p", "", "Abba", "", "Waterloo"}, "Abba - Waterloo"},
        NowPlayingCase{"NoArtist", MediaEntry{"p", "", std::string(1, '\0'), "", "Intro"}, "Intro"},
        NowPlayingCase{"EmptyTagFields", MediaEntry{"p", "", std::string(1, '\0'), "", std::string(1, '\0')},
                       ""}),
    [](const testing::TestParamInfo<NowPlayingCase>& info) { return std::string(info.param.name); });

TEST_F(TransportTest, AnUntaggedWavIsAnnouncedByItsNameAlone) {
    m_queue.m_entries.AddEntry(MakeEntry("C:\\Music\\a.wav", "a.wav", ".wav"));
    m_player.OnPlay();
    EXPECT_EQ(std::vector<std::string>{"a"}, m_view.m_banner);
}

TEST(PlayBackErrorNameTest, TheFileNameOrThePathWhenThereIsNone) {
    EXPECT_EQ("a.mp3", PlayBackErrorName(MediaEntry{"C:\\x\\a.mp3", "a.mp3", "", "", ""}));
    EXPECT_EQ("C:\\x\\a.mp3", PlayBackErrorName(MakeEntry("C:\\x\\a.mp3", "a.mp3", ".wav")));
    EXPECT_EQ("C:\\x\\a.mp3",
              PlayBackErrorName(MediaEntry{"C:\\x\\a.mp3", std::string(1, '\0'), "", "", ""}));
}

}  // namespace
