#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/MediaFolder.h"
#include "support/TestMedia.h"

namespace {

uint32_t Le32(const MediaBytes& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (uint32_t(bytes[at + 3]) << 24);
}
uint16_t Le16(const MediaBytes& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
std::string Text(const MediaBytes& bytes, size_t at, size_t length) {
    return std::string(bytes.begin() + at, bytes.begin() + at + length);
}

TEST(TestMediaTest, WavToneHasAPcmHeaderAndTheRightLength) {
    MediaBytes wav = MakeWavTone(100, 22050);
    const uint32_t samples = 2205;
    ASSERT_EQ(wav.size(), 44 + samples * 2);
    EXPECT_EQ(Text(wav, 0, 4), "RIFF");
    EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Text(wav, 8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(Le16(wav, 20), 1); // PCM
    EXPECT_EQ(Le16(wav, 22), 1); // mono
    EXPECT_EQ(Le32(wav, 24), 22050u);
    EXPECT_EQ(Le32(wav, 28), 44100u);
    EXPECT_EQ(Le16(wav, 32), 2);
    EXPECT_EQ(Le16(wav, 34), 16);
    EXPECT_EQ(Text(wav, 36, 4), "data");
    EXPECT_EQ(Le32(wav, 40), samples * 2);
}

TEST(TestMediaTest, WavToneIsAnAudibleToneWithinRange) {
    MediaBytes wav = MakeWavTone(50, 8000);
    int peak = 0;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(Le16(wav, at)))));
    EXPECT_GT(peak, 7000);
    EXPECT_LE(peak, 8000);
}

TEST(TestMediaTest, Mp3FramesCarryAHeaderThatDescribesTheirLength) {
    MediaBytes mp3 = MakeSilentMp3(7);
    ASSERT_EQ(mp3.size(), 7 * kMp3FrameBytes);
    for (size_t frame = 0; frame < 7; ++frame) {
        size_t at = frame * kMp3FrameBytes;
        ASSERT_EQ(mp3[at], 0xFF);
        // Sync, MPEG-1, Layer III, no CRC.
        ASSERT_EQ(mp3[at + 1], 0xFB);
        int bitrateIndex = mp3[at + 2] >> 4;
        int rateIndex = (mp3[at + 2] >> 2) & 3;
        int padding = (mp3[at + 2] >> 1) & 1;
        const int kBitrates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
        const int kRates[] = {44100, 48000, 32000};
        ASSERT_LT(bitrateIndex, 15);
        ASSERT_LT(rateIndex, 3);
        EXPECT_EQ(144 * kBitrates[bitrateIndex] * 1000 / kRates[rateIndex] + padding, int(kMp3FrameBytes));
        EXPECT_EQ(kRates[rateIndex], int(kMp3SampleRate));
        for (size_t i = 4; i < kMp3FrameBytes; ++i)
            ASSERT_EQ(mp3[at + i], 0) << "frame " << frame;
    }
}

TEST(TestMediaTest, Mp3DurationFollowsTheFrameCount) {
    EXPECT_EQ(Mp3DurationMs(0), 0u);
    EXPECT_EQ(Mp3DurationMs(10), 261u);
    EXPECT_EQ(Mp3DurationMs(200), 5224u);
}

TEST(TestMediaTest, Id3v1TagHoldsTheFieldsPaddedWithZeros) {
    std::string longSong(40, 's');
    MediaBytes tag = MakeId3v1Tag({longSong, "Abba", ""});
    ASSERT_EQ(tag.size(), kId3v1Bytes);
    EXPECT_EQ(Text(tag, 0, 3), "TAG");
    EXPECT_EQ(Text(tag, 3, 30), std::string(30, 's'));
    EXPECT_EQ(Text(tag, 33, 30), std::string("Abba") + std::string(26, '\0'));
    EXPECT_EQ(Text(tag, 63, 30), std::string(30, '\0'));
    EXPECT_EQ(Text(tag, 93, 35), std::string(35, '\0'));
}

TEST(TestMediaTest, TheCommittedFixtureIsWhatTheToolsMake) {
    MediaBytes fixture = ReadMediaFile(std::string(MD_SOURCE_DIR) + "/tests/fixtures/abba-waterloo.mp3");
    ASSERT_FALSE(fixture.empty());
    EXPECT_EQ(fixture, MakeAbbaWaterlooMp3());
    EXPECT_EQ(fixture.size(), kFixtureFrames * kMp3FrameBytes + kId3v1Bytes);
    EXPECT_EQ(Text(fixture, fixture.size() - 128, 11), std::string("TAGWaterloo"));
}

TEST(TestMediaTest, FilesAreWrittenIntoAFolderThatGoesAway) {
    std::string folder;
    {
        CMediaFolder media("melodeck-media-test");
        ASSERT_FALSE(media.Path().empty());
        folder = media.Path();
        Id3v1Fields tag{"Song", "Artist", "Album"};
        ASSERT_TRUE(WriteMp3File(media.PathOf("a.mp3"), 3, &tag));
        ASSERT_TRUE(WriteWavFile(media.PathOf("b.wav"), 20));
        MediaBytes mp3 = ReadMediaFile(media.PathOf("a.mp3"));
        ASSERT_EQ(mp3.size(), 3 * kMp3FrameBytes + kId3v1Bytes);
        EXPECT_EQ(Text(mp3, 3 * kMp3FrameBytes + 3, 4), "Song");
        EXPECT_EQ(ReadMediaFile(media.PathOf("b.wav")), MakeWavTone(20));
        CMediaFolder other("melodeck-media-test");
        EXPECT_NE(other.Path(), media.Path());
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(TestMediaTest, WritingIntoAMissingFolderFails) {
    CMediaFolder media;
    EXPECT_FALSE(WriteWavFile(media.PathOf("no-such-folder/x.wav"), 10));
    EXPECT_TRUE(ReadMediaFile(media.PathOf("nothing-here.mp3")).empty());
}

} // namespace
