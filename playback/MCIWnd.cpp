#include "playback/MCIWnd.h"

#include <digitalv.h>

#include "playback/MciDeviceRules.h"

int(WINAPI* CMCIWnd::s_pfnMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = ::MessageBoxA;

namespace {

std::string ApplicationName() {
    char path[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return ApplicationNameFromPath(std::string(path, length < sizeof path ? length : 0));
}

} // namespace

CMCIWnd::~CMCIWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        Close();
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

bool CMCIWnd::Create(HWND parent, const RECT& rect, UINT id) {
    if (m_hWnd && ::IsWindow(m_hWnd)) return false;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const char* failure = "Error, Creating MCI Control for Audio Playback";
    if (!RegisterMelodeckMciClass(instance)) {
        s_pfnMessageBox(nullptr, "Error Creating Play Back", "", MB_OK);
        s_pfnMessageBox(parent, failure, ApplicationName().c_str(), MB_OK | MB_ICONERROR);
        return false;
    }
    m_hWnd = ::CreateWindowExA(0, kMelodeckMciClassName, nullptr, kStyle, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
    if (!m_hWnd) {
        s_pfnMessageBox(parent, failure, ApplicationName().c_str(), MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

LONG CMCIWnd::OpenFile(const std::string& path) {
    // Without a device nothing opens.
    if (!m_hWnd) return MCIERR_CANNOT_LOAD_DRIVER;
    LONG volume = GetVolume();
    LONG result = static_cast<LONG>(SendMessage(MCIWNDM_OPEN, 0, reinterpret_cast<LPARAM>(path.c_str())));
    SetVolume(volume);
    return result;
}

void CMCIWnd::Play() {
    if (!m_hWnd) return;
    // The from field is filled but not flagged: playing starts where the device stands.
    MCI_DGV_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(m_hWnd);
    parms.dwFrom = static_cast<DWORD>(GetPosition());
    parms.dwTo = 0;
    DWORD flags = MCI_NOTIFY | (GetRepeat() ? MCI_DGV_PLAY_REPEAT : 0);
    mciSendCommandA(GetDeviceID(), MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms));
}
