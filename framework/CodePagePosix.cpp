#include "framework/CodePage.h"

// Natively the system code page is taken to be Latin-1: the first 256 code points map one to one.

// Each 16-bit code unit is one character here, as in the system's own conversion to a single-byte code
// page: a surrogate pair becomes two '?', an unpaired surrogate one.
std::string WideToAnsi(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (char16_t unit : text)
        result += unit <= 0xFF ? static_cast<char>(static_cast<unsigned char>(unit)) : '?';
    return result;
}

std::u16string AnsiToWide(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (char c : text)
        result += static_cast<char16_t>(static_cast<unsigned char>(c));
    return result;
}
