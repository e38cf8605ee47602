#pragma once
// Conversion between 16-bit (UTF-16) texts and the program's 8-bit texts, and the character rules of
// those texts.
//
// The program's code page is the process's ANSI code page: UTF-8 where the manifest is honoured
// (Windows 10 1903 and later), the system's legacy ANSI code page on older Windows. Text that earlier
// versions stored, and ID3 version 1 fields, are bytes in the legacy code page: the user default locale's
// ANSI code page. Natively the program's code page is UTF-8 and the legacy one Windows-1252.
#include <cstddef>
#include <string>

// Characters that the program's code page cannot hold become '?'.
std::string WideToAnsi(const std::u16string& text);
std::u16string AnsiToWide(const std::string& text);

// Unicode byte forms, decoded the same on every system. Bytes that form no character become U+FFFD.
// True when text is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(const std::string& text);
std::u16string Utf8ToWide(const std::string& text);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(const std::u16string& text);
// UTF-16 code units from bytes in the given byte order; an odd last byte is dropped.
std::u16string Utf16ToWide(const std::string& bytes, bool bigEndian);
// ISO-8859-1: each byte is the code point of the same number.
std::u16string Latin1ToWide(const std::string& text);

// How the bytes of a code page group into characters.
enum class CharForm { singleByte, doubleByte, utf8 };
struct CharRules {
    CharForm form = CharForm::singleByte;
    // Double-byte code pages: whether a byte starts a two-byte character.
    bool (*isLeadByte)(unsigned char) = nullptr;
};
// Bytes of the character that starts at text[at]: 1 for a byte that starts none, 0 at the end.
size_t CharLengthAt(const std::string& text, size_t at, const CharRules& rules);
// Length of the longest start of text, at most maxBytes, that does not cut a character in half.
size_t WholeCharsLength(const std::string& text, size_t maxBytes, const CharRules& rules);
// The first count characters of text (fewer when it is shorter).
std::string FirstChars(const std::string& text, size_t count, const CharRules& rules);

// The rules of the program's code page, and of the legacy one.
CharRules ProgramCharRules();
CharRules LegacyCharRules();
bool ProgramIsUtf8();
// Program text cut to at most maxBytes bytes on a character boundary.
std::string CutToWholeChars(const std::string& text, size_t maxBytes);

// The legacy code page's number, and conversions of its bytes.
unsigned LegacyCodePage();
std::u16string LegacyToWide(const std::string& bytes);
// False when a character has no form in the legacy code page (bytes then hold '?' for it).
bool WideToLegacy(const std::u16string& text, std::string& bytes);

// Legacy bytes as program text: unchanged where the program's code page is the legacy one.
std::string LegacyToText(const std::string& bytes);
// Program text as legacy bytes; false (bytes then not to be used) when a character cannot be written there.
bool TextToLegacy(const std::string& text, std::string& bytes);
// An 8-bit text stored by this or an earlier version (saved lists, the INI file): bytes that are not
// valid UTF-8 cannot come from a UTF-8 program and are read in the legacy code page.
std::string StoredToText(const std::string& bytes);
// True when every byte is below 0x80: the same text in every code page this program meets.
bool IsAscii(const std::string& text);
