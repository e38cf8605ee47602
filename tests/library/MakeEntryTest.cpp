// The rule that turns a found file into an entry, on real files in a per-test folder.
#include "library/MakeEntry.h"

#include "framework/File.h"
#include "framework/TestTempDir.h"
#include "library/MP3TagFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

using namespace std::string_literals;
using Bytes = std::vector<unsigned char>;

Bytes TaggedFile(const std::string& song, const std::string& artist, const std::string& album) {
    Bytes bytes(64, 0x55);
    Bytes block(128, 0);
    std::memcpy(block.data(), "TAG", 3);
    std::memcpy(block.data() + 3, song.data(), song.size());
    std::memcpy(block.data() + 33, artist.data(), artist.size());
    std::memcpy(block.data() + 63, album.data(), album.size());
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

class MakeEntryTest : public testing::Test {
protected:
    CTestTempDir m_dir;
};

class Mp3ExtensionTest : public MakeEntryTest, public testing::WithParamInterface<std::string> {};

TEST_P(Mp3ExtensionTest, ReadsTheTagOfAnMp3) {
    std::string path = m_dir.WriteFile("tagged.mp3", TaggedFile("Song", "Artist", "Album"));
    MediaEntry entry = MakeEntry(path, "tagged.mp3", GetParam());
    EXPECT_EQ(entry, (MediaEntry{path, "", "Artist\0"s, "Album\0"s, "Song\0"s}));
}

INSTANTIATE_TEST_SUITE_P(Extensions, Mp3ExtensionTest,
                         testing::Values("mp3", ".mp3", ".MP3", ".Mp3", "MP3", ".mP3"));

// A version 2.3 tag with title, artist and album frames in Latin-1, before 64 bytes of "audio".
Bytes Version2File(const std::string& song, const std::string& artist, const std::string& album) {
    std::string frames;
    for (const auto& [id, text] : {std::pair{"TIT2", song}, {"TPE1", artist}, {"TALB", album}})
        frames += id + "\0\0\0"s + static_cast<char>(text.size() + 1) + "\0\0\0"s + text;
    std::string tag = "ID3\3\0\0\0\0\0"s + static_cast<char>(frames.size()) + frames;
    Bytes bytes(tag.begin(), tag.end());
    bytes.insert(bytes.end(), 64, 0x55);
    return bytes;
}

TEST_F(MakeEntryTest, AFileWithOnlyAVersion2TagShowsItsTexts) {
    std::string path = m_dir.WriteFile("v2.mp3", Version2File("Song", "Artist", "Album"));
    EXPECT_EQ(MakeEntry(path, "v2.mp3", ".mp3"), (MediaEntry{path, "", "Artist\0"s, "Album\0"s, "Song\0"s}));
}

TEST_F(MakeEntryTest, AVersion1TagWinsOverAVersion2Tag) {
    Bytes bytes = Version2File("New", "New", "New");
    Bytes v1 = TaggedFile("Old", "Old", "Old");
    bytes.insert(bytes.end(), v1.begin(), v1.end());
    std::string path = m_dir.WriteFile("both.mp3", bytes);
    EXPECT_EQ(MakeEntry(path, "both.mp3", ".mp3"), (MediaEntry{path, "", "Old\0"s, "Old\0"s, "Old\0"s}));
}

class OtherExtensionTest : public MakeEntryTest, public testing::WithParamInterface<std::string> {};

TEST_P(OtherExtensionTest, NamesTheFileWithoutOpeningIt) {
    // Even a file with a valid tag block is not read, and a missing one is no error.
    std::string path = m_dir.WriteFile("tagged.bin", TaggedFile("Song", "Artist", "Album"));
    EXPECT_EQ(MakeEntry(path, "shown name", GetParam()), (MediaEntry{path, "", "", "", "shown name"}));
    std::string missing = m_dir.Path("missing" + GetParam());
    EXPECT_EQ(MakeEntry(missing, "missing", GetParam()), (MediaEntry{missing, "", "", "", "missing"}));
}

INSTANTIATE_TEST_SUITE_P(Extensions, OtherExtensionTest,
                         testing::Values(".mp3x", "mp3x", ".mp", "mp", "", ".", ".wma", ".WAV", ".cda",
                                         "..mp3", ".mp3 ", " mp3", "x.mp3"));

TEST_F(MakeEntryTest, AnMp3WithoutATagOrTitleShowsItsNameAsTheSong) {
    Bytes untagged(500, 0x11);
    std::string path = m_dir.WriteFile("plain.mp3", untagged);
    EXPECT_EQ(MakeEntry(path, "plain.mp3", ".mp3"), (MediaEntry{path, "", "", "", "plain"}));
    EXPECT_EQ(CTestTempDir::ReadFile(path), untagged) << "reading the tag changes nothing";

    Bytes shortFile = TaggedFile("S", "A", "L");
    shortFile.erase(shortFile.begin(), shortFile.end() - 127);
    std::string shortPath = m_dir.WriteFile("short.mp3", shortFile);
    EXPECT_EQ(MakeEntry(shortPath, "short", "mp3"), (MediaEntry{shortPath, "", "", "", "short"}));

    std::string untitled = m_dir.WriteFile("untitled.mp3", TaggedFile("", "Artist", ""));
    EXPECT_EQ(MakeEntry(untitled, untitled, ".mp3"), (MediaEntry{untitled, "", "Artist\0"s, "\0"s, "untitled"}));
}

TEST(SongFromNameTest, TakesTheLastPathPartWithoutItsExtension) {
    for (const auto& [name, song] : {std::pair{"01 Intro.wav", "01 Intro"}, {"C:\\Music\\a.b.mp3", "a.b"},
                                     {"D:/x/Track01.cda", "Track01"}, {"noext", "noext"}, {".mp3", ".mp3"},
                                     {"C:\\dir.d\\file", "file"}})
        EXPECT_EQ(SongFromName(name), song) << name;
}

TEST_F(MakeEntryTest, AnMp3ThatCannotBeOpenedShowsTheError) {
    std::string missing = m_dir.Path("gone.mp3");
    EXPECT_EQ(MakeEntry(missing, missing, ".mp3"), (MediaEntry{missing, "", "", "Error Opening File", "gone"}));
    EXPECT_EQ(MakeEntry(m_dir.Path(""), "folder", ".mp3").m_strAlbum, "Error Opening File");
}

// A scan reads beside the player and other readers or writers, and on read-only files; only a tag
// being edited (held alone) keeps it out.
TEST_F(MakeEntryTest, AnMp3OpenElsewhereOrReadOnlyIsStillReadButNotOneBeingEdited) {
    std::string path = m_dir.WriteFile("busy.mp3", TaggedFile("Song", "Artist", "Album"));
    const MediaEntry tagged{path, "", "Artist\0"s, "Album\0"s, "Song\0"s};
    {
        CFile player;
        ASSERT_TRUE(player.Open(path, CFile::modeReadWrite | CFile::shareDenyNone));
        EXPECT_EQ(MakeEntry(path, "busy", ".mp3"), tagged);
    }
    {
        CMP3TagFile editor;
        ASSERT_TRUE(editor.OpenToEdit(path));
        EXPECT_EQ(MakeEntry(path, "busy", ".mp3").m_strAlbum, "Error Opening File");
    }
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(MakeEntry(path, "busy", ".mp3"), tagged);
    ::chmod(path.c_str(), 0644);
}

TEST_F(MakeEntryTest, TheTagFileIsClosedAfterwards) {
    std::string path = m_dir.WriteFile("closed.mp3", TaggedFile("Song", "Artist", "Album"));
    MakeEntry(path, "closed", ".mp3");
    CFile probe;
    EXPECT_TRUE(probe.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
}

TEST(Mp3ExtensionRuleTest, AcceptsMp3WithOrWithoutTheDotInAnyCase) {
    for (const char* yes : {"mp3", ".mp3", "MP3", ".MP3", ".Mp3", "mP3"})
        EXPECT_TRUE(IsMp3Extension(yes)) << yes;
    for (const char* no : {"", ".", "mp", ".mp3x", "mp33", ".mp4", "..mp3", " .mp3"})
        EXPECT_FALSE(IsMp3Extension(no)) << no;
    EXPECT_FALSE(IsMp3Extension("mp3\0"s)) << "a zero character is part of the text";
}

} // namespace
