#pragma once
// One-shot multimedia timers in a chain, cheap under Wine: its multimedia timer thread ends whenever
// no timer is pending, so every link of a one-shot chain would start a new thread. While any
// CTimerThreadHold is held, one long periodic timer whose callback does nothing stays pending, and the
// thread with it.
#include <windows.h>

class CTimerThreadHold {
public:
    CTimerThreadHold() = default;
    ~CTimerThreadHold() { Release(); }
    CTimerThreadHold(const CTimerThreadHold&) = delete;
    CTimerThreadHold& operator=(const CTimerThreadHold&) = delete;

    // Takes this object's share of the process's hold; a second call does nothing. Without a free
    // multimedia timer the share is still taken, and a later Acquire by anyone tries again.
    void Acquire();
    void Release();
    bool IsHeld() const { return m_bHeld; }

    // Whether the process's keep-alive timer is pending now (for tests).
    static bool KeepAliveRunning();

private:
    bool m_bHeld = false;
};
