#pragma once
// The saved queue and play list: "Queue.dat" and "Playlist.dat" in the working directory. The file is
// the CMediaFile records of the list's entries back to back, each carrying the number of records; an
// empty list is an empty file. No header, no trailer.
#include "framework/File.h"
#include "library/MediaEntry.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The saved file of a list window: 163 (the queue) -> "Queue.dat", any other -> "Playlist.dat".
const char* SavedListFileName(int listId);

// The folder of both saved files, fixed once at start-up before any list loads: a file dialog that
// moves the working directory must not move the lists. Empty (the default) means the working directory.
void SetSavedListFolder(const std::string& folder);
const std::string& GetSavedListFolder();
// The saved file of a list window in that folder.
std::string SavedListPath(int listId);
// folder joined with name by one backslash; name alone when folder is empty.
std::string JoinPath(const std::string& folder, const std::string& name);

// Receives the entries read, in file order, a batch at a time, so that a list window can insert many rows
// at once and fit its columns once per batch. Batches are never empty.
using SavedListSink = std::function<void(std::vector<MediaEntry>&&)>;

constexpr size_t kSavedListBatchSize = 256;

// Reads records from the file's current position and hands their entries to sink. Returns the number of
// entries handed over. Reading stops after record i when that record's count equals i (the count is
// meant to be the number of records, and a file may go on past it), at the end of the data, or at the
// first record that is incomplete or malformed; every complete record before that is kept. A count of 0
// therefore reads to the end. Never throws for bad data or read errors; exceptions of sink pass through.
// Afterwards the file is positioned just after the last record taken (as far as the file can seek).
size_t ReadSavedList(CFile& file, const SavedListSink& sink, size_t batchSize = kSavedListBatchSize);

// Opens the file for reading and reads it as above. A missing, unreadable or empty file gives nothing.
size_t LoadSavedListFile(const std::string& path, const SavedListSink& sink,
                         size_t batchSize = kSavedListBatchSize);

// Writes the records of entries to file at its position. Throws the file's CFileException on failure.
void StoreSavedList(CFile& file, const std::vector<MediaEntry>& entries);

struct SavedListWriteOptions {
    // Makes the (unopened) file object the records are written through; tests substitute one that fails.
    std::function<std::unique_ptr<CFile>()> fnMakeFile;
    // Called after each record has been stored in the temporary file (records so far, all records); tests
    // use it to stop a save halfway.
    std::function<void(size_t written, size_t total)> fnProgress;
};

// Replaces the file at path with the records of entries. The records go to a temporary file beside it
// (path + ".tmp"), which is flushed to the disk and only then put in place of the old file, so that a
// failure or a crash at any moment leaves either the old file or the new one, complete. On failure the
// old file is untouched, the temporary file is removed, and error (when given) receives the system's
// description of what went wrong.
bool WriteSavedList(const std::string& path, const std::vector<MediaEntry>& entries, std::string* error,
                    const SavedListWriteOptions& options = {});

// The temporary file WriteSavedList writes before it replaces path.
std::string SavedListTempPath(const std::string& path);

// The text of the message box that reports a failed save: the program's fixed text, the file and the
// system's reason.
std::string SavedListErrorText(const std::string& fileName, const std::string& error);
