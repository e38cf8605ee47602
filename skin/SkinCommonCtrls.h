#pragma once
// Skins of the rarer common controls: progress bar, tab control, animation, pager, date picker, month
// calendar and IP address field. The program's own dialogs hold none of them; they are skinned so that
// the common dialogs and other modules' windows match.
#include "skin/SkinCtrl.h"

class CSkinProgress : public CSkinCtrl {
public:
    explicit CSkinProgress(DWORD features) : CSkinCtrl(features) {}

    COLORREF GetBkColor() override { return GetParentBkColor(); }
    // The bar from the control's range and position; bitmap keys 25 (left cap), 27 (middle) and 26 (right
    // cap) when registered, else a flat bar in the highlight colour.
    bool OnPaint(HDC dc) override;
};

class CSkinTabcontrol : public CSkinCtrl {
public:
    explicit CSkinTabcontrol(DWORD features) : CSkinCtrl(features) {}

    COLORREF GetBkColor() override { return GetParentBkColor(); }
    bool OnPaint(HDC dc) override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;

    // One tab's image and text inside its rectangle.
    virtual void DrawTabLabel(HDC dc, int item, const RECT& rect, bool selected);
    // One tab's face and edge, open towards the page.
    virtual void DrawTabFrame(HDC dc, const RECT& rect, bool selected, bool hot);

protected:
    // The tab under a point in client coordinates, -1 for none.
    int HitTab(POINT point);
    // The page with its frame, in client coordinates.
    RECT GetPageRect();
    // Keeps a visible scroll-arrow child out of our painting.
    void ExcludeUpDown(HDC dc);
};

class CSkinAnimate : public CSkinCtrl {
public:
    explicit CSkinAnimate(DWORD features) : CSkinCtrl(features) {}
};

class CSkinPager : public CSkinCtrl {
public:
    explicit CSkinPager(DWORD features) : CSkinCtrl(features) {}
};

class CSkinDatetimepick : public CSkinCtrl {
public:
    explicit CSkinDatetimepick(DWORD features) : CSkinCtrl(features) {}

    // The platform draws the date; our drop button replaces its own.
    bool OnPaint(HDC dc) override;
    void OnNcCalcSize(RECT* proposed) override { ::InflateRect(proposed, -1, -1); }
    LRESULT OnReflectNotify(NMHDR* header, LRESULT parentResult) override;
    void OnTimer(UINT_PTR id) override;
    void OnFocusChange(bool gained) override { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;
    bool Uninitialize() override;

    bool IsCalendarOpen() const { return m_bCalendarOpen; }

protected:
    static constexpr UINT_PTR kOpenTimerId = 1;

    bool HasDropButton();
    // The area the platform keeps for its button, and our square button centred in it; client coordinates.
    void GetButtonRects(RECT* area, RECT* button);
    void DrawDropButton(HDC dc);
    void DrawDropButtonNow();
    // Resumes drawing, if the calendar stopped it, and stops the timer.
    void EndOpenState();

    bool m_bCalendarOpen = false;
    bool m_bDrawingStopped = false;
};

class CSkinMonthcal : public CSkinCtrl {
public:
    explicit CSkinMonthcal(DWORD features) : CSkinCtrl(features) {}

    // Without a client edge, the date picker's drop-down calendar loses its frame and a calendar in a
    // dialog is left to the platform entirely.
    bool Initialize(HWND hWnd) override;
    void OnNcCalcSize(RECT* proposed) override;
};

class CSkinIPaddress : public CSkinCtrl {
public:
    explicit CSkinIPaddress(DWORD features) : CSkinCtrl(features) {}

    // The background and, between the four fields, a one-pixel dot each.
    bool OnPaint(HDC dc) override;
};
