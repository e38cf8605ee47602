#include "support/MusicTree.h"

#include "support/TestMedia.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Plain C files: the fewest calls per file, which matters when thousands are written under Wine.
bool WriteBytes(const std::string& path, const MediaBytes& first, const MediaBytes* second = nullptr) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(first.data(), 1, first.size(), file) == first.size();
    if (written && second) written = std::fwrite(second->data(), 1, second->size(), file) == second->size();
    return std::fclose(file) == 0 && written;
}

std::string Numbered(const char* word, size_t number, int digits) {
    char text[64];
    std::snprintf(text, sizeof(text), "%s %0*zu", word, digits, number);
    return text;
}

} // namespace

CMusicTree::CMusicTree(std::string root, size_t artists, size_t albumsPerArtist)
    : m_strRoot(std::move(root)), m_nArtists(artists ? artists : 1),
      m_nAlbumsPerArtist(albumsPerArtist ? albumsPerArtist : 1) {}

std::string CMusicTree::FolderOf(size_t folderIndex) const {
    const size_t artist = folderIndex / m_nAlbumsPerArtist;
    const size_t album = folderIndex % m_nAlbumsPerArtist;
    return (fs::path(m_strRoot) / Numbered("Artist", artist, 2) / Numbered("Album", album, 2)).string();
}

bool CMusicTree::Write(size_t fileCount) {
    Remove();
    m_nTagged = m_nUntagged = m_nWav = m_nOther = 0;
    m_nFolders = m_nArtists * m_nAlbumsPerArtist;
    m_files.reserve(fileCount);
    const MediaBytes frame = MakeSilentMp3(1);
    const MediaBytes wav = MakeWavTone(5);
    const MediaBytes cover(200, 0x5A);
    const MediaBytes notes{'l', 'i', 'n', 'e', '\r', '\n'};
    size_t folderIndex = m_nFolders;
    std::string folder;
    for (size_t i = 0; i < fileCount; ++i) {
        // Consecutive files share a folder, as an album's tracks do.
        const size_t wanted = i * m_nFolders / fileCount;
        if (wanted != folderIndex) {
            folderIndex = wanted;
            folder = FolderOf(folderIndex);
            const std::string artist = fs::path(folder).parent_path().string();
            if (std::find(m_folders.begin(), m_folders.end(), artist) == m_folders.end()) {
                if (!fs::create_directory(artist)) return false;
                m_folders.push_back(artist);
            }
            if (!fs::create_directory(folder)) return false;
            m_folders.push_back(folder);
        }
        const size_t kind = i % 10;
        const std::string stem = (fs::path(folder) / Numbered("Track", i, 5)).string();
        const MediaBytes* first = &frame;
        const MediaBytes* second = nullptr;
        MediaBytes tag;
        std::string extension = ".mp3";
        if (kind < kTaggedInTen) {
            tag = MakeId3v1Tag({Numbered("Song", i, 5), Numbered("Artist", folderIndex / m_nAlbumsPerArtist, 2),
                                Numbered("Album", folderIndex, 3)});
            second = &tag;
            ++m_nTagged;
        } else if (kind < kTaggedInTen + kUntaggedInTen) {
            ++m_nUntagged;
        } else if (kind < kTaggedInTen + kUntaggedInTen + kWavInTen) {
            first = &wav;
            extension = ".wav";
            ++m_nWav;
        } else {
            const bool picture = (i / 10) % 2 != 0;
            first = picture ? &cover : &notes;
            extension = picture ? ".jpg" : ".txt";
            ++m_nOther;
        }
        m_files.push_back(stem + extension);
        if (!WriteBytes(m_files.back(), *first, second)) return false;
    }
    return true;
}

void CMusicTree::Remove() {
    for (const std::string& file : m_files) std::remove(file.c_str());
    std::error_code error;
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) fs::remove(*folder, error);
    m_files.clear();
    m_folders.clear();
}
