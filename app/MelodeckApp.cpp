#include "app/MelodeckApp.h"

#include "app/MelodeckDlg.h"
#include "app/PathList.h"
#include "framework/App.h"
#include "framework/CodePage.h"
#include "library/SavedList.h"
#include "settings/DataFolder.h"
#include "skin/SkinCtrlMgr.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
CMelodeckApp theApp;

std::string Narrow(const std::wstring& text) {
    return WideToAnsi(std::u16string(text.begin(), text.end()));
}

// The command line's paths, made full (a running player has another working directory), each once.
// Taken in UTF-16, since the runtime's 8-bit arguments come from a conversion that may lose characters.
std::vector<std::string> CommandLinePaths() {
    std::vector<std::string> paths;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return paths;
    for (int i = 1; i < count; ++i) {
        std::wstring full(32768, L'\0');
        DWORD length = ::GetFullPathNameW(arguments[i], static_cast<DWORD>(full.size()), &full[0], nullptr);
        full.resize(length > 0 && length < full.size() ? length : 0);
        const std::string path = Narrow(full.empty() ? std::wstring(arguments[i]) : full);
        const bool seen = std::any_of(paths.begin(), paths.end(), [&](const std::string& other) {
            return ::lstrcmpiA(other.c_str(), path.c_str()) == 0;
        });
        if (!seen) paths.push_back(path);
    }
    ::LocalFree(arguments);
    return paths;
}

std::string CurrentFolder() {
    char folder[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryA(sizeof(folder), folder);
    return length > 0 && length < sizeof(folder) ? std::string(folder, length) : std::string();
}

// Whether this user may make files in the folder: a hidden temporary file that goes when closed.
bool CanWriteIn(const std::string& folder) {
    if (folder.empty()) return false;
    const std::string probe =
        JoinPath(folder, "~Melodeck-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount()) + ".tmp");
    HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;
    ::CloseHandle(file);
    return true;
}

// Decides once where the options and the saved lists live (see settings/DataFolder.h), makes the user
// folder when it is the place, and carries over what earlier versions left where this copy used to look.
void SettleDataFolder() {
    DataFolderFacts facts;
    facts.programPath = AfxGetModulePath();
    facts.startFolder = CurrentFolder();
    const std::string programFolder = FolderOf(facts.programPath);
    facts.installedMarker =
        ::GetFileAttributesA(JoinPath(programFolder, kInstalledMarkerName).c_str()) != INVALID_FILE_ATTRIBUTES;
    facts.programFolderWritable = CanWriteIn(programFolder);
    facts.startFolderWritable = CanWriteIn(facts.startFolder);
    char appData[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData)))
        facts.appDataFolder = appData;

    const DataFolderChoice choice = ChooseDataFolder(facts);
    if (choice.installed) {
        ::CreateDirectoryA(choice.userFolder.c_str(), nullptr);  // a failure shows when something is written
        for (const auto& [from, to] : FilesToCarryOver(facts, choice)) ::CopyFileA(from.c_str(), to.c_str(), TRUE);
    }
    CMelodeckSettings::SetProgramIniPath(choice.iniPath);
    SetSavedListFolder(choice.listFolder);
}

// Starts of the same program file agree through this mutex which one is the player: the holder is, from
// before its window exists until its lists are saved. Another start waits for the holder's window and
// hands its paths over; when the holder is closing and refuses them, the start waits for the mutex and
// becomes the next player itself.
class CPlayerMutex {
public:
    CPlayerMutex() : m_hMutex(::CreateMutexA(nullptr, FALSE, ("Local\\" + RunningPlayerKey(AfxGetModulePath())).c_str())) {}
    ~CPlayerMutex() {
        if (m_bOwned) ::ReleaseMutex(m_hMutex);
        if (m_hMutex) ::CloseHandle(m_hMutex);
    }
    CPlayerMutex(const CPlayerMutex&) = delete;
    CPlayerMutex& operator=(const CPlayerMutex&) = delete;

    // True when this start is to run the player; false when its paths went to the one that runs.
    bool BecomePlayerOrHandOver(const std::vector<std::string>& paths) {
        if (!m_hMutex) return !CMelodeckDlg::HandPathsToRunningPlayer(paths);
        const DWORD start = ::GetTickCount();
        for (DWORD wait = 0;; wait = 50) {
            const DWORD result = ::WaitForSingleObject(m_hMutex, wait);
            if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) return m_bOwned = true;
            if (CMelodeckDlg::HandPathsToRunningPlayer(paths)) return false;
            // A holder that never shows a window (hung at start): run rather than lose the paths.
            if (::GetTickCount() - start > kGiveUpMs) return true;
        }
    }

private:
    static constexpr DWORD kGiveUpMs = 120000;
    HANDLE m_hMutex;
    bool m_bOwned = false;
};
}  // namespace

bool CMelodeckApp::InitInstance() {
    std::vector<std::string> paths = CommandLinePaths();
    // One player and one saved list: a second start only hands its paths over, or with none brings the
    // running player forward. Two players would each save the lists over the other's at exit.
    CPlayerMutex player;
    if (!player.BecomePlayerOrHandOver(paths)) return false;
    // Fixed now, as full paths: whatever a dialog later does to the working directory, the lists stay.
    SettleDataFolder();

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    // The skin paints every control itself; the platform's visual styles keep only the window frames.
    if (CSkinCtrlMgr::GetWindowsVersion() >= 5 && skin::g_bVisualStylesActive &&
        CSkinCtrlMgr::SetThemeAppProperties(STAP_ALLOW_NONCLIENT))
        skin::g_bVisualStylesActive = false;
    // MELODECK_NOSKIN=1 leaves every control to the platform, so that benchmarks can compare.
    const char* noSkin = std::getenv("MELODECK_NOSKIN");
    if (!noSkin || std::strcmp(noSkin, "1") != 0) CSkinCtrlMgr::GetInstance().Initialize();

    CMelodeckDlg dialog;
    m_pPlayer = &dialog;
    dialog.m_startPaths = paths;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    m_pPlayer = nullptr;
    // Every window is gone: let go of the hook, the timer and the skin's GDI objects now, while the
    // process is whole, rather than from a static destructor.
    CSkinCtrlMgr::GetInstance().Release();
    // The player window has closed: the program ends.
    return false;
}

bool CMelodeckApp::PreTranslateMessage(MSG* msg) {
    return m_pPlayer && m_pPlayer->TranslateAccelerators(msg);
}
