#include "app/PathList.h"

#include "library/M3ULines.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

PathKind KindOfPath(const std::string& path, bool isFolder) {
    if (isFolder) return PathKind::folder;
    static const char kM3U[] = ".m3u";
    if (IsUtf8ListName(path)) return PathKind::playList;
    const size_t n = sizeof(kM3U) - 1;
    if (path.size() < n) return PathKind::file;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - n + i])) != kM3U[i]) return PathKind::file;
    return PathKind::playList;
}

std::string PackPaths(const std::vector<std::string>& paths) {
    std::string block;
    for (const std::string& path : paths) {
        if (path.empty()) continue;
        block += path;
        block += '\0';
    }
    return block;
}

std::vector<std::string> UnpackPaths(const char* data, size_t size) {
    std::vector<std::string> paths;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != '\0') {
            current += data[i];
        } else if (!current.empty()) {
            paths.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) paths.push_back(current);
    return paths;
}

std::string RunningPlayerKey(const std::string& programPath) {
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : programPath) {
        hash ^= static_cast<unsigned char>(std::toupper(c));
        hash *= 1099511628211ull;
    }
    char key[40];
    std::snprintf(key, sizeof(key), "Melodeck.Player.%016llx", static_cast<unsigned long long>(hash));
    return key;
}
