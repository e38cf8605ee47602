// A save that is terminated halfway leaves the previous file complete. The test program starts itself as
// the saving child (with kChildFlag on its command line), waits until the child is halfway through its
// temporary file, and ends it with TerminateProcess.
#include "library/SavedList.h"

#include "framework/TestTempDir.h"
#include "library/SavedListTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

using namespace savedlist_test;

namespace {

const char kChildFlag[] = "--saved-list-saving-child";
const char kTargetVariable[] = "MELODECK_SAVED_LIST_TARGET";
const char kReadyVariable[] = "MELODECK_SAVED_LIST_READY";

std::vector<MediaEntry> NewEntries() {
    // Large enough that a good part of it is in the temporary file when the save is stopped.
    return MakeEntries(20000, 60);
}

std::string Variable(const char* name) {
    char buffer[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// The child: saves the large list and, halfway, signals the parent and waits to be terminated. Runs before
// the tests are even registered, so the child never enters the test framework.
struct CSavingChild {
    CSavingChild() {
        if (!std::strstr(GetCommandLineA(), kChildFlag)) return;
        std::string target = Variable(kTargetVariable);
        HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, Variable(kReadyVariable).c_str());
        if (target.empty() || !ready) ExitProcess(3);
        SavedListWriteOptions options;
        options.fnProgress = [ready](size_t written, size_t total) {
            if (written != total / 2) return;
            SetEvent(ready);
            Sleep(INFINITE);
        };
        WriteSavedList(target, NewEntries(), nullptr, options);
        ExitProcess(2);
    }
} g_savingChild;

// Owns a kernel handle.
class CHandle {
public:
    explicit CHandle(HANDLE handle = nullptr) : m_handle(handle) {}
    ~CHandle() {
        if (m_handle) CloseHandle(m_handle);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

TEST(SavedListTerminateTest, TerminatingASaveHalfwayLeavesThePreviousFileComplete) {
    CTestTempDir dir;
    std::string path = dir.Path("Queue.dat");
    std::vector<MediaEntry> oldEntries = MakeEntries(50);
    ASSERT_TRUE(WriteSavedList(path, oldEntries, nullptr));
    Bytes oldBytes = CTestTempDir::ReadFile(path);

    std::string eventName = "MelodeckSavedListReady-" + std::to_string(GetCurrentProcessId());
    CHandle ready(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(ready.Get());
    SetEnvironmentVariableA(kTargetVariable, path.c_str());
    SetEnvironmentVariableA(kReadyVariable, eventName.c_str());

    char module[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, module, MAX_PATH), 0u);
    std::string commandLine = "\"" + std::string(module) + "\" " + kChildFlag;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(module, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << GetLastError();
    CHandle processHandle(process.hProcess);
    CHandle threadHandle(process.hThread);

    HANDLE waits[2] = {ready.Get(), process.hProcess};
    DWORD woken = WaitForMultipleObjects(2, waits, FALSE, 120000);
    std::string tempPath = SavedListTempPath(path);
    ULONGLONG partial = FileSize(tempPath);
    TerminateProcess(process.hProcess, 9);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    ASSERT_EQ(woken, WAIT_OBJECT_0) << "the child ended first with code " << exitCode;
    EXPECT_EQ(exitCode, 9u);
    EXPECT_GT(partial, 0u) << "the child had written part of its records";
    EXPECT_LT(partial, Store(NewEntries()).size());

    EXPECT_EQ(CTestTempDir::ReadFile(path), oldBytes);
    EXPECT_EQ(LoadFile(path), oldEntries);

    // The next save takes over what the terminated one left behind.
    std::string error;
    ASSERT_TRUE(WriteSavedList(path, NewEntries(), &error)) << error;
    EXPECT_EQ(LoadFile(path), NewEntries());
    EXPECT_EQ(GetFileAttributesA(tempPath.c_str()), INVALID_FILE_ATTRIBUTES);
}
