#pragma once
// Shared by the resource tests: handle owners and raw access to this executable's own resources,
// which are the program's (every Win32 test links them).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

struct WindowCloser {
    void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
struct MenuCloser {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct GdiCloser {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct IconCloser {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct AcceleratorCloser {
    void operator()(HACCEL accel) const { DestroyAcceleratorTable(accel); }
};
using WindowPtr = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;
using GdiPtr = std::unique_ptr<void, GdiCloser>;
using IconPtr = std::unique_ptr<std::remove_pointer_t<HICON>, IconCloser>;
using AccelPtr = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorCloser>;

inline HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

// The raw bytes of one resource of this executable; empty when it is missing.
inline std::string ResourceBytes(int id, LPCSTR type) {
    HRSRC info = FindResourceA(Module(), MAKEINTRESOURCEA(id), type);
    if (!info) return {};
    HGLOBAL data = LoadResource(Module(), info);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(Module(), info)) : std::string();
}

inline std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text < 0x80 ? *text : '?');
    return out;
}

inline INT_PTR CALLBACK QuietDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

class ResourcesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&init);
    }
};
