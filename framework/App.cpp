#include "framework/App.h"

#include "framework/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() {
    g_pApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

std::string AfxGetModulePath() {
    char path[MAX_PATH * 2] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    return std::string(path, length < sizeof(path) ? length : 0);
}

const std::string& AfxGetAppName() {
    static const std::string name = [] {
        std::string path = AfxGetModulePath();
        size_t slash = path.find_last_of("\\/");
        std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
        size_t dot = file.rfind('.');
        return dot == std::string::npos ? file : file.substr(0, dot);
    }();
    return name;
}

int AfxMessageBox(const std::string& text, UINT type) {
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && main->IsWindow() ? main->m_hWnd : nullptr;
    return ::MessageBoxA(owner, text.c_str(), AfxGetAppName().c_str(), type);
}
