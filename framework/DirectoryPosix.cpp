#include "framework/Directory.h"

#include <dirent.h>
#include <sys/stat.h>

bool ForEachInDirectory(const std::string& folder,
                        const std::function<bool(const std::string& name, bool isDirectory)>& visit) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    struct Closer {
        DIR* dir;
        ~Closer() { ::closedir(dir); }
    } closer{dir};
    while (dirent* item = ::readdir(dir)) {
        std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        // lstat: a symbolic link to a folder is not followed.
        bool isDirectory = ::lstat((folder + kPathSeparator + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        if (!visit(name, isDirectory)) break;
    }
    return true;
}

std::string FolderIdentity(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return std::string();
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}
