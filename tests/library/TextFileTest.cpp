// CTextFile against real files: reading lines, appending bytes, and asking for a name only when none is
// given.
#include "library/TextFile.h"

#include "M3UTestSupport.h"
#include "support/MediaFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

class TextFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_folder.Path().empty()); }

    CMediaFolder m_folder{"melodeck-textfile"};
};

TEST_F(TextFileTest, ReadsEveryLineWithoutItsEnd) {
    std::string path = m_folder.PathOf("mixed.m3u");
    WriteBytes(path, "#EXTM3U\r\nC:\\a.mp3\nrel\\b.wav\r\n\r\nlast.mp3");
    CTextFile textFile("m3u", "\r\n", "");
    textFile.m_strError = "old error";
    std::string fileName = path;
    Lines lines{"stale"};
    ASSERT_TRUE(textFile.ReadLines(fileName, lines));
    EXPECT_EQ(lines, (Lines{"#EXTM3U", "C:\\a.mp3", "rel\\b.wav", "", "last.mp3"}));
    EXPECT_EQ(textFile.m_strError, "");
    EXPECT_EQ(textFile.m_strFileName, "mixed.m3u");
    EXPECT_EQ(std::filesystem::path(textFile.m_strFilePath), std::filesystem::canonical(path));
}

TEST_F(TextFileTest, AnEmptyFileHasNoLines) {
    std::string path = m_folder.PathOf("empty.m3u");
    WriteBytes(path, "");
    CTextFile textFile("m3u", "\r\n", "");
    Lines lines{"stale"};
    ASSERT_TRUE(textFile.ReadLines(path, lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(TextFileTest, AMissingFileGivesTheSystemsReason) {
    std::string path = m_folder.PathOf("missing.m3u");
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName = path;
    Lines lines;
    EXPECT_FALSE(textFile.ReadLines(fileName, lines));
    EXPECT_EQ(textFile.m_strError, std::strerror(ENOENT));
    EXPECT_EQ(textFile.m_strFilePath, path);
    EXPECT_EQ(textFile.m_strFileName, "");
}

TEST_F(TextFileTest, AFolderIsNotReadAsText) {
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName = m_folder.Path();
    Lines lines;
    EXPECT_FALSE(textFile.ReadLines(fileName, lines));
    EXPECT_FALSE(textFile.m_strError.empty());
}

TEST_F(TextFileTest, AFileBeyondTheSizeLimitIsRefusedUnread) {
    std::string path = m_folder.PathOf("huge.m3u");
    WriteBytes(path, "");
    // Sparse: no disk space is used and nothing needs to be read to refuse it.
    std::filesystem::resize_file(path, CTextFile::kMaxReadSize + 1);
    CTextFile textFile("m3u", "\r\n", "");
    Lines lines{"stale"};
    EXPECT_FALSE(textFile.ReadLines(path, lines));
    EXPECT_FALSE(textFile.m_strError.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(TextFileTest, ReadingWithoutANameAsksWithTheOpenDialog) {
    std::string path = m_folder.PathOf("chosen.m3u");
    WriteBytes(path, "#EXTM3U\r\nx.mp3\r\n");
    CScriptedTextFile textFile(path, "Prefix ");
    std::string fileName;
    Lines lines;
    ASSERT_TRUE(textFile.ReadLines(fileName, lines));
    ASSERT_EQ(textFile.m_questions.size(), 1u);
    EXPECT_FALSE(textFile.m_questions[0].save);
    EXPECT_EQ(textFile.m_questions[0].filterPrefix, "Prefix ");
    EXPECT_EQ(fileName, path);
    EXPECT_EQ(lines, (Lines{"#EXTM3U", "x.mp3"}));
}

TEST_F(TextFileTest, CancellingTheOpenDialogReadsNothing) {
    CScriptedTextFile textFile("");
    std::string fileName;
    Lines lines{"kept"};
    EXPECT_FALSE(textFile.ReadLines(fileName, lines));
    EXPECT_EQ(textFile.m_questions.size(), 1u);
    EXPECT_EQ(lines, Lines{"kept"});
    EXPECT_EQ(textFile.m_strError, "");
}

TEST_F(TextFileTest, AGivenNameIsReadWithoutAsking) {
    std::string path = m_folder.PathOf("given.m3u");
    WriteBytes(path, "a\n");
    CScriptedTextFile textFile("/elsewhere.m3u");
    Lines lines;
    ASSERT_TRUE(textFile.ReadLines(path, lines));
    EXPECT_TRUE(textFile.m_questions.empty());
}

TEST_F(TextFileTest, AppendingCreatesTheFileWithExactlyTheBytes) {
    std::string path = m_folder.PathOf("new.m3u");
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName = path;
    ASSERT_TRUE(textFile.AppendText(fileName, "no line end"));
    EXPECT_EQ(ReadBytes(path), "no line end");
}

TEST_F(TextFileTest, AppendingKeepsWhatIsThere) {
    std::string path = m_folder.PathOf("old.m3u");
    WriteBytes(path, "#EXTM3U\r\nold.mp3\r\n");
    CTextFile textFile("m3u", "\r\n", "");
    ASSERT_TRUE(textFile.AppendText(path, "#EXTM3U\r\n"));
    ASSERT_TRUE(textFile.AppendText(path, "z\0z\r\n"s));
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nold.mp3\r\n#EXTM3U\r\nz\0z\r\n"s);
}

TEST_F(TextFileTest, AppendingWithoutANameAsksOnceWithTheSaveDialog) {
    std::string path = m_folder.PathOf("asked.m3u");
    CScriptedTextFile textFile(path, "Prefix ");
    std::string fileName;
    ASSERT_TRUE(textFile.AppendText(fileName, "one\r\n"));
    EXPECT_EQ(fileName, path);
    ASSERT_TRUE(textFile.AppendText(fileName, "two\r\n"));
    ASSERT_EQ(textFile.m_questions.size(), 1u);
    EXPECT_TRUE(textFile.m_questions[0].save);
    EXPECT_EQ(textFile.m_questions[0].filterPrefix, "Prefix ");
    EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
}

TEST_F(TextFileTest, CancellingTheSaveDialogWritesNothing) {
    CScriptedTextFile textFile("");
    std::string fileName;
    EXPECT_FALSE(textFile.AppendText(fileName, "text"));
    EXPECT_EQ(fileName, "");
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path()));
}

TEST_F(TextFileTest, AppendingWhereNoFileCanBeGivesTheReason) {
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName = m_folder.PathOf("no-such-folder/list.m3u");
    EXPECT_FALSE(textFile.AppendText(fileName, "text"));
    EXPECT_EQ(textFile.m_strError, std::strerror(ENOENT));
    EXPECT_FALSE(std::filesystem::exists(fileName));
}

} // namespace
