#include "library/ResumePoint.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr char kVersion[] = "1";
constexpr char kSeparator = '|';

void AppendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case kSeparator: out += "\\p"; break;
        case '\0': out += "\\0"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
}

// Splits at unescaped separators and undoes the escapes; false on a dangling or unknown escape.
bool SplitFields(const std::string& text, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == kSeparator) {
            fields.emplace_back();
            continue;
        }
        if (c == '\\') {
            if (++i == text.size()) return false;
            switch (text[i]) {
            case '\\': c = '\\'; break;
            case 'p': c = kSeparator; break;
            case '0': c = '\0'; break;
            case 'r': c = '\r'; break;
            case 'n': c = '\n'; break;
            default: return false;
            }
        }
        fields.back() += c;
    }
    return true;
}

}  // namespace

std::string FormatResumePoint(const ResumePoint& point) {
    std::string out = kVersion;
    out += kSeparator;
    out += std::to_string(point.m_nPositionMs < 0 ? 0 : point.m_nPositionMs);
    for (const std::string* field : {&point.m_entry.m_strPath, &point.m_entry.m_strFileName,
                                     &point.m_entry.m_strArtist, &point.m_entry.m_strAlbum,
                                     &point.m_entry.m_strSong}) {
        out += kSeparator;
        AppendEscaped(out, *field);
    }
    return out;
}

bool ParseResumePoint(const std::string& text, ResumePoint& point) {
    std::vector<std::string> fields;
    if (!SplitFields(text, fields) || fields.size() != 7 || fields[0] != kVersion) return false;
    const std::string& position = fields[1];
    if (position.empty() || position.size() > 9 || position.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (fields[2].empty()) return false;  // an entry without a path cannot be played
    point.m_nPositionMs = std::strtol(position.c_str(), nullptr, 10);
    point.m_entry.m_strPath = fields[2];
    point.m_entry.m_strFileName = fields[3];
    point.m_entry.m_strArtist = fields[4];
    point.m_entry.m_strAlbum = fields[5];
    point.m_entry.m_strSong = fields[6];
    return true;
}
