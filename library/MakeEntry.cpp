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

// A tag without a title keeps the name as the song, so that no row is blank.
void SetTagTexts(MediaEntry& entry, const std::string& song, const std::string& artist, const std::string& album) {
    if (!DisplayText(song).empty()) entry.m_strSong = song;
    entry.m_strArtist = artist;
    entry.m_strAlbum = album;
}

} // namespace

std::string SongFromName(const std::string& name) {
    const size_t start = name.find_last_of("\\/") == std::string::npos ? 0 : name.find_last_of("\\/") + 1;
    std::string song = name.substr(start);
    const size_t dot = song.rfind('.');
    if (dot != std::string::npos && dot > 0) song.erase(dot);
    return song;
}

bool IsMp3Extension(const std::string& extension) {
    return EqualsNoCase(extension, "mp3") || EqualsNoCase(extension, ".mp3");
}

MediaEntry MakeEntry(const std::string& path, const std::string& name, const std::string& extension) {
    MediaEntry entry;
    entry.m_strPath = path;
    // Untagged files are ordinary: they show their name as the song, not an error.
    entry.m_strSong = SongFromName(name);
    if (!IsMp3Extension(extension)) return entry;
    CMP3TagFile file;
    if (!file.OpenToRead(path)) {
        entry.m_strAlbum = kErrorOpeningFile;
        return entry;
    }
    // A version 1 tag wins; many files today carry only a version 2 tag, at their start.
    CId3v2Tag tagV2;
    if (file.ReadTag() == 0) {
        SetTagTexts(entry, file.GetSong(), file.GetArtist(), file.GetAlbum());
    } else if (file.ReadTagV2(tagV2) == 0) {
        SetTagTexts(entry, tagV2.GetSong(), tagV2.GetArtist(), tagV2.GetAlbum());
    }
    try {
        file.Close();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    }
    return entry;
}
