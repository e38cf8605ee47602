#include "library/M3ULines.h"

#include "framework/CodePage.h"

#include <cctype>

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsPlainAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// "X:" of a directory on a drive, "\\server\share" of one on a share; empty for any other.
std::string RootOf(const std::string& directory) {
    if (directory.size() >= 2 && IsAsciiLetter(directory[0]) && directory[1] == ':')
        return directory.substr(0, 2);
    if (!StartsWith(directory, "\\\\")) return std::string();
    size_t server = directory.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::string();
    return directory.substr(0, directory.find('\\', server + 1));
}

} // namespace

std::string TextToAnsi(const std::string& bytes, bool utf8) {
    if (StartsWith(bytes, "\xFF\xFE")) return WideToAnsi(Utf16ToWide(bytes.substr(2), false));
    if (StartsWith(bytes, "\xFE\xFF")) return WideToAnsi(Utf16ToWide(bytes.substr(2), true));
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return WideToAnsi(Utf8ToWide(bytes.substr(3)));
    // Text in the code page is seldom well-formed UTF-8 unless it is plain ASCII.
    if (utf8 || (!IsPlainAscii(bytes) && IsUtf8(bytes))) return WideToAnsi(Utf8ToWide(bytes));
    return LegacyToText(bytes);
}

bool IsUtf8ListName(const std::string& path) {
    static const char kSuffix[] = ".m3u8";
    const size_t n = sizeof kSuffix - 1;
    if (path.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - n + i])) != kSuffix[i]) return false;
    return true;
}

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

namespace {

std::string JoinedPath(const std::string& line, const std::string& directory) {
    bool drivePath = line.size() >= 3 && IsAsciiLetter(line[0]) && line[1] == ':' && line[2] == '/';
    if (line.find(":\\") != std::string::npos || drivePath || StartsWith(line, "\\\\") || directory.empty())
        return line;
    if (line[0] == '\\') return RootOf(directory) + line;
    return directory + "\\" + line;
}

} // namespace

bool M3UEntryPath(const std::string& line, const std::string& directory, std::string& path,
                  const std::function<bool(const std::string&)>& exists) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return false;
    // Other programs indent their lines; a name that really starts with a blank is kept when it is there.
    if (first > 0) {
        std::string asWritten = JoinedPath(line, directory);
        if (exists && exists(asWritten)) {
            path = asWritten;
            return true;
        }
    }
    const std::string trimmed = line.substr(first);
    if (IsWebAddress(trimmed)) return false;
    path = JoinedPath(trimmed, directory);
    return true;
}

bool IsWebAddress(const std::string& line) {
    // A scheme is a letter, then letters, digits, "+", "-" or "."; one letter would be a drive.
    size_t end = 0;
    while (end < line.size() && (IsAsciiLetter(line[end]) ||
                                 (end > 0 && (std::isdigit(static_cast<unsigned char>(line[end])) ||
                                              line[end] == '+' || line[end] == '-' || line[end] == '.'))))
        ++end;
    return end >= 2 && line.compare(end, 3, "://") == 0;
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
