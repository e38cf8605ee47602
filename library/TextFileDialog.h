#pragma once
// CTextFileDialog: the system's open or save dialog for one file, filled in the way our callers describe
// it (default extension, '|'-separated filter, options, owner). Kept apart from the dialog's display so
// that what is asked of the system can be checked without showing anything.
#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

class CTextFileDialog {
public:
    // filterText is in its written form ("Description|*.ext|...||"); empty for no filter. A null owner
    // means the main window of the calling thread, as the system's own dialogs use when none is given.
    CTextFileDialog(bool save, const std::string& defaultExtension, const std::string& filterText,
                    DWORD flags, HWND owner = nullptr);
    CTextFileDialog(const CTextFileDialog&) = delete;
    CTextFileDialog& operator=(const CTextFileDialog&) = delete;

    // Shows the dialog; true when the user chose a file.
    bool DoModal();
    // The chosen full path after DoModal returned true.
    std::string GetPathName() const { return std::string(m_fileName.data()); }

    // What DoModal hands to the system; callers may adjust rare fields before showing it.
    OPENFILENAMEA m_ofn;

    // The owner used for a null owner: the root owner of this thread's active window.
    static HWND DefaultOwner();

private:
    bool m_bSave;
    std::string m_strDefaultExtension;
    std::string m_strFilter; // zero-separated
    std::vector<char> m_fileName;
};
