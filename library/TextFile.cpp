#include "library/TextFile.h"

#include "framework/File.h"
#include "library/M3ULines.h"

#include <algorithm>

namespace {

constexpr size_t kMaxErrorLength = 255;
constexpr size_t kReadChunk = 64 * 1024;

std::string ErrorText(const CException& error) {
    return error.GetErrorMessage(kMaxErrorLength);
}

std::string TooLargeText() {
    return "The file is larger than " + std::to_string(CTextFile::kMaxReadSize >> 20) +
           " MB and is not read as text";
}

} // namespace

CTextFile::CTextFile(const std::string& extension, const std::string& lineEnd,
                     const std::string& filterPrefix)
    : m_strExtension(extension), m_strFilterPrefix(filterPrefix), m_strLineEnd(lineEnd) {}

CTextFile::~CTextFile() = default;

bool CTextFile::ReadLines(std::string& fileName, std::vector<std::string>& lines) {
    m_strError.clear();
    if (fileName.empty() && !AskFileName(false, fileName, m_strFilterPrefix)) return false;
    m_strFilePath = fileName;

    CFile file;
    CFileException openError("");
    if (!file.Open(fileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, &openError)) {
        m_strError = ErrorText(openError);
        return false;
    }
    lines.clear();
    std::string bytes;
    try {
        // The length is checked first and the reading is bounded as well: a file may grow meanwhile, and
        // devices report no length at all.
        if (file.GetLength() > kMaxReadSize) {
            m_strError = TooLargeText();
            return false;
        }
        std::string chunk(kReadChunk, '\0');
        for (;;) {
            size_t count = file.Read(chunk.data(), chunk.size());
            if (count == 0) break;
            if (bytes.size() + count > kMaxReadSize) {
                m_strError = TooLargeText();
                return false;
            }
            bytes.append(chunk, 0, count);
        }
        file.Close();
    } catch (const CFileException& error) {
        m_strError = ErrorText(error);
        return false;
    }
    lines = SplitLines(TextToAnsi(bytes, IsUtf8ListName(fileName)));
    m_strFilePath = FullPathOf(fileName);
    m_strFileName = FileNameOf(m_strFilePath);
    return true;
}

bool CTextFile::AppendText(std::string& fileName, const std::string& text) {
    if (fileName.empty() && !AskFileName(true, fileName, m_strFilterPrefix)) return false;

    CFile file;
    CFileException openError("");
    if (!file.Open(fileName, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::typeBinary,
                   &openError)) {
        m_strError = ErrorText(openError);
        return false;
    }
    try {
        file.SeekToEnd();
        file.Write(text.data(), text.size());
        file.Close();
    } catch (const CFileException& error) {
        m_strError = ErrorText(error);
        return false;
    }
    return true;
}

std::string CTextFile::FilterText(const std::string& filterPrefix, const std::string& extension) {
    if (extension.empty()) return std::string();
    return filterPrefix + "PlayList (*." + extension + ")|*." + extension + "|All Files (*.*)|*.*||";
}

std::string CTextFile::DialogFilter(const std::string& filterText) {
    std::string filter = filterText;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter;
}
