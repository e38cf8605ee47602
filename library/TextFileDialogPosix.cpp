// The system side of CTextFile where there is no file dialog: the user can choose no file, so asking
// always ends as a cancel.
#include "library/TextFile.h"

#include <climits>
#include <cstdlib>

bool CTextFile::AskFileName(bool save, std::string& fileName, const std::string& filterPrefix) {
    return false;
}

std::string CTextFile::FullPathOf(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}
