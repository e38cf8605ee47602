#include "library/MakeEntry.h"

#include "framework/Debug.h"
#include "library/MP3TagFile.h"

const char kErrorOpeningFile[] = "Error Opening File";

namespace {

bool EqualsNoCase(const std::string& text, const char* lowerCase) {
    size_t i = 0;
    for (; i < text.size() && lowerCase[i] != '\0'; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerCase[i]) return false;
    }
    return i == text.size() && lowerCase[i] == '\0';
}

} // namespace

bool IsMp3Extension(const std::string& extension) {
    return EqualsNoCase(extension, "mp3") || EqualsNoCase(extension, ".mp3");
}

MediaEntry MakeEntry(const std::string& path, const std::string& name, const std::string& extension) {
    MediaEntry entry;
    entry.m_strPath = path;
    if (!IsMp3Extension(extension)) {
        entry.m_strArtist = name;
        entry.m_strSong = path;
        return entry;
    }
    CMP3TagFile file;
    if (file.OpenToRead(path)) {
        // A version 1 tag wins; many files today carry only a version 2 tag, at their start.
        CId3v2Tag tagV2;
        bool tagged = file.ReadTag() == 0;
        if (tagged) {
            entry.m_strSong = file.GetSong();
            entry.m_strArtist = file.GetArtist();
            entry.m_strAlbum = file.GetAlbum();
        } else if (file.ReadTagV2(tagV2) == 0) {
            tagged = true;
            entry.m_strSong = tagV2.GetSong();
            entry.m_strArtist = tagV2.GetArtist();
            entry.m_strAlbum = tagV2.GetAlbum();
        }
        try {
            file.Close();
        } catch (const CException& e) {
            DebugOutput(e.GetErrorMessage());
        }
        if (tagged) return entry;
    }
    entry.m_strArtist = name;
    entry.m_strAlbum = kErrorOpeningFile;
    entry.m_strSong = path;
    return entry;
}
