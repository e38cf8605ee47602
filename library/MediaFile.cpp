#include "library/MediaFile.h"

CMediaFile::CMediaFile(const MediaEntry& entry, uint32_t count) : m_nCount(count) {
    SetEntry(entry);
}

void CMediaFile::SetEntry(const MediaEntry& entry) {
    m_strPath = entry.m_strPath;
    m_strFileName = entry.m_strFileName;
    m_strArtist = entry.m_strArtist;
    m_strAlbum = entry.m_strAlbum;
    m_strSong = entry.m_strSong;
}

MediaEntry CMediaFile::GetEntry() const {
    return MediaEntry{m_strPath, m_strFileName, m_strArtist, m_strAlbum, m_strSong};
}

void CMediaFile::Serialize(CArchive& archive) {
    if (archive.IsStoring()) {
        archive << m_nCount << m_strPath << m_strFileName << m_strArtist << m_strAlbum << m_strSong;
        return;
    }
    // Read into a copy first, so that a record cut short does not leave half of it behind.
    uint32_t count = 0;
    MediaEntry entry;
    archive >> count >> entry.m_strPath >> entry.m_strFileName >> entry.m_strArtist >> entry.m_strAlbum >>
        entry.m_strSong;
    m_nCount = count;
    SetEntry(entry);
}
