// A save that is killed halfway, or that runs into the file size limit of the system, leaves the previous
// file complete. Real processes: the saving child is forked and killed with SIGKILL.
#include "library/SavedList.h"

#include "framework/TestTempDir.h"
#include "library/SavedListTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace savedlist_test;
namespace fs = std::filesystem;

namespace {

// Waits for the child's report on the pipe; false when it ended or stayed silent for a minute.
bool ReadFromChild(int fd, std::string& text) {
    text.clear();
    char buffer[512];
    for (;;) {
        pollfd poller{fd, POLLIN, 0};
        int ready = ::poll(&poller, 1, 60000);
        if (ready <= 0) return !text.empty();
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return !text.empty();
        text.append(buffer, static_cast<size_t>(n));
        if (text.back() == '\n') return true;
    }
}

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

class SavedListProcessTest : public testing::Test {
protected:
    void SetUp() override {
        m_strPath = m_dir.Path("Playlist.dat");
        ASSERT_TRUE(WriteSavedList(m_strPath, m_oldEntries, nullptr));
        m_oldBytes = CTestTempDir::ReadFile(m_strPath);
    }

    // Runs fnChild in a forked process with a pipe to report on; returns the child's id.
    template <typename F> pid_t Fork(F fnChild, int& readFd) {
        int fds[2];
        if (::pipe(fds) != 0) return -1;
        pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            fnChild(fds[1]);
            ::_exit(0);
        }
        ::close(fds[1]);
        readFd = fds[0];
        return child;
    }

    CTestTempDir m_dir;
    std::string m_strPath;
    std::vector<MediaEntry> m_oldEntries = MakeEntries(50);
    // Large enough that a good part of it is in the temporary file when the save is stopped.
    std::vector<MediaEntry> m_newEntries = MakeEntries(20000, 60);
    Bytes m_oldBytes;
};

} // namespace

TEST_F(SavedListProcessTest, KillingASaveHalfwayLeavesThePreviousFileComplete) {
    int readFd = -1;
    const std::vector<MediaEntry>& entries = m_newEntries;
    const std::string path = m_strPath;
    pid_t child = Fork(
        [&](int writeFd) {
            SavedListWriteOptions options;
            options.fnProgress = [writeFd](size_t written, size_t total) {
                if (written != total / 2) return;
                WriteAll(writeFd, "paused\n");
                for (;;)
                    ::pause();
            };
            WriteSavedList(path, entries, nullptr, options);
            WriteAll(writeFd, "finished\n");
        },
        readFd);
    ASSERT_GT(child, 0);
    std::string report;
    bool heard = ReadFromChild(readFd, report);
    ::close(readFd);

    std::string tempPath = SavedListTempPath(m_strPath);
    uintmax_t partial = fs::exists(tempPath) ? fs::file_size(tempPath) : 0;
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(heard);
    ASSERT_EQ(report, "paused\n");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_GT(partial, 0u) << "the child had written part of its records";
    EXPECT_LT(partial, Store(m_newEntries).size());

    EXPECT_EQ(CTestTempDir::ReadFile(m_strPath), m_oldBytes);
    EXPECT_EQ(LoadFile(m_strPath), m_oldEntries);

    // The next save takes over what the killed one left behind.
    std::string error;
    ASSERT_TRUE(WriteSavedList(m_strPath, m_newEntries, &error)) << error;
    EXPECT_EQ(LoadFile(m_strPath), m_newEntries);
    EXPECT_FALSE(fs::exists(tempPath));
}

TEST_F(SavedListProcessTest, AFileSizeLimitReachedWhileSavingKeepsThePreviousFile) {
    int readFd = -1;
    const std::vector<MediaEntry>& entries = m_newEntries;
    const std::string path = m_strPath;
    pid_t child = Fork(
        [&](int writeFd) {
            // Past the limit writes fail with EFBIG, as they fail with ENOSPC on a full disk.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::string error;
            bool saved = WriteSavedList(path, entries, &error);
            WriteAll(writeFd, (saved ? "saved:" : "failed:") + error + "\n");
        },
        readFd);
    ASSERT_GT(child, 0);
    std::string report;
    bool heard = ReadFromChild(readFd, report);
    ::close(readFd);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(heard);
    EXPECT_EQ(report, "failed:" + std::string(std::strerror(EFBIG)) + "\n");
    EXPECT_EQ(CTestTempDir::ReadFile(m_strPath), m_oldBytes);
    EXPECT_EQ(LoadFile(m_strPath), m_oldEntries);
    EXPECT_FALSE(fs::exists(SavedListTempPath(m_strPath)));
}
