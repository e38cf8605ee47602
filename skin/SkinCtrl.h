#pragma once
// CSkinCtrl: the base of every skin object. It hooks a control's window procedure, routes the messages
// its feature bits ask for to virtual operations, and draws the default flat look: a thin rounded frame,
// scroll-bar arrows of our own, colours from CSkinGlobals, and the part under the mouse shown hot.
#include <windows.h>
#include <commctrl.h>

#include "framework/Gdi.h"
#include "skin/SkinGeometry.h"
#include "skin/SkinGlobals.h"
#include "widgets/SubclassWnd.h"

class CSkinCtrl;

// An optional renderer asked before the built-in look; a non-zero answer means the part is drawn.
class ISkinCtrlRender {
public:
    virtual ~ISkinCtrlRender() = default;
    virtual BOOL DrawEdge(HDC dc, const RECT& rect, int frameType, int state, int corners) = 0;
    virtual BOOL DrawRoundEdge(HDC dc, const RECT& rect, int frameType, int state) = 0;
    virtual BOOL FillAndDrawEdge(HDC dc, const RECT& rect, int frameType, int state, COLORREF color,
                                 int corners) = 0;
};

// What a skin object needs from the owner of all skin objects: the other skinned windows, detaching,
// and the cursor position of the last hot-tracking tick.
class ISkinCtrlOwner {
public:
    virtual ~ISkinCtrlOwner() = default;
    virtual CSkinCtrl* GetSkinCtrl(HWND hWnd) = 0;
    virtual int DetachWindow(HWND hWnd) = 0;
    virtual POINT GetLastCursorPos() = 0;
    virtual void SetLastCursorPos(POINT point) = 0;
};

namespace skin {
// Process-wide settings of the skin: while disabled, skinned windows behave as if unhooked.
inline bool g_bEnabled = true;
inline ISkinCtrlRender* g_pRenderer = nullptr;
// The platform's visual styles draw scroll bars themselves; ours then stay out of the way.
inline bool g_bVisualStylesActive = false;
inline ISkinCtrlOwner* g_pOwner = nullptr;

enum {
    kCornerTopLeft = 1,
    kCornerTopRight = 2,
    kCornerBottomLeft = 4,
    kCornerBottomRight = 8,
    kCornersAll = 15
};
enum : UINT { kEdgeDraw = 0x40, kEdgeSingle = 0x10, kEdgeSunken = 0x100, kEdgeRaised = 0x200 };
// Scroll-arrow buttons: the direction names the bar and the end (left/up first, right/down second).
enum ArrowDirection { kArrowLeft = 0, kArrowRight = 1, kArrowDown = 2, kArrowUp = 3 };
constexpr int kArrowKeySqueezed = 16; // bitmap keys 16..19 by direction, for buttons shorter than wide
constexpr int kArrowKeyFull = 11;     // bitmap keys 11..14 by direction
constexpr int kArrowKeyCommon = 10;   // what every arrow falls back to
constexpr int kArrowKeyUp = kArrowKeyFull + kArrowUp; // its set also means: images carry their own glyph
constexpr bool IsVerticalArrow(int direction) {
    return direction == kArrowUp || direction == kArrowDown;
}
constexpr bool IsSecondArrow(int direction) {
    return direction == kArrowRight || direction == kArrowDown;
}
} // namespace skin

class CSkinCtrl : public CSubclassWnd {
public:
    explicit CSkinCtrl(DWORD features = 0) : m_dwFeatures(features) {}
    ~CSkinCtrl() override;

    DWORD m_bFrameworkFree = 0; // the window had no window object of ours at attach
    DWORD m_dwFeatures;
    DWORD m_dwType = 0; // set only by the application, read by buttons
    DWORD m_bDialog = 0;
    DWORD m_dwSavedStyle = 0;
    CSkinGlobals* m_pGlobals = nullptr;
    DWORD m_bThumbTracking = 0;

    LRESULT WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual COLORREF GetBkColor();
    virtual COLORREF GetParentBkColor();
    virtual bool OnPaint(HDC dc) { return false; }
    virtual void OnNcPaint(HDC dc);
    virtual bool OnEraseBkgnd(HDC dc);
    virtual LRESULT OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) { return 0; }
    virtual void OnCommand(UINT code, UINT id, HWND child) {}
    virtual bool OnNotify(NMHDR* header) { return false; }
    virtual void OnReflectCommand(UINT code, LRESULT parentResult) {}
    virtual LRESULT OnReflectNotify(NMHDR* header, LRESULT parentResult) { return 0; }
    virtual HBRUSH OnCtlColor(HDC dc);
    virtual bool OnDrawItem(DRAWITEMSTRUCT* item) { return false; }
    virtual void OnNcCalcSize(RECT* proposed);
    virtual bool OnSize(int width, int height) { return false; }
    virtual bool OnMove(int x, int y) { return false; }
    virtual void OnTimer(UINT_PTR id) {}
    virtual void OnStyleChanged(bool extended, DWORD oldStyle, DWORD newStyle) {}
    // Points are relative to the window rectangle; null when the mouse is not over the window.
    virtual void OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit);
    virtual void Refresh() { Redraw(false); }
    virtual void OnFocusChange(bool gained) {}
    virtual bool OnScroll(UINT code, int position, bool horizontal);
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Hooks the window, saves its style and recomputes its frame; false when it cannot be hooked.
    virtual bool Initialize(HWND hWnd);
    // Detaches the children, unhooks and puts the saved style back.
    virtual bool Uninitialize();
    virtual void GetRects(RECT* window, RECT* client, bool clientOnly = false);
    virtual int GetBorderWidth();
    virtual bool IsScrollBarUsable(int bar, bool thumb);
    virtual void Redraw(bool updateNow);
    // which: 0 horizontal, 1 vertical, 3 both and the corner box.
    virtual void DrawScrollBars(HDC dc, const RECT& window, int which);

    // Colours of a slot, and the brush and pen of a colour; owned by the globals, never freed here.
    COLORREF GetColor(int slot);
    HBRUSH GetColorBrush(int slot);
    HBRUSH GetBrush(COLORREF color);
    HPEN GetColorPen(int slot);
    HPEN GetPen(COLORREF color);

    void DrawFrame(HDC dc, RECT rect, int radius, int frameType, int state);
    // style: skin::kEdge* bits; color CLR_INVALID for system colours.
    void DrawRoundEdge(HDC dc, RECT rect, int corners, int radius, UINT style, COLORREF color = CLR_INVALID);
    // One scroll-bar arrow button (also a combo box's drop button) in a state (skin::FrameState), on a
    // background colour (CLR_INVALID: GetBkColor).
    // Paints the parent's background over the corners outside a rounded rectangle (ellipse in pixels).
    void RoundCornersOff(HDC dc, const RECT& window, int ellipse);
    // The built-in rounded face of a push button, lighter when hot or pressed; joined sides are square
    // so that neighbours meet flat.
    void DrawPushFace(HDC dc, const RECT& rect, int radius, int state, COLORREF face, COLORREF parent,
                      bool joinedLeft, bool joinedRight);
    void DrawScrollArrow(HDC dc, const RECT& rect, int direction, int state,
                         COLORREF background = CLR_INVALID);
    void DrawThreePart(HDC dc, const RECT& rect, HBITMAP left, HBITMAP middle, HBITMAP right,
                       COLORREF transparent, COLORREF fill = CLR_INVALID);
    static void TransparentCopy(HDC dc, const RECT& target, HBITMAP image, COLORREF transparent);

protected:
    // A combo box's drop-down list: a window whose parent is the desktop.
    bool IsDropDownList() const;
    void DrawDropDownFrame(HDC dc);
    skin::ScrollBarLayout GetScrollBarLayout(const RECT& window);
    int GetArrowState(int bar, const RECT& arrow, const POINT* cursor);
    CSkinCtrl* SkinOf(HWND hWnd) const;
    void StartScrollTracking(int bar);
    static void StopScrollTracking();
    static bool IsScrollBarTracked();

private:
    CBrush m_scratchBrush;
    CPen m_scratchPen;
};
