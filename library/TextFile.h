#pragma once
// CTextFile: reads a whole text file as lines, appends text to a file, and asks the user for a file name
// when none is given. The reading and writing are portable; the file dialog is the system's.
#include <cstdint>
#include <string>
#include <vector>

class CTextFile {
public:
    // Larger files are refused rather than read into memory (a play list of that size is not one).
    static constexpr uint64_t kMaxReadSize = 64u << 20;

    CTextFile(const std::string& extension, const std::string& lineEnd, const std::string& filterPrefix);
    virtual ~CTextFile();

    // Shows the system's open (save = false) or save (save = true) dialog for files of m_strExtension;
    // true and the chosen full path in fileName when the user picks a file. Where there is no file dialog
    // the user cannot choose, and the result is false.
    virtual bool AskFileName(bool save, std::string& fileName, const std::string& filterPrefix);

    // Reads fileName (asking first when it is empty) into lines, in the system code page (byte-order marks
    // and UTF-8 are honoured as TextToAnsi says). False, with m_strError set when the file
    // could not be read, when the user cancels the dialog or when the file is larger than kMaxReadSize.
    bool ReadLines(std::string& fileName, std::vector<std::string>& lines);
    // Appends the bytes of text to fileName (asking with the save dialog first when it is empty; the
    // chosen name stays in fileName), creating the file when it does not exist. Nothing is truncated and
    // no line end is added.
    bool AppendText(std::string& fileName, const std::string& text);

    // The file dialog's filter in its written form, '|' between the parts: two entries, the play-list
    // files of this extension and all files. Empty when there is no extension (no filter at all).
    static std::string FilterText(const std::string& filterPrefix, const std::string& extension);
    // The same filter as the system dialog takes it: every '|' becomes a zero character.
    static std::string DialogFilter(const std::string& filterText);

    std::string m_strError;        // text of the last error; empty after a successful read
    std::string m_strExtension;    // default extension, without dot
    std::string m_strFilterPrefix; // put in front of the file-type description in the dialog's filter
    std::string m_strLineEnd;      // kept for callers; writing uses the line ends the caller supplies
    std::string m_strFilePath;     // the requested name, after a successful read the full path
    std::string m_strFileName;     // the last file read, without directory

private:
    // The full path of a file that exists; the path itself when the system cannot tell.
    static std::string FullPathOf(const std::string& path);
};
