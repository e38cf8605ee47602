#pragma once
// Helpers shared by the saved-list tests: entries to save, and reading a saved list back whole.
#include "library/SavedList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Failures show the texts, zero characters visible, rather than the object's bytes.
inline void PrintTo(const MediaEntry& entry, std::ostream* os) {
    *os << "{";
    const std::string* fields[] = {&entry.m_strPath, &entry.m_strFileName, &entry.m_strArtist,
                                   &entry.m_strAlbum, &entry.m_strSong};
    for (const std::string* field : fields) {
        *os << (field == fields[0] ? "\"" : ", \"");
        for (char c : *field)
            if (c == '\0')
                *os << "\\0";
            else
                *os << c;
        *os << "\"";
    }
    *os << "}";
}

namespace savedlist_test {

using Bytes = std::vector<unsigned char>;

struct ReadBack {
    std::vector<MediaEntry> entries;
    std::vector<size_t> batchSizes;
    size_t returned = 0;
    uint64_t position = 0; // where the file was left
};

inline ReadBack ReadBytes(const Bytes& bytes, size_t batchSize = kSavedListBatchSize) {
    CMemFile file(bytes);
    ReadBack result;
    result.returned = ReadSavedList(
        file,
        [&](std::vector<MediaEntry>&& batch) {
            result.batchSizes.push_back(batch.size());
            for (MediaEntry& entry : batch)
                result.entries.push_back(std::move(entry));
        },
        batchSize);
    result.position = file.GetPosition();
    return result;
}

inline std::vector<MediaEntry> LoadFile(const std::string& path, int* sinkCalls = nullptr) {
    std::vector<MediaEntry> entries;
    int calls = 0;
    size_t returned = LoadSavedListFile(path, [&](std::vector<MediaEntry>&& batch) {
        ++calls;
        for (MediaEntry& entry : batch)
            entries.push_back(std::move(entry));
    });
    EXPECT_EQ(returned, entries.size());
    if (sinkCalls) *sinkCalls = calls;
    return entries;
}

inline Bytes Store(const std::vector<MediaEntry>& entries) {
    CMemFile file;
    StoreSavedList(file, entries);
    return file.GetData();
}

// A list of n entries with texts that differ in length, tag texts with their zero character included.
inline std::vector<MediaEntry> MakeEntries(size_t n, size_t pathPadding = 0) {
    std::vector<MediaEntry> entries;
    entries.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        std::string number = std::to_string(i);
        entries.push_back(MediaEntry{"C:\\Music\\" + std::string(pathPadding + i % 7, 'p') + number + ".mp3",
                                     "", "Artist " + number + std::string(1, '\0'), "Album " + number,
                                     "Song " + number + std::string(1, '\0')});
    }
    return entries;
}

} // namespace savedlist_test
