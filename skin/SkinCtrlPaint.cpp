// The default look of skinned controls: frame, rounded edges, scroll-bar arrows and skin bitmaps.
#include "skin/SkinCtrl.h"
#include "skin/SkinButtonRules.h"
#include "skin/SkinGlyphs.h"
#include "skin/SkinPaint.h"

#include <algorithm>
#include <cmath>

namespace {
using skin::ToRect;
using skin::FromRect;
using skin::Fill;

using TransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
TransparentBltProc LookUpTransparentBlt() {
    static TransparentBltProc proc = [] {
        HMODULE module = ::LoadLibraryA("msimg32.dll");
        return module ? reinterpret_cast<TransparentBltProc>(
                            reinterpret_cast<void*>(::GetProcAddress(module, "TransparentBlt")))
                      : nullptr;
    }();
    return proc;
}
} // namespace

void CSkinCtrl::DrawDropDownFrame(HDC dc) {
    RECT window;
    GetRects(&window, nullptr);
    ::FrameRect(dc, &window, GetBrush(GetColor(skin::kSlotBtnShadow)));
    DrawScrollBars(dc, window, 3);
}

void CSkinCtrl::OnNcPaint(HDC target) {
    RECT window, client;
    GetRects(&window, &client);
    {
        // Everything goes to an off-screen copy of the frame; the client area is left alone.
        HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
        int hadClip = ::GetClipRgn(target, clip);
        RECT inner;
        GetRects(nullptr, &inner, true);
        ::ExcludeClipRect(target, inner.left, inner.top, inner.right, inner.bottom);
        {
            COffscreenDC dc(target, window);
            const int frameType = m_dwFeatures & skin::kFeatureFrameMask;
            if (!IsScrollBarTracked() && frameType != skin::kFrameNone) {
                RECT r = window;
                ::InflateRect(&r, -1, -1);
                HBRUSH background = GetBrush(GetBkColor());
                Fill(dc, {r.left, r.top, r.right, std::max(client.top, r.top + 2)}, background);
                Fill(dc, {r.left, std::min(client.bottom, r.bottom - 2), r.right, r.bottom}, background);
                Fill(dc, {r.left, r.top, std::max(client.left, r.left + 2), r.bottom}, background);
                Fill(dc, {std::min(client.right, r.right - 2), r.top, r.right, r.bottom}, background);
                RoundCornersOff(dc, window, 5);
                int width = window.right - window.left, height = window.bottom - window.top;
                POINT cursor = skin::g_pOwner ? skin::g_pOwner->GetLastCursorPos() : POINT{-1, -1};
                RECT screen;
                ::GetWindowRect(m_hWnd, &screen);
                HWND capture = ::GetCapture();
                int state = skin::FrameStateFor(!::IsWindowEnabled(m_hWnd), ::PtInRect(&screen, cursor) != 0,
                                                capture && capture != m_hWnd);
                DrawFrame(dc, window, skin::CornerRadius(width, height),
                          skin::EffectiveFrameType(m_dwFeatures, width, height), state);
            }
            DrawScrollBars(dc, window, 3);
        }
        ::SelectClipRgn(target, hadClip == 1 ? clip : nullptr);
        ::DeleteObject(clip);
    }
}

void CSkinCtrl::DrawFrame(HDC dc, RECT rect, int radius, int frameType, int state) {
    if (skin::g_pRenderer && skin::g_pRenderer->DrawEdge(dc, rect, frameType, state, skin::kCornersAll))
        return;
    if (frameType == skin::kFrameSunken || frameType == skin::kFrameRaised) {
        UINT style = skin::kEdgeDraw | skin::kEdgeSingle |
                     (frameType == skin::kFrameSunken ? skin::kEdgeSunken : skin::kEdgeRaised);
        DrawRoundEdge(dc, rect, skin::kCornersAll, radius, style);
        return;
    }
    if (frameType != skin::kFrameFlat) return;
    if (radius >= 2) {
        rect.right -= 1;
        rect.bottom -= 1;
        CSelectObject noFill(dc, ::GetStockObject(NULL_BRUSH));
        {
            CSelectObject pen(dc, GetColorPen(skin::kSlotBtnHighlight));
            ::RoundRect(dc, rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1, radius, radius);
        }
        CSelectObject pen(dc, GetColorPen(skin::kSlotBtnShadow));
        ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
        return;
    }
    bool columns = radius < rect.bottom - rect.top;
    RECT dark = rect;
    (columns ? dark.right : dark.bottom) -= 1;
    Fill(dc, dark, GetColorBrush(skin::kSlotBtnShadow));
    ::OffsetRect(&dark, columns ? 1 : 0, columns ? 0 : 1);
    Fill(dc, dark, GetColorBrush(skin::kSlotBtnHighlight));
}

void CSkinCtrl::DrawRoundEdge(HDC dc, RECT rect, int corners, int radius, UINT style, COLORREF color) {
    if (!(style & skin::kEdgeDraw)) return;
    if (skin::g_pRenderer && radius * 2 == std::min(rect.right - rect.left, rect.bottom - rect.top) &&
        skin::g_pRenderer->DrawRoundEdge(dc, rect, style & skin::kEdgeSunken ? 1 : 2, 1))
        return;
    radius = std::clamp<int>(radius, 0, std::min(rect.right - rect.left, rect.bottom - rect.top) / 2);
    const bool system = color == CLR_INVALID;
    COLORREF shadow = system ? GetColor(skin::kSlotBtnShadow) : skin::Darken(color, 0.75);
    COLORREF light = system ? GetColor(skin::kSlotBtnHighlight) : skin::Lighten(color, 0.25);
    COLORREF innerDark = system ? GetColor(skin::kSlot3DDkShadow) : skin::Darken(color, 0.2);
    COLORREF innerLight = system ? GetColor(skin::kSlotBtnFace) : color;
    const bool sunken = style & skin::kEdgeSunken;
    int lines = style & skin::kEdgeSingle ? 1 : 2;
    for (int line = 0; line < lines; ++line) {
        COLORREF dark = line == 0 ? shadow : innerDark, bright = line == 0 ? light : innerLight;
        COLORREF topLeft = sunken ? dark : bright, bottomRight = sunken ? bright : dark;
        RECT r = rect;
        ::InflateRect(&r, -line, -line);
        int rad = std::max(0, radius - line);
        auto corner = [&](int flag) { return (corners & flag) ? rad : 0; };
        auto hline = [&](int x0, int x1, int y, COLORREF c) {
            CSelectObject pen(dc, GetPen(c));
            ::MoveToEx(dc, x0, y, nullptr);
            ::LineTo(dc, x1, y);
        };
        auto vline = [&](int x, int y0, int y1, COLORREF c) {
            CSelectObject pen(dc, GetPen(c));
            ::MoveToEx(dc, x, y0, nullptr);
            ::LineTo(dc, x, y1);
        };
        hline(r.left + corner(1), r.right - corner(2), r.top, topLeft);
        vline(r.left, r.top + corner(1), r.bottom - corner(4), topLeft);
        hline(r.left + corner(4), r.right - corner(8), r.bottom - 1, bottomRight);
        vline(r.right - 1, r.top + corner(2), r.bottom - corner(8), bottomRight);
        // Quarter circles by the midpoint rule; each pixel shaded by its angle between the two edges.
        const struct {
            int flag, cx, cy, sx, sy;
            double from;
        } quarters[] = {
            {1, r.left + rad, r.top + rad, -1, -1, 0.0},
            {2, r.right - 1 - rad, r.top + rad, 1, -1, 0.5},
            {8, r.right - 1 - rad, r.bottom - 1 - rad, 1, 1, 1.0},
            {4, r.left + rad, r.bottom - 1 - rad, -1, 1, 0.5},
        };
        for (const auto& q : quarters) {
            if (!(corners & q.flag) || rad == 0) continue;
            int x = rad, y = 0, decision = 1 - rad;
            while (x >= y) {
                const int points[2][2] = {{x, y}, {y, x}};
                for (const auto& p : points) {
                    int px = q.cx + q.sx * p[0], py = q.cy + q.sy * p[1];
                    double angle =
                        std::atan2(static_cast<double>(p[1]), static_cast<double>(p[0])) / 3.14159265 * 2;
                    // Top-left leans to the top-left colour; bottom-right to the other; the other two blend.
                    double weight = q.flag == 1   ? 0.0
                                    : q.flag == 8 ? 1.0
                                                  : (q.flag == 2 ? 1.0 - angle : angle);
                    ::SetPixelV(dc, px, py, skin::Blend(topLeft, bottomRight, weight));
                }
                ++y;
                if (decision < 0) {
                    decision += 2 * y + 1;
                } else {
                    --x;
                    decision += 2 * (y - x) + 1;
                }
            }
        }
    }
}

skin::ScrollBarLayout CSkinCtrl::GetScrollBarLayout(const RECT& window) {
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    bool left = (::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    return skin::LayoutScrollBars(FromRect(window), GetBorderWidth(), (style & WS_VSCROLL) != 0,
                                  (style & WS_HSCROLL) != 0, left, ::GetSystemMetrics(SM_CXVSCROLL),
                                  ::GetSystemMetrics(SM_CYHSCROLL), ::GetSystemMetrics(SM_CYVSCROLL));
}

int CSkinCtrl::GetArrowState(int bar, const RECT& arrow, const POINT* cursor) {
    if (!IsScrollBarUsable(bar, false)) return skin::kStateDisabled;
    if (!cursor || !::PtInRect(&arrow, *cursor)) return skin::kStateNormal;
    bool down = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    return down && !m_bThumbTracking ? skin::kStatePressed : skin::kStateHot;
}

void CSkinCtrl::DrawScrollBars(HDC dc, const RECT& window, int which) {
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (!(style & (WS_HSCROLL | WS_VSCROLL)) || skin::g_bVisualStylesActive) return;
    skin::ScrollBarLayout layout = GetScrollBarLayout(window);
    // The cursor relative to the window rectangle, when it is over the window.
    POINT cursor{}, *over = nullptr;
    RECT screen;
    ::GetWindowRect(m_hWnd, &screen);
    if (skin::g_pOwner) {
        cursor = skin::g_pOwner->GetLastCursorPos();
        if (::PtInRect(&screen, cursor)) {
            cursor.x -= screen.left;
            cursor.y -= screen.top;
            over = &cursor;
        }
    }
    if (layout.hasVert && (which == 1 || which == 3)) {
        DrawScrollArrow(dc, ToRect(layout.arrows[0]), skin::kArrowUp,
                        GetArrowState(SB_VERT, ToRect(layout.arrows[0]), over));
        DrawScrollArrow(dc, ToRect(layout.arrows[1]), skin::kArrowDown,
                        GetArrowState(SB_VERT, ToRect(layout.arrows[1]), over));
    }
    if (layout.hasHorz && (which == 0 || which == 3)) {
        DrawScrollArrow(dc, ToRect(layout.arrows[2]), skin::kArrowLeft,
                        GetArrowState(SB_HORZ, ToRect(layout.arrows[2]), over));
        DrawScrollArrow(dc, ToRect(layout.arrows[3]), skin::kArrowRight,
                        GetArrowState(SB_HORZ, ToRect(layout.arrows[3]), over));
    }
    if (layout.hasVert && layout.hasHorz && which == 3)
        Fill(dc, ToRect(layout.corner), GetBrush(GetBkColor()));
}

void CSkinCtrl::DrawScrollArrow(HDC target, const RECT& rect, int direction, int state, COLORREF background) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    const bool vertical = skin::IsVerticalArrow(direction), second = skin::IsSecondArrow(direction);
    const bool pressed = state == skin::kStatePressed;
    const int arrowWidth = ::GetSystemMetrics(SM_CXHSCROLL);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const bool squeezed = (vertical ? height : width) < arrowWidth;
    COffscreenDC dc(target, rect);
    Fill(dc, rect, GetBrush(background == CLR_INVALID ? GetBkColor() : background));

    COLORREF transparent = CLR_INVALID;
    HBITMAP image = nullptr;
    bool glyphInImage = false;
    if (m_pGlobals) {
        // The program's own set decides whether bitmaps are used at all; each end then takes its key.
        bool bitmaps =
            squeezed ? m_pGlobals->GetBitmap(skin::kArrowKeySqueezed + skin::kArrowUp, state) != nullptr
                     : m_pGlobals->GetBitmap(skin::kArrowKeyUp, state, skin::kArrowKeyCommon) != nullptr;
        int key = (squeezed ? skin::kArrowKeySqueezed : skin::kArrowKeyFull) + direction;
        if (bitmaps) image = m_pGlobals->GetBitmap(key, state, skin::kArrowKeyCommon, &transparent);
        glyphInImage = m_pGlobals->GetBitmap(skin::kArrowKeyUp, state) != nullptr;
    }
    if (image) {
        TransparentCopy(dc, rect, image, transparent);
    } else {
        const bool lit = state == skin::kStateHot || pressed;
        HBRUSH face = GetColorBrush(lit ? skin::kSlotBtnHighlight : skin::kSlotBtnFace);
        {
            CSelectObject brush(dc, face);
            CSelectObject pen(dc, ::GetStockObject(NULL_PEN));
            ::Ellipse(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
        }
        int corners = skin::kCornersAll;
        if (squeezed) {
            // The half towards the track is square, so the two halves of a short bar meet flat.
            RECT half = rect;
            if (vertical) {
                (second ? half.bottom : half.top) = (rect.top + rect.bottom) / 2;
                corners = second ? skin::kCornerBottomLeft | skin::kCornerBottomRight
                                 : skin::kCornerTopLeft | skin::kCornerTopRight;
            } else {
                (second ? half.right : half.left) = (rect.left + rect.right) / 2;
                corners = second ? skin::kCornerTopRight | skin::kCornerBottomRight
                                 : skin::kCornerTopLeft | skin::kCornerBottomLeft;
            }
            Fill(dc, half, face);
        }
        DrawRoundEdge(dc, rect, corners, arrowWidth / 2,
                      skin::kEdgeDraw | skin::kEdgeSingle |
                          (pressed ? skin::kEdgeSunken : skin::kEdgeRaised));
    }
    if (!glyphInImage) {
        // By direction: left, right, down, up. Marlett's "w" and "8" are crosses in Wine's Marlett, not
        // arrows; its "3" and "4" are the left and right triangles in every Marlett.
        static const char glyphs[4] = {'3', '4', 'u', 't'};
        RECT glyph = rect;
        if (!vertical) ::OffsetRect(&glyph, second ? 3 : -2, 0);
        if (vertical && second && squeezed) glyph.top -= 2;
        if (pressed) ::OffsetRect(&glyph, 1, 1);
        skin::DrawMarlettGlyph(
            dc, glyph, glyphs[direction],
            GetColor(state == skin::kStateDisabled ? skin::kSlotGrayText : skin::kSlotWindowText));
    }
}

void CSkinCtrl::RoundCornersOff(HDC dc, const RECT& window, int ellipse) {
    HRGN outside = ::CreateRectRgnIndirect(&window);
    HRGN rounded =
        ::CreateRoundRectRgn(window.left, window.top, window.right + 1, window.bottom + 1, ellipse, ellipse);
    ::CombineRgn(outside, outside, rounded, RGN_DIFF);
    ::FillRgn(dc, outside, GetBrush(GetParentBkColor()));
    ::DeleteObject(rounded);
    ::DeleteObject(outside);
}

void CSkinCtrl::DrawPushFace(HDC dc, const RECT& rect, int radius, int state, COLORREF face, COLORREF parent,
                             bool joinedLeft, bool joinedRight) {
    const bool pressed = state == skin::kStatePressed;
    if (pressed || state == skin::kStateHot) face = skin::LightenFace(face);
    HBRUSH faceBrush = GetBrush(face);
    if (joinedLeft && joinedRight) {
        Fill(dc, rect, faceBrush);
    } else {
        Fill(dc, rect, GetBrush(parent));
        {
            CSelectObject brush(dc, faceBrush);
            CSelectObject pen(dc, ::GetStockObject(NULL_PEN));
            // Without an outline the fill stops one pixel short at the right and bottom.
            ::RoundRect(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1, 2 * radius, 2 * radius);
        }
        if (joinedLeft) Fill(dc, {rect.left, rect.top, rect.left + radius, rect.bottom}, faceBrush);
        if (joinedRight) Fill(dc, {rect.right - radius, rect.top, rect.right, rect.bottom}, faceBrush);
    }
    const int corners = (joinedLeft ? 0 : skin::kCornerTopLeft | skin::kCornerBottomLeft) |
                        (joinedRight ? 0 : skin::kCornerTopRight | skin::kCornerBottomRight);
    DrawRoundEdge(dc, rect, corners, radius,
                  skin::kEdgeDraw | skin::kEdgeSingle | (pressed ? skin::kEdgeSunken : skin::kEdgeRaised));
}

void CSkinCtrl::TransparentCopy(HDC dc, const RECT& target, HBITMAP image, COLORREF transparent) {
    BITMAP info{};
    if (!image || !::GetObjectA(image, sizeof info, &info)) return;
    const int width = target.right - target.left, height = target.bottom - target.top;
    if (width <= 0 || height <= 0) return;
    HDC source = ::CreateCompatibleDC(dc);
    CSelectObject selected(source, image);
    if (transparent == CLR_INVALID) {
        ::StretchBlt(dc, target.left, target.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight,
                     SRCCOPY);
        ::DeleteDC(source);
        return;
    }
    // A working copy at the target's size, stretched pixel by pixel: a smoothing stretch would blend the
    // transparent colour into the edges and leave a fringe of it on screen. The set's own image is
    // never changed.
    HDC work = ::CreateCompatibleDC(dc);
    CBitmap copy;
    copy.Attach(::CreateCompatibleBitmap(dc, width, height));
    {
        CSelectObject workSelected(work, copy);
        ::SetStretchBltMode(work, COLORONCOLOR);
        ::StretchBlt(work, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        if (TransparentBltProc blt = LookUpTransparentBlt()) {
            blt(dc, target.left, target.top, width, height, work, 0, 0, width, height, transparent);
        } else {
            // A mask, white where the image is transparent: the target keeps those pixels.
            HDC maskDC = ::CreateCompatibleDC(dc);
            CBitmap mask;
            mask.Attach(::CreateBitmap(width, height, 1, 1, nullptr));
            {
                CSelectObject maskSelected(maskDC, mask);
                ::SetBkColor(work, transparent);
                ::BitBlt(maskDC, 0, 0, width, height, work, 0, 0, SRCCOPY);
                ::BitBlt(dc, target.left, target.top, width, height, maskDC, 0, 0, SRCAND);
                // The copy with its transparent pixels blacked out, ORed in.
                ::SetBkColor(work, RGB(0, 0, 0));
                ::SetTextColor(work, RGB(255, 255, 255));
                ::BitBlt(work, 0, 0, width, height, maskDC, 0, 0, 0x00220326); // DSna
                ::BitBlt(dc, target.left, target.top, width, height, work, 0, 0, SRCPAINT);
            }
            ::DeleteDC(maskDC);
        }
    }
    ::DeleteDC(work);
    ::DeleteDC(source);
}

void CSkinCtrl::DrawThreePart(HDC dc, const RECT& rect, HBITMAP left, HBITMAP middle, HBITMAP right,
                              COLORREF transparent, COLORREF fill) {
    if (!left || !middle || !right) return;
    if (fill != CLR_INVALID) Fill(dc, rect, GetBrush(fill));
    BITMAP leftInfo{}, rightInfo{};
    ::GetObjectA(left, sizeof leftInfo, &leftInfo);
    ::GetObjectA(right, sizeof rightInfo, &rightInfo);
    int mid = (rect.left + rect.right) / 2;
    RECT l{rect.left, rect.top, std::min<int>(rect.left + leftInfo.bmWidth, mid), rect.bottom};
    RECT r{std::max<int>(rect.right - rightInfo.bmWidth, mid), rect.top, rect.right, rect.bottom};
    RECT m{l.right, rect.top, r.left, rect.bottom};
    TransparentCopy(dc, l, left, transparent);
    if (m.right > m.left) TransparentCopy(dc, m, middle, transparent);
    TransparentCopy(dc, r, right, transparent);
}

void CSkinCtrl::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    if (IsScrollBarTracked()) return;
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (!(style & (WS_HSCROLL | WS_VSCROLL))) return;
    auto redraw = [this] {
        RECT window;
        GetRects(&window, nullptr);
        HDC dc = ::GetWindowDC(m_hWnd);
        DrawScrollBars(dc, window, 3);
        ::ReleaseDC(m_hWnd, dc);
    };
    bool scrollHit = oldHit == HTHSCROLL || oldHit == HTVSCROLL || newHit == HTHSCROLL || newHit == HTVSCROLL;
    if (scrollHit) {
        if (!oldPoint || !newPoint) return redraw();
        RECT window;
        GetRects(&window, nullptr);
        skin::ScrollBarLayout layout = GetScrollBarLayout(window);
        for (const skin::Rect& arrow : layout.arrows)
            if (arrow.Contains(oldPoint->x, oldPoint->y) != arrow.Contains(newPoint->x, newPoint->y))
                return redraw();
        return;
    }
    if (newHit == 0) redraw();
}
