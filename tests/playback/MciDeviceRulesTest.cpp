#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "playback/MciDeviceRules.h"

using namespace std::string_literals;

namespace {

struct KindCase {
    const char* path;
    MciDeviceKind kind;
};
void PrintTo(const KindCase& c, std::ostream* out) {
    *out << '"' << c.path << '"';
}

class DeviceKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(DeviceKindTest, ChoosesTheDeviceByExtension) {
    EXPECT_EQ(DeviceKindForPath(GetParam().path), GetParam().kind) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, DeviceKindTest,
                         testing::Values(KindCase{"C:\\Music\\a.mp3", MciDeviceKind::MpegVideo},
                                         KindCase{"C:\\Music\\LOUD.MP3", MciDeviceKind::MpegVideo},
                                         KindCase{"C:\\Music\\x.WmA", MciDeviceKind::MpegVideo},
                                         KindCase{"C:\\Music\\b.wav", MciDeviceKind::WaveAudio},
                                         KindCase{"D:\\Track01.cda", MciDeviceKind::CdAudio},
                                         KindCase{"/unix/style.mp3", MciDeviceKind::MpegVideo},
                                         KindCase{"C:\\Music\\c.ogg", MciDeviceKind::ByExtension},
                                         KindCase{"C:\\Music\\noextension", MciDeviceKind::ByExtension},
                                         KindCase{"C:\\dir.mp3\\file", MciDeviceKind::ByExtension},
                                         KindCase{"C:\\dir\\file.mp3.txt", MciDeviceKind::ByExtension},
                                         KindCase{"C:\\dir\\trailing.", MciDeviceKind::ByExtension},
                                         KindCase{"", MciDeviceKind::ByExtension}));

TEST(DeviceRulesTest, NamesTheDeviceTypes) {
    EXPECT_STREQ(DeviceTypeName(MciDeviceKind::MpegVideo), "mpegvideo");
    EXPECT_STREQ(DeviceTypeName(MciDeviceKind::WaveAudio), "waveaudio");
    EXPECT_STREQ(DeviceTypeName(MciDeviceKind::CdAudio), "cdaudio");
    EXPECT_EQ(DeviceTypeName(MciDeviceKind::ByExtension), nullptr);
}

TEST(DeviceRulesTest, OnlyTheWaveDeviceStartsOnTheWaveOutVolume) {
    EXPECT_EQ(InitialVolumeRoute(MciDeviceKind::WaveAudio), VolumeRoute::WaveOut);
    EXPECT_EQ(InitialVolumeRoute(MciDeviceKind::MpegVideo), VolumeRoute::Device);
    EXPECT_EQ(InitialVolumeRoute(MciDeviceKind::CdAudio), VolumeRoute::Device);
    EXPECT_EQ(InitialVolumeRoute(MciDeviceKind::ByExtension), VolumeRoute::Device);
}

TEST(VolumeScaleTest, EveryVolumeSurvivesTheWaveOutScale) {
    for (long volume = kVolumeMin; volume <= kVolumeNormal; ++volume)
        ASSERT_EQ(WaveOutLevelToVolume(VolumeToWaveOutLevel(volume)), volume);
}

TEST(VolumeScaleTest, EndsMapToEndsAndTheScaleRises) {
    EXPECT_EQ(VolumeToWaveOutLevel(0), 0);
    EXPECT_EQ(VolumeToWaveOutLevel(1000), 0xFFFF);
    EXPECT_EQ(VolumeToWaveOutLevel(500), 0x8000);
    for (long volume = 1; volume <= kVolumeNormal; ++volume)
        ASSERT_GT(VolumeToWaveOutLevel(volume), VolumeToWaveOutLevel(volume - 1));
}

TEST(VolumeScaleTest, OutOfRangeVolumesAreClamped) {
    EXPECT_EQ(ClampVolume(-5), 0);
    EXPECT_EQ(ClampVolume(5000), 1000);
    EXPECT_EQ(ClampVolume(300), 300);
    EXPECT_EQ(VolumeToWaveOutLevel(-1), 0);
    EXPECT_EQ(VolumeToWaveOutLevel(2000), 0xFFFF);
}

TEST(VolumeScaleTest, BothChannelsAreSetAndTheLouderOneIsRead) {
    EXPECT_EQ(VolumeToWaveOut(300), 0x4CCD4CCDu);
    EXPECT_EQ(VolumeToWaveOut(1000), 0xFFFFFFFFu);
    EXPECT_EQ(WaveOutToVolume(0x4CCD4CCDu), 300);
    EXPECT_EQ(WaveOutToVolume(0x0000FFFFu), 1000);
    EXPECT_EQ(WaveOutToVolume(0xFFFF0000u), 1000);
    EXPECT_EQ(WaveOutToVolume(0), 0);
}

struct CommandCase {
    MciCommand command;
    long mode;
    bool applies;
};
std::string CommandCaseName(const testing::TestParamInfo<CommandCase>& info) {
    const char* kNames[] = {"Play", "Stop", "Pause", "Resume"};
    std::string mode = ModeName(info.param.mode);
    mode.erase(std::remove(mode.begin(), mode.end(), ' '), mode.end());
    return std::string(kNames[static_cast<int>(info.param.command)]) + "When_" + mode;
}

class CommandModeTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandModeTest, CommandsThatWouldDoNothingAreNotSent) {
    EXPECT_EQ(CommandAppliesInMode(GetParam().command, GetParam().mode), GetParam().applies);
}

INSTANTIATE_TEST_SUITE_P(Modes, CommandModeTest,
                         testing::Values(CommandCase{MciCommand::Pause, kMciModePlay, true},
                                         CommandCase{MciCommand::Pause, kMciModeStop, false},
                                         CommandCase{MciCommand::Pause, kMciModePause, false},
                                         CommandCase{MciCommand::Resume, kMciModePause, true},
                                         CommandCase{MciCommand::Resume, kMciModePlay, false},
                                         CommandCase{MciCommand::Resume, kMciModeStop, false},
                                         CommandCase{MciCommand::Stop, kMciModePlay, true},
                                         CommandCase{MciCommand::Stop, kMciModePause, true},
                                         CommandCase{MciCommand::Stop, kMciModeStop, false},
                                         CommandCase{MciCommand::Stop, kMciModeNotReady, false},
                                         CommandCase{MciCommand::Play, kMciModeStop, true},
                                         CommandCase{MciCommand::Play, kMciModePause, true},
                                         CommandCase{MciCommand::Play, kMciModeNotReady, false},
                                         CommandCase{MciCommand::Play, kMciModeOpen, false}),
                         CommandCaseName);

TEST(SeekRulesTest, SeekingKeepsPlayingOrPausedAndOtherwiseOnlyMoves) {
    EXPECT_EQ(SeekPlanForMode(kMciModePlay), SeekPlan::PlayFrom);
    EXPECT_EQ(SeekPlanForMode(kMciModeSeek), SeekPlan::PlayFrom);
    EXPECT_EQ(SeekPlanForMode(kMciModePause), SeekPlan::PauseAt);
    EXPECT_EQ(SeekPlanForMode(kMciModeStop), SeekPlan::MoveTo);
    EXPECT_EQ(SeekPlanForMode(kMciModeNotReady), SeekPlan::MoveTo);
}

TEST(SeekRulesTest, PlayingStartsOverOnlyAtTheEnd) {
    EXPECT_EQ(PlayStartPosition(500, 1000, false), 500);
    EXPECT_EQ(PlayStartPosition(500, 1000, true), 0);
    EXPECT_EQ(PlayStartPosition(1000, 1000, false), 0);
    EXPECT_EQ(PlayStartPosition(1200, 1000, false), 0);
    EXPECT_EQ(PlayStartPosition(-3, 1000, false), 0);
    EXPECT_EQ(PlayStartPosition(500, 0, false), 500); // length unknown
}

TEST(BarTextTest, FormatsTimes) {
    EXPECT_EQ(FormatTime(0), "0:00");
    EXPECT_EQ(FormatTime(999), "0:00");
    EXPECT_EQ(FormatTime(61000), "1:01");
    EXPECT_EQ(FormatTime(3599999), "59:59");
    EXPECT_EQ(FormatTime(3600000), "1:00:00");
    EXPECT_EQ(FormatTime(36061000), "10:01:01");
    EXPECT_EQ(FormatTime(-5), "0:00");
}

TEST(BarTextTest, StatusShowsWhatTheStyleAsksFor) {
    EXPECT_EQ(FormatBarStatus(3000, 72000, true, kMciModePlay, false), "0:03 / 1:12");
    EXPECT_EQ(FormatBarStatus(3000, 72000, false, kMciModePause, true), "paused");
    EXPECT_EQ(FormatBarStatus(3000, 72000, true, kMciModeStop, true), "0:03 / 1:12  stopped");
    EXPECT_EQ(FormatBarStatus(3000, 72000, false, kMciModeStop, false), "");
    EXPECT_EQ(FormatBarStatus(0, 0, false, 12345, true), "");
}

TEST(BarTextTest, NameIsTheFileNameUpToAZero) {
    EXPECT_EQ(BarName("C:\\Music\\Abba\\Waterloo.mp3"), "Waterloo.mp3");
    EXPECT_EQ(BarName("C:\\a\\b.mp3\0junk\\c"s), "b.mp3");
    EXPECT_EQ(BarName(""), "");
}

TEST(BarLayoutTest, PartsStayInsideTheBarAndApartAtEverySize) {
    for (int height : {0, 5, 10, 26, 90}) {
        for (int width = 0; width <= 700; ++width) {
            for (bool withText : {false, true}) {
                BarLayout layout = ComputeBarLayout(width, height, withText);
                SCOPED_TRACE(testing::Message() << width << "x" << height << " text " << withText);
                for (const BarRect& r : {layout.button, layout.slider, layout.text}) {
                    ASSERT_GE(r.left, 0);
                    ASSERT_GE(r.top, 0);
                    ASSERT_GE(r.Width(), 0);
                    ASSERT_GE(r.Height(), 0);
                    ASSERT_LE(r.bottom, std::max(std::min(height, kBarHeight), 0));
                }
                ASSERT_LE(layout.button.right, layout.slider.left);
                ASSERT_LE(layout.slider.right, layout.text.left);
                ASSERT_LE(layout.text.right, width);
                if (!withText) {
                    ASSERT_EQ(layout.text.Width(), 0);
                }
            }
        }
    }
}

TEST(BarLayoutTest, ThePlayersBarHasRoomForSliderAndText) {
    // The player creates the device 325 pixels wide (its client width less 63).
    BarLayout layout = ComputeBarLayout(325, kBarHeight, true);
    EXPECT_EQ(layout.button.Width(), layout.button.Height());
    EXPECT_GE(layout.button.Width(), 20);
    EXPECT_GE(layout.slider.Width(), 100);
    EXPECT_GE(layout.text.Width(), 100);
}

} // namespace
