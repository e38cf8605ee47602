#include "library/M3UWriter.h"

#include "library/M3ULines.h"

M3UWriteResult WriteM3U(const std::vector<MediaEntry>& entries, CTextFile& textFile) {
    std::string fileName;
    if (!textFile.AppendText(fileName, kM3UHeader))
        return fileName.empty() ? M3UWriteResult::kCancelled : M3UWriteResult::kFailed;
    bool allWritten = true;
    for (const MediaEntry& entry : entries)
        allWritten = textFile.AppendText(fileName, entry.m_strPath + kM3ULineEnd) && allWritten;
    return allWritten ? M3UWriteResult::kWritten : M3UWriteResult::kFailed;
}

M3UWriteResult WriteM3U(const std::vector<MediaEntry>& entries) {
    CTextFile textFile("m3u", "\r\n", "");
    return WriteM3U(entries, textFile);
}
