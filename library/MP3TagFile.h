#pragma once
// Tag access to an MP3 file: reads the ID3 version 1 block at its end and rewrites single fields of it.
// The user opens it like any file, for reading and writing, binary and not shared.
#include "framework/File.h"
#include "library/Id3v1Tag.h"

#include <string>

class CMP3TagFile : public CFile {
public:
    // 0 when a tag block was found and read, -1 otherwise (too short, no marker, a read error).
    int ReadTag();
    // Copies of the texts read by ReadTag, each ending in its zero character.
    std::string GetSong() const { return m_tag.GetSong(); }
    std::string GetArtist() const { return m_tag.GetArtist(); }
    std::string GetAlbum() const { return m_tag.GetAlbum(); }

    // Writes one field (0 song, 1 artist, 2 album) as exactly 30 bytes: the text's first 30 bytes, then
    // zero bytes. 0 on success; -1 on failure, whose text goes to the debugger output. Meant for a file
    // whose tag was read.
    int WriteTagField(const std::string& text, int field);

private:
    CId3v1Tag m_tag;
};
