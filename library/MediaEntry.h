#pragma once
// One media file entry: the five texts that name a file and describe it, always copied whole.
// Texts read from a tag end in one zero character that belongs to the text and is saved with it.
#include <string>

struct MediaEntry {
    std::string m_strPath;
    std::string m_strFileName;
    std::string m_strArtist;
    std::string m_strAlbum;
    std::string m_strSong;

    // Whole-field comparison, zero characters included.
    bool operator==(const MediaEntry& other) const {
        return m_strPath == other.m_strPath && m_strFileName == other.m_strFileName &&
               m_strArtist == other.m_strArtist && m_strAlbum == other.m_strAlbum &&
               m_strSong == other.m_strSong;
    }
    bool operator!=(const MediaEntry& other) const { return !(*this == other); }
};

// A text as displayed, compared and searched: up to its first zero character.
inline std::string DisplayText(const std::string& text) {
    return text.substr(0, text.find('\0'));
}
