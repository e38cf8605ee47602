#include "library/Id3v1Tag.h"

#include "framework/CodePage.h"

#include <algorithm>
#include <cstring>

bool CId3v1Tag::HasMarker(const unsigned char* block, size_t size) {
    // Compared as a zero-terminated text of at most three characters; a zero byte stops it short of "TAG".
    static const unsigned char kMarker[] = {'T', 'A', 'G'};
    if (!block || size < sizeof kMarker) return false;
    return std::memcmp(block, kMarker, sizeof kMarker) == 0;
}

std::string CId3v1Tag::FieldText(const unsigned char* field) {
    const unsigned char* end = std::find(field, field + kFieldSize, 0);
    // Taggers pad with blanks as well as zeros: trailing blanks are padding, not text.
    while (end > field && end[-1] == ' ')
        --end;
    std::string text =
        LegacyToText(std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(end - field)));
    text += '\0';
    return text;
}

bool CId3v1Tag::FieldBytes(const std::string& text, std::array<unsigned char, kFieldSize>& bytes) {
    std::string legacy;
    if (!TextToLegacy(text.c_str(), legacy)) return false;
    bytes.fill(0);
    std::memcpy(bytes.data(), legacy.data(), WholeCharsLength(legacy, kFieldSize, LegacyCharRules()));
    return true;
}

bool CId3v1Tag::Parse(const unsigned char* block, size_t size) {
    if (!block || size < kBlockSize || !HasMarker(block, size)) return false;
    m_strSong = FieldText(block + kFieldOffsets[fieldSong]);
    m_strArtist = FieldText(block + kFieldOffsets[fieldArtist]);
    m_strAlbum = FieldText(block + kFieldOffsets[fieldAlbum]);
    return true;
}
