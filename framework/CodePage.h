#pragma once
// Conversion between 16-bit (UTF-16) texts and the 8-bit texts of the system code page that the program
// uses throughout. Characters that the code page cannot hold become '?'.
#include <string>

std::string WideToAnsi(const std::u16string& text);
std::u16string AnsiToWide(const std::string& text);

// Unicode byte forms, decoded the same on every system. Bytes that form no character become U+FFFD,
// which the code page then shows as '?'.
// True when text is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(const std::string& text);
std::u16string Utf8ToWide(const std::string& text);
// UTF-16 code units from bytes in the given byte order; an odd last byte is dropped.
std::u16string Utf16ToWide(const std::string& bytes, bool bigEndian);
// ISO-8859-1: each byte is the code point of the same number.
std::u16string Latin1ToWide(const std::string& text);
