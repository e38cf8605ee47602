#pragma once
// Skins of the standard controls other than buttons: each overrides the few operations of CSkinCtrl
// where its control differs from the default flat look.
#include "skin/SkinCtrl.h"

class CSkinStatic : public CSkinCtrl {
public:
    explicit CSkinStatic(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    COLORREF GetBkColor() override;
    bool OnPaint(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNcCalcSize(RECT* proposed) override {}
};

class CSkinEdit : public CSkinCtrl {
public:
    explicit CSkinEdit(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    COLORREF GetBkColor() override;
    void OnReflectCommand(UINT code, LRESULT parentResult) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // What the edit does after the platform has seen a message; true when the answer is 0.
    bool AfterPassedOn(UINT message, WPARAM wParam);
};

class CSkinRichedit : public CSkinEdit {
public:
    explicit CSkinRichedit(DWORD features) : CSkinEdit(features) {}
    bool Initialize(HWND hWnd) override;
    void Refresh() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CSkinCombobox : public CSkinCtrl {
public:
    explicit CSkinCombobox(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    COLORREF GetBkColor() override;
    void OnNcCalcSize(RECT* proposed) override;
    bool OnPaint(HDC dc) override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnNcPaint(HDC dc) override;
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;
    void OnFocusChange(bool gained) override;
    void OnReflectCommand(UINT code, LRESULT parentResult) override;

    DWORD m_bOwnerDrawnDropList = 0; // a drop-down list whose items the owner draws

protected:
    int GetComboType() const { return static_cast<int>(::GetWindowLongA(m_hWnd, GWL_STYLE) & 0xF); }
    // The drop button in client coordinates, or in window coordinates for the non-client painting.
    RECT GetDropButtonRect(bool windowCoordinates);
    // Draws the drop button on a device context of the window (window coordinates) or its client area.
    void DrawDropButton(HDC dc, bool windowCoordinates);
    void RedrawDropButton();
    // The list part of a simple combo box, in client coordinates; false when there is none.
    bool GetListRect(RECT* rect);
    void ExcludeFrameBands(HDC dc);
};

class CSkinComboboxex : public CSkinCombobox {
public:
    explicit CSkinComboboxex(DWORD features) : CSkinCombobox(features) {}
};

class CSkinListbox : public CSkinCtrl {
public:
    explicit CSkinListbox(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
};

class CSkinCombolbox : public CSkinListbox {
public:
    explicit CSkinCombolbox(DWORD features) : CSkinListbox(features) {}
    COLORREF GetParentBkColor() override;
    void OnNcCalcSize(RECT* proposed) override;
    void OnNcPaint(HDC dc) override;
    void DrawScrollBars(HDC dc, const RECT& window, int which) override;
};

class CSkinScrollbar : public CSkinCtrl {
public:
    explicit CSkinScrollbar(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    COLORREF GetBkColor() override { return GetParentBkColor(); }
    bool OnPaint(HDC dc) override { return true; }
};

class CSkinToolbar : public CSkinCtrl {
public:
    explicit CSkinToolbar(DWORD features) : CSkinCtrl(features) {}
    COLORREF GetBkColor() override { return GetParentBkColor(); }
};

class CSkinUpdown : public CSkinCtrl {
public:
    explicit CSkinUpdown(DWORD features) : CSkinCtrl(features) {}
    bool OnPaint(HDC dc) override;
    void OnNcPaint(HDC dc) override;
    bool OnEraseBkgnd(HDC dc) override { return true; }
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;

private:
    // The two buttons in window coordinates: up or left first.
    void GetButtonRects(RECT buttons[2]);
    void DrawButtons(HDC windowDC, int which = 3);
};

class CSkinTrackbar : public CSkinCtrl {
public:
    explicit CSkinTrackbar(DWORD features) : CSkinCtrl(features) {}
    COLORREF GetBkColor() override { return GetParentBkColor(); }
    LRESULT OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) override;
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;
    void Redraw(bool updateNow) override;

private:
    void DrawThumb(HDC dc, const RECT& rect, bool hot);
};

class CSkinListview : public CSkinCtrl {
public:
    explicit CSkinListview(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    void Refresh() override;
    LRESULT OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) override;
    void OnStyleChanged(bool extended, DWORD oldStyle, DWORD newStyle) override;
};

class CSkinTreeview : public CSkinCtrl {
public:
    explicit CSkinTreeview(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    void Refresh() override;
    LRESULT OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) override;
};

class CSkinHeader : public CSkinCtrl {
public:
    explicit CSkinHeader(DWORD features) : CSkinCtrl(features) {}
    bool OnPaint(HDC dc) override;
    bool OnSize(int width, int height) override;
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;
    LRESULT OnReflectNotify(NMHDR* header, LRESULT parentResult) override;

private:
    // The item under a point in window coordinates, -1 for none.
    int ItemAt(const POINT* point);
    int PressedItem();
    void DrawItem(HDC dc, int item, int order, int count, const RECT& rect, int state, int visibleRight);

    bool m_bDragging = false; // a divider or an item is being dragged
};

class CSkinDialog : public CSkinCtrl {
public:
    explicit CSkinDialog(DWORD features) : CSkinCtrl(features) {}
    COLORREF GetBkColor() override { return GetParentBkColor(); }
};

class CSkinTooltip : public CSkinCtrl {
public:
    explicit CSkinTooltip(DWORD features) : CSkinCtrl(features) {}
    // Gives the tip the skin's colours and declines to stay attached.
    bool Initialize(HWND hWnd) override;
};

class CSkinOther : public CSkinCtrl {
public:
    explicit CSkinOther(DWORD features) : CSkinCtrl(features) {}
    bool Initialize(HWND hWnd) override;
    COLORREF GetBkColor() override { return GetColor(skin::kSlotWindow); }
};

class CSkinCtrlReflector : public CSkinCtrl {
public:
    explicit CSkinCtrlReflector(DWORD features) : CSkinCtrl(features) {}
    COLORREF GetBkColor() override { return GetColor(skin::kSlotBtnFace); }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
