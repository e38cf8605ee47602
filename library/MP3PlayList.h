#pragma once
// CMP3PlayList: the M3U reader the loading worker uses. It reads all lines of a play list at once and then
// answers, line by line, which file a line names.
#include "library/MediaEntry.h"

#include <string>
#include <vector>

class CMP3PlayList {
public:
    CMP3PlayList() = default;
    virtual ~CMP3PlayList();

    // Reads the play list at path: the number of lines, or -1 when the file could not be read (the
    // reason is then in m_strError). Throws CInvalidArgException for a file without a single line.
    int Open(const std::string& path);
    int GetCount() const { return static_cast<int>(m_lines.size()); }

    // 1 when line index names a file: out becomes an entry with only its path set, and extension the
    // line's last four characters. 0 for a line that names none (blank, a "#" line such as the header,
    // indented or not, or a web address); out and extension are then left alone. Throws
    // CInvalidArgException for an index outside 0 .. GetCount() - 1.
    int GetEntry(int index, MediaEntry& out, std::string& extension) const;

    std::vector<std::string> m_lines;  // the lines of the file, in order
    std::string m_strDirectory;        // the file's directory: its path before the last "\"
    std::vector<MediaEntry> m_entries; // not filled by this program
    std::string m_strError;            // why the last Open returned -1
};
