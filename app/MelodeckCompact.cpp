#include "app/MelodeckCompact.h"

void CMelodeckCompact::SetSong(const std::string& text) {
    if (m_hWnd) ::SetDlgItemTextA(m_hWnd, IDC_BANNER, text.c_str());
}

void CMelodeckCompact::SendToPlayer(UINT command) const {
    if (m_hwndPlayer) ::PostMessageA(m_hwndPlayer, WM_COMMAND, command, 0);
}

LRESULT CMelodeckCompact::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDBLCLK: SendToPlayer(kRestorePlayerCommand); return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            SendToPlayer(kRestorePlayerCommand);
            return 0;
        }
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CMelodeckCompact::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case IDC_PREVIOUS: SendToPlayer(ID_TRAY_PREVIOUS); return true;
    case IDC_PLAY: SendToPlayer(kPlayPauseCommand); return true;
    case IDC_NEXT: SendToPlayer(ID_TRAY_NEXT); return true;
    case IDC_BANNER:
        if (code == STN_DBLCLK) SendToPlayer(kRestorePlayerCommand);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}
