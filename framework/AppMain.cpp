#include "framework/App.h"

// The program's entry point: the single application object does the rest.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    return app->InitInstance() ? app->Run() : 0;
}
