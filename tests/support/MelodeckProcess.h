#pragma once
// Starts the real Melodeck.exe for end-to-end tests: a private copy in a fresh temporary folder,
// which is also its working directory, so that its INI file and saved lists never touch anyone's.
#include <windows.h>

#include <string>
#include <vector>

class CMelodeckProcess {
public:
    CMelodeckProcess();
    ~CMelodeckProcess();  // ends the process if still running and removes the folder
    CMelodeckProcess(const CMelodeckProcess&) = delete;
    CMelodeckProcess& operator=(const CMelodeckProcess&) = delete;

    // The folder holding the program copy; the working directory of every start.
    const std::string& Folder() const { return m_strFolder; }
    std::string PathIn(const std::string& name) const { return m_strFolder + "\\" + name; }

    // Starts the program and waits until its player window is up; false on failure or time-out.
    bool Start(DWORD timeoutMs = 20000, const std::string& arguments = std::string());
    // Asks the player window to close (as the close box does) and waits for the process to end.
    bool Close(DWORD timeoutMs = 20000);
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    bool IsRunning() const;
    void Kill();

    HWND Player() const { return m_hPlayer; }
    // A visible top-level window of the process with the caption; null when there is none in time.
    HWND FindTopLevel(const std::string& caption, DWORD timeoutMs = 5000) const;
    std::vector<HWND> TopLevelWindows(bool visibleOnly) const;
    DWORD ProcessId() const { return m_info.dwProcessId; }

private:
    std::string m_strFolder;
    PROCESS_INFORMATION m_info{};
    HWND m_hPlayer = nullptr;
};

// Waits for a condition, pumping this thread's messages; true when it became true in time.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start > timeoutMs) return condition();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(20);
    }
}

// The top-level windows of a process, in the system's order (only the visible ones when asked).
std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly);

// The texts of every row (columns 0 to 2) of a list view that belongs to another process.
std::vector<std::vector<std::string>> ReadListRows(HWND list, DWORD processId);
