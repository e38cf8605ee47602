#include "settings/FontRecord.h"

#include <cstdint>

namespace {

bool IsFaceChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ';
}

// The white space scanf skips before a number.
bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d" at pos: white space, an optional sign, then at least one digit. Accumulates modulo 2^32 so
// that no input can overflow.
bool ScanInt(const std::string& text, size_t& pos, int& value) {
    while (pos < text.size() && IsScanSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const size_t firstDigit = pos;
    uint32_t magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[pos++] - '0');
    if (pos == firstDigit) return false;
    if (negative) magnitude = 0u - magnitude;
    value = magnitude <= INT32_MAX ? static_cast<int>(magnitude) : -static_cast<int>(~magnitude) - 1;
    return true;
}

bool ScanComma(const std::string& text, size_t& pos) {
    if (pos >= text.size() || text[pos] != ',') return false;
    ++pos;
    return true;
}

} // namespace

bool ParseFontRecord(const std::string& text, FontRecord& record) {
    size_t pos = 0;
    while (pos < text.size() && IsFaceChar(text[pos]))
        ++pos;
    if (pos == 0) return false;
    FontRecord parsed;
    parsed.m_strFaceName = text.substr(0, pos < FontRecord::kMaxFaceName ? pos : FontRecord::kMaxFaceName);
    int italic = 0;
    if (!ScanComma(text, pos) || !ScanInt(text, pos, parsed.m_nHeight) || !ScanComma(text, pos) ||
        !ScanInt(text, pos, parsed.m_nWeight) || !ScanComma(text, pos) || !ScanInt(text, pos, italic))
        return false;
    parsed.m_nItalic = static_cast<unsigned char>(static_cast<unsigned>(italic) & 0xFFu);
    record = parsed;
    return true;
}

std::string FormatFontRecord(const FontRecord& record) {
    const std::string& face = record.m_strFaceName;
    return face.substr(0, face.find('\0')) + "," + std::to_string(record.m_nHeight) + "," +
           std::to_string(record.m_nWeight) + "," + std::to_string(static_cast<unsigned>(record.m_nItalic));
}
