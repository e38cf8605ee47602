#include "playback/MciDevice.h"

#include <mmsystem.h>
#include <digitalv.h>

DWORD CMciDevice::Open(const std::string& path, const char* deviceType) {
    Close();
    MCI_OPEN_PARMSA parms{};
    parms.lpstrElementName = path.c_str();
    parms.lpstrDeviceType = deviceType;
    DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT | (deviceType ? MCI_OPEN_TYPE : 0);
    DWORD error = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&parms));
    if (error) return error;
    m_nId = parms.wDeviceID;
    // CD audio starts in tracks, minutes, seconds and frames; everything here counts milliseconds.
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    mciSendCommandA(m_nId, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&set));
    return 0;
}

DWORD CMciDevice::Close() {
    if (!m_nId) return 0;
    DWORD error = mciSendCommandA(m_nId, MCI_CLOSE, MCI_WAIT, 0);
    m_nId = 0;
    return error;
}

DWORD CMciDevice::Status(DWORD item, long* value) const {
    if (!m_nId) return MCIERR_INVALID_DEVICE_ID;
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    DWORD error =
        mciSendCommandA(m_nId, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
    if (!error) *value = static_cast<long>(parms.dwReturn);
    return error;
}

DWORD CMciDevice::Mode(long* mode) const {
    return Status(MCI_STATUS_MODE, mode);
}
DWORD CMciDevice::Position(long* position) const {
    return Status(MCI_STATUS_POSITION, position);
}
DWORD CMciDevice::Length(long* length) const {
    return Status(MCI_STATUS_LENGTH, length);
}

DWORD CMciDevice::Play(long from, HWND callback, bool repeat) {
    if (!m_nId) return MCIERR_INVALID_DEVICE_ID;
    MCI_DGV_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(callback);
    parms.dwFrom = from < 0 ? 0 : static_cast<DWORD>(from);
    DWORD flags = (callback ? MCI_NOTIFY : 0) | (from >= 0 ? MCI_FROM : 0);
    if (repeat) {
        DWORD error = mciSendCommandA(m_nId, MCI_PLAY, flags | MCI_DGV_PLAY_REPEAT,
                                      reinterpret_cast<DWORD_PTR>(&parms));
        // Devices without repeat play once.
        if (!IsUnsupported(error) && error != MCIERR_UNRECOGNIZED_KEYWORD &&
            error != MCIERR_FLAGS_NOT_COMPATIBLE)
            return error;
    }
    return mciSendCommandA(m_nId, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms));
}

DWORD CMciDevice::Stop() {
    return m_nId ? mciSendCommandA(m_nId, MCI_STOP, MCI_WAIT, 0) : 0;
}
DWORD CMciDevice::Pause() {
    return m_nId ? mciSendCommandA(m_nId, MCI_PAUSE, MCI_WAIT, 0) : 0;
}
DWORD CMciDevice::Resume() {
    return m_nId ? mciSendCommandA(m_nId, MCI_RESUME, MCI_WAIT, 0) : 0;
}

DWORD CMciDevice::Seek(long to) {
    if (!m_nId) return MCIERR_INVALID_DEVICE_ID;
    MCI_SEEK_PARMS parms{};
    parms.dwTo = to < 0 ? 0 : static_cast<DWORD>(to);
    return mciSendCommandA(m_nId, MCI_SEEK, MCI_TO | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
}

DWORD CMciDevice::SetVolume(long volume) {
    if (!m_nId) return MCIERR_INVALID_DEVICE_ID;
    MCI_DGV_SETAUDIO_PARMSA parms{};
    parms.dwItem = MCI_DGV_SETAUDIO_VOLUME;
    parms.dwValue = static_cast<DWORD>(volume);
    return mciSendCommandA(m_nId, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE | MCI_WAIT,
                           reinterpret_cast<DWORD_PTR>(&parms));
}

DWORD CMciDevice::GetVolume(long* volume) const {
    if (!m_nId) return MCIERR_INVALID_DEVICE_ID;
    MCI_DGV_STATUS_PARMSA parms{};
    parms.dwItem = MCI_DGV_STATUS_VOLUME;
    DWORD error =
        mciSendCommandA(m_nId, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
    if (!error) *volume = static_cast<long>(parms.dwReturn);
    return error;
}

bool CMciDevice::IsUnsupported(DWORD error) {
    return error == MCIERR_UNRECOGNIZED_COMMAND || error == MCIERR_UNSUPPORTED_FUNCTION ||
           error == MCIERR_UNRECOGNIZED_KEYWORD || error == MCIERR_BAD_CONSTANT;
}

std::string CMciDevice::ErrorText(DWORD error) {
    if (!error) return std::string();
    char text[MAXERRORLENGTH] = "";
    if (!mciGetErrorStringA(error, text, sizeof text)) return std::string();
    return text;
}
