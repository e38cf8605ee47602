#include "library/SavedList.h"

#include "framework/Archive.h"
#include "framework/Debug.h"
#include "framework/Exception.h"
#include "library/MediaFile.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <limits>
#include <utility>

namespace {

constexpr int kQueueListId = 163;

std::string& SavedListFolder() {
    static std::string folder;
    return folder;
}

// Removes the temporary file unless the save went through; the file is closed first, as Windows cannot
// remove an open file.
class CTempFileGuard {
public:
    CTempFileGuard(std::string path, std::unique_ptr<CFile>& file)
        : m_strPath(std::move(path)), m_file(file) {}
    ~CTempFileGuard() {
        if (m_bKeep) return;
        m_file.reset();
        std::remove(m_strPath.c_str());
    }
    CTempFileGuard(const CTempFileGuard&) = delete;
    CTempFileGuard& operator=(const CTempFileGuard&) = delete;

    void Keep() { m_bKeep = true; }

private:
    std::string m_strPath;
    std::unique_ptr<CFile>& m_file;
    bool m_bKeep = false;
};

void StoreRecords(CFile& file, const std::vector<MediaEntry>& entries,
                  const std::function<void(size_t, size_t)>& fnProgress) {
    // Every record carries the total as a 32-bit count; a longer list has no faithful file.
    if (entries.size() > std::numeric_limits<uint32_t>::max())
        throw CInvalidArgException("The list has too many entries to be saved");
    CArchive archive(&file, CArchive::store);
    CMediaFile record;
    record.m_nCount = static_cast<uint32_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        record.SetEntry(entries[i]);
        record.Serialize(archive);
        if (fnProgress) fnProgress(i + 1, entries.size());
    }
    archive.Close();
}

} // namespace

const char* SavedListFileName(int listId) {
    return listId == kQueueListId ? "Queue.dat" : "Playlist.dat";
}

void SetSavedListFolder(const std::string& folder) { SavedListFolder() = folder; }

const std::string& GetSavedListFolder() { return SavedListFolder(); }

std::string SavedListPath(int listId) { return JoinPath(SavedListFolder(), SavedListFileName(listId)); }

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

size_t ReadSavedList(CFile& file, const SavedListSink& sink, size_t batchSize) {
    if (batchSize == 0) batchSize = 1;
    uint64_t start = 0;
    std::unique_ptr<CArchive> archive;
    try {
        start = file.GetPosition();
        archive = std::make_unique<CArchive>(&file, CArchive::load);
    } catch (const std::exception& e) {
        DebugOutput(e.what());
        return 0;
    }
    const uint64_t initialRemaining = archive->GetRemaining();
    uint64_t taken = 0; // bytes of the complete records read
    size_t total = 0;
    std::vector<MediaEntry> batch;
    auto handOver = [&] {
        total += batch.size();
        sink(std::move(batch));
        batch.clear();
    };
    // Each record takes at least 9 bytes of the data, so the loop ends; the archive refuses any string
    // longer than the data left, so nothing is allocated beyond the file's size.
    for (uint64_t index = 1; !archive->IsAtEnd(); ++index) {
        CMediaFile record;
        try {
            record.Serialize(*archive);
        } catch (const std::exception& e) {
            // A cut or malformed record ends the list; the records before it stand.
            DebugOutputF("Saved list %s: record %llu unreadable: %s", file.GetFilePath().c_str(),
                         static_cast<unsigned long long>(index), e.what());
            break;
        }
        taken = initialRemaining - archive->GetRemaining();
        batch.push_back(MediaEntry{std::move(record.m_strPath), std::move(record.m_strFileName),
                                   std::move(record.m_strArtist), std::move(record.m_strAlbum),
                                   std::move(record.m_strSong)});
        if (batch.size() >= batchSize) handOver();
        // The writer puts the number of records into each; a file that says fewer than it holds ends
        // where it says. A count of 0 never matches, so such a file is read to its end.
        if (record.m_nCount == index) break;
    }
    if (!batch.empty()) handOver();
    archive.reset();
    try {
        file.Seek(static_cast<int64_t>(start + taken), CFile::begin);
    } catch (const std::exception& e) {
        DebugOutput(e.what());
    }
    return total;
}

size_t LoadSavedListFile(const std::string& path, const SavedListSink& sink, size_t batchSize) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return 0;
    try {
        if (file.GetLength() == 0) return 0;
    } catch (const std::exception& e) {
        DebugOutput(e.what());
        return 0;
    }
    return ReadSavedList(file, sink, batchSize);
}

void StoreSavedList(CFile& file, const std::vector<MediaEntry>& entries) {
    StoreRecords(file, entries, nullptr);
}

std::string SavedListTempPath(const std::string& path) {
    return path + ".tmp";
}

bool WriteSavedList(const std::string& path, const std::vector<MediaEntry>& entries, std::string* error,
                    const SavedListWriteOptions& options) {
    auto fail = [error](const std::string& text) {
        if (error) *error = text;
        return false;
    };
    // One fixed name: a temporary file left behind by a crash is simply taken over by the next save.
    const std::string tempPath = SavedListTempPath(path);
    std::unique_ptr<CFile> file = options.fnMakeFile ? options.fnMakeFile() : std::make_unique<CFile>();
    if (!file) return fail("No file to write to");
    CFileException openError("");
    // Exclusive, so that two saves of the same list cannot mix their records.
    if (!file->Open(tempPath,
                    CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary,
                    &openError))
        return fail(openError.what());
    CTempFileGuard guard(tempPath, file);
    try {
        StoreRecords(*file, entries, options.fnProgress);
        // On the disk before it takes the old file's place: a crash after the replacement must not
        // leave a file whose blocks were never written.
        file->Flush();
        file->Close();
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    file.reset();
    std::string replaceError;
    if (!ReplaceFileWith(path, tempPath, &replaceError)) return fail(replaceError);
    guard.Keep();
    return true;
}

std::string SavedListErrorText(const std::string& fileName, const std::string& error) {
    std::string text = "Error Writting to disk\n" + fileName;
    if (!error.empty()) text += "\n" + error;
    return text;
}
