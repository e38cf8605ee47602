#pragma once
// A large folder tree of small media files for scan tests and benchmarks: seven in ten files are tagged
// MP3s, one untagged MP3, one WAV and one something else (a cover picture or a text), spread over
// artist and album folders. Each MP3 is one silent frame, so thousands of files are made in seconds.
// Portable: paths use the platform's separator.
#include <cstddef>
#include <string>
#include <vector>

class CMusicTree {
public:
    // The files' kinds, in the order of each group of ten.
    static constexpr size_t kTaggedInTen = 7;
    static constexpr size_t kUntaggedInTen = 1;
    static constexpr size_t kWavInTen = 1;

    // root must exist; the tree goes inside it.
    explicit CMusicTree(std::string root, size_t artists = 8, size_t albumsPerArtist = 5);

    // Writes fileCount files; false when a folder or file could not be written.
    bool Write(size_t fileCount);
    // Removes the files and folders written; what is left of the root is the caller's.
    void Remove();

    const std::string& Root() const { return m_strRoot; }
    size_t TaggedMp3Count() const { return m_nTagged; }
    size_t UntaggedMp3Count() const { return m_nUntagged; }
    size_t WavCount() const { return m_nWav; }
    size_t OtherCount() const { return m_nOther; }
    // The files a folder scan takes.
    size_t MusicCount() const { return m_nTagged + m_nUntagged + m_nWav; }
    size_t FolderCount() const { return m_nFolders; }

private:
    std::string FolderOf(size_t folderIndex) const;

    std::string m_strRoot;
    size_t m_nArtists;
    size_t m_nAlbumsPerArtist;
    size_t m_nTagged = 0;
    size_t m_nUntagged = 0;
    size_t m_nWav = 0;
    size_t m_nOther = 0;
    size_t m_nFolders = 0;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;  // parents before children
};
