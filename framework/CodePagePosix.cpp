#include "framework/CodePage.h"

// Natively the system code page is taken to be Latin-1: the first 256 code points map one to one.

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::string WideToAnsi(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit <= 0xFF) {
            result += static_cast<char>(static_cast<unsigned char>(unit));
            continue;
        }
        // A surrogate pair is one character and becomes one '?'; an unpaired surrogate is one too.
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
        result += '?';
    }
    return result;
}

std::u16string AnsiToWide(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (char c : text)
        result += static_cast<char16_t>(static_cast<unsigned char>(c));
    return result;
}
