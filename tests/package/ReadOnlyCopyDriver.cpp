// Drives a copy of Melodeck that runs from a folder its user cannot write, for readonly_copy_test.sh:
// the first start gets a file on its command line, puts it in the queue too and turns Always On Top
// on; after it closes, a second start must show the same play list, queue and option.
//   ReadOnlyCopyDriver PROGRAM FILE
// Prints what failed and ends with the count line; exits 1 on any failure.
#include "support/MelodeckProcess.h"
#include "support/RemoteList.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

int g_failed = 0;
int g_passed = 0;

void Check(bool ok, const char* what) {
    ++(ok ? g_passed : g_failed);
    if (!ok) std::printf("FAILED: %s\n", what);
}

struct Run {
    PROCESS_INFORMATION info{};
    HWND player = nullptr, playList = nullptr, queue = nullptr;
};

int Rows(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// Starts the program in its own folder, as a shortcut without a "Start in" folder of its own would.
bool Start(const std::string& program, const std::string& arguments, Run& run) {
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    std::string command = "\"" + program + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &run.info))
        return false;
    return WaitFor([&] {
        for (HWND hWnd : TopLevelWindowsOf(run.info.dwProcessId, true)) {
            char title[64] = {};
            ::GetWindowTextA(hWnd, title, sizeof(title));
            if (::GetDlgItem(hWnd, 1003)) run.player = hWnd;
            if (std::string(title) == "Play List") run.playList = ::GetDlgItem(hWnd, 1002);
            if (std::string(title) == "Queue") run.queue = ::GetDlgItem(hWnd, 1002);
        }
        return run.player && run.playList && run.queue;
    }, 60000);
}

// Closes the player; a message box (a failed save) would keep it from ending.
bool Close(Run& run) {
    ::PostMessageA(run.player, WM_CLOSE, 0, 0);
    const bool ended = ::WaitForSingleObject(run.info.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(run.info.hProcess, 1);
    ::CloseHandle(run.info.hThread);
    ::CloseHandle(run.info.hProcess);
    return ended;
}

bool IsTopmost(HWND hWnd) { return (::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: ReadOnlyCopyDriver PROGRAM FILE\n");
        return 2;
    }
    const std::string program = argv[1], file = argv[2];
    Run first;
    Check(Start(program, " \"" + file + "\"", first), "the first start shows its windows");
    if (first.player) {
        Check(WaitFor([&] { return Rows(first.playList) == 1; }, 30000), "the file is in the play list");
        Check(SetRowSelected(first.playList, first.info.dwProcessId, 0, true), "the row can be selected");
        ::PostMessageA(::GetParent(first.playList), WM_COMMAND, 32783 /* Add to Queue */, 0);
        Check(WaitFor([&] { return Rows(first.queue) == 1; }, 30000), "the file is in the queue");
        ::PostMessageA(first.player, WM_COMMAND, 32777 /* Always On Top */, 0);
        Check(WaitFor([&] { return IsTopmost(first.player); }, 10000), "Always On Top takes effect");
        Check(Close(first), "the first run ends without a message");
    }
    Run second;
    Check(Start(program, "", second), "the second start shows its windows");
    if (second.player) {
        Check(WaitFor([&] { return Rows(second.playList) == 1 && Rows(second.queue) == 1; }, 30000),
              "the play list and the queue come back");
        Check(IsTopmost(second.player), "Always On Top comes back");
        Check(Close(second), "the second run ends without a message");
    }
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
