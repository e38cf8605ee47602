#pragma once
// The ID3 version 1 tag block: the last 128 bytes of an MP3 file. Offset 0 holds "TAG", then 30 bytes
// each of song, artist and album, 4 of year, 30 of comment and one genre byte. Only song, artist and
// album are read and written.
#include <array>
#include <cstddef>
#include <string>

class CId3v1Tag {
public:
    static constexpr size_t kBlockSize = 128;
    static constexpr size_t kFieldSize = 30;
    enum Field { fieldSong = 0, fieldArtist = 1, fieldAlbum = 2, fieldYear = 3, fieldComment = 4 };
    // Block offsets of the fields, by Field.
    static constexpr size_t kFieldOffsets[] = {3, 33, 63, 93, 97};

    // True when the block starts with exactly "TAG". A zero byte ends the compared text, so "TA" followed
    // by a zero byte is no marker.
    static bool HasMarker(const unsigned char* block, size_t size);
    // The text of a 30-byte field: its bytes up to the first zero byte (all 30 when there is none) without
    // trailing blanks, read in the legacy code page, plus one zero character that belongs to the text.
    static std::string FieldText(const unsigned char* field);
    // The 30 bytes written for a text (up to its first zero character): the text in the legacy code page,
    // cut to at most 30 bytes between characters, then zero bytes. False (bytes then not to be used) when the
    // legacy code page cannot hold a character of the text.
    static bool FieldBytes(const std::string& text, std::array<unsigned char, kFieldSize>& bytes);

    // Takes the texts from a block; false (texts unchanged) when it is shorter than a block or has no
    // marker.
    bool Parse(const unsigned char* block, size_t size);

    const std::string& GetSong() const { return m_strSong; }
    const std::string& GetArtist() const { return m_strArtist; }
    const std::string& GetAlbum() const { return m_strAlbum; }

private:
    std::string m_strSong;
    std::string m_strArtist;
    std::string m_strAlbum;
};
