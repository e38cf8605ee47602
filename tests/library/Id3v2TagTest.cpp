// The ID3 version 2 reader on tags built here byte by byte: versions, text encodings, unsynchronisation,
// extended headers, sizes that lie, and how much of a file it reads.
#include "library/Id3v2Tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using namespace std::string_literals;

std::string SizeBytes(size_t size, size_t count, bool syncsafe) {
    std::string bytes;
    for (size_t i = count; i-- > 0;)
        bytes += static_cast<char>(syncsafe ? (size >> (7 * i)) & 0x7F : (size >> (8 * i)) & 0xFF);
    return bytes;
}

std::string Frame(int version, const std::string& id, const std::string& content, char flags = 0,
                  bool plainSize = false) {
    if (version == 2) return id + SizeBytes(content.size(), 3, false) + content;
    return id + SizeBytes(content.size(), 4, version == 4 && !plainSize) + '\0' + flags + content;
}

std::string Tag(int version, const std::string& body, char flags = 0) {
    return "ID3"s + static_cast<char>(version) + '\0' + flags + SizeBytes(body.size(), 4, true) + body;
}

std::string Text(const std::string& latin1) {
    return '\0' + latin1;
}

// A title, artist and album tag of a version, with 20 bytes of padding.
std::string Tagged(int version) {
    bool v2 = version == 2;
    return Tag(version, Frame(version, v2 ? "TAL" : "TALB", Text("Album")) +
                            Frame(version, v2 ? "TP1" : "TPE1", Text("Artist")) +
                            Frame(version, v2 ? "TT2" : "TIT2", Text("Title")) + std::string(20, '\0'));
}

struct Parsed {
    bool found;
    CId3v2Tag tag;
};

Parsed Parse(const std::string& bytes) {
    Parsed result;
    result.found = result.tag.Parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return result;
}

class Id3v2VersionTest : public testing::TestWithParam<int> {};

TEST_P(Id3v2VersionTest, GivesTitleArtistAndAlbumWithTheirZeroCharacter) {
    Parsed parsed = Parse(Tagged(GetParam()) + "\xFF\xFB audio");
    ASSERT_TRUE(parsed.found);
    EXPECT_EQ(parsed.tag.GetSong(), "Title\0"s);
    EXPECT_EQ(parsed.tag.GetArtist(), "Artist\0"s);
    EXPECT_EQ(parsed.tag.GetAlbum(), "Album\0"s);
}

INSTANTIATE_TEST_SUITE_P(Versions, Id3v2VersionTest, testing::Values(2, 3, 4));

struct EncodingCase {
    const char* name;
    std::string content;
};

class Id3v2EncodingTest : public testing::TestWithParam<EncodingCase> {};

// Texts come out in UTF-8, whole, not folded into a legacy code page.
TEST_P(Id3v2EncodingTest, ConvertsToTheCodePageUpToTheFirstTerminator) {
    Parsed parsed = Parse(Tag(4, Frame(4, "TIT2", GetParam().content)));
    ASSERT_TRUE(parsed.found);
    EXPECT_EQ(parsed.tag.GetSong(),
              GetParam().name == std::string("Latin1") ? "Caf\xC3\xA9?\0"s : "Caf\xC3\xA9\xE4\xB8\xAD\0"s);
    EXPECT_EQ(parsed.tag.GetArtist(), "\0"s) << "a frame that is not there is empty";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, Id3v2EncodingTest,
    testing::Values(EncodingCase{"Latin1", "\0Caf\xE9?\0Second"s},
                    EncodingCase{"Utf16LittleEndian", "\1\xFF\xFE"s + "C\0a\0f\0\xE9\0\x2D\x4E\0\0S\0"s},
                    EncodingCase{"Utf16BigEndianMark", "\1\xFE\xFF\0C\0a\0f\0\xE9\x4E\x2D"s},
                    EncodingCase{"Utf16BigEndian", "\2\0C\0a\0f\0\xE9\x4E\x2D\0\0"s},
                    EncodingCase{"Utf8", "\3Caf\xC3\xA9\xE4\xB8\xAD\0Second"s}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST(Id3v2TagTest, UndoesUnsynchronisation) {
    // 2.3 unsynchronises the whole tag, sizes counting the bytes before; 2.4 each flagged frame. The
    // Latin-1 y and a with their accents come out in UTF-8.
    std::string frames = Frame(3, "TIT2", Text("a\xFF\xE0")) + Frame(3, "TPE1", Text("b"));
    std::string synced;
    for (char c : frames)
        synced += c == '\xFF' ? "\xFF\0"s : std::string(1, c);
    EXPECT_EQ(Parse(Tag(3, synced, '\x80')).tag.GetArtist(), "b\0"s);
    EXPECT_EQ(Parse(Tag(3, synced, '\x80')).tag.GetSong(), "a\xC3\xBF\xC3\xA0\0"s);
    Parsed v4 = Parse(Tag(4, Frame(4, "TIT2", Text("a\xFF\0\xE0"s), '\x02')));
    EXPECT_EQ(v4.tag.GetSong(), "a\xC3\xBF\xC3\xA0\0"s);
}

TEST(Id3v2TagTest, SkipsExtendedHeaders) {
    EXPECT_EQ(
        Parse(Tag(3, "\0\0\0\6"s + std::string(6, '\0') + Frame(3, "TIT2", Text("x")), '\x40')).tag.GetSong(),
        "x\0"s);
    EXPECT_EQ(Parse(Tag(4, "\0\0\0\6\1\0"s + Frame(4, "TIT2", Text("y")), '\x40')).tag.GetSong(), "y\0"s);
    EXPECT_FALSE(Parse(Tag(4, "\0\0\x7F\x7F\1\0"s + Frame(4, "TIT2", Text("y")), '\x40')).found);
    // The flag set with no extended header: the frames start at once, as some taggers write.
    EXPECT_EQ(Parse(Tag(4, Frame(4, "TIT2", Text("Punk To Funk")), '\x40')).tag.GetSong(), "Punk To Funk\0"s);
    EXPECT_EQ(Parse(Tag(3, Frame(3, "TIT2", Text("z")), '\x40')).tag.GetSong(), "z\0"s);
}

TEST(Id3v2TagTest, TakesAPlainFrameSizeIn24OnlyWhereTheSyncsafeOneCannotBeRight) {
    // 256 bytes: the size bytes 0 0 1 0 are syncsafe too, but 128 bytes on there is no frame.
    std::string title = Text(std::string(255, 't'));
    Parsed parsed = Parse(Tag(4, Frame(4, "TIT2", title, 0, true) + Frame(4, "TPE1", Text("Artist"))));
    EXPECT_EQ(parsed.tag.GetSong(), std::string(255, 't') + '\0');
    EXPECT_EQ(parsed.tag.GetArtist(), "Artist\0"s);
}

TEST(Id3v2TagTest, KeepsTheFirstOfTwoFramesAndSkipsThoseItCannotRead) {
    std::string frames = Frame(3, "TIT2", "\0Packed"s, '\x80') + Frame(3, "TIT2", Text("First")) +
                         Frame(3, "TIT2", Text("Second")) + Frame(3, "TPE1", "\7bad encoding"s);
    Parsed parsed = Parse(Tag(3, frames));
    EXPECT_EQ(parsed.tag.GetSong(), "First\0"s);
    EXPECT_EQ(parsed.tag.GetArtist(), "\0"s);
}

struct RejectCase {
    const char* name;
    std::string bytes;
};

class Id3v2RejectTest : public testing::TestWithParam<RejectCase> {};

TEST_P(Id3v2RejectTest, FindsNoTag) {
    Parsed parsed = Parse(GetParam().bytes);
    EXPECT_FALSE(parsed.found);
    EXPECT_EQ(parsed.tag.GetSong(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Id3v2RejectTest,
    testing::Values(RejectCase{"Empty", ""}, RejectCase{"ShortHeader", "ID3\3\0\0\0\0\0"s},
                    RejectCase{"Version5", Tag(5, Frame(4, "TIT2", Text("x")))},
                    RejectCase{"SizeNotSyncsafe", "ID3\3\0\0\0\0\0\x80"s + Frame(3, "TIT2", Text("x"))},
                    RejectCase{"Compressed22", Tag(2, Frame(2, "TT2", Text("x")), '\x40')},
                    RejectCase{"OnlyOtherFrames", Tag(3, Frame(3, "COMM", Text("x")))},
                    RejectCase{"FrameLargerThanTheTag", Tag(3, "TIT2\0\0\1\0\0\0\0x"s)},
                    RejectCase{"CutInsideTheFrame", Tagged(3).substr(0, 18)},
                    RejectCase{"ExtendedHeaderPastTheEnd", Tag(3, "\x7F\0\0\0"s, '\x40')}),
    [](const testing::TestParamInfo<RejectCase>& info) { return std::string(info.param.name); });

// Reads a file held in memory, recording the furthest byte asked for.
struct MemoryFile {
    std::string bytes;
    size_t furthest = 0;
    size_t Read(uint64_t offset, unsigned char* buffer, size_t count) {
        furthest = std::max<size_t>(furthest, offset + count);
        if (offset >= bytes.size()) return 0;
        size_t got = std::min<size_t>(count, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, got);
        return got;
    }
};

TEST(Id3v2ReadTest, ReadsOnlyTheTagAndReadsOnWhenATextLiesBeyondTheFirstStep) {
    MemoryFile file{Tagged(3) + std::string(100000, '\xFF')};
    CId3v2Tag tag;
    ASSERT_TRUE(tag.Read([&](uint64_t o, unsigned char* b, size_t n) { return file.Read(o, b, n); }));
    EXPECT_EQ(tag.GetArtist(), "Artist\0"s);
    EXPECT_EQ(file.furthest, Tagged(3).size());

    std::string picture = Frame(3, "APIC", std::string(100000, 'p'));
    file = MemoryFile{Tag(3, Frame(3, "TALB", Text("Album")) + picture + Frame(3, "TIT2", Text("Late")))};
    ASSERT_TRUE(tag.Read([&](uint64_t o, unsigned char* b, size_t n) { return file.Read(o, b, n); }));
    EXPECT_EQ(tag.GetSong(), "Late\0"s);
}

TEST(Id3v2ReadTest, NeverReadsMoreThanTheLimit) {
    // The header claims the largest size there is; the frame after the limit is never seen.
    std::string body =
        Frame(3, "TIT2", Text("Title")) + Frame(3, "APIC", std::string(CId3v2Tag::kMaxReadSize, 'p'));
    MemoryFile file{"ID3\3\0\0\x7F\x7F\x7F\x7F"s + body + Frame(3, "TPE1", Text("Lost"))};
    CId3v2Tag tag;
    ASSERT_TRUE(tag.Read([&](uint64_t o, unsigned char* b, size_t n) { return file.Read(o, b, n); }));
    EXPECT_EQ(tag.GetSong(), "Title\0"s);
    EXPECT_EQ(tag.GetArtist(), "\0"s);
    EXPECT_EQ(file.furthest, CId3v2Tag::kMaxReadSize);
}

} // namespace
