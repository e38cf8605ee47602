#include "support/MelodeckProcess.h"

#include "framework/CodePage.h"

#include <commctrl.h>

#include <atomic>

#ifndef MELODECK_EXE_PATH
#error "MELODECK_EXE_PATH must name the program under test"
#endif

namespace {

std::atomic<int> g_nextFolder{0};

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

struct EnumState {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner == state->processId && (!state->visibleOnly || ::IsWindowVisible(hWnd)))
        state->windows->push_back(hWnd);
    return TRUE;
}

}  // namespace

CMelodeckProcess::CMelodeckProcess() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    m_strFolder = std::string(temp) + "melodeck-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(g_nextFolder++);
    RemoveFolder(m_strFolder);
    ::CreateDirectoryA(m_strFolder.c_str(), nullptr);
    ::CopyFileA(MELODECK_EXE_PATH, PathIn("Melodeck.exe").c_str(), FALSE);
}

CMelodeckProcess::~CMelodeckProcess() {
    Kill();
    RemoveFolder(m_strFolder);
}

bool CMelodeckProcess::Start(DWORD timeoutMs, const std::string& arguments) {
    Kill();
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string program = PathIn("Melodeck.exe");
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          m_strFolder.c_str(), &startup, &m_info))
        return false;
    ::WaitForInputIdle(m_info.hProcess, timeoutMs);
    bool found = WaitFor(
        [this] {
            for (HWND hWnd : TopLevelWindows(true))
                if (::GetDlgItem(hWnd, 1003)) {  // the Play button marks the player window
                    m_hPlayer = hWnd;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

bool CMelodeckProcess::Close(DWORD timeoutMs) {
    if (!m_info.hProcess) return false;
    if (m_hPlayer) ::PostMessageA(m_hPlayer, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

bool CMelodeckProcess::WaitForExit(DWORD timeoutMs) {
    if (!m_info.hProcess) return true;
    return WaitFor([this] { return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

DWORD CMelodeckProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_info.hProcess) ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

bool CMelodeckProcess::IsRunning() const {
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void CMelodeckProcess::Kill() {
    if (!m_info.hProcess) return;
    if (IsRunning()) {
        ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, 5000);
    }
    ::CloseHandle(m_info.hProcess);
    ::CloseHandle(m_info.hThread);
    m_info = PROCESS_INFORMATION{};
    m_hPlayer = nullptr;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly) {
    std::vector<HWND> windows;
    EnumState state{processId, visibleOnly, &windows};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return windows;
}

std::vector<HWND> CMelodeckProcess::TopLevelWindows(bool visibleOnly) const {
    return TopLevelWindowsOf(m_info.dwProcessId, visibleOnly);
}

HWND CMelodeckProcess::FindTopLevel(const std::string& caption, DWORD timeoutMs) const {
    HWND result = nullptr;
    WaitFor(
        [&] {
            for (HWND hWnd : TopLevelWindows(true)) {
                char text[256] = {};
                ::GetWindowTextA(hWnd, text, sizeof(text));
                if (caption == text) {
                    result = hWnd;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return result;
}

std::vector<std::vector<std::string>> ReadListRows(HWND list, DWORD processId) {
    std::vector<std::vector<std::string>> rows;
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return rows;
    const SIZE_T textSize = 1024;
    // Read in UTF-16, as a screen reader or any Unicode program would, and given in the test's UTF-8.
    void* remote =
        ::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + textSize * 2, MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        wchar_t* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
        int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            std::vector<std::string> texts;
            for (int column = 0; column < 3; ++column) {
                LVITEMW item{};
                item.iSubItem = column;
                item.pszText = remoteText;
                item.cchTextMax = static_cast<int>(textSize);
                ::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
                ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(remote));
                std::u16string text(textSize, u'\0');
                ::ReadProcessMemory(process, remoteText, &text[0], (textSize - 1) * 2, nullptr);
                texts.push_back(WideToUtf8(text.c_str()));
            }
            rows.push_back(texts);
        }
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return rows;
}
