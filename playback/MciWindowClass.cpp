#include "playback/MciWindowClass.h"

#include <commctrl.h>

#include "playback/MciWindow.h"

bool RegisterMelodeckMciClass(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    WNDCLASSEXA windowClass{};
    if (::GetClassInfoExA(instance, kMelodeckMciClassName, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = CMciWindow::WndProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMelodeckMciClassName;
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
