#include "library/M3UWriter.h"

#include "framework/CodePage.h"
#include "framework/File.h"
#include "library/M3ULines.h"

namespace {

bool IsEmptyFile(const std::string& path) {
    CFile file;
    try {
        return file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary) &&
               file.GetLength() == 0;
    } catch (const CException&) {
        return false;
    }
}

} // namespace

M3UWriteResult WriteM3U(const std::vector<MediaEntry>& entries, CTextFile& textFile) {
    // Paths the legacy code page holds are written in it, as every player and earlier version reads an
    // M3U list. A list with any other name is written whole in UTF-8, marked by a byte-order mark at the
    // start of a new file; readers take a well-formed UTF-8 file as UTF-8 even without one.
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    bool legacy = true;
    for (const MediaEntry& entry : entries) {
        std::string bytes;
        if (!TextToLegacy(entry.m_strPath, bytes)) legacy = false;
        lines.push_back(bytes);
    }
    if (!legacy)
        for (size_t i = 0; i < entries.size(); ++i)
            lines[i] = entries[i].m_strPath;

    std::string fileName;
    if (!textFile.AppendText(fileName, legacy ? kM3UHeader : ""))
        return fileName.empty() ? M3UWriteResult::kCancelled : M3UWriteResult::kFailed;
    if (!legacy && !textFile.AppendText(fileName, (IsEmptyFile(fileName) ? "\xEF\xBB\xBF" : "") +
                                                      std::string(kM3UHeader)))
        return M3UWriteResult::kFailed;
    bool allWritten = true;
    for (const std::string& line : lines)
        allWritten = textFile.AppendText(fileName, line + kM3ULineEnd) && allWritten;
    return allWritten ? M3UWriteResult::kWritten : M3UWriteResult::kFailed;
}

M3UWriteResult WriteM3U(const std::vector<MediaEntry>& entries) {
    CTextFile textFile("m3u", "\r\n", "");
    return WriteM3U(entries, textFile);
}
