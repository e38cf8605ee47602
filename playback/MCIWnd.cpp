#include "playback/MCIWnd.h"

#include "framework/App.h"

#include <digitalv.h>

int(WINAPI* CMCIWnd::s_pfnMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = ::MessageBoxA;

CMCIWnd::~CMCIWnd() {
    if (!IsWindow()) return;
    Close();
    DestroyWindow();  // now, while the wrapper is whole: the base destructor only lets go
}

bool CMCIWnd::Create(HWND parent, const RECT& rect, UINT id) {
    if (IsWindow()) return false;
    const char* failure = "Error, Creating MCI Control for Audio Playback";
    if (!RegisterMelodeckMciClass(AfxGetInstanceHandle())) {
        s_pfnMessageBox(nullptr, "Error Creating Play Back", "", MB_OK);
        s_pfnMessageBox(parent, failure, AfxGetAppName().c_str(), MB_OK | MB_ICONERROR);
        return false;
    }
    if (!CreateEx(0, kMelodeckMciClassName, nullptr, kStyle, rect, parent, id)) {
        s_pfnMessageBox(parent, failure, AfxGetAppName().c_str(), MB_OK | MB_ICONERROR);
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

LONG CMCIWnd::Play() {
    if (!m_hWnd) return MCIERR_CANNOT_LOAD_DRIVER;
    const UINT deviceId = GetDeviceID();
    if (deviceId == 0) return 0;
    // The from field is filled but not flagged: playing starts where the device stands.
    MCI_DGV_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(m_hWnd);
    parms.dwFrom = static_cast<DWORD>(GetPosition());
    parms.dwTo = 0;
    DWORD flags = MCI_NOTIFY | (GetRepeat() ? MCI_DGV_PLAY_REPEAT : 0);
    const MCIERROR error = mciSendCommandA(deviceId, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms));
    // The device answered us, not the window: hand the failure to the window to record and report.
    if (error != 0) SendMessage(kMciWndReportError, error);
    return static_cast<LONG>(error);
}
