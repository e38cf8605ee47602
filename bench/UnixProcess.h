#pragma once
// The Linux side of a process running under Wine, read through drive Z:, for figures Wine does not
// report itself (CPU time of other processes, anonymous resident memory).
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

// "Z:\proc\<pid>" of the first process whose command line holds the text; empty when there is none.
inline std::string UnixProcFolder(const std::string& needle) {
    std::string found;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA("Z:\\proc\\*", &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        if (!std::isdigit(static_cast<unsigned char>(data.cFileName[0]))) continue;
        const std::string folder = std::string("Z:\\proc\\") + data.cFileName;
        std::ifstream file(folder + "\\cmdline", std::ios::binary);
        std::string commandLine((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
        if (commandLine.find(needle) != std::string::npos) {
            found = folder;
            break;
        }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return found;
}
