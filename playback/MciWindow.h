#pragma once
// The object behind one window of our MCI window class (see MciWindowClass.h): one open device, the
// mode tracking that decides the notifications, the remembered volume and the play bar.
#include <windows.h>

#include <string>

#include "playback/MciDevice.h"
#include "playback/MciDeviceRules.h"
#include "playback/ModeTracker.h"

class CMciWindow {
public:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    explicit CMciWindow(HWND hWnd) : m_hWnd(hWnd) {}
    ~CMciWindow() = default;
    CMciWindow(const CMciWindow&) = delete;
    CMciWindow& operator=(const CMciWindow&) = delete;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate();
    void OnDestroy();
    void OnNcDestroy();
    void OnSize(int width, int height);
    void OnPaint();
    LRESULT OnTimer(WPARAM id);
    LRESULT OnCheckMode();
    void OnCommand(UINT id, UINT code);
    void OnHScroll(UINT code);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT* item);

    LRESULT OnOpen(const char* path);
    LRESULT OnClose();
    LRESULT OnPlay();
    LRESULT OnStop();
    LRESULT OnPause();
    LRESULT OnResume();
    LRESULT OnSeek(long position);
    LRESULT OnGetVolume();
    LRESULT OnSetVolume(long volume);
    LRESULT OnGetError(UINT length, char* buffer);
    LRESULT OnGetPosition(UINT length, char* buffer);
    LRESULT OnGetLength();
    LRESULT OnGetMode(UINT length, char* buffer);
    LRESULT OnMciNotify(UINT flags);

    // Reads the device's mode into the tracker and returns it (stopped when no device is open).
    long ReadMode();
    // Reads the mode, then notes that a command of ours follows; returns the mode read.
    long BeginOwnCommand();
    // Runs one transport command on the device when it makes sense in the current mode.
    LRESULT RunCommand(MciCommand command);
    DWORD PlayFrom(long position);
    void CloseDevice();

    DWORD ApplyVolume(long volume);
    void RestoreWaveOut();

    // Mode changes: read now and report what changed; or ask for that from the message loop.
    void CheckMode(bool playCompleted);
    void PostCheck();
    // Runs the polling timer, or stops it.
    void SetPolling(bool poll);
    void FlushReports();
    // Records a failed command and tells the parent; returns the error. The object may be gone
    // afterwards (the parent may destroy the window): touch nothing after calling it.
    LRESULT Fail(DWORD error);
    // Sends the parent a notification; false when this object was destroyed meanwhile.
    bool NotifyParent(UINT message, LPARAM lParam);
    bool HasStyle(DWORD flag) const;

    void CreateBar();
    void LayoutBar();
    void UpdateBar();
    void AutoSize();

    HWND m_hWnd;
    CMciDevice m_device;
    CModeTracker m_tracker;
    std::string m_strPath;
    DWORD m_dwError = 0;
    bool m_bRepeat = false;

    long m_nVolume = kVolumeNormal; // remembered: applied to every device opened
    VolumeRoute m_volumeRoute = VolumeRoute::Remembered;
    bool m_bWaveOutSaved = false; // the wave-out volume we found, to put back when the device closes
    DWORD m_dwWaveOutSaved = 0;

    int m_nNotifyDepth = 0;       // notifications to the parent in progress
    bool m_bFlushPending = false; // changes arrived while the parent was being notified
    bool m_bCheckPosted = false;
    bool m_bPolling = false;
    bool m_bDestroyed = false;

    HWND m_hButton = nullptr;
    HWND m_hSlider = nullptr;
    HWND m_hToolTip = nullptr;
    BarLayout m_layout;
    bool m_bTracking = false; // the user drags the slider: the timer leaves it alone
    long m_nShownLength = -1;
    long m_nShownPosition = -1;
    int m_nShownPixel = -1;  // where along the slider's channel the thumb was last drawn
    bool m_bShowsStop = false;
    std::string m_strShownStatus;
    std::string m_strShownName;
};
