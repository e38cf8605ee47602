#pragma once
// Skins of "Button" windows: push buttons (and the transport bar's segments), check boxes, radio
// buttons and group boxes. Each paints its whole client area off-screen and reads the button's state
// from the platform button on every paint.
#include "skin/SkinCtrl.h"

// What the four button skins share: the button kind, and the filter that keeps the platform's own
// button painting out of sight.
class CSkinButton : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;

    DWORD m_nKind = 0; // style & 0xF at attach time

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Initialize(HWND hWnd) override;

protected:
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    // The cursor of the manager's last tick lies in the button and no other window holds the mouse.
    bool IsHot();
    // Text placed in the area by the text flags in the current font; an empty rectangle for no text.
    RECT PlaceText(HDC dc, const char* text, const RECT& area, UINT flags);
};

class CSkinButtonPush : public CSkinButton {
public:
    explicit CSkinButtonPush(DWORD features) : CSkinButton(features) {}

    bool OnPaint(HDC dc) override;
    bool OnDrawItem(DRAWITEMSTRUCT* item) override;
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;
    bool Initialize(HWND hWnd) override;

    // The face with its content; ownerDrawn copies what the owner drew in the target first.
    void PaintFace(HDC target, const RECT& client, int state, bool focus, bool ownerDrawn);

private:
    bool DrawBitmapFace(HDC dc, const RECT& rect, int state);
    void DrawSunkenFace(HDC dc, const RECT& rect);
    void DrawBuiltInFace(HDC dc, const RECT& rect, int state);
    // Icon, bitmap or text; returns the rectangle the focus goes around.
    RECT DrawContent(HDC dc, const RECT& rect, int state);
};

// Check boxes and radio buttons differ only in their glyph.
class CSkinButtonGlyph : public CSkinButton {
public:
    using CSkinButton::CSkinButton;

    COLORREF GetBkColor() override { return GetParentBkColor(); }
    bool OnPaint(HDC dc) override;
    void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) override;

protected:
    virtual bool IsRadio() const = 0;
    virtual void DrawGlyph(HDC dc, const RECT& box, bool pushed, LRESULT check) = 0;
    RECT GetGlyphBox();
};

class CSkinButtonCheck : public CSkinButtonGlyph {
public:
    explicit CSkinButtonCheck(DWORD features) : CSkinButtonGlyph(features) {}

protected:
    bool IsRadio() const override { return false; }
    void DrawGlyph(HDC dc, const RECT& box, bool pushed, LRESULT check) override;
};

class CSkinButtonRadio : public CSkinButtonGlyph {
public:
    explicit CSkinButtonRadio(DWORD features) : CSkinButtonGlyph(features) {}

protected:
    bool IsRadio() const override { return true; }
    void DrawGlyph(HDC dc, const RECT& box, bool pushed, LRESULT check) override;
};

class CSkinButtonGroup : public CSkinButton {
public:
    explicit CSkinButtonGroup(DWORD features) : CSkinButton(features) {}

    COLORREF GetBkColor() override { return GetParentBkColor(); }
    bool OnPaint(HDC dc) override;
};

// The skin of a button of this style, not yet initialised; null for kinds left to the platform.
CSkinCtrl* CreateSkinButton(DWORD style);
