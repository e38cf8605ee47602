#pragma once
// The playback device: a thin wrapper around one window of our MCI window class. It holds the window
// and sends it the messages of the platform's MCI window class; the device window does the work.
#include "framework/Wnd.h"
#include "playback/MciWindowClass.h"
#include "playback/Transport.h"

#include <string>

class CMCIWnd : public CWnd, public ITransportDevice {
public:
    // Style of the device window: child, visible, no error dialogs, error and mode notifications,
    // position and name shown.
    static constexpr DWORD kStyle = 0x50005130;

    CMCIWnd() = default;
    // Closes the device when the window still exists; the window goes with the object.
    ~CMCIWnd() override;

    // Creates the device window as a child of the parent. On failure shows the creation messages
    // and leaves the wrapper without a window; every operation then does nothing. A wrapper that
    // already has a window keeps it and returns false.
    bool Create(HWND parent, const RECT& rect, UINT id);

    // Opens the file keeping the device's volume; 0 on success, otherwise the MCI error.
    LONG OpenFile(const std::string& path) override;
    // Plays from the current position; the device window hears of the end through MM_MCINOTIFY.
    // 0 on success (or with no file open, when there is nothing to play); otherwise the MCI error,
    // which the device window reports to its parent as it does its own.
    LONG Play() override;
    LONG Stop() override { return static_cast<LONG>(SendMessage(MCI_STOP)); }
    LONG Pause() override { return static_cast<LONG>(SendMessage(MCI_PAUSE)); }
    LONG Resume() override { return static_cast<LONG>(SendMessage(MCI_RESUME)); }
    LONG Close() { return static_cast<LONG>(SendMessage(MCI_CLOSE)); }
    // Volume 0..1000, 1000 the normal level.
    LONG GetVolume() const { return static_cast<LONG>(SendMessage(MCIWNDM_GETVOLUME)); }
    void SetVolume(LONG volume) override { SendMessage(MCIWNDM_SETVOLUME, 0, volume); }
    // The current error code; its text goes into the buffer when one is given.
    LONG GetError(char* buffer = nullptr, UINT length = 0) const {
        return static_cast<LONG>(SendMessage(MCIWNDM_GETERROR, length, reinterpret_cast<LPARAM>(buffer)));
    }
    LONG GetPosition() const { return static_cast<LONG>(SendMessage(MCIWNDM_GETPOSITION)); }
    LONG GetLength() const { return static_cast<LONG>(SendMessage(MCIWNDM_GETLENGTH)); }
    // MCI_MODE_PLAY, MCI_MODE_PAUSE, MCI_MODE_STOP, ...; MCI_MODE_NOT_READY without a file.
    LONG GetMode() const { return static_cast<LONG>(SendMessage(MCIWNDM_GETMODE)); }
    // Moves to the position (milliseconds), keeping the device playing, paused or stopped.
    LONG Seek(LONG position) { return static_cast<LONG>(SendMessage(MCI_SEEK, 0, position)); }
    BOOL GetRepeat() const { return static_cast<BOOL>(SendMessage(MCIWNDM_GETREPEAT)); }
    UINT GetDeviceID() const { return static_cast<UINT>(SendMessage(MCIWNDM_GETDEVICEID)); }

    // How creation failures are shown; a test replaces it to see them without a modal box.
    static int(WINAPI* s_pfnMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

private:
    // Without a device window every operation does nothing.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return m_hWnd ? CWnd::SendMessage(message, wParam, lParam) : 0;
    }
};
