#pragma once
// The application object: one per program, reached through AfxGetApp. Its name, which message boxes
// show as their caption, is the program file's name without its extension.
#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program; false ends it at once with exit code 0.
    virtual bool InitInstance() { return true; }
    // Message loop for programs that keep running after InitInstance.
    virtual int Run();
    // Sees every message of the modal loops before the window it is for: keys that work in every
    // window of the program (accelerators) are taken here. True when consumed.
    virtual bool PreTranslateMessage(MSG*) { return false; }

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The program file's name without directory and extension ("Melodeck" for Melodeck.exe).
const std::string& AfxGetAppName();
// Full path of the running program file.
std::string AfxGetModulePath();
// A message box owned by the main window (when there is one) with the application's name as caption.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
