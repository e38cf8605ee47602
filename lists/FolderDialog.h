#pragma once
// CFolderDialog: the shell's modal folder browser, for choosing a folder of music to load. While the
// browser runs the object is attached to the browser's window (without hooking it), so that the
// browser can be reached as a CWnd from its handle.
#include "framework/Wnd.h"

#include <shlobj.h>

#include <string>

class CFolderDialog : public CWnd {
public:
    // The titles of the two callers.
    static constexpr const char* kPlayerTitle = "Select a directory to play";
    static constexpr const char* kListTitle = "Select a Directory to play";

    // The browser is owned by the window that opens it.
    explicit CFolderDialog(HWND owner);
    ~CFolderDialog() override;

    // Runs the browser with the title; the chosen folder's file-system path, or an empty text when
    // the user cancelled or chose something that is not a folder on disk.
    std::string Browse(const std::string& title);

    // The file-system path of a shell item, at most MAX_PATH characters; empty for a virtual item.
    static std::string PathFromItem(LPCITEMIDLIST item);

    // Filled at construction: owner, no root (the desktop), file-system folders only, in the resizable
    // browser with a box for typing a path, the callback with this object as its data. Browse adds the
    // title and the display-name buffer.
    BROWSEINFOA m_bi{};

    // The folder last chosen in this run; every browser opens on it.
    static std::string s_strLastFolder;

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data);
};
