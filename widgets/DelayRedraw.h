#pragma once
// Repaints a window once, a given number of milliseconds later: an invisible popup that waits on a
// timer, redraws its target, then destroys and deletes itself.
#include "framework/Wnd.h"

class CDelayRedraw : public CWnd {
public:
    // Heap only: the object deletes itself once its window is gone.
    CDelayRedraw(HWND target, int delay) : m_hWndTarget(target), m_nDelay(delay) {}

    // Creates the invisible popup with no owner. On failure the object is deleted too.
    bool Create();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    static constexpr UINT_PTR kTimerId = 1;

    HWND m_hWndTarget;
    int m_nDelay;
    bool m_bCreating = false;

    LRESULT OnCreate();
    LRESULT OnTimer(UINT_PTR id);
};

// Repaints the target, frame included, once after the delay. False, with nothing created, for a delay
// that is not positive or a handle that is not a window.
bool DelayRedraw(HWND target, int delay);
