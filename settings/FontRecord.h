#pragma once
// The list font as one line of the settings file: "face,height,weight,italic", for example
// "Tahoma,-11,700,0". Only these four fields travel; underline and strike-out are not kept.
#include <cstddef>
#include <string>

struct FontRecord {
    // A font description holds 31 characters of face name before its terminator.
    static constexpr size_t kMaxFaceName = 31;

    std::string m_strFaceName;
    int m_nHeight = 0; // logical units, negative for character height
    int m_nWeight = 0; // 400 normal, 700 bold
    unsigned char m_nItalic = 0;
};

// Reads a record as the pattern "%[a-zA-Z ],%d,%d,%d" does: a face name of at least one ASCII letter or
// blank, then comma, height, comma, weight, comma, italic. Each number may be preceded by white space
// and carry a sign; text after the italic number is ignored. False, record unchanged, when any of the
// four fields does not convert. The italic flag keeps the low 8 bits of its number; numbers beyond 32
// bits wrap as the Windows runtime's scanf does. A face name longer than kMaxFaceName is cut to that
// length: it can only come from a hand-edited file, and the cut is what fits in a font description.
bool ParseFontRecord(const std::string& text, FontRecord& record);

// Writes a record as "%s,%d,%d,%d" with the italic flag as an unsigned number. The face name ends at
// its first zero character, as a C string would.
std::string FormatFontRecord(const FontRecord& record);
