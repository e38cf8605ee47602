#include <gtest/gtest.h>

#include <vector>

#include "playback/ModeTracker.h"

namespace {

class ModeTrackerTest : public testing::Test {
protected:
    // What the parent would be told now.
    std::vector<long> Reports() {
        std::vector<long> modes;
        long mode = 0;
        while (m_tracker.NextReport(&mode))
            modes.push_back(mode);
        return modes;
    }
    void StartPlaying() {
        m_tracker.Observe(kMciModePlay);
        ASSERT_EQ(Reports(), std::vector<long>{kMciModePlay});
    }

    CModeTracker m_tracker;
    using Modes = std::vector<long>;
};

TEST_F(ModeTrackerTest, AClosedOrStoppedDeviceReportsNothing) {
    m_tracker.Observe(kMciModeStop);
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{});
    EXPECT_FALSE(m_tracker.EndReached());
}

TEST_F(ModeTrackerTest, TheEndReadBeforeItsNoticeIsReportedOnce) {
    StartPlaying();
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    EXPECT_TRUE(m_tracker.EndReached());
    m_tracker.Observe(kMciModeStop);
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), Modes{});
}

TEST_F(ModeTrackerTest, TheEndNoticeArrivingFirstIsReportedOnce) {
    StartPlaying();
    m_tracker.Observe(kMciModeStop); // the reading made on the notice
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{});
}

TEST_F(ModeTrackerTest, ANoticeWhileTheDeviceStillReadsPlayingWaitsForTheStop) {
    StartPlaying();
    m_tracker.Observe(kMciModePlay);
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), Modes{});
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    // Nothing is left over: the next play that passes unseen is still reported.
    m_tracker.Observe(kMciModeStop);
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), (Modes{kMciModePlay, kMciModeStop}));
}

TEST_F(ModeTrackerTest, APlayThatStartedAndEndedUnseenIsReportedAsPlayingThenStopped) {
    m_tracker.Observe(kMciModeStop);
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), (Modes{kMciModePlay, kMciModeStop}));
    EXPECT_TRUE(m_tracker.EndReached());
}

TEST_F(ModeTrackerTest, OurOwnStopIsReportedOnceAndIsNoEndOfTrack) {
    StartPlaying();
    m_tracker.NoteOwnCommand(true);
    m_tracker.Observe(kMciModeStop);
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    EXPECT_FALSE(m_tracker.EndReached());
    // No end is waiting for a notice: an unseen play afterwards still counts.
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), (Modes{kMciModePlay, kMciModeStop}));
}

TEST_F(ModeTrackerTest, AnEarlyNoticeForAPlayWeStoppedIsForgotten) {
    StartPlaying();
    m_tracker.Observe(kMciModePlay);
    m_tracker.PlayCompleted();
    m_tracker.NoteOwnCommand(true);
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    // The next track's end, read first, still waits for its own notice.
    StartPlaying();
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), Modes{});
}

TEST_F(ModeTrackerTest, OnlyTheFirstReadingAfterOurCommandIsItsDoing) {
    StartPlaying();
    m_tracker.NoteOwnCommand(true);
    m_tracker.Observe(kMciModePlay); // our command did not stop it
    m_tracker.Observe(kMciModeStop); // this is the end of the track
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    EXPECT_TRUE(m_tracker.EndReached());
}

TEST_F(ModeTrackerTest, PauseAndResumeAreReported) {
    StartPlaying();
    m_tracker.NoteOwnCommand(false);
    m_tracker.Observe(kMciModePause);
    EXPECT_EQ(Reports(), Modes{kMciModePause});
    m_tracker.NoteOwnCommand(false);
    m_tracker.Observe(kMciModePlay);
    EXPECT_EQ(Reports(), Modes{kMciModePlay});
}

TEST_F(ModeTrackerTest, ATrackEndingRightAfterItsResumeEndsOnce) {
    StartPlaying();
    m_tracker.Observe(kMciModePause);
    Reports();
    m_tracker.NoteOwnCommand(false); // resume
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(Reports(), Modes{kMciModeStop});
    EXPECT_TRUE(m_tracker.EndReached());
    m_tracker.PlayCompleted();
    EXPECT_EQ(Reports(), Modes{});
}

TEST_F(ModeTrackerTest, ReplacingAPlayingTrackThatPlaysAgainAtOnceReportsNoStop) {
    StartPlaying();
    m_tracker.NoteOwnCommand(true);  // close and open the next file
    m_tracker.Observe(kMciModePlay); // the next reading finds the new file playing
    EXPECT_EQ(Reports(), Modes{});
}

TEST_F(ModeTrackerTest, ChangesReadWhileTheParentIsBusyAreKeptInOrder) {
    StartPlaying();
    m_tracker.Observe(kMciModeStop);
    m_tracker.Observe(kMciModePlay);
    m_tracker.Observe(kMciModePause);
    EXPECT_TRUE(m_tracker.HasReports());
    EXPECT_EQ(Reports(), (Modes{kMciModeStop, kMciModePlay, kMciModePause}));
    EXPECT_FALSE(m_tracker.HasReports());
}

TEST_F(ModeTrackerTest, EndsWithoutNoticesDoNotSwallowMoreThanOneLaterNotice) {
    // Plays started by someone else without a notice: their ends are read, no notice follows.
    for (int i = 0; i < 3; ++i) {
        m_tracker.Observe(kMciModePlay);
        m_tracker.Observe(kMciModeStop);
    }
    Reports();
    m_tracker.PlayCompleted(); // matched with a waiting end
    m_tracker.PlayCompleted(); // an unseen play
    EXPECT_EQ(Reports(), (Modes{kMciModePlay, kMciModeStop}));
}

TEST_F(ModeTrackerTest, OurCommandsForgetThatTheEndWasReached) {
    StartPlaying();
    m_tracker.Observe(kMciModeStop);
    ASSERT_TRUE(m_tracker.EndReached());
    m_tracker.NoteOwnCommand(true);
    EXPECT_FALSE(m_tracker.EndReached());
}

TEST_F(ModeTrackerTest, ObservedModeIsTheLastReading) {
    m_tracker.Observe(kMciModePause);
    EXPECT_EQ(m_tracker.ObservedMode(), kMciModePause);
    m_tracker.Observe(kMciModeStop);
    EXPECT_EQ(m_tracker.ObservedMode(), kMciModeStop);
}

} // namespace
