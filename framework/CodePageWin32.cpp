#include "framework/CodePage.h"

#include <windows.h>

namespace {

// The conversion functions take int counts; long texts go through in pieces that never split a
// surrogate pair.
constexpr size_t kChunk = 1u << 24;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

std::string WideToAnsi(const std::u16string& text) {
    std::string result;
    size_t start = 0;
    while (start < text.size()) {
        size_t count = text.size() - start < kChunk ? text.size() - start : kChunk;
        if (start + count < text.size() && IsHighSurrogate(text[start + count - 1])) --count;
        const auto* source = reinterpret_cast<const wchar_t*>(text.data() + start);
        int needed =
            WideCharToMultiByte(CP_ACP, 0, source, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
        if (needed > 0) {
            size_t offset = result.size();
            result.resize(offset + static_cast<size_t>(needed));
            WideCharToMultiByte(CP_ACP, 0, source, static_cast<int>(count), &result[offset], needed, nullptr,
                                nullptr);
        }
        start += count;
    }
    return result;
}

std::u16string AnsiToWide(const std::string& text) {
    const bool utf8 = ::GetACP() == CP_UTF8;
    std::u16string result;
    size_t start = 0;
    while (start < text.size()) {
        size_t count = text.size() - start < kChunk ? text.size() - start : kChunk;
        // A lead byte of a double-byte code page stays with its trail byte.
        if (start + count < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[start + count - 1])))
            --count;
        // So does a UTF-8 sequence.
        while (utf8 && start + count < text.size() && count > 1 && (text[start + count] & 0xC0) == 0x80)
            --count;
        int needed = MultiByteToWideChar(CP_ACP, 0, text.data() + start, static_cast<int>(count), nullptr, 0);
        if (needed > 0) {
            size_t offset = result.size();
            result.resize(offset + static_cast<size_t>(needed));
            MultiByteToWideChar(CP_ACP, 0, text.data() + start, static_cast<int>(count),
                                reinterpret_cast<wchar_t*>(&result[offset]), needed);
        }
        start += count;
    }
    return result;
}

namespace {

bool IsProgramLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

bool IsLegacyLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByteEx(LegacyCodePage(), byte) != FALSE;
}

CharRules RulesOf(UINT codePage, bool (*isLeadByte)(unsigned char)) {
    if (codePage == CP_UTF8) return CharRules{CharForm::utf8, nullptr};
    CPINFO info{};
    if (::GetCPInfo(codePage, &info) && info.MaxCharSize == 2)
        return CharRules{CharForm::doubleByte, isLeadByte};
    return CharRules{};
}

} // namespace

bool ProgramIsUtf8() {
    return ::GetACP() == CP_UTF8;
}

CharRules ProgramCharRules() {
    return RulesOf(::GetACP(), &IsProgramLeadByte);
}

CharRules LegacyCharRules() {
    return RulesOf(LegacyCodePage(), &IsLegacyLeadByte);
}

unsigned LegacyCodePage() {
    // With the UTF-8 manifest GetACP answers 65001; the code page earlier versions wrote in is the one
    // the user's locale would have given them. A Unicode-only locale has none: Western is the guess.
    static const UINT codePage = [] {
        if (::GetACP() != CP_UTF8) return ::GetACP();
        DWORD number = 0;
        if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                             reinterpret_cast<LPWSTR>(&number), sizeof number / sizeof(WCHAR)) &&
            number != 0 && number != CP_UTF8 && ::IsValidCodePage(number))
            return static_cast<UINT>(number);
        return 1252u;
    }();
    return codePage;
}

std::u16string LegacyToWide(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int count = static_cast<int>(bytes.size());
    int needed = ::MultiByteToWideChar(LegacyCodePage(), 0, bytes.data(), count, nullptr, 0);
    std::u16string wide(static_cast<size_t>(needed > 0 ? needed : 0), u'\0');
    if (needed > 0)
        ::MultiByteToWideChar(LegacyCodePage(), 0, bytes.data(), count, reinterpret_cast<wchar_t*>(&wide[0]),
                              needed);
    return wide;
}

bool WideToLegacy(const std::u16string& text, std::string& bytes) {
    bytes.clear();
    if (text.empty()) return true;
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int count = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    int needed = ::WideCharToMultiByte(LegacyCodePage(), WC_NO_BEST_FIT_CHARS, source, count, nullptr, 0,
                                       nullptr, &lossy);
    if (needed <= 0) return false;
    bytes.resize(static_cast<size_t>(needed));
    ::WideCharToMultiByte(LegacyCodePage(), WC_NO_BEST_FIT_CHARS, source, count, &bytes[0], needed, nullptr,
                          &lossy);
    return !lossy;
}
