#include "library/M3ULines.h"

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.push_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

bool M3UEntryPath(const std::string& line, const std::string& directory, std::string& path) {
    if (line.empty() || line[0] == '#') return false;
    if (line.find(":\\") != std::string::npos || directory.empty())
        path = line;
    else
        path = directory + "\\" + line;
    return true;
}

std::string M3UExtension(const std::string& line) {
    return line.size() < 4 ? line : line.substr(line.size() - 4);
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string M3UText(const std::vector<MediaEntry>& entries) {
    std::string text = kM3UHeader;
    for (const MediaEntry& entry : entries) {
        text += entry.m_strPath;
        text += kM3ULineEnd;
    }
    return text;
}
