#include "lists/TagEditorDlg.h"

#include "framework/App.h"
#include "framework/CodePage.h"
#include "framework/Debug.h"
#include "library/Id3v1Tag.h"
#include "library/MP3TagFile.h"
#include "res/resource.h"

#include <array>
#include <string>

namespace {

using TagBlock = std::array<unsigned char, CId3v1Tag::kBlockSize>;

// The block as it is on disk, so that a failed edit can put back every byte.
bool ReadBlock(CMP3TagFile& file, TagBlock& block) {
    try {
        uint64_t length = file.GetLength();
        if (length < block.size()) return false;
        file.Seek(static_cast<int64_t>(length - block.size()), CFile::begin);
        return file.Read(block.data(), block.size()) == block.size();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
        return false;
    }
}

bool RestoreBlock(CMP3TagFile& file, const TagBlock& block) {
    try {
        file.Seek(static_cast<int64_t>(file.GetLength() - block.size()), CFile::begin);
        file.Write(block.data(), block.size());
        file.Flush();
        return true;
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
        return false;
    }
}

// The system's words for the most recent failure of this thread, or a plain fallback.
std::string LastErrorText(const char* fallback) {
    DWORD error = ::GetLastError();
    if (error == ERROR_SUCCESS) return fallback;
    char* text = nullptr;
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length && text ? std::string(text, length) : std::string(fallback);
    if (text) ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
    return result;
}

}  // namespace

CPropertiesDlg::CPropertiesDlg(const MediaEntry& entry, CWnd* owner)
    : CDialog(IDD_PROPERTIES, owner),
      m_strArtist(DisplayText(entry.m_strArtist)),
      m_strAlbum(DisplayText(entry.m_strAlbum)),
      m_strPath(entry.m_strPath),
      m_strSong(DisplayText(entry.m_strSong)) {}

void CPropertiesDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_ARTIST, m_strArtist);
    DDX_Text(pDX, IDC_ALBUM, m_strAlbum);
    DDX_Text(pDX, IDC_PATH, m_strPath);
    DDX_Text(pDX, IDC_SONG, m_strSong);
}

void CPropertiesDlg::Tell(const std::string& text) const {
    if (m_pParentWnd && m_pParentWnd->IsWindow())
        m_pParentWnd->MessageBox(text);
    else
        AfxMessageBox(text);
}

bool CPropertiesDlg::SaveTag(MediaEntry& entry) {
    // The version 1 tag holds bytes of one legacy code page: a text it cannot hold is refused whole,
    // before anything is written, rather than stored with question marks.
    for (auto [text, name] : {std::pair{&m_strSong, "song"}, std::pair{&m_strArtist, "artist"},
                              std::pair{&m_strAlbum, "album"}}) {
        std::array<unsigned char, CId3v1Tag::kFieldSize> bytes{};
        if (!CId3v1Tag::FieldBytes(*text, bytes)) {
            Tell("Error Writting to disk\n\nThe MP3 tag keeps its texts in code page " +
                 std::to_string(LegacyCodePage()) + ", which cannot hold every character of the " + name +
                 ". Nothing was written.");
            return false;
        }
    }
    CMP3TagFile file;
    CFileException openError("");
    TagBlock original{};
    // Alone, so that nobody (the playing device included) reads a half-written block.
    if (!file.OpenToEdit(m_strPath, &openError) || file.ReadTag() != 0 || !ReadBlock(file, original)) {
        std::string reason = file.IsOpen() ? "The file has no MP3 tag." : openError.GetErrorMessage();
        Tell("Error Writting to disk\n\n" + reason);
        Tell("Error Opening File");
        return false;
    }

    bool written = true;
    ::SetLastError(ERROR_SUCCESS);
    for (auto [text, field] : {std::pair{&m_strAlbum, CId3v1Tag::fieldAlbum},
                               std::pair{&m_strArtist, CId3v1Tag::fieldArtist},
                               std::pair{&m_strSong, CId3v1Tag::fieldSong}}) {
        if (file.WriteTagField(*text, field) != 0) {
            written = false;
            break;
        }
    }
    if (written) {
        try {
            file.Flush();
        } catch (const CException& e) {
            DebugOutput(e.GetErrorMessage());
            written = false;
        }
    }
    if (!written) {
        std::string reason = LastErrorText("The tag could not be written.");
        if (!RestoreBlock(file, original)) reason += "\nThe tag may be damaged.";
        Tell("Error Writting to disk\n\n" + reason);
        return false;
    }
    try {
        file.Close();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    }

    entry.m_strArtist = m_strArtist;
    entry.m_strAlbum = m_strAlbum;
    entry.m_strSong = m_strSong;
    return true;
}
