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

// Whether a walk goes into an entry, from its Windows attributes and, for a reparse point, its tag
// (WIN32_FIND_DATA's dwReserved0). A junction or a symbolic link (a name surrogate: the tag's bit 29)
// leads elsewhere and is not entered; any other reparse point holds the folder itself (OneDrive's folders
// whose files stay online, deduplicated or tiered storage) and is.
constexpr bool IsFolderToWalk(unsigned long attributes, unsigned long reparseTag) {
    constexpr unsigned long kDirectory = 0x10, kReparsePoint = 0x400, kNameSurrogate = 0x20000000;
    return (attributes & kDirectory) && (!(attributes & kReparsePoint) || !(reparseTag & kNameSurrogate));
}

// Calls visit(name, isDirectory) for every name in the folder, in the order the system returns them,
// leaving out "." and "..". Hidden and system files are included. A folder that is a link (a
// junction or a symbolic link) is reported as not a directory, so that a walk cannot go round in
// circles; other reparse-point folders are directories (IsFolderToWalk). Stops early when visit returns
// false. Returns false when the folder cannot be read.
// On Windows a name that the ANSI code page cannot show, or that would take the path past MAX_PATH,
// is given as the system's short name when the file has one.
bool ForEachInDirectory(const std::string& folder,
                        const std::function<bool(const std::string& name, bool isDirectory)>& visit);

// A text that is the same for every path of one folder (links included) and differs between folders;
// empty when the folder cannot be opened.
std::string FolderIdentity(const std::string& folder);
