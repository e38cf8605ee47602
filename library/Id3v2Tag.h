#pragma once
// The ID3 version 2 tag at the start of an MP3 file (versions 2.2, 2.3 and 2.4): only its title, artist
// and album text frames are read, converted to the program's code page (UTF-8 where the manifest is
// honoured, so nothing is lost). Everything is bounds-checked, so any bytes may be given.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class CId3v2Tag {
public:
    static constexpr size_t kHeaderSize = 10;
    // No more of a tag than this is ever read; frames beyond it are not seen.
    static constexpr size_t kMaxReadSize = 1u << 20;
    // Read first, since the text frames usually come before any picture.
    static constexpr size_t kFirstReadSize = 64u << 10;

    // The whole size of the tag that the first bytes of a file start, header and footer included; 0 when
    // they start no tag of a version this reader knows.
    static size_t TagSize(const unsigned char* data, size_t size);

    // Takes the texts from a tag that starts at data; size may stop short of its end, and frames cut off
    // there are not taken. True when at least one of title, artist and album was found; the texts not
    // found are then empty. False (texts unchanged) when there is no such tag.
    bool Parse(const unsigned char* data, size_t size);

    // Reads up to count bytes from the start of a file at offset into buffer; how many it read.
    using ReadAt = std::function<size_t(uint64_t offset, unsigned char* buffer, size_t count)>;
    // Reads the header, then the tag's frames in at most two steps, never past the tag or kMaxReadSize;
    // the result as Parse's.
    bool Read(const ReadAt& read);

    // Each text ends in one zero character that belongs to it, as the version 1 tag's do.
    const std::string& GetSong() const { return m_strSong; }
    const std::string& GetArtist() const { return m_strArtist; }
    const std::string& GetAlbum() const { return m_strAlbum; }

private:
    std::string m_strSong;
    std::string m_strArtist;
    std::string m_strAlbum;
};
