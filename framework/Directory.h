#pragma once
// Walking the names of one folder, the system's way on each platform.
#include <functional>
#include <string>

// The separator of path parts on this platform.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Room kept for a short name after a folder's path, so that the files inside it stay within reach.
constexpr size_t kShortNameRoom = 13;

// Calls visit(name, isDirectory) for every name in the folder, in the order the system returns them,
// leaving out "." and "..". Hidden and system files are included. A folder that is a link (a
// junction or a symbolic link) is reported as not a directory, so that a walk cannot go round in
// circles. Stops early when visit returns false. Returns false when the folder cannot be read.
// On Windows a name that the ANSI code page cannot show, or that would take the path past MAX_PATH,
// is given as the system's short name when the file has one.
bool ForEachInDirectory(const std::string& folder,
                        const std::function<bool(const std::string& name, bool isDirectory)>& visit);

// A text that is the same for every path of one folder (links included) and differs between folders;
// empty when the folder cannot be opened.
std::string FolderIdentity(const std::string& folder);
