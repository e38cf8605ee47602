#include "app/MelodeckApp.h"

#include "app/MelodeckDlg.h"
#include "library/SavedList.h"
#include "skin/SkinCtrlMgr.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <cstdlib>
#include <cstring>

namespace {
CMelodeckApp theApp;

// The command line's paths, made full: a running player has another working directory.
std::vector<std::string> CommandLinePaths() {
    std::vector<std::string> paths;
    for (int i = 1; i < __argc; ++i) {
        char full[MAX_PATH] = {};
        DWORD length = ::GetFullPathNameA(__argv[i], sizeof(full), full, nullptr);
        paths.push_back(length > 0 && length < sizeof(full) ? std::string(full, length) : std::string(__argv[i]));
    }
    return paths;
}
}  // namespace

bool CMelodeckApp::InitInstance() {
    // The saved lists stay in the folder the program started in, whatever a dialog does to the working
    // directory later.
    char startFolder[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryA(sizeof(startFolder), startFolder);
    if (length > 0 && length < sizeof(startFolder)) SetSavedListFolder(std::string(startFolder, length));

    std::vector<std::string> paths = CommandLinePaths();
    // One player and one saved list: a second start only hands its paths over, or with none brings the
    // running player forward. Two players would each save the lists over the other's at exit.
    if (CMelodeckDlg::HandPathsToRunningPlayer(paths)) return false;

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
