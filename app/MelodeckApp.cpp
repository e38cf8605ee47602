#include "app/MelodeckApp.h"

#include "app/MelodeckDlg.h"

#include <commctrl.h>

namespace {
CMelodeckApp theApp;
}

bool CMelodeckApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    CMelodeckDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The player window has closed: the program ends.
    return false;
}
