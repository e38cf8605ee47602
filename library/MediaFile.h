#pragma once
// The serialisable form of one media file entry: the record of the saved queue and play list files.
// Layout: m_nCount as unsigned 32-bit little-endian, then path, file name, artist, album and song as
// archive strings, back to back. ASCII texts are written in 8-bit characters, all others in 16-bit ones;
// 8-bit texts that are not UTF-8 are read in the legacy code page (written by earlier versions).
#include "framework/Archive.h"
#include "library/MediaEntry.h"

#include <cstdint>
#include <string>

class CMediaFile {
public:
    CMediaFile() = default;
    explicit CMediaFile(const MediaEntry& entry, uint32_t count = 0);
    virtual ~CMediaFile() = default;

    // Storing writes one record; loading reads one. A record that ends early throws the archive's
    // CArchiveException and leaves this object unchanged.
    virtual void Serialize(CArchive& archive);

    void SetEntry(const MediaEntry& entry);
    MediaEntry GetEntry() const;
    operator MediaEntry() const { return GetEntry(); }

    // Number of records in the file that holds this record.
    uint32_t m_nCount = 0;
    std::string m_strPath;
    std::string m_strFileName;
    std::string m_strArtist;
    std::string m_strAlbum;
    std::string m_strSong;
};
