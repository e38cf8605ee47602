// The file layer's contract, run against the system backend of each build (natively and under Wine).
#include "framework/Directory.h"
#include "framework/File.h"

#include "framework/TestTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<unsigned char> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<unsigned char> ReadAll(CFile& file) {
    std::vector<unsigned char> data(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    EXPECT_EQ(file.Read(data.data(), data.size()), data.size());
    return data;
}

class FileTest : public testing::Test {
protected:
    CTestTempDir m_dir;
};

TEST_F(FileTest, CreatedFileReadsBackWhatWasWritten) {
    std::string path = m_dir.Path("data.bin");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        EXPECT_TRUE(file.IsOpen());
        EXPECT_EQ(file.GetFilePath(), path);
        const unsigned char data[] = {0, 1, 2, 0xFF, 'x', 0};
        file.Write(data, sizeof data);
        EXPECT_EQ(file.GetLength(), sizeof data);
        file.Flush();
        file.Close();
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_EQ(CTestTempDir::ReadFile(path), (std::vector<unsigned char>{0, 1, 2, 0xFF, 'x', 0}));

    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::typeBinary));
    unsigned char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 6u) << "a read past the end returns what there is";
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u) << "at the end a read returns nothing";
}

TEST_F(FileTest, CreateEmptiesAnExistingFileUnlessNoTruncate) {
    std::string path = m_dir.WriteFile("old.bin", Bytes("0123456789"));
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        EXPECT_EQ(file.GetLength(), 10u);
        file.Write("ab", 2);
    }
    EXPECT_EQ(CTestTempDir::ReadFile(path), Bytes("ab23456789")) << "writes at the start, keeps the rest";
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_TRUE(CTestTempDir::ReadFile(path).empty());
}

TEST_F(FileTest, OpeningAMissingFileFailsWithTheSystemsText) {
    std::string path = m_dir.Path("missing.bin");
    CFile file;
    CFileException error("");
    EXPECT_FALSE(file.Open(path, CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.GetFilePath().empty());
    // ENOENT and ERROR_FILE_NOT_FOUND are both 2.
    EXPECT_EQ(error.m_nOsError, 2);
    EXPECT_FALSE(std::string(error.what()).empty());
#ifndef _WIN32
    EXPECT_EQ(std::string(error.what()), std::strerror(ENOENT));
#endif
    EXPECT_FALSE(file.Open(path, CFile::modeReadWrite)) << "no error object is needed";
    EXPECT_FALSE(file.Open(m_dir.Path("no-folder/x.bin"), CFile::modeCreate | CFile::modeWrite));
}

TEST_F(FileTest, AFolderIsNotAFile) {
    CFile file;
    EXPECT_FALSE(file.Open(m_dir.Path(""), CFile::modeRead));
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, ReopeningClosesTheFirstFile) {
    std::string first = m_dir.WriteFile("first.bin", Bytes("1"));
    std::string second = m_dir.WriteFile("second.bin", Bytes("22"));
    CFile file;
    ASSERT_TRUE(file.Open(first, CFile::modeReadWrite | CFile::shareExclusive));
    ASSERT_TRUE(file.Open(second, CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 2u);
    CFile other;
    EXPECT_TRUE(other.Open(first, CFile::modeReadWrite | CFile::shareExclusive)) << "first file still held";
}

TEST_F(FileTest, SeekMovesThePositionAndRefusesPositionsBeforeTheStart) {
    std::string path = m_dir.WriteFile("seek.bin", Bytes("abcdefghij"));
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
    EXPECT_EQ(file.Seek(2, CFile::current), 6u);
    EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
    char c = 0;
    EXPECT_EQ(file.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'h');
    EXPECT_EQ(file.GetPosition(), 8u);
    EXPECT_EQ(file.SeekToEnd(), 10u);
    EXPECT_EQ(file.SeekToBegin(), 0u);
    EXPECT_THROW(file.Seek(-11, CFile::end), CFileException);
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
}

TEST_F(FileTest, WritingPastTheEndFillsTheGapWithZeros) {
    std::string path = m_dir.Path("gap.bin");
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite));
    file.Write("a", 1);
    file.Seek(4, CFile::begin);
    file.Write("b", 1);
    EXPECT_EQ(ReadAll(file), (std::vector<unsigned char>{'a', 0, 0, 0, 'b'}));
}

TEST_F(FileTest, AFileOpenedForReadingRefusesWrites) {
    std::string path = m_dir.WriteFile("ro.bin", Bytes("keep"));
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeRead));
        EXPECT_THROW(file.Write("x", 1), CFileException);
    }
    EXPECT_EQ(CTestTempDir::ReadFile(path), Bytes("keep"));
}

TEST_F(FileTest, AFileOpenedForWritingRefusesReads) {
    std::string path = m_dir.WriteFile("wo.bin", Bytes("data"));
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeWrite | CFile::modeNoTruncate | CFile::modeCreate));
    char buffer[4];
    EXPECT_THROW(file.Read(buffer, sizeof buffer), CFileException);
}

TEST_F(FileTest, AClosedFileRefusesEveryOperation) {
    CFile file;
    char buffer[1] = {};
    EXPECT_FALSE(file.IsOpen());
    EXPECT_THROW(file.Read(buffer, 1), CFileException);
    EXPECT_THROW(file.Write(buffer, 1), CFileException);
    EXPECT_THROW(file.Seek(0, CFile::begin), CFileException);
    EXPECT_THROW(file.GetLength(), CFileException);
    EXPECT_THROW(file.Flush(), CFileException);
    EXPECT_NO_THROW(file.Close()) << "closing a closed file does nothing";
}

TEST_F(FileTest, MovingHandsTheOpenFileOver) {
    std::string path = m_dir.WriteFile("move.bin", Bytes("xyz"));
    CFile first;
    ASSERT_TRUE(first.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
    CFile second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(second.GetFilePath(), path);
    EXPECT_EQ(second.GetLength(), 3u);
    CFile third;
    third = std::move(second);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(third.GetLength(), 3u);
    CFile probe;
    EXPECT_FALSE(probe.Open(path, CFile::modeRead)) << "the moved file still holds it exclusively";
}

TEST_F(FileTest, TheDestructorReleasesTheFile) {
    std::string path = m_dir.WriteFile("scope.bin", Bytes("s"));
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
    }
    CFile again;
    EXPECT_TRUE(again.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
}

// An exclusive open keeps out every other open, whatever it asks for, until it is closed.
class ExclusiveOpenTest : public FileTest, public testing::WithParamInterface<unsigned> {};

TEST_P(ExclusiveOpenTest, AnExclusivelyOpenFileCannotBeOpenedAgain) {
    std::string path = m_dir.WriteFile("tag.mp3", Bytes("contents"));
    CFile holder;
    ASSERT_TRUE(holder.Open(path, CFile::modeReadWrite | CFile::typeBinary | CFile::shareExclusive));
    CFile second;
    CFileException error("");
    EXPECT_FALSE(second.Open(path, GetParam(), &error));
    EXPECT_FALSE(std::string(error.what()).empty());
    holder.Close();
    EXPECT_EQ(CTestTempDir::ReadFile(path), Bytes("contents")) << "a refused open changes nothing";
    EXPECT_TRUE(second.Open(path, GetParam()));
}

TEST_P(ExclusiveOpenTest, AnOpenFileCannotBeOpenedExclusively) {
    std::string path = m_dir.WriteFile("held.mp3", Bytes("contents"));
    CFile holder;
    ASSERT_TRUE(holder.Open(path, GetParam() & ~static_cast<unsigned>(CFile::shareExclusive) &
                                      ~static_cast<unsigned>(CFile::modeCreate)));
    CFile exclusive;
    EXPECT_FALSE(exclusive.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
    holder.Close();
    EXPECT_TRUE(exclusive.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
}

INSTANTIATE_TEST_SUITE_P(OpenModes, ExclusiveOpenTest,
                         testing::Values(unsigned{CFile::modeRead}, unsigned{CFile::modeWrite},
                                         unsigned{CFile::modeReadWrite},
                                         unsigned{CFile::modeRead | CFile::shareDenyNone},
                                         unsigned{CFile::modeReadWrite | CFile::shareExclusive},
                                         unsigned{CFile::modeCreate | CFile::modeWrite}));

TEST_F(FileTest, SharedOpensOfOneFileCoexist) {
    std::string path = m_dir.WriteFile("shared.bin", Bytes("abc"));
    CFile reader;
    CFile writer;
    ASSERT_TRUE(reader.Open(path, CFile::modeRead));
    ASSERT_TRUE(writer.Open(path, CFile::modeReadWrite));
    writer.Seek(0, CFile::end);
    writer.Write("d", 1);
    writer.Flush();
    EXPECT_EQ(ReadAll(reader), Bytes("abcd"));
}

TEST(MemFileTest, GrowsAsItIsWrittenAndReadsBackFromAnyPosition) {
    CMemFile file;
    EXPECT_TRUE(file.IsOpen());
    file.Write("abc", 3);
    file.Seek(5, CFile::begin);
    file.Write("z", 1);
    EXPECT_EQ(file.GetData(), (std::vector<unsigned char>{'a', 'b', 'c', 0, 0, 'z'}));
    EXPECT_EQ(file.Seek(-5, CFile::end), 1u);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(std::string(buffer, 2), "bc");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    file.Seek(1, CFile::begin);
    file.Write("XY", 2);
    EXPECT_EQ(file.GetData(), (std::vector<unsigned char>{'a', 'X', 'Y', 0, 0, 'z'}))
        << "overwrites in place";
}

TEST(MemFileTest, ReadsABufferItWasGiven) {
    const unsigned char data[] = {1, 2, 3};
    CMemFile file(data, sizeof data);
    EXPECT_EQ(file.GetLength(), 3u);
    EXPECT_EQ(file.GetPosition(), 0u);
    unsigned char buffer[3] = {};
    EXPECT_EQ(file.Read(buffer, 3), 3u);
    EXPECT_EQ(buffer[2], 3);
}

TEST(MemFileTest, RefusesPositionsBeforeTheStartAndOpeningByName) {
    CMemFile file(std::vector<unsigned char>{1, 2});
    EXPECT_THROW(file.Seek(-3, CFile::end), CFileException);
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
    EXPECT_EQ(file.GetPosition(), 0u) << "a refused seek leaves the position";
    CFileException error("");
    EXPECT_FALSE(file.Open("anything", CFile::modeRead, &error));
    EXPECT_FALSE(std::string(error.what()).empty());
}

TEST(MemFileTest, WritesBeyondItsLimitFailLikeAFullDisk) {
    CMemFile file;
    file.SetMaxLength(4);
    file.Write("abcd", 4);
    EXPECT_THROW(file.Write("e", 1), CFileException);
    EXPECT_EQ(file.GetLength(), 4u);
    file.Seek(2, CFile::begin);
    EXPECT_NO_THROW(file.Write("XY", 2)) << "overwriting within the limit is fine";
}

} // namespace

// Tags as Windows sets them: cloud placeholders (OneDrive), deduplication and tiered storage hold the
// folder itself; junctions and symbolic links lead elsewhere.
TEST(FolderWalkRuleTest, ReparsePointFoldersAreEnteredUnlessTheyAreNameSurrogates) {
    constexpr unsigned long kDirectory = 0x10, kReparse = 0x400, kHidden = 0x2;
    EXPECT_TRUE(IsFolderToWalk(kDirectory, 0));
    EXPECT_TRUE(IsFolderToWalk(kDirectory | kHidden, 0));
    EXPECT_FALSE(IsFolderToWalk(0x20, 0));
    for (unsigned long tag : {0x9000001Aul, 0x9000601Aul, 0x80000013ul, 0x8000001Eul, 0x00000123ul})
        EXPECT_TRUE(IsFolderToWalk(kDirectory | kReparse, tag)) << std::hex << tag;
    for (unsigned long tag : {0xA0000003ul, 0xA000000Cul, 0xA000001Dul, 0x20000123ul})
        EXPECT_FALSE(IsFolderToWalk(kDirectory | kReparse, tag)) << std::hex << tag;
    EXPECT_FALSE(IsFolderToWalk(kReparse | 0x20, 0x9000001Aul));
}
