#pragma once
// Turns a file found by a loader into a media file entry.
#include "library/MediaEntry.h"

#include <string>

// Album text of an MP3 entry whose tag could not be read.
extern const char kErrorOpeningFile[];

// True for the extension texts "mp3" and ".mp3" in any mix of case.
bool IsMp3Extension(const std::string& extension);

// An MP3 file (by its extension) is opened for reading, shared with others, and its tag gives song,
// artist and album: the version 1 tag when it has one, else a version 2 tag at its start. Without a
// readable tag the entry shows the name, "Error Opening File" and the path. Any other file is not opened: the name, an empty album and the path.
MediaEntry MakeEntry(const std::string& path, const std::string& name, const std::string& extension);
