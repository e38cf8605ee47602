#pragma once
// Turns a file found by a loader into a media file entry.
#include "library/MediaEntry.h"

#include <string>

// Album text of an MP3 entry whose file could not be opened.
extern const char kErrorOpeningFile[];

// The text an untagged file shows as its song: the name's last path part without its extension
// ("C:\\Music\\01 Intro.wav" and "01 Intro.wav" give "01 Intro"); a name that is all extension stays.
std::string SongFromName(const std::string& name);

// True for the extension texts "mp3" and ".mp3" in any mix of case.
bool IsMp3Extension(const std::string& extension);

// An MP3 file (by its extension) is opened for reading, shared with others, and its tag gives song,
// artist and album: the version 1 tag when it has one, else a version 2 tag at its start. A file
// without a tag, and any file of another kind (not opened), shows SongFromName(name) as its song with
// an empty artist and album; an MP3 that cannot be opened shows "Error Opening File" as its album.
MediaEntry MakeEntry(const std::string& path, const std::string& name, const std::string& extension);
