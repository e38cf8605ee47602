#pragma once
// Reaching into another process's windows for end-to-end tests: memory in that process for messages
// whose parameters point at data, row states of its list views, and its message boxes.
#include <windows.h>

#include <string>

// A block of memory in another process.
class CRemoteMemory {
public:
    CRemoteMemory(DWORD processId, size_t size)
        : m_hProcess(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {
        if (m_hProcess) m_pData = ::VirtualAllocEx(m_hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~CRemoteMemory() {
        if (m_pData) ::VirtualFreeEx(m_hProcess, m_pData, 0, MEM_RELEASE);
        if (m_hProcess) ::CloseHandle(m_hProcess);
    }
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    bool IsValid() const { return m_pData != nullptr; }
    bool Write(const void* data, size_t size) const {
        return ::WriteProcessMemory(m_hProcess, m_pData, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, size_t size) const {
        return ::ReadProcessMemory(m_hProcess, m_pData, data, size, nullptr) != FALSE;
    }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_pData); }

private:
    HANDLE m_hProcess;
    void* m_pData = nullptr;
};

// Sets or clears the selected state of one row (-1: every row) of another process's list view.
bool SetRowSelected(HWND list, DWORD processId, int row, bool selected);

// The text of the next message box of the process (a dialog with the caption and the box's text
// control, and no Play button: not the player window), read once it shows, after which it is closed
// with OK; empty when none shows in time.
std::string CloseNextMessageBox(DWORD processId, const std::string& caption = "Melodeck", DWORD timeoutMs = 15000);
