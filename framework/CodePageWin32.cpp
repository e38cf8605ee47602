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
    std::u16string result;
    size_t start = 0;
    while (start < text.size()) {
        size_t count = text.size() - start < kChunk ? text.size() - start : kChunk;
        // A lead byte of a double-byte code page stays with its trail byte.
        if (start + count < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[start + count - 1])))
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
