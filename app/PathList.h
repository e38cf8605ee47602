#pragma once
// Paths handed to the player from outside (its command line, a second start, a drop from the shell):
// how they travel between two starts, and what kind of load each asks for.
#include <string>
#include <vector>

enum class PathKind { folder, playList, file };

// A folder is scanned, an M3U list read, any other file added as one entry.
PathKind KindOfPath(const std::string& path, bool isFolder);

// The paths as one block: each followed by a zero character. Empty paths are left out.
std::string PackPaths(const std::vector<std::string>& paths);
// The paths of a block; a last path without its zero character still counts.
std::vector<std::string> UnpackPaths(const char* data, size_t size);

// The name under which a running player is found by later starts of the same program file: the same
// file under any spelling of its letters' case gives the same name, and another copy another name.
std::string RunningPlayerKey(const std::string& programPath);
