#pragma once
// CBannerStatic: a multi-colour static whose line scrolls through the control one pixel per tick and
// wraps around. Ticks come from one-shot multimedia timers whose callback only posts the window a
// WM_TIMER message; the window, not the object, is what the timer thread knows. While the window
// lives the banner holds the multimedia timer thread alive, so that a tick costs no thread start.
#include "framework/MultimediaTimer.h"
#include "widgets/BannerScroll.h"
#include "widgets/MultiColorStatic.h"

class CBannerStatic : public CMultiColorStatic {
public:
    CBannerStatic() = default;
    ~CBannerStatic() override;

    // -1000..1000 (others are ignored). Zero stops the scrolling and keeps the stored speed; any other
    // value sets the speed (sign = direction) and schedules a tick with the new period.
    void SetSpeed(int speed);

    int GetSpeed() const { return m_scroll.GetSpeed(); }
    int GetTickPeriod() const { return m_scroll.GetPeriod(); }
    int GetPosition() const { return m_scroll.GetPosition(); }
    int GetTextWidth() const { return m_scroll.GetTextWidth(); }
    // The pending tick's multimedia timer id; 0 when the banner stands still.
    UINT GetTimerId() const { return m_nTimerId; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintLine(HDC dc) override;

    LRESULT OnTimer(WPARAM timerId);
    LRESULT OnSize() override;
    LRESULT OnDestroy() override;
    LRESULT OnMouseButton(UINT message, WPARAM keys, LPARAM point);
    LRESULT OnSetCursor();

private:
    CBannerScroll m_scroll;
    UINT m_nTimerId = 0;
    CTimerThreadHold m_timerThread;

    void ScheduleTick();
    void KillTick();
};
