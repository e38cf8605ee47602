#include "framework/Directory.h"

#include <windows.h>

bool ForEachInDirectory(const std::string& folder,
                        const std::function<bool(const std::string& name, bool isDirectory)>& visit) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    struct Closer {
        HANDLE handle;
        ~Closer() { ::FindClose(handle); }
    } closer{find};
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                           !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (!visit(name, isDirectory)) break;
    } while (::FindNextFileA(find, &data));
    return true;
}
