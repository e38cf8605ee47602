// The system side of CTextFile on Windows: the common file dialog and the full path of a file.
#include "library/TextFileDialog.h"

#include "framework/Debug.h"
#include "library/TextFile.h"

CTextFileDialog::CTextFileDialog(bool save, const std::string& defaultExtension,
                                 const std::string& filterText, DWORD flags, HWND owner)
    : m_ofn(), m_bSave(save), m_strDefaultExtension(defaultExtension),
      m_strFilter(CTextFile::DialogFilter(filterText)), m_fileName(4 * MAX_PATH, '\0') {
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = owner ? owner : DefaultOwner();
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    m_ofn.lpstrDefExt = m_strDefaultExtension.empty() ? nullptr : m_strDefaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER;
}

HWND CTextFileDialog::DefaultOwner() {
    HWND active = GetActiveWindow();
    return active ? GetAncestor(active, GA_ROOTOWNER) : nullptr;
}

bool CTextFileDialog::DoModal() {
    BOOL chosen = m_bSave ? GetSaveFileNameA(&m_ofn) : GetOpenFileNameA(&m_ofn);
    if (!chosen) {
        // Zero is a plain cancel; anything else is a failure the user was not shown.
        if (DWORD error = CommDlgExtendedError()) DebugOutputF("File dialog failed: error 0x%lx\n", error);
        return false;
    }
    return true;
}

// The working directory stays where it is, as with every other dialog of the program.
bool CTextFile::AskFileName(bool save, std::string& fileName, const std::string& filterPrefix) {
    CTextFileDialog dialog(save, m_strExtension, FilterText(filterPrefix, m_strExtension),
                           OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR);
    if (!dialog.DoModal()) return false;
    fileName = dialog.GetPathName();
    return true;
}

std::string CTextFile::FullPathOf(const std::string& path) {
    DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::string full(size, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}
