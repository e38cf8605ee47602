#include "library/MediaFile.h"

#include "framework/CodePage.h"

namespace {

// ASCII texts keep the 8-bit form, byte for byte as every version wrote them. Any other text goes in
// 16-bit characters, which every version reads and converts to its own code page: UTF-8 bytes in the
// 8-bit form would show as mojibake in a version whose code page is a legacy one.
void StoreText(CArchive& archive, const std::string& text) {
    if (IsAscii(text))
        archive << text;
    else
        archive.WriteWideString(AnsiToWide(text));
}

} // namespace

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
        archive << m_nCount;
        for (const std::string* text : {&m_strPath, &m_strFileName, &m_strArtist, &m_strAlbum, &m_strSong})
            StoreText(archive, *text);
        return;
    }
    // Read into a copy first, so that a record cut short does not leave half of it behind.
    uint32_t count = 0;
    MediaEntry entry;
    archive >> count >> entry.m_strPath >> entry.m_strFileName >> entry.m_strArtist >> entry.m_strAlbum >>
        entry.m_strSong;
    // 8-bit texts that are not UTF-8 were written by an earlier version in the legacy code page.
    for (std::string* text :
         {&entry.m_strPath, &entry.m_strFileName, &entry.m_strArtist, &entry.m_strAlbum, &entry.m_strSong})
        *text = StoredToText(*text);
    m_nCount = count;
    SetEntry(entry);
}
