#pragma once
// One open MCI device, driven through mciSendCommandA. Owns the device id: the device is closed when
// the object goes. Results are MCI error codes, 0 for success.
#include <windows.h>

#include <string>

class CMciDevice {
public:
    CMciDevice() = default;
    ~CMciDevice() { Close(); }
    CMciDevice(const CMciDevice&) = delete;
    CMciDevice& operator=(const CMciDevice&) = delete;

    // Opens the file on the named device type, or on the device MCI picks from the extension when
    // the type is null. Positions are in milliseconds afterwards wherever the device allows.
    DWORD Open(const std::string& path, const char* deviceType);
    DWORD Close();
    bool IsOpen() const { return m_nId != 0; }
    UINT Id() const { return m_nId; }

    DWORD Mode(long* mode) const;
    DWORD Position(long* position) const;
    DWORD Length(long* length) const;

    // Plays from a position (or from where the device stands when from < 0). With a callback window
    // the device posts it MM_MCINOTIFY when the play ends or is cut short.
    DWORD Play(long from, HWND callback, bool repeat);
    DWORD Stop();
    DWORD Pause();
    DWORD Resume();
    DWORD Seek(long to);

    // The device's own volume (0..1000), for devices that have a volume command.
    DWORD SetVolume(long volume);
    DWORD GetVolume(long* volume) const;

    // The device cannot carry out this kind of command at all (as opposed to failing at it now).
    static bool IsUnsupported(DWORD error);
    static std::string ErrorText(DWORD error);

private:
    DWORD Status(DWORD item, long* value) const;

    UINT m_nId = 0;
};
