#include "lists/FolderDialog.h"

CFolderDialog::CFolderDialog(HWND owner) {
    m_bi.hwndOwner = owner;
    m_bi.pidlRoot = nullptr;  // the whole namespace, from the desktop down
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    m_bi.lpfn = &CFolderDialog::BrowseCallback;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_bi.iImage = 0;
}

CFolderDialog::~CFolderDialog() {
    // The browser's window belongs to the shell: let it go without touching it.
    if (m_hWnd) Detach();
}

std::string CFolderDialog::Browse(const std::string& title) {
    char displayName[MAX_PATH] = {};
    m_bi.pszDisplayName = displayName;
    m_bi.lpszTitle = title.c_str();
    LPITEMIDLIST item = ::SHBrowseForFolderA(&m_bi);
    if (m_hWnd) Detach();
    m_bi.pszDisplayName = nullptr;
    m_bi.lpszTitle = nullptr;
    if (!item) return std::string();
    char path[MAX_PATH] = {};
    bool isFolder = ::SHGetPathFromIDListA(item, path) != FALSE;
    ::CoTaskMemFree(item);
    return isFolder ? std::string(path) : std::string();
}

int CALLBACK CFolderDialog::BrowseCallback(HWND hWnd, UINT, LPARAM, LPARAM data) {
    auto* self = reinterpret_cast<CFolderDialog*>(data);
    if (self->m_hWnd != hWnd) {
        if (self->m_hWnd) self->Detach();
        self->Attach(hWnd);
    }
    return 0;
}
