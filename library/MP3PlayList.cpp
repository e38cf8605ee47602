#include "library/MP3PlayList.h"

#include "framework/Exception.h"
#include "framework/File.h"
#include "library/M3ULines.h"
#include "library/TextFile.h"

CMP3PlayList::~CMP3PlayList() = default;

int CMP3PlayList::Open(const std::string& path) {
    m_lines.clear();
    m_strError.clear();
    // The path also serves as the filter prefix; it only matters if a dialog were ever shown, and the
    // loader always passes a name.
    CTextFile textFile("m3u", "\r\n", path);
    std::string fileName = path;
    if (!textFile.ReadLines(fileName, m_lines)) {
        m_strError = textFile.m_strError;
        return -1;
    }
    if (m_lines.empty()) throw CInvalidArgException("The play list " + path + " has no lines");
    m_strDirectory = DirectoryOf(path);
    // ReadLines refuses files large enough to overflow this count.
    return static_cast<int>(m_lines.size());
}

int CMP3PlayList::GetEntry(int index, MediaEntry& out, std::string& extension) const {
    if (index < 0 || static_cast<size_t>(index) >= m_lines.size())
        throw CInvalidArgException("Play list line " + std::to_string(index) + " does not exist");
    const std::string& line = m_lines[static_cast<size_t>(index)];
    std::string path;
    if (!M3UEntryPath(line, m_strDirectory, path, PathExists)) return 0;
    out = MediaEntry();
    out.m_strPath = path;
    extension = M3UExtension(line);
    return 1;
}
