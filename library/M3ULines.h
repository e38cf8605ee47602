#pragma once
// The rules of M3U play lists and of text read as lines, apart from any file or window: how bytes split
// into lines, which line names a file and how, and the text this program writes.
#include "library/MediaEntry.h"

#include <functional>
#include <string>
#include <vector>

// The header line that starts every play list this program writes, with its line end.
inline constexpr const char* kM3UHeader = "#EXTM3U\r\n";
inline constexpr const char* kM3ULineEnd = "\r\n";

// The text of a file's bytes in the program's code page. A UTF-16 file with a byte-order mark is decoded
// as UTF-16; a UTF-8 mark is dropped and the rest decoded as UTF-8, as is a file that is well-formed
// UTF-8 with at least one byte above ASCII, or any file when utf8 says so (".m3u8" lists). Anything else
// is in the legacy code page.
// The open dialogs' filter: M3U lists in the legacy code page and ".m3u8" ones in UTF-8.
constexpr const char kPlayListFilter[] = "Music Play List (*.m3u;*.m3u8)|*.m3u;*.m3u8|All Files (*.*)|*.*||";
std::string TextToAnsi(const std::string& bytes, bool utf8 = false);
// True for a ".m3u8" name, in any case: a play list in UTF-8.
bool IsUtf8ListName(const std::string& path);

// Splits file bytes into lines. A line ends at LF; a CR right before that LF belongs to the line end. A
// last line without a line end is a line too; an empty text has no lines. A CR anywhere else (also a
// lone CR at the very end) is an ordinary character of its line, and so is a zero byte.
std::vector<std::string> SplitLines(const std::string& bytes);

// The file that one play-list line names, or false for a line that names none (blank, a comment whose
// first non-blank character is "#", or a web address, which the device cannot play). Complete paths are
// taken unchanged: a line with ":\" in it, a drive followed by ":/", or a "\\server\share" path. A line
// starting with one "\" is rooted on the list directory's drive (or share) when it has one, and taken
// unchanged otherwise. Any other line is relative to the list's directory, joined with "\" unless the
// directory is empty. Leading blanks (spaces, tabs) are indentation of the writing program unless the
// path as written exists (exists, when given, says so); nothing else is normalised: no ".." resolution,
// no trimming at the end, forward slashes stay.
bool M3UEntryPath(const std::string& line, const std::string& directory, std::string& path,
                  const std::function<bool(const std::string&)>& exists = {});

// True for a line that starts with an address scheme of two or more characters and "://" (http://...,
// mms://...).
bool IsWebAddress(const std::string& line);

// The extension text the loader passes on: the last four characters of the line (".mp3" for a normal
// MP3 line), or the whole line when it is shorter.
std::string M3UExtension(const std::string& line);

// The directory of a path: everything before its last "\" (empty when there is none).
std::string DirectoryOf(const std::string& path);

// The file name of a path: everything after its last "\" or "/".
std::string FileNameOf(const std::string& path);

// The complete text of a play list: the header, then each entry's path, every line ending in CR LF.
std::string M3UText(const std::vector<MediaEntry>& entries);
