#include "framework/CodePage.h"

// Natively the program's code page is UTF-8, as on Windows 10 and 11 with the manifest, and the legacy
// code page is Windows-1252, the common Western one.

namespace {

// Windows-1252 at 0x80 to 0x9F; zero where the code page has no character (the byte then stands for itself,
// as the system's conversion does).
constexpr char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

std::string WideToAnsi(const std::u16string& text) {
    return WideToUtf8(text);
}

std::u16string AnsiToWide(const std::string& text) {
    return Utf8ToWide(text);
}

bool ProgramIsUtf8() {
    return true;
}

CharRules ProgramCharRules() {
    return CharRules{CharForm::utf8, nullptr};
}

CharRules LegacyCharRules() {
    return CharRules{};
}

unsigned LegacyCodePage() {
    return 1252;
}

std::u16string LegacyToWide(const std::string& bytes) {
    std::u16string result;
    result.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        char16_t mapped = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : 0;
        result += mapped ? mapped : static_cast<char16_t>(byte);
    }
    return result;
}

bool WideToLegacy(const std::u16string& text, std::string& bytes) {
    bytes.clear();
    bool whole = true;
    for (char16_t unit : text) {
        int byte = -1;
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) byte = unit;
        for (int k = 0; k < 32 && byte < 0; ++k)
            if (kHighControls[k] == unit || (!kHighControls[k] && unit == 0x80 + k)) byte = 0x80 + k;
        if (byte < 0) {
            whole = false;
            byte = '?';
        }
        bytes += static_cast<char>(byte);
    }
    return whole;
}
