// The M3U reader and writer: what the loader gets from a play list, and what the writer leaves on disk.
#include "library/M3UWriter.h"
#include "library/MP3PlayList.h"

#include "M3UTestSupport.h"
#include "support/MediaFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
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

// Names the legacy code page holds are written in it, for every other player; a list with any other name
// is written in UTF-8 with a byte-order mark. Both read back as the same names.
TEST_F(M3UReadWriteTest, NamesAreWrittenInTheLegacyCodePageOrElseInUtf8) {
    const std::string cafe = "C:\\Caf\xC3\xA9.mp3";
    const std::string japanese = "C:\\\xE6\x97\xA5\xE6\x9C\xAC.mp3";
    std::string legacy = m_folder.PathOf("legacy.m3u");
    CScriptedTextFile legacyFile(legacy);
    ASSERT_EQ(WriteM3U({EntryAt(cafe)}, legacyFile), M3UWriteResult::kWritten);
    EXPECT_EQ(ReadBytes(legacy), "#EXTM3U\r\nC:\\Caf\xE9.mp3\r\n");
    EXPECT_EQ(LoadLikeTheLoader(legacy).files, (Files{{cafe, ".mp3"}}));

    std::string utf8 = m_folder.PathOf("utf8.m3u");
    CScriptedTextFile utf8File(utf8);
    ASSERT_EQ(WriteM3U({EntryAt(cafe), EntryAt(japanese)}, utf8File), M3UWriteResult::kWritten);
    EXPECT_EQ(ReadBytes(utf8), "\xEF\xBB\xBF#EXTM3U\r\n" + cafe + "\r\n" + japanese + "\r\n");
    EXPECT_EQ(LoadLikeTheLoader(utf8).files, (Files{{cafe, ".mp3"}, {japanese, ".mp3"}}));
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

TEST_F(M3UReadWriteTest, AHeaderlessListKeepsItsFirstEntry) {
    std::string path = WriteList("noheader.m3u", "C:\\first.mp3\r\nC:\\second.mp3\r\n");
    EXPECT_EQ(LoadLikeTheLoader(path).files, (Files{{"C:\\first.mp3", ".mp3"}, {"C:\\second.mp3", ".mp3"}}));
}

struct EncodedCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const EncodedCase& param, std::ostream* out) {
    *out << param.name;
}

class M3UEncodingTest : public M3UReadWriteTest, public testing::WithParamInterface<EncodedCase> {};

// The same list as other programs write it: a header, a web address, and a name with an e acute, which
// the legacy code page (Windows-1252 natively) holds as the byte E9; it is read into UTF-8.
TEST_P(M3UEncodingTest, IsReadInTheCodePage) {
    std::string path = WriteList("encoded.m3u", GetParam().bytes);
    LoadedPlayList loaded = LoadLikeTheLoader(path);
    EXPECT_EQ(loaded.files, (Files{{"C:\\caf\xC3\xA9.mp3", ".mp3"}, {"C:\\b.wav", ".wav"}}));
    EXPECT_EQ(loaded.error, "");
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

const char kUtf8List[] = "#EXTM3U\r\nC:\\caf\xC3\xA9.mp3\r\nhttp://radio.example/stream.mp3\r\nC:\\b.wav\r\n";
const char16_t kWideList[] = u"#EXTM3U\r\nC:\\caf\u00E9.mp3\r\nhttp://radio.example/stream.mp3\r\nC:\\b.wav";

INSTANTIATE_TEST_SUITE_P(
    Forms, M3UEncodingTest,
    testing::Values(EncodedCase{"CodePage", "C:\\caf\xE9.mp3\nmms://radio.example/live\nC:\\b.wav\n"},
                    EncodedCase{"Utf8WithoutMark", kUtf8List},
                    EncodedCase{"Utf8WithMark", std::string("\xEF\xBB\xBF") + kUtf8List},
                    EncodedCase{"Utf16LittleEndian", Utf16(kWideList, false)},
                    EncodedCase{"Utf16BigEndian", Utf16(kWideList, true)}),
    [](const testing::TestParamInfo<EncodedCase>& info) { return std::string(info.param.name); });

TEST_F(M3UReadWriteTest, HashLinesAreSkippedWhereverTheyStand) {
    std::string path = WriteList("extinf.m3u", "#EXTM3U\r\n#EXTINF:215,A - B\r\nC:\\a.mp3\r\n#comment\r\n"
                                               "C:\\b.wma\r\n#\r\n");
    EXPECT_EQ(LoadLikeTheLoader(path).files, (Files{{"C:\\a.mp3", ".mp3"}, {"C:\\b.wma", ".wma"}}));
}

// As other programs write them: tab-indented "#EXTINF" lines, indented paths, blank-only lines.
TEST_F(M3UReadWriteTest, IndentedCommentsAreSkippedAndIndentedPathsTrimmed) {
    std::string path = WriteList("indented.m3u", "#EXTM3U\r\n\t\t#EXTINF:-1,A - B\r\n  C:\\a.mp3\r\n \t\r\n"
                                                 "\thttp://media.example/b.mp3\r\n");
    EXPECT_EQ(LoadLikeTheLoader(path).files, (Files{{"C:\\a.mp3", ".mp3"}}));
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
