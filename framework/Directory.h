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

// Calls visit(name, isDirectory) for every name in the folder, in the order the system returns them,
// leaving out "." and "..". Hidden and system files are included. A folder that is a link (a
// junction or a symbolic link) is reported as not a directory, so that a walk cannot go round in
// circles. Stops early when visit returns false. Returns false when the folder cannot be read.
bool ForEachInDirectory(const std::string& folder,
                        const std::function<bool(const std::string& name, bool isDirectory)>& visit);
