#include "app/MelodeckApp.h"

#include "app/MelodeckDlg.h"
#include "framework/CodePage.h"
#include "skin/SkinCtrlMgr.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>
#include <cstdlib>
#include <cstring>

namespace {
CMelodeckApp theApp;

std::string Narrow(const std::wstring& text) {
    return WideToAnsi(std::u16string(text.begin(), text.end()));
}

// The command line's paths, made full: a running player has another working directory. Taken in
// UTF-16, since the runtime's 8-bit arguments come from a conversion that may lose characters.
std::vector<std::string> CommandLinePaths() {
    std::vector<std::string> paths;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return paths;
    for (int i = 1; i < count; ++i) {
        std::wstring full(32768, L'\0');
        DWORD length = ::GetFullPathNameW(arguments[i], static_cast<DWORD>(full.size()), &full[0], nullptr);
        full.resize(length > 0 && length < full.size() ? length : 0);
        paths.push_back(Narrow(full.empty() ? std::wstring(arguments[i]) : full));
    }
    ::LocalFree(arguments);
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

    // The skin paints every control itself; the platform's visual styles keep only the window frames.
    if (CSkinCtrlMgr::GetWindowsVersion() >= 5 && skin::g_bVisualStylesActive &&
        CSkinCtrlMgr::SetThemeAppProperties(STAP_ALLOW_NONCLIENT))
        skin::g_bVisualStylesActive = false;
    // MELODECK_NOSKIN=1 leaves every control to the platform, so that benchmarks can compare.
    const char* noSkin = std::getenv("MELODECK_NOSKIN");
    if (!noSkin || std::strcmp(noSkin, "1") != 0) CSkinCtrlMgr::GetInstance().Initialize();

    CMelodeckDlg dialog;
    dialog.m_startPaths = paths;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // Every window is gone: let go of the hook, the timer and the skin's GDI objects now, while the
    // process is whole, rather than from a static destructor.
    CSkinCtrlMgr::GetInstance().Release();
    // The player window has closed: the program ends.
    return false;
}
