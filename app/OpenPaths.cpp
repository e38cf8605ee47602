// Paths from outside the program: its command line, a second start, and drops from the shell.
#include "app/MelodeckDlg.h"
#include "app/PathList.h"
#include "framework/CodePage.h"

#include <shellapi.h>

namespace {

// Marks what a second start sends, so that no other program's copy data is taken for paths.
constexpr ULONG_PTR kPathsData = 0x4D445041;  // "MDPA"

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

const std::string& PlayerKey() {
    static const std::string key = RunningPlayerKey(ProgramPath());
    return key;
}

BOOL CALLBACK FindMarked(HWND hWnd, LPARAM lParam) {
    if (!::GetPropA(hWnd, PlayerKey().c_str())) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// A path the player can read: a folder, or a file it may open for reading.
bool IsReadable(const std::string& path, bool* isFolder) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    *isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (*isFolder) return true;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

}  // namespace

void MarkRunningPlayer(HWND player) { ::SetPropA(player, PlayerKey().c_str(), reinterpret_cast<HANDLE>(1)); }

void UnmarkRunningPlayer(HWND player) {
    if (player) ::RemovePropA(player, PlayerKey().c_str());
}

bool CMelodeckDlg::HandPathsToRunningPlayer(const std::vector<std::string>& paths) {
    HWND running = nullptr;
    ::EnumWindows(&FindMarked, reinterpret_cast<LPARAM>(&running));
    if (!running) return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(running, &processId);
    ::AllowSetForegroundWindow(processId);  // so that it may come forward
    std::string block = PackPaths(paths);
    COPYDATASTRUCT data{kPathsData, static_cast<DWORD>(block.size()), block.data()};
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 30000,
                               &result))
        return false;
    return result != 0;
}

LRESULT CMelodeckDlg::OnCopyData(const COPYDATASTRUCT* data) {
    // A closing player would lose them: the sender then waits and starts the next player.
    if (!data || data->dwData != kPathsData || m_bClosing) return FALSE;
    std::vector<std::string> paths = UnpackPaths(static_cast<const char*>(data->lpData), data->cbData);
    // The sender waits for this reply, so a message box about bad paths must not come before it.
    if (paths.empty()) {
        // The user started the program again: show the one that runs.
        if (!IsWindowVisible())
            m_trayIcon.RestoreFromTray(m_hWnd);
        else if (::IsIconic(m_hWnd))
            ShowWindow(SW_RESTORE);
        ::SetForegroundWindow(m_hWnd);
        return TRUE;
    }
    m_startPaths.insert(m_startPaths.end(), paths.begin(), paths.end());
    PostMessage(kShowStartupMessage);
    return TRUE;
}

LRESULT CMelodeckDlg::OnShowStartup() {
    std::vector<std::string> paths;
    paths.swap(m_startPaths);
    if (!paths.empty()) OpenPaths(m_wndPlayList, paths);
    return 0;
}

void CMelodeckDlg::OpenPaths(CPlayList& list, const std::vector<std::string>& paths) {
    std::string unreadable;
    for (const std::string& path : paths) {
        bool isFolder = false;
        if (!IsReadable(path, &isFolder)) {
            unreadable += "\n" + path;
            continue;
        }
        switch (KindOfPath(path, isFolder)) {
        case PathKind::folder: list.LoadDirectory(path, false); break;
        case PathKind::playList: list.LoadPlayListFile(path); break;
        case PathKind::file: list.LoadFile(path); break;
        }
    }
    if (!unreadable.empty())
        MessageBox("Error Opening File" + unreadable, nullptr, MB_OK | MB_ICONERROR);
}

LRESULT CListDropTarget::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DROPFILES || !m_pList || !m_pPlayer) return CSubclassWnd::WindowProc(hWnd, message, wParam, lParam);
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::string> paths;
    // In UTF-16: a name outside the ANSI code page of an older system still arrives whole where it can.
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::u16string path(::DragQueryFileW(drop, i, nullptr, 0) + 1, u'\0');
        path.resize(
            ::DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(&path[0]), static_cast<UINT>(path.size())));
        paths.push_back(WideToAnsi(path));
    }
    ::DragFinish(drop);
    if (m_pPlayer) m_pPlayer->OpenPaths(*m_pList, paths);
    return 0;
}
