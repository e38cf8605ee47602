#pragma once
// CFolderDialog: the shell's modal folder browser, for choosing a folder of music to load.
#include "framework/Wnd.h"

#include <shlobj.h>

#include <string>

class CFolderDialog : public CWnd {
public:
    // The browser is owned by the window that opens it.
    explicit CFolderDialog(HWND owner);
    ~CFolderDialog() override;

    // Runs the browser with the title; the chosen folder's file-system path, or an empty text when
    // the user cancelled or chose something that is not a folder on disk.
    std::string Browse(const std::string& title);

    BROWSEINFOA m_bi{};

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data);
};
