#include "library/Id3v1Tag.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <ostream>
#include <cstring>
#include <string>

namespace {

using namespace std::string_literals;
using Block = std::array<unsigned char, CId3v1Tag::kBlockSize>;

// A readable name for a byte text in test names: letters and digits as they are, other bytes as hex.
std::string Shown(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (unsigned char c : bytes) {
        if (std::isalnum(c)) {
            shown += static_cast<char>(c);
        } else {
            shown += 'x';
            shown += kHex[c >> 4];
            shown += kHex[c & 15];
        }
    }
    if (shown.empty()) return "empty";
    return shown.size() > 40 ? shown.substr(0, 20) + "_len" + std::to_string(bytes.size()) : shown;
}

void Put(Block& block, size_t offset, const std::string& bytes) {
    std::memcpy(block.data() + offset, bytes.data(), bytes.size());
}

Block TaggedBlock() {
    Block block{};
    Put(block, 0, "TAG");
    return block;
}

TEST(Id3v1TagTest, FieldOffsetsFollowTheBlockLayout) {
    EXPECT_EQ(CId3v1Tag::kFieldOffsets[CId3v1Tag::fieldSong], 3u);
    EXPECT_EQ(CId3v1Tag::kFieldOffsets[CId3v1Tag::fieldArtist], 33u);
    EXPECT_EQ(CId3v1Tag::kFieldOffsets[CId3v1Tag::fieldAlbum], 63u);
    EXPECT_EQ(CId3v1Tag::kFieldOffsets[CId3v1Tag::fieldYear], 93u);
    EXPECT_EQ(CId3v1Tag::kFieldOffsets[CId3v1Tag::fieldComment], 97u);
}

struct MarkerCase {
    std::string bytes;
    bool isTag;
};

void PrintTo(const MarkerCase& c, std::ostream* out) {
    *out << Shown(c.bytes);
}

class Id3v1MarkerTest : public testing::TestWithParam<MarkerCase> {};

TEST_P(Id3v1MarkerTest, OnlyExactlyTagMarksABlock) {
    Block block{};
    Put(block, 0, GetParam().bytes);
    EXPECT_EQ(CId3v1Tag::HasMarker(block.data(), block.size()), GetParam().isTag);
    CId3v1Tag tag;
    EXPECT_EQ(tag.Parse(block.data(), block.size()), GetParam().isTag);
}

INSTANTIATE_TEST_SUITE_P(Markers, Id3v1MarkerTest,
                         testing::Values(MarkerCase{"TAG", true}, MarkerCase{"TAGX", true},
                                         MarkerCase{"tag", false}, MarkerCase{"TAg", false},
                                         MarkerCase{"Tag", false}, MarkerCase{"TA\0"s, false},
                                         MarkerCase{"T\0G"s, false}, MarkerCase{"\0AG"s, false},
                                         MarkerCase{"XTAG", false}, MarkerCase{"ID3", false}));

struct FieldCase {
    std::string bytes; // the field's bytes; the rest of the 30 are zero
    std::string text;
};

void PrintTo(const FieldCase& c, std::ostream* out) {
    *out << Shown(c.bytes);
}

class Id3v1FieldTextTest : public testing::TestWithParam<FieldCase> {};

TEST_P(Id3v1FieldTextTest, IsTheBytesUpToTheFirstZeroPlusOneZeroCharacter) {
    std::array<unsigned char, CId3v1Tag::kFieldSize> field{};
    std::memcpy(field.data(), GetParam().bytes.data(), GetParam().bytes.size());
    EXPECT_EQ(CId3v1Tag::FieldText(field.data()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Fields, Id3v1FieldTextTest,
                         testing::Values(FieldCase{"Song", "Song\0"s}, FieldCase{"", "\0"s},
                                         FieldCase{std::string(30, 'T'), std::string(30, 'T') + '\0'},
                                         FieldCase{"Ab   ", "Ab\0"s}, FieldCase{std::string(30, ' '), "\0"s},
                                         FieldCase{"  lead", "  lead\0"s}, FieldCase{"A\0B"s, "A\0"s},
                                         FieldCase{"Mot\xF6rhead", "Mot\xC3\xB6rhead\0"s}));

// Written in the legacy code page (Windows-1252 natively), cut between characters, or not at all.
TEST(Id3v1TagTest, FieldBytesAreInTheLegacyCodePage) {
    std::array<unsigned char, CId3v1Tag::kFieldSize> bytes{};
    ASSERT_TRUE(CId3v1Tag::FieldBytes("Mot\xC3\xB6rhead", bytes));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data()), 10), "Mot\xF6rhead\0"s);
    ASSERT_TRUE(CId3v1Tag::FieldBytes(std::string(29, 'x') + "\xC3\xA9\xC3\xA9", bytes));
    EXPECT_EQ(bytes[29], 0xE9);
    EXPECT_FALSE(CId3v1Tag::FieldBytes("\xE6\x97\xA5\xE6\x9C\xAC", bytes));
}

TEST(Id3v1TagTest, ParseTakesSongArtistAndAlbum) {
    Block block = TaggedBlock();
    Put(block, 3, "My Song");
    Put(block, 33, "The Artist");
    Put(block, 63, "An Album");
    Put(block, 93, "1999");
    Put(block, 97, "comment");
    block[127] = 17;
    CId3v1Tag tag;
    ASSERT_TRUE(tag.Parse(block.data(), block.size()));
    EXPECT_EQ(tag.GetSong(), "My Song\0"s);
    EXPECT_EQ(tag.GetArtist(), "The Artist\0"s);
    EXPECT_EQ(tag.GetAlbum(), "An Album\0"s);
}

TEST(Id3v1TagTest, FullFieldsDoNotRunIntoTheNextField) {
    Block block = TaggedBlock();
    Put(block, 3, std::string(30, 'S'));
    Put(block, 33, std::string(30, 'R'));
    Put(block, 63, std::string(30, 'L'));
    Put(block, 93, "1999");
    Put(block, 97, std::string(30, 'C'));
    CId3v1Tag tag;
    ASSERT_TRUE(tag.Parse(block.data(), block.size()));
    EXPECT_EQ(tag.GetSong(), std::string(30, 'S') + '\0');
    EXPECT_EQ(tag.GetArtist(), std::string(30, 'R') + '\0');
    EXPECT_EQ(tag.GetAlbum(), std::string(30, 'L') + '\0') << "the year is not part of the album";
}

TEST(Id3v1TagTest, AShortOrUnmarkedBlockLeavesTheTextsAlone) {
    Block block = TaggedBlock();
    Put(block, 3, "First");
    CId3v1Tag tag;
    ASSERT_TRUE(tag.Parse(block.data(), block.size()));
    EXPECT_FALSE(tag.Parse(block.data(), block.size() - 1));
    EXPECT_FALSE(tag.Parse(nullptr, 0));
    Block other{};
    Put(other, 3, "Second");
    EXPECT_FALSE(tag.Parse(other.data(), other.size()));
    EXPECT_EQ(tag.GetSong(), "First\0"s);
}

struct WriteCase {
    std::string text;
    std::string stored; // the first bytes of the field; zeros follow up to 30
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << Shown(c.text);
}

class Id3v1FieldBytesTest : public testing::TestWithParam<WriteCase> {};

TEST_P(Id3v1FieldBytesTest, AreTheFirstThirtyBytesThenZeros) {
    std::array<unsigned char, CId3v1Tag::kFieldSize> expected{};
    std::memcpy(expected.data(), GetParam().stored.data(), GetParam().stored.size());
    std::array<unsigned char, CId3v1Tag::kFieldSize> bytes{};
    ASSERT_TRUE(CId3v1Tag::FieldBytes(GetParam().text, bytes));
    EXPECT_EQ(bytes, expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Id3v1FieldBytesTest,
                         testing::Values(WriteCase{"Ab", "Ab"}, WriteCase{"", ""},
                                         WriteCase{std::string(30, 'x'), std::string(30, 'x')},
                                         WriteCase{"0123456789012345678901234567890123456789",
                                                   "012345678901234567890123456789"},
                                         WriteCase{"Song\0"s, "Song"}, WriteCase{"tail  ", "tail  "}));

} // namespace
