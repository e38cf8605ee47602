#include "lists/FolderDialog.h"

#include "framework/App.h"
#include "framework/CodePage.h"

#include <objbase.h>

namespace {
// The browser needs COM on its thread; a thread that already has it keeps its own set-up.
class CComScope {
public:
    CComScope() : m_bInitialized(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComScope() {
        if (m_bInitialized) ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_bInitialized;
};
}  // namespace

CFolderDialog::CFolderDialog(HWND owner) {
    m_bi.hwndOwner = owner;
    m_bi.pidlRoot = nullptr;  // the whole namespace, from the desktop down
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_VALIDATE;
    m_bi.lpfn = &CFolderDialog::BrowseCallback;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_bi.iImage = 0;
}

CFolderDialog::~CFolderDialog() {
    // The browser's window belongs to the shell: let it go without touching it.
    if (m_hWnd) Detach();
}

std::string CFolderDialog::Browse(const std::string& title) {
    CComScope com;
    char displayName[MAX_PATH] = {};
    m_bi.pszDisplayName = displayName;
    m_bi.lpszTitle = title.c_str();
    LPITEMIDLIST item = ::SHBrowseForFolderA(&m_bi);
    if (m_hWnd) Detach();
    m_bi.pszDisplayName = nullptr;
    m_bi.lpszTitle = nullptr;
    std::string path = PathFromItem(item);
    ::CoTaskMemFree(item);
    if (!path.empty()) s_strLastFolder = path;
    return path;
}

std::string CFolderDialog::s_strLastFolder;

std::string CFolderDialog::PathFromItem(LPCITEMIDLIST item) {
    // In UTF-16: the 8-bit form has room for MAX_PATH bytes, fewer characters than a UTF-8 path holds.
    wchar_t path[MAX_PATH] = {};
    if (!item || !::SHGetPathFromIDListW(item, path)) return std::string();
    const std::wstring wide(path);
    return WideToAnsi(std::u16string(wide.begin(), wide.end()));
}

int CALLBACK CFolderDialog::BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<CFolderDialog*>(data);
    if (self->m_hWnd != hWnd) {
        if (self->m_hWnd) self->Detach();
        self->Attach(hWnd);
    }
    switch (message) {
    case BFFM_INITIALIZED:
        if (!s_strLastFolder.empty())
            ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(s_strLastFolder.c_str()));
        break;
    case BFFM_VALIDATEFAILEDA: {
        // A typed path that names no folder: say so and keep the browser open.
        const std::string text = "Folder not found:\n" + std::string(reinterpret_cast<const char*>(lParam));
        ::MessageBoxA(hWnd, text.c_str(), AfxGetAppName().c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
    }
    return 0;
}
