#include "framework/Directory.h"

#include <windows.h>

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int count = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], count);
    return wide;
}

// False when the name has characters the ANSI code page cannot show.
bool Narrow(const wchar_t* name, std::string* narrow) {
    // A UTF-8 code page shows every name, and refuses the question.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* askLossy = utf8 ? nullptr : &lossy;
    int count = ::WideCharToMultiByte(CP_ACP, flags, name, -1, nullptr, 0, nullptr, askLossy);
    narrow->assign(count > 0 ? static_cast<size_t>(count - 1) : 0, '\0');
    if (count > 1) ::WideCharToMultiByte(CP_ACP, flags, name, -1, &(*narrow)[0], count, nullptr, askLossy);
    return !lossy;
}

struct FindCloser {
    HANDLE handle;
    ~FindCloser() { ::FindClose(handle); }
};

} // namespace

bool ForEachInDirectory(const std::string& folder,
                        const std::function<bool(const std::string& name, bool isDirectory)>& visit) {
    WIN32_FIND_DATAW data;
    const std::wstring wideFolder = Wide(folder);
    HANDLE find = ::FindFirstFileW((wideFolder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindCloser closer{find};
    do {
        std::string name;
        bool whole = Narrow(data.cFileName, &name);
        if (name == "." || name == "..") continue;
        // The rest of the program names files in the ANSI code page and within MAX_PATH: a name it
        // could not show, or one that would make the path too long to open, goes by its short name.
        // Counted in UTF-16 units, as the system counts: a UTF-8 name has more bytes than characters.
        const bool tooLong = wideFolder.size() + 1 + ::wcslen(data.cFileName) + kShortNameRoom >= MAX_PATH;
        if ((!whole || tooLong) && data.cAlternateFileName[0]) Narrow(data.cAlternateFileName, &name);
        const bool isDirectory = IsFolderToWalk(data.dwFileAttributes, data.dwReserved0);
        if (!visit(name, isDirectory)) break;
    } while (::FindNextFileW(find, &data));
    return true;
}

std::string FolderIdentity(const std::string& folder) {
    HANDLE handle = ::CreateFileW(Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::string();
    BY_HANDLE_FILE_INFORMATION info{};
    bool known = ::GetFileInformationByHandle(handle, &info) != FALSE;
    ::CloseHandle(handle);
    if (!known) return std::string();
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
}
