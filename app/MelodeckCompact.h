#pragma once
// The compact view: a small tool window that stands in for the player while it is in the tray. It shows
// the song that plays and sends the player its Previous, Play/Pause and Next commands; a double-click
// brings the player back.
#include "framework/Dialog.h"
#include "res/resource.h"

#include <string>

class CMelodeckCompact : public CDialog {
public:
    // Commands the compact view sends to the player beside the tray's Previous and Next.
    static constexpr UINT kPlayPauseCommand = 0x6D00;
    static constexpr UINT kRestorePlayerCommand = 0x6D01;

    CMelodeckCompact() : CDialog(IDD_COMPACT) {}

    // The window that receives the commands.
    HWND m_hwndPlayer = nullptr;
    void SetSong(const std::string& text);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // Enter presses the focused button through the dialog manager; it does not close the view.
    void OnOK() override {}

private:
    void SendToPlayer(UINT command) const;
};
