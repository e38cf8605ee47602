// Saving through a temporary file: whatever fails, the previous file stays whole and nothing is left over.
// Runs against both system backends.
#include "library/SavedList.h"

#include "framework/File.h"
#include "framework/TestTempDir.h"
#include "library/SavedListTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace savedlist_test;
namespace fs = std::filesystem;

namespace {

const char kDiskFull[] = "There is not enough space on the disk.";

// A system file that fails at one stage as a full or failing disk would.
class CFailingFile : public CFile {
public:
    enum Stage { failWrite, failFlush, failClose };
    CFailingFile(Stage stage, size_t room) : m_stage(stage), m_nRoom(room) {}

    void Write(const void* buffer, size_t count) override {
        if (m_stage == failWrite && count > m_nRoom) {
            // What fits goes out first, as with a real disk that fills up halfway through a write.
            CFile::Write(buffer, m_nRoom);
            m_nRoom = 0;
            throw CFileException(kDiskFull, 112);
        }
        CFile::Write(buffer, count);
        if (m_stage == failWrite) m_nRoom -= count;
    }
    void Flush() override {
        if (m_stage == failFlush) throw CFileException(kDiskFull, 112);
        CFile::Flush();
    }
    void Close() override {
        CFile::Close();
        if (m_stage == failClose) throw CFileException(kDiskFull, 112);
    }

private:
    Stage m_stage;
    size_t m_nRoom;
};

class SavedListWriteTest : public testing::Test {
protected:
    void SetUp() override {
        m_strPath = m_dir.Path("Playlist.dat");
        ASSERT_TRUE(WriteSavedList(m_strPath, m_oldEntries, nullptr));
        m_oldBytes = CTestTempDir::ReadFile(m_strPath);
        ASSERT_FALSE(m_oldBytes.empty());
    }

    // The previous file is there, byte for byte, still loads, and no temporary file is left.
    void ExpectOldFileIntact() {
        EXPECT_EQ(CTestTempDir::ReadFile(m_strPath), m_oldBytes);
        EXPECT_EQ(LoadFile(m_strPath), m_oldEntries);
    }

    CTestTempDir m_dir;
    std::string m_strPath;
    std::vector<MediaEntry> m_oldEntries = MakeEntries(10);
    std::vector<MediaEntry> m_newEntries = MakeEntries(2000, 30);
    Bytes m_oldBytes;
};

} // namespace

struct FailureCase {
    const char* name;
    CFailingFile::Stage stage;
    size_t room;
};

void PrintTo(const FailureCase& param, std::ostream* os) {
    *os << param.name;
}

class SavedListFailingDiskTest : public SavedListWriteTest,
                                 public testing::WithParamInterface<FailureCase> {};

TEST_P(SavedListFailingDiskTest, KeepsThePreviousFileAndRemovesTheTemporaryOne) {
    SavedListWriteOptions options;
    options.fnMakeFile = [this] { return std::make_unique<CFailingFile>(GetParam().stage, GetParam().room); };
    std::string error;
    EXPECT_FALSE(WriteSavedList(m_strPath, m_newEntries, &error, options));
    EXPECT_EQ(error, kDiskFull);
    ExpectOldFileIntact();
    EXPECT_FALSE(fs::exists(SavedListTempPath(m_strPath)));
}

INSTANTIATE_TEST_SUITE_P(Stages, SavedListFailingDiskTest,
                         testing::Values(FailureCase{"FullAtOnce", CFailingFile::failWrite, 0},
                                         FailureCase{"FullHalfway", CFailingFile::failWrite, 40000},
                                         FailureCase{"FlushFails", CFailingFile::failFlush, 0},
                                         FailureCase{"CloseFails", CFailingFile::failClose, 0}),
                         [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(SavedListWriteTest, AReadOnlyFileIsReportedAndLeftAlone) {
    fs::permissions(m_strPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    std::string error;
    EXPECT_FALSE(WriteSavedList(m_strPath, m_newEntries, &error));
    EXPECT_FALSE(error.empty());
    ExpectOldFileIntact();
    EXPECT_FALSE(fs::exists(SavedListTempPath(m_strPath)));
}

TEST_F(SavedListWriteTest, ATemporaryFileThatCannotBeCreatedIsReported) {
    fs::create_directory(SavedListTempPath(m_strPath));
    std::string error;
    EXPECT_FALSE(WriteSavedList(m_strPath, m_newEntries, &error));
    EXPECT_FALSE(error.empty());
    ExpectOldFileIntact();
    EXPECT_TRUE(fs::is_directory(SavedListTempPath(m_strPath))) << "what was in the way is not ours";
}

TEST_F(SavedListWriteTest, ASaveInProgressElsewhereIsNotDisturbed) {
    std::string tempPath = SavedListTempPath(m_strPath);
    CFile other;
    ASSERT_TRUE(other.Open(tempPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    other.Write("abc", 3);
    std::string error;
    EXPECT_FALSE(WriteSavedList(m_strPath, m_newEntries, &error));
    EXPECT_FALSE(error.empty());
    other.Close();
    EXPECT_EQ(CTestTempDir::ReadFile(tempPath), (Bytes{'a', 'b', 'c'}));
    EXPECT_EQ(CTestTempDir::ReadFile(m_strPath), m_oldBytes);
}

TEST_F(SavedListWriteTest, ATargetThatCannotBeReplacedIsReported) {
    std::string folder = m_dir.Path("Queue.dat");
    fs::create_directory(folder);
    fs::create_directory(folder + "/inside");
    std::string error;
    EXPECT_FALSE(WriteSavedList(folder, m_newEntries, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(folder + "/inside"));
    EXPECT_FALSE(fs::exists(SavedListTempPath(folder)));
}

TEST_F(SavedListWriteTest, ATemporaryFileLeftByACrashIsTakenOver) {
    std::string tempPath = SavedListTempPath(m_strPath);
    m_dir.WriteFile("Playlist.dat.tmp", Bytes(5000, 0xAB));
    std::string error;
    ASSERT_TRUE(WriteSavedList(m_strPath, m_newEntries, &error)) << error;
    EXPECT_EQ(LoadFile(m_strPath), m_newEntries);
    EXPECT_EQ(CTestTempDir::ReadFile(m_strPath), Store(m_newEntries));
    EXPECT_FALSE(fs::exists(tempPath));
}

TEST_F(SavedListWriteTest, ProgressIsReportedPerRecord) {
    std::vector<size_t> written;
    SavedListWriteOptions options;
    options.fnProgress = [&](size_t done, size_t total) {
        EXPECT_EQ(total, 3u);
        written.push_back(done);
    };
    ASSERT_TRUE(WriteSavedList(m_strPath, MakeEntries(3), nullptr, options));
    EXPECT_EQ(written, (std::vector<size_t>{1, 2, 3}));
}

TEST(SavedListErrorTextTest, NamesTheFixedTextTheFileAndTheReason) {
    EXPECT_EQ(SavedListErrorText("Queue.dat", "Access denied."),
              "Error Writting to disk\nQueue.dat\nAccess denied.");
    EXPECT_EQ(SavedListErrorText("Playlist.dat", ""), "Error Writting to disk\nPlaylist.dat");
}

class ReplaceFileWithTest : public testing::Test {
protected:
    CTestTempDir m_dir;
};

TEST_F(ReplaceFileWithTest, PutsTheSourceInPlaceOfTheTarget) {
    std::string target = m_dir.WriteFile("target", Bytes{1, 2, 3, 4, 5});
    std::string source = m_dir.WriteFile("source", Bytes{9});
    std::string error;
    ASSERT_TRUE(ReplaceFileWith(target, source, &error)) << error;
    EXPECT_EQ(CTestTempDir::ReadFile(target), Bytes{9});
    EXPECT_FALSE(fs::exists(source));
    // A target that does not exist yet is simply created.
    std::string fresh = m_dir.Path("fresh");
    source = m_dir.WriteFile("source", Bytes{7, 7});
    ASSERT_TRUE(ReplaceFileWith(fresh, source, &error)) << error;
    EXPECT_EQ(CTestTempDir::ReadFile(fresh), (Bytes{7, 7}));
}

TEST_F(ReplaceFileWithTest, AMissingSourceLeavesTheTarget) {
    std::string target = m_dir.WriteFile("target", Bytes{1, 2, 3});
    std::string error;
    EXPECT_FALSE(ReplaceFileWith(target, m_dir.Path("missing"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(CTestTempDir::ReadFile(target), (Bytes{1, 2, 3}));
}

TEST_F(ReplaceFileWithTest, AReadOnlyTargetIsRefused) {
    std::string target = m_dir.WriteFile("target", Bytes{1, 2, 3});
    std::string source = m_dir.WriteFile("source", Bytes{9});
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::string error;
    EXPECT_FALSE(ReplaceFileWith(target, source, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(CTestTempDir::ReadFile(target), (Bytes{1, 2, 3}));
    EXPECT_EQ(CTestTempDir::ReadFile(source), Bytes{9});
}
