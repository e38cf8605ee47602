#pragma once
// Tag access to an MP3 file: reads the ID3 version 1 block at its end and rewrites single fields of it.
// Scans open it to read, sharing it with the player and other readers; only the tag editor opens it to
// write, and then alone.
#include "framework/File.h"
#include "library/Id3v1Tag.h"
#include "library/Id3v2Tag.h"

#include <string>

class CMP3TagFile : public CFile {
public:
    // Read access that leaves others free to read and write: read-only files and media, and a file
    // the playback device holds open, can still be scanned.
    static constexpr unsigned kReadMode = modeRead | typeBinary | shareDenyNone;
    static constexpr unsigned kEditMode = modeReadWrite | typeBinary | shareExclusive;

    bool OpenToRead(const std::string& path, CFileException* error = nullptr) {
        return Open(path, kReadMode, error);
    }
    // For WriteTagField: nobody else may have the file open meanwhile.
    bool OpenToEdit(const std::string& path, CFileException* error = nullptr) {
        return Open(path, kEditMode, error);
    }

    // 0 when a tag block was found and read, -1 otherwise (too short, no marker, a read error).
    int ReadTag();
    // Copies of the texts read by ReadTag, each ending in its zero character.
    std::string GetSong() const { return m_tag.GetSong(); }
    std::string GetArtist() const { return m_tag.GetArtist(); }
    std::string GetAlbum() const { return m_tag.GetAlbum(); }

    // 0 when the file starts with an ID3 version 2 tag that gives a title, artist or album, read into
    // tag; -1 otherwise. Only the tag is read, up to CId3v2Tag's limit. The tag editor never writes it.
    int ReadTagV2(CId3v2Tag& tag);

    // Writes one field (0 song, 1 artist, 2 album) as exactly 30 bytes: the text in the legacy code page,
    // cut between characters, then zero bytes; a text that code page cannot hold is not written. 0 on
    // success; -1 on failure, whose text goes to the debugger output. Meant for a file opened to edit whose
    // tag was read.
    int WriteTagField(const std::string& text, int field);

private:
    CId3v1Tag m_tag;
};
