#include "support/TestMedia.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

void PutLe16(MediaBytes& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutLe32(MediaBytes& bytes, uint32_t value) {
    PutLe16(bytes, value & 0xFFFF);
    PutLe16(bytes, value >> 16);
}

void PutText(MediaBytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void PutField(MediaBytes& bytes, const std::string& text, size_t width) {
    size_t used = text.size() < width ? text.size() : width;
    bytes.insert(bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(used));
    bytes.insert(bytes.end(), width - used, 0);
}

} // namespace

MediaBytes MakeWavTone(unsigned durationMs, unsigned sampleRate) {
    const uint32_t sampleCount = static_cast<uint32_t>(uint64_t(sampleRate) * durationMs / 1000);
    const uint32_t dataBytes = sampleCount * 2;
    const double kPi = 3.14159265358979323846;
    MediaBytes bytes;
    bytes.reserve(44 + dataBytes);
    PutText(bytes, "RIFF");
    PutLe32(bytes, 36 + dataBytes);
    PutText(bytes, "WAVE");
    PutText(bytes, "fmt ");
    PutLe32(bytes, 16); // size of the format block
    PutLe16(bytes, 1);  // PCM
    PutLe16(bytes, 1);  // mono
    PutLe32(bytes, sampleRate);
    PutLe32(bytes, sampleRate * 2); // bytes per second
    PutLe16(bytes, 2);              // bytes per sample frame
    PutLe16(bytes, 16);             // bits per sample
    PutText(bytes, "data");
    PutLe32(bytes, dataBytes);
    for (uint32_t i = 0; i < sampleCount; ++i) {
        double value = 8000.0 * std::sin(2.0 * kPi * 440.0 * i / sampleRate);
        PutLe16(bytes, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value))));
    }
    return bytes;
}

MediaBytes MakeSilentMp3(unsigned frameCount) {
    MediaBytes frame(kMp3FrameBytes, 0);
    frame[0] = 0xFF;
    frame[1] = 0xFB;
    frame[2] = 0x90;
    frame[3] = 0x64;
    MediaBytes bytes;
    bytes.reserve(frame.size() * frameCount);
    for (unsigned i = 0; i < frameCount; ++i)
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    return bytes;
}

unsigned Mp3DurationMs(unsigned frameCount) {
    return static_cast<unsigned>(uint64_t(frameCount) * kMp3SamplesPerFrame * 1000 / kMp3SampleRate);
}

MediaBytes MakeId3v2Title(const std::u16string& title) {
    MediaBytes content{1, 0xFF, 0xFE};
    for (char16_t unit : title) {
        content.push_back(static_cast<uint8_t>(unit & 0xFF));
        content.push_back(static_cast<uint8_t>(unit >> 8));
    }
    const size_t frameSize = content.size();
    MediaBytes frame{'T',
                     'I',
                     'T',
                     '2',
                     static_cast<uint8_t>(frameSize >> 24),
                     static_cast<uint8_t>(frameSize >> 16),
                     static_cast<uint8_t>(frameSize >> 8),
                     static_cast<uint8_t>(frameSize),
                     0,
                     0};
    frame.insert(frame.end(), content.begin(), content.end());
    const size_t size = frame.size();
    MediaBytes tag{'I',
                   'D',
                   '3',
                   3,
                   0,
                   0,
                   static_cast<uint8_t>((size >> 21) & 0x7F),
                   static_cast<uint8_t>((size >> 14) & 0x7F),
                   static_cast<uint8_t>((size >> 7) & 0x7F),
                   static_cast<uint8_t>(size & 0x7F)};
    tag.insert(tag.end(), frame.begin(), frame.end());
    return tag;
}

MediaBytes MakeId3v1Tag(const Id3v1Fields& fields) {
    MediaBytes bytes;
    bytes.reserve(kId3v1Bytes);
    PutText(bytes, "TAG");
    PutField(bytes, fields.song, 30);
    PutField(bytes, fields.artist, 30);
    PutField(bytes, fields.album, 30);
    bytes.insert(bytes.end(), kId3v1Bytes - bytes.size(), 0);
    return bytes;
}

MediaBytes MakeAbbaWaterlooMp3() {
    MediaBytes bytes = MakeSilentMp3(kFixtureFrames);
    MediaBytes tag = MakeId3v1Tag({"Waterloo", "Abba", "Waterloo"});
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    return bytes;
}

bool WriteMediaFile(const std::string& path, const MediaBytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool WriteWavFile(const std::string& path, unsigned durationMs) {
    return WriteMediaFile(path, MakeWavTone(durationMs));
}

bool WriteMp3File(const std::string& path, unsigned frameCount, const Id3v1Fields* tag) {
    MediaBytes bytes = MakeSilentMp3(frameCount);
    if (tag) {
        MediaBytes block = MakeId3v1Tag(*tag);
        bytes.insert(bytes.end(), block.begin(), block.end());
    }
    return WriteMediaFile(path, bytes);
}

MediaBytes ReadMediaFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return MediaBytes();
    return MediaBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
