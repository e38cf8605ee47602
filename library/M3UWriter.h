#pragma once
// Writing a list out as an M3U play list the user chooses: the "#EXTM3U" header, then one full path per
// line, every line ending in CR LF. The file is appended to, never truncated: choosing an existing play
// list (the save dialog asks first) keeps its old lines in front of the new header.
#include "library/MediaEntry.h"
#include "library/TextFile.h"

#include <vector>

enum class M3UWriteResult {
    kWritten,   // the header and every line were written
    kCancelled, // the user cancelled the save dialog; nothing was written
    kFailed,    // the file could not be opened (nothing written) or some lines were not written
};

// Writes entries through textFile, which asks for the file name with its save dialog. A failure to write
// the header ends the writing; later lines are each attempted whatever happened to the one before. The
// reason for the last failure is in textFile.m_strError.
M3UWriteResult WriteM3U(const std::vector<MediaEntry>& entries, CTextFile& textFile);
// The same with the program's play-list file type ("m3u" files, no filter prefix).
M3UWriteResult WriteM3U(const std::vector<MediaEntry>& entries);
