// The M3U reader and writer: what the loader gets from a play list, and what the writer leaves on disk.
#include "library/M3UWriter.h"
#include "library/MP3PlayList.h"

#include "M3UTestSupport.h"
#include "support/MediaFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

MediaEntry EntryAt(const std::string& path) {
    MediaEntry entry;
    entry.m_strPath = path;
    entry.m_strArtist = "Artist";
    entry.m_strSong = std::string("Song\0", 5);
    return entry;
}

class M3UReadWriteTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_folder.Path().empty()); }

    std::string WriteList(const std::string& name, const std::string& bytes) {
        std::string path = m_folder.PathOf(name);
        WriteBytes(path, bytes);
        return path;
    }

    CMediaFolder m_folder{"melodeck-m3u"};
};

TEST_F(M3UReadWriteTest, TwoEntriesAreWrittenAsHeaderAndCrLfLines) {
    std::string path = m_folder.PathOf("two.m3u");
    CScriptedTextFile textFile(path);
    EXPECT_EQ(WriteM3U({EntryAt("C:\\Music\\a.mp3"), EntryAt("D:\\More Music\\b.wav")}, textFile),
              M3UWriteResult::kWritten);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nC:\\Music\\a.mp3\r\nD:\\More Music\\b.wav\r\n");
    ASSERT_EQ(textFile.m_questions.size(), 1u);
    EXPECT_TRUE(textFile.m_questions[0].save);
}

TEST_F(M3UReadWriteTest, AWrittenListReadsBackAsTheSamePaths) {
    std::string path = m_folder.PathOf("round.m3u");
    CScriptedTextFile textFile(path);
    ASSERT_EQ(WriteM3U({EntryAt("C:\\Music\\a.mp3"), EntryAt("D:\\More Music\\b.wav")}, textFile),
              M3UWriteResult::kWritten);
    LoadedPlayList loaded = LoadLikeTheLoader(path);
    EXPECT_EQ(loaded.count, 3);
    EXPECT_EQ(loaded.files, (Files{{"C:\\Music\\a.mp3", ".mp3"}, {"D:\\More Music\\b.wav", ".wav"}}));
    EXPECT_EQ(loaded.error, "");
}

TEST_F(M3UReadWriteTest, AnEmptyListIsJustTheHeader) {
    std::string path = m_folder.PathOf("empty.m3u");
    CScriptedTextFile textFile(path);
    EXPECT_EQ(WriteM3U({}, textFile), M3UWriteResult::kWritten);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\n");
}

TEST_F(M3UReadWriteTest, WritingToAnExistingListKeepsItsLinesInFront) {
    std::string path = WriteList("old.m3u", "#EXTM3U\r\nC:\\old.mp3\r\n");
    CScriptedTextFile textFile(path);
    ASSERT_EQ(WriteM3U({EntryAt("C:\\new.mp3")}, textFile), M3UWriteResult::kWritten);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nC:\\old.mp3\r\n#EXTM3U\r\nC:\\new.mp3\r\n");
    // The second header is a "#" line like any other to the loader.
    EXPECT_EQ(LoadLikeTheLoader(path).files, (Files{{"C:\\old.mp3", ".mp3"}, {"C:\\new.mp3", ".mp3"}}));
}

TEST_F(M3UReadWriteTest, CancellingTheSaveDialogWritesNothing) {
    CScriptedTextFile textFile("");
    EXPECT_EQ(WriteM3U({EntryAt("C:\\a.mp3")}, textFile), M3UWriteResult::kCancelled);
    EXPECT_EQ(textFile.m_questions.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path()));
}

TEST_F(M3UReadWriteTest, AFileThatCannotBeOpenedEndsTheWritingAsAFailure) {
    std::string path = m_folder.PathOf("missing-folder/list.m3u");
    CScriptedTextFile textFile(path);
    EXPECT_EQ(WriteM3U({EntryAt("C:\\a.mp3"), EntryAt("C:\\b.mp3")}, textFile), M3UWriteResult::kFailed);
    EXPECT_FALSE(textFile.m_strError.empty());
    EXPECT_EQ(textFile.m_questions.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(M3UReadWriteTest, WithoutAFileDialogTheProgramsWriterWritesNothing) {
    // Natively there is no dialog to choose a file with: the writer ends as cancelled.
    EXPECT_EQ(WriteM3U({EntryAt("C:\\a.mp3")}), M3UWriteResult::kCancelled);
}

TEST_F(M3UReadWriteTest, AHeaderlessListLosesItsFirstEntry) {
    std::string path = WriteList("noheader.m3u", "C:\\first.mp3\r\nC:\\second.mp3\r\n");
    LoadedPlayList loaded = LoadLikeTheLoader(path);
    EXPECT_EQ(loaded.files, (Files{{"C:\\second.mp3", ".mp3"}}));
    // The reader itself would name the first line; skipping it is the loader's rule.
    CMP3PlayList reader;
    ASSERT_EQ(reader.Open(path), 2);
    MediaEntry entry;
    std::string extension;
    EXPECT_EQ(reader.GetEntry(0, entry, extension), 1);
    EXPECT_EQ(entry.m_strPath, "C:\\first.mp3");
}

TEST_F(M3UReadWriteTest, HashLinesAreSkippedWhereverTheyStand) {
    std::string path = WriteList("extinf.m3u", "#EXTM3U\r\n#EXTINF:215,A - B\r\nC:\\a.mp3\r\n#comment\r\n"
                                               "C:\\b.wma\r\n#\r\n");
    EXPECT_EQ(LoadLikeTheLoader(path).files, (Files{{"C:\\a.mp3", ".mp3"}, {"C:\\b.wma", ".wma"}}));
}

TEST_F(M3UReadWriteTest, LfOnlyListsAndALastLineWithoutEndAreRead) {
    std::string path = WriteList("unix.m3u", "#EXTM3U\nC:\\a.mp3\n\nC:\\b.cda");
    LoadedPlayList loaded = LoadLikeTheLoader(path);
    EXPECT_EQ(loaded.count, 4);
    EXPECT_EQ(loaded.files, (Files{{"C:\\a.mp3", ".mp3"}, {"C:\\b.cda", ".cda"}}));
}

TEST_F(M3UReadWriteTest, EntriesAreNotFilteredByExtension) {
    std::string path = WriteList("any.m3u", "#EXTM3U\r\nC:\\notes.txt\r\nC:\\song.flac\r\nC:\\x\r\n");
    EXPECT_EQ(LoadLikeTheLoader(path).files,
              (Files{{"C:\\notes.txt", ".txt"}, {"C:\\song.flac", "flac"}, {"C:\\x", "C:\\x"}}));
}

TEST_F(M3UReadWriteTest, AFileWithoutLinesThrowsAndTheLoaderAddsNothing) {
    std::string path = WriteList("empty.m3u", "");
    CMP3PlayList reader;
    EXPECT_THROW(reader.Open(path), CInvalidArgException);
    LoadedPlayList loaded = LoadLikeTheLoader(path);
    EXPECT_TRUE(loaded.files.empty());
    EXPECT_FALSE(loaded.error.empty());
}

TEST_F(M3UReadWriteTest, AnUnreadableListGivesMinusOneWithTheReason) {
    CMP3PlayList reader;
    EXPECT_EQ(reader.Open(m_folder.PathOf("missing.m3u")), -1);
    EXPECT_FALSE(reader.m_strError.empty());
    EXPECT_EQ(reader.GetCount(), 0);
    EXPECT_TRUE(LoadLikeTheLoader(m_folder.PathOf("missing.m3u")).files.empty());
}

TEST_F(M3UReadWriteTest, ReopeningReplacesTheLinesAndClearsTheError) {
    CMP3PlayList reader;
    ASSERT_EQ(reader.Open(m_folder.PathOf("missing.m3u")), -1);
    std::string path = WriteList("second.m3u", "#EXTM3U\r\nC:\\b.mp3\r\n");
    EXPECT_EQ(reader.Open(path), 2);
    EXPECT_EQ(reader.m_strError, "");
    EXPECT_EQ(reader.m_lines, (std::vector<std::string>{"#EXTM3U", "C:\\b.mp3"}));
}

TEST(MP3PlayListTest, RelativeLinesJoinTheListsDirectory) {
    // The lines of a list read from D:\Lists.
    CMP3PlayList reader;
    reader.m_lines = {"#EXTM3U", "a.mp3", "", "sub\\b.wav", "C:\\x\\c.mp3"};
    reader.m_strDirectory = "D:\\Lists";
    Files files;
    for (int i = 1; i < reader.GetCount(); ++i) {
        MediaEntry entry;
        std::string extension;
        if (reader.GetEntry(i, entry, extension)) files.emplace_back(entry.m_strPath, extension);
    }
    EXPECT_EQ(
        files,
        (Files{{"D:\\Lists\\a.mp3", ".mp3"}, {"D:\\Lists\\sub\\b.wav", ".wav"}, {"C:\\x\\c.mp3", ".mp3"}}));
}

TEST(MP3PlayListTest, AnEntryCarriesOnlyItsPath) {
    CMP3PlayList reader;
    reader.m_lines = {"#EXTM3U", "C:\\a.mp3"};
    MediaEntry entry = EntryAt("stale");
    std::string extension;
    ASSERT_EQ(reader.GetEntry(1, entry, extension), 1);
    MediaEntry expected;
    expected.m_strPath = "C:\\a.mp3";
    EXPECT_EQ(entry, expected);
}

TEST(MP3PlayListTest, ASkippedLineLeavesTheOutputsAlone) {
    CMP3PlayList reader;
    reader.m_lines = {"#EXTM3U", ""};
    MediaEntry entry = EntryAt("kept");
    std::string extension = "kept";
    EXPECT_EQ(reader.GetEntry(0, entry, extension), 0);
    EXPECT_EQ(reader.GetEntry(1, entry, extension), 0);
    EXPECT_EQ(entry, EntryAt("kept"));
    EXPECT_EQ(extension, "kept");
}

TEST(MP3PlayListTest, AnIndexOutsideTheLinesThrows) {
    CMP3PlayList reader;
    reader.m_lines = {"#EXTM3U", "C:\\a.mp3"};
    MediaEntry entry;
    std::string extension;
    EXPECT_THROW(reader.GetEntry(-1, entry, extension), CInvalidArgException);
    EXPECT_THROW(reader.GetEntry(2, entry, extension), CInvalidArgException);
    CMP3PlayList empty;
    EXPECT_THROW(empty.GetEntry(0, entry, extension), CInvalidArgException);
}

} // namespace
