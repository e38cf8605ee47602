#include "settings/MelodeckSettings.h"

#include "framework/App.h"
#include "framework/CodePage.h"
#include "framework/Debug.h"
#include "framework/File.h"
#include "library/SavedList.h"
#include "settings/FontRecord.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string CMelodeckSettings::IniPathFor(const std::string& programPath) {
    if (programPath.size() < 3 || programPath.size() >= static_cast<size_t>(kPathSize)) return {};
    if (programPath.find('\0') != std::string::npos) return {};
    return programPath.substr(0, programPath.size() - 3) + "ini";
}

namespace {
std::string& ProgramIniPath() {
    static std::string path;
    return path;
}

void ShowWriteFailure(const std::string& iniPath, const std::string& reason) {
    AfxMessageBox(SavedListErrorText(iniPath, reason), MB_OK | MB_ICONERROR);
}

// Earlier versions wrote the file in the legacy code page. With the program's texts in UTF-8 the profile
// functions would read its other bytes as broken characters, and write them back so with the next
// option: such a file is turned into UTF-8, in place, before it is read (the file is a few lines).
void ConvertLegacyIni(const std::string& path) {
    if (!ProgramIsUtf8() || path.empty()) return;
    try {
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return;
        const uint64_t length = file.GetLength();
        if (length == 0 || length > (1u << 20)) return;
        std::string bytes(static_cast<size_t>(length), '\0');
        bytes.resize(file.Read(&bytes[0], bytes.size()));
        file.Close();
        if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 || IsUtf8(bytes))
            return;
        const std::string text = StoredToText(bytes);
        CFile out;
        if (!out.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::shareExclusive | CFile::typeBinary))
            return;
        out.Write(text.data(), text.size());
        out.Close();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    }
}

}  // namespace

void (*CMelodeckSettings::s_pfnReportWriteFailure)(const std::string&, const std::string&) = ShowWriteFailure;
bool CMelodeckSettings::s_bWriteFailureReported = false;

void CMelodeckSettings::SetProgramIniPath(const std::string& path) { ProgramIniPath() = path; }

// The profile functions report a file they cannot write only through their result.
void CMelodeckSettings::WriteText(const std::string& key, const std::string& text) const {
    const std::string path = GetIniPath();
    if (path.empty()) return;
    // One line of the file; an empty text removes the key.
    const std::string line = text.substr(0, text.find_first_of(std::string("\r\n\0", 3)));
    if (::WritePrivateProfileStringA(kSectionWritten, key.c_str(), line.empty() ? nullptr : line.c_str(),
                                     path.c_str()))
        return;
    const long error = static_cast<long>(::GetLastError());
    if (s_bWriteFailureReported || !s_pfnReportWriteFailure) return;
    s_bWriteFailureReported = true;
    s_pfnReportWriteFailure(path, CFile::OsErrorText(error));
}

std::string CMelodeckSettings::GetIniPath() const {
    if (!m_strIniPath.empty()) {
        ConvertLegacyIni(m_strIniPath);
        return m_strIniPath;
    }
    if (!ProgramIniPath().empty()) {
        ConvertLegacyIni(ProgramIniPath());
        return ProgramIniPath();
    }
    char path[kPathSize] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, kPathSize);
    // A path that filled the buffer was cut (and on older systems is not terminated).
    if (length == 0 || length >= static_cast<DWORD>(kPathSize)) return {};
    const std::string iniPath = IniPathFor(std::string(path, length));
    ConvertLegacyIni(iniPath);
    return iniPath;
}

int CMelodeckSettings::ReadInt(const std::string& key, int defaultValue) const {
    const std::string path = GetIniPath();
    if (path.empty()) return defaultValue;
    return static_cast<int>(::GetPrivateProfileIntA(kSectionRead, key.c_str(), defaultValue, path.c_str()));
}

void CMelodeckSettings::WriteInt(const std::string& key, int value) const {
    char text[16] = {};
    std::snprintf(text, sizeof(text), "%d", value);
    WriteText(key, text);
}

std::string CMelodeckSettings::ReadText(const std::string& key) const {
    const std::string path = GetIniPath();
    if (path.empty()) return {};
    std::string text(8192, '\0');
    const DWORD length = ::GetPrivateProfileStringA(kSectionRead, key.c_str(), "", &text[0],
                                                    static_cast<DWORD>(text.size()), path.c_str());
    text.resize(length);
    return text;
}

std::string CMelodeckSettings::ReadFontText() const {
    const std::string path = GetIniPath();
    if (path.empty()) return kNoFont;
    char text[kPathSize] = {};
    const DWORD length =
        ::GetPrivateProfileStringA(kSectionRead, kFont, kNoFont, text, kPathSize, path.c_str());
    return std::string(text, length < static_cast<DWORD>(kPathSize) ? length : kPathSize - 1);
}

void CMelodeckSettings::WriteFontText(const std::string& text) const {
    WriteText(kFont, text.substr(0, text.find_first_of(std::string("\r\n\0", 3))));
}

std::string CMelodeckSettings::ReadLyricsHost() const {
    const std::string path = GetIniPath();
    char text[kPathSize] = {};
    if (!path.empty()) ::GetPrivateProfileStringA(kSectionRead, kLyricsHost, "", text, kPathSize, path.c_str());
    const std::string host = text;
    const size_t first = host.find_first_not_of(" \t");
    if (first == std::string::npos) return kDefaultLyricsHost;
    return host.substr(first, host.find_last_not_of(" \t") - first + 1);
}

bool CMelodeckSettings::LoadFont(CFont& font) const {
    const std::string text = ReadFontText();
    if (text.empty()) return false;
    LOGFONTA description{};
    description.lfCharSet = DEFAULT_CHARSET;
    FontRecord record;
    if (!ParseFontRecord(text, record)) return false;
    std::memcpy(description.lfFaceName, record.m_strFaceName.data(),
                record.m_strFaceName.size() < LF_FACESIZE ? record.m_strFaceName.size() : LF_FACESIZE - 1);
    description.lfHeight = record.m_nHeight;
    description.lfWeight = record.m_nWeight;
    description.lfItalic = record.m_nItalic;
    font.DeleteObject();
    return font.CreateFontIndirect(description);
}

void CMelodeckSettings::SaveFont(const CFont& font) const {
    LOGFONTA description{};
    if (!font.GetLogFont(&description)) return;
    FontRecord record;
    record.m_strFaceName.assign(description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
    record.m_nHeight = description.lfHeight;
    record.m_nWeight = description.lfWeight;
    record.m_nItalic = description.lfItalic;
    WriteFontText(FormatFontRecord(record));
}
