#pragma once
// CBannerScroll: the banner's scrolling arithmetic (speed, tick period, position, wrap-around), kept apart
// from the window so that it runs natively.

class CBannerScroll {
public:
    static constexpr int kMaxSpeed = 1000;     // speeds outside -kMaxSpeed..kMaxSpeed are ignored
    static constexpr int kInitialPeriod = 100; // ms, until a speed is set
    static constexpr int kPeriodDividend = 10000;
    static constexpr int kMaxTextWidth = 1 << 28; // a measured width is capped here, far beyond any screen

    // What one tick asks of the window.
    struct Step {
        int nScrollBy = 0;           // pixels to move the existing picture: -1 left, +1 right, 0 none
        bool bInvalidateAll = false; // the text jumped: repaint the whole control
    };

    // Milliseconds between one-pixel steps for a speed: 10000 / |speed|, integer division. A speed of
    // zero (none set yet) keeps the initial period so that the division stays defined.
    static int PeriodForSpeed(int speed);

    // False, with nothing changed, for a speed out of range. Zero means "stop" to the caller and keeps
    // the stored speed and period; any other value is stored and the period recomputed.
    bool SetSpeed(int speed);
    // After a size change: the period from the stored speed.
    void RecomputePeriod() { m_nPeriod = PeriodForSpeed(m_nSpeed); }

    int GetSpeed() const { return m_nSpeed; }
    int GetPeriod() const { return m_nPeriod; }
    // -1 (text moves left) for a positive speed, +1 for a negative one, 0 before any speed.
    int GetDirection() const { return m_nSpeed > 0 ? -1 : (m_nSpeed < 0 ? 1 : 0); }

    int GetPosition() const { return m_nPosition; }
    void SetPosition(int position) { m_nPosition = position; }
    int GetTextWidth() const { return m_nTextWidth; }
    // Measuring during paint: reset, then add each segment's width (negative widths count as 0).
    void ResetTextWidth() { m_nTextWidth = 0; }
    void AddTextWidth(int width);

    // One tick: moves the position one pixel and wraps it around the client edges.
    Step Tick(int clientLeft, int clientRight);

private:
    int m_nSpeed = 0;
    int m_nPeriod = kInitialPeriod;
    int m_nPosition = 0;
    int m_nTextWidth = 0;
};
