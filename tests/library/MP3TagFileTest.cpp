// Tag access on real files in a per-test folder.
#include "library/MP3TagFile.h"

#include "framework/TestTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Bytes = std::vector<unsigned char>;

constexpr unsigned kTagOpen = CFile::modeReadWrite | CFile::typeBinary | CFile::shareExclusive;

// An MP3 stand-in: some audio bytes, then a tag block with the given texts and every other byte set.
Bytes TaggedFile(size_t audioBytes, const std::string& song, const std::string& artist,
                 const std::string& album) {
    Bytes bytes(audioBytes);
    for (size_t i = 0; i < audioBytes; ++i)
        bytes[i] = static_cast<unsigned char>(0xA0 + i % 7);
    Bytes block(128, 0);
    std::memcpy(block.data(), "TAG", 3);
    std::memcpy(block.data() + 3, song.data(), song.size());
    std::memcpy(block.data() + 33, artist.data(), artist.size());
    std::memcpy(block.data() + 63, album.data(), album.size());
    std::memcpy(block.data() + 93, "2001", 4);
    std::memcpy(block.data() + 97, "a comment that is thirty long.", 30);
    block[127] = 12;
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

class MP3TagFileTest : public testing::Test {
protected:
    CTestTempDir m_dir;
};

TEST_F(MP3TagFileTest, ReadsTheTagAtTheEndOfTheFile) {
    std::string path = m_dir.WriteFile("song.mp3", TaggedFile(1000, "Title", "Artist", "Album"));
    CMP3TagFile file;
    ASSERT_TRUE(file.Open(path, kTagOpen));
    ASSERT_EQ(file.ReadTag(), 0);
    EXPECT_EQ(file.GetSong(), "Title\0"s);
    EXPECT_EQ(file.GetArtist(), "Artist\0"s);
    EXPECT_EQ(file.GetAlbum(), "Album\0"s);
}

TEST_F(MP3TagFileTest, AFileOfExactlyOneBlockHasATagAndOneByteLessHasNone) {
    Bytes block = TaggedFile(0, "S", "A", "L");
    ASSERT_EQ(block.size(), 128u);
    CMP3TagFile file;
    ASSERT_TRUE(file.Open(m_dir.WriteFile("128.mp3", block), kTagOpen));
    EXPECT_EQ(file.ReadTag(), 0);
    EXPECT_EQ(file.GetSong(), "S\0"s);

    Bytes shorter(block.begin(), block.end() - 1);
    CMP3TagFile shortFile;
    ASSERT_TRUE(shortFile.Open(m_dir.WriteFile("127.mp3", shorter), kTagOpen));
    EXPECT_EQ(shortFile.ReadTag(), -1);
    CMP3TagFile empty;
    ASSERT_TRUE(empty.Open(m_dir.WriteFile("0.mp3", {}), kTagOpen));
    EXPECT_EQ(empty.ReadTag(), -1);
}

TEST_F(MP3TagFileTest, OnlyTheLastBlockCounts) {
    // "TAG" one byte before the last block and at the start of the file: no tag.
    Bytes bytes = TaggedFile(0, "S", "A", "L");
    bytes.push_back(0);
    CMP3TagFile file;
    ASSERT_TRUE(file.Open(m_dir.WriteFile("late.mp3", bytes), kTagOpen));
    EXPECT_EQ(file.ReadTag(), -1);
}

TEST_F(MP3TagFileTest, AMisspelledMarkerIsNoTag) {
    Bytes bytes = TaggedFile(50, "S", "A", "L");
    bytes[50 + 2] = 'g';
    CMP3TagFile file;
    ASSERT_TRUE(file.Open(m_dir.WriteFile("tag.mp3", bytes), kTagOpen));
    EXPECT_EQ(file.ReadTag(), -1);
}

TEST_F(MP3TagFileTest, AClosedFileHasNoTag) {
    CMP3TagFile file;
    EXPECT_EQ(file.ReadTag(), -1);
    EXPECT_EQ(file.WriteTagField("x", 0), -1);
}

struct FieldWriteCase {
    int field;
    size_t offset;
    std::string text;
    std::string stored;
};

void PrintTo(const FieldWriteCase& c, std::ostream* out) {
    *out << "field" << c.field << "_length" << c.text.size();
}

class MP3TagWriteTest : public MP3TagFileTest, public testing::WithParamInterface<FieldWriteCase> {};

TEST_P(MP3TagWriteTest, WritesThirtyBytesAtTheFieldAndNothingElse) {
    const FieldWriteCase& c = GetParam();
    Bytes original = TaggedFile(300, std::string(30, 's'), std::string(30, 'r'), std::string(30, 'l'));
    std::string path = m_dir.WriteFile("edit.mp3", original);
    {
        CMP3TagFile file;
        ASSERT_TRUE(file.Open(path, kTagOpen));
        ASSERT_EQ(file.ReadTag(), 0);
        EXPECT_EQ(file.WriteTagField(c.text, c.field), 0);
    }
    Bytes expected = original;
    size_t start = 300 + c.offset;
    std::fill(expected.begin() + static_cast<long>(start), expected.begin() + static_cast<long>(start + 30),
              0);
    std::memcpy(expected.data() + start, c.stored.data(), c.stored.size());
    EXPECT_EQ(CTestTempDir::ReadFile(path), expected);

    CMP3TagFile again;
    ASSERT_TRUE(again.Open(path, kTagOpen));
    ASSERT_EQ(again.ReadTag(), 0);
    std::string readBack = c.field == 0   ? again.GetSong()
                           : c.field == 1 ? again.GetArtist()
                                          : again.GetAlbum();
    EXPECT_EQ(readBack, c.stored + '\0');
}

INSTANTIATE_TEST_SUITE_P(Fields, MP3TagWriteTest,
                         testing::Values(FieldWriteCase{0, 3, "Ab", "Ab"}, FieldWriteCase{1, 33, "Ab", "Ab"},
                                         FieldWriteCase{2, 63, "Ab", "Ab"},
                                         FieldWriteCase{0, 3, "0123456789012345678901234567890123456789",
                                                        "012345678901234567890123456789"},
                                         FieldWriteCase{2, 63, std::string(30, 'Z'), std::string(30, 'Z')},
                                         FieldWriteCase{1, 33, "", ""},
                                         FieldWriteCase{0, 3, "Typed\0"s, "Typed"}));

TEST_F(MP3TagFileTest, OtherFieldNumbersAreRefusedAndChangeNothing) {
    Bytes original = TaggedFile(10, "S", "A", "L");
    std::string path = m_dir.WriteFile("fields.mp3", original);
    {
        CMP3TagFile file;
        ASSERT_TRUE(file.Open(path, kTagOpen));
        ASSERT_EQ(file.ReadTag(), 0);
        for (int field : {-1, 3, 4, 5})
            EXPECT_EQ(file.WriteTagField("x", field), -1) << field;
    }
    EXPECT_EQ(CTestTempDir::ReadFile(path), original);
}

TEST_F(MP3TagFileTest, AFailedWriteReportsMinusOne) {
    Bytes original = TaggedFile(10, "S", "A", "L");
    std::string path = m_dir.WriteFile("readonly.mp3", original);
    {
        CMP3TagFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::typeBinary));
        ASSERT_EQ(file.ReadTag(), 0);
        EXPECT_EQ(file.WriteTagField("new", 0), -1);
    }
    EXPECT_EQ(CTestTempDir::ReadFile(path), original);

    std::string shortPath = m_dir.WriteFile("short.mp3", Bytes(20, 1));
    CMP3TagFile shortFile;
    ASSERT_TRUE(shortFile.Open(shortPath, kTagOpen));
    EXPECT_EQ(shortFile.WriteTagField("new", 0), -1);
    shortFile.Close();
    EXPECT_EQ(CTestTempDir::ReadFile(shortPath), Bytes(20, 1));
}

} // namespace
