#pragma once
// Media files that tests make for themselves: a WAV tone, and an MP3 of silent MPEG-1 Layer III
// frames with an optional ID3 version 1 tag. Portable: native tests and tests under Wine use it.
#include <cstdint>
#include <string>
#include <vector>

using MediaBytes = std::vector<uint8_t>;

// 16-bit mono PCM at the sample rate, a 440 Hz tone lasting the given time.
MediaBytes MakeWavTone(unsigned durationMs, unsigned sampleRate = 22050);

// One MP3 frame: header FF FB 90 64 (MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, joint stereo, no CRC,
// no padding), 417 bytes long, side information and main data all zero: a frame of silence.
constexpr size_t kMp3FrameBytes = 417;
constexpr unsigned kMp3SamplesPerFrame = 1152;
constexpr unsigned kMp3SampleRate = 44100;
MediaBytes MakeSilentMp3(unsigned frameCount);
// Playing time of that many frames, rounded down to a millisecond.
unsigned Mp3DurationMs(unsigned frameCount);

// The 128-byte ID3 version 1 block: "TAG", song, artist and album in 30 bytes each (cut or padded
// with zeros), every other byte (year, comment, genre) zero.
struct Id3v1Fields {
    std::string song;
    std::string artist;
    std::string album;
};
constexpr size_t kId3v1Bytes = 128;
MediaBytes MakeId3v1Tag(const Id3v1Fields& fields);
// An ID3 version 2.3 tag with one title frame in UTF-16 (little-endian, with its byte-order mark).
MediaBytes MakeId3v2Title(const std::u16string& title);

// The committed fixture tests/fixtures/abba-waterloo.mp3, as tools/make_mp3_fixture.py writes it:
// ten silent frames and the tag song "Waterloo", artist "Abba", album "Waterloo".
constexpr unsigned kFixtureFrames = 10;
MediaBytes MakeAbbaWaterlooMp3();

// Writes bytes to a file, replacing it; false when it cannot be written whole.
bool WriteMediaFile(const std::string& path, const MediaBytes& bytes);
bool WriteWavFile(const std::string& path, unsigned durationMs);
bool WriteMp3File(const std::string& path, unsigned frameCount, const Id3v1Fields* tag = nullptr);
// The file's bytes; empty when it cannot be read.
MediaBytes ReadMediaFile(const std::string& path);
