#include "app/MelodeckApp.h"

#include "app/MelodeckDlg.h"

#include <commctrl.h>
#include <cstdlib>

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
    std::vector<std::string> paths = CommandLinePaths();
    // One player and one saved list: a second start only hands its paths over, or with none brings the
    // running player forward. Two players would each save the lists over the other's at exit.
    if (CMelodeckDlg::HandPathsToRunningPlayer(paths)) return false;

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    CMelodeckDlg dialog;
    dialog.m_startPaths = paths;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The player window has closed: the program ends.
    return false;
}
