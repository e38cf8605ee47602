#pragma once
// The rules of M3U play lists and of text read as lines, apart from any file or window: how bytes split
// into lines, which line names a file and how, and the text this program writes.
#include "library/MediaEntry.h"

#include <string>
#include <vector>

// The header line that starts every play list this program writes, with its line end.
inline constexpr const char* kM3UHeader = "#EXTM3U\r\n";
inline constexpr const char* kM3ULineEnd = "\r\n";

// Splits file bytes into lines. A line ends at LF; a CR right before that LF belongs to the line end. A
// last line without a line end is a line too; an empty text has no lines. A CR anywhere else (also a
// lone CR at the very end) is an ordinary character of its line, and so is a zero byte.
std::vector<std::string> SplitLines(const std::string& bytes);

// The file that one play-list line names, or false for a line that names none (empty, or starting with
// "#"). A line with ":\" in it is a complete path and is taken unchanged; any other line is relative to
// the list's directory, joined with "\" unless the directory is empty. Nothing else is normalised: no
// ".." resolution, no trimming, forward slashes stay.
bool M3UEntryPath(const std::string& line, const std::string& directory, std::string& path);

// The extension text the loader passes on: the last four characters of the line (".mp3" for a normal
// MP3 line), or the whole line when it is shorter.
std::string M3UExtension(const std::string& line);

// The directory of a path: everything before its last "\" (empty when there is none).
std::string DirectoryOf(const std::string& path);

// The file name of a path: everything after its last "\" or "/".
std::string FileNameOf(const std::string& path);

// The complete text of a play list: the header, then each entry's path, every line ending in CR LF.
std::string M3UText(const std::vector<MediaEntry>& entries);
