#include "framework/CodePage.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point of the UTF-8 sequence at text[i] and its length; length 0 when the bytes there form no
// character (then one byte is to be skipped).
char32_t DecodeUtf8(const std::string& text, size_t i, size_t& length) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    length = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    size_t count;
    char32_t point;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2, point = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3, point = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4, point = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - i < count) return kReplacement;
    for (size_t k = 1; k < count; ++k) {
        unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) return kReplacement;
        point = (point << 6) | (next & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return kReplacement;
    length = count;
    return point;
}

void AppendPoint(std::u16string& out, char32_t point) {
    if (point < 0x10000) {
        out += static_cast<char16_t>(point);
    } else {
        point -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (point >> 10));
        out += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
    }
}

} // namespace

bool IsUtf8(const std::string& text) {
    for (size_t i = 0, length = 0; i < text.size(); i += length) {
        DecodeUtf8(text, i, length);
        if (length == 0) return false;
    }
    return true;
}

std::u16string Utf8ToWide(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (size_t i = 0, length = 0; i < text.size(); i += length ? length : 1)
        AppendPoint(result, DecodeUtf8(text, i, length));
    return result;
}

std::string WideToUtf8(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            point = kReplacement;
        }
        if (point < 0x80) {
            result += static_cast<char>(point);
        } else if (point < 0x800) {
            result += static_cast<char>(0xC0 | (point >> 6));
            result += static_cast<char>(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            result += static_cast<char>(0xE0 | (point >> 12));
            result += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (point >> 18));
            result += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (point & 0x3F));
        }
    }
    return result;
}

std::u16string Utf16ToWide(const std::string& bytes, bool bigEndian) {
    std::u16string result;
    result.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        result += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return result;
}

std::u16string Latin1ToWide(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (char c : text)
        result += static_cast<char16_t>(static_cast<unsigned char>(c));
    return result;
}

size_t CharLengthAt(const std::string& text, size_t at, const CharRules& rules) {
    if (at >= text.size()) return 0;
    switch (rules.form) {
    case CharForm::utf8: {
        size_t length = 0;
        DecodeUtf8(text, at, length);
        return length ? length : 1;
    }
    case CharForm::doubleByte:
        return rules.isLeadByte && rules.isLeadByte(static_cast<unsigned char>(text[at])) &&
                       at + 1 < text.size()
                   ? 2
                   : 1;
    case CharForm::singleByte: break;
    }
    return 1;
}

size_t WholeCharsLength(const std::string& text, size_t maxBytes, const CharRules& rules) {
    if (text.size() <= maxBytes && rules.form == CharForm::singleByte) return text.size();
    size_t end = 0;
    while (end < text.size()) {
        size_t length = CharLengthAt(text, end, rules);
        if (end + length > maxBytes) break;
        end += length;
    }
    return end;
}

std::string FirstChars(const std::string& text, size_t count, const CharRules& rules) {
    size_t end = 0;
    for (size_t i = 0; i < count && end < text.size(); ++i)
        end += CharLengthAt(text, end, rules);
    return text.substr(0, end);
}

std::string CutToWholeChars(const std::string& text, size_t maxBytes) {
    return text.substr(0, WholeCharsLength(text, maxBytes, ProgramCharRules()));
}

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string LegacyToText(const std::string& bytes) {
    if (!ProgramIsUtf8() || IsAscii(bytes)) return bytes;
    return WideToAnsi(LegacyToWide(bytes));
}

bool TextToLegacy(const std::string& text, std::string& bytes) {
    if (!ProgramIsUtf8() || IsAscii(text)) {
        bytes = text;
        return true;
    }
    return WideToLegacy(AnsiToWide(text), bytes);
}

std::string StoredToText(const std::string& bytes) {
    if (ProgramIsUtf8() && !IsUtf8(bytes)) return LegacyToText(bytes);
    return bytes;
}
