// Marlett glyphs, and shapes that stand in for them when the font is missing.
#include "skin/SkinGlyphs.h"

#include "framework/Gdi.h"

#include <algorithm>
#include <cstring>

namespace {
bool g_forceShapes = false;

// Made once: the font lives as long as the process, like the system's stock objects.
HFONT MakeMarlett() {
    LOGFONTA description{};
    description.lfHeight = ::GetSystemMetrics(SM_CXHSCROLL) - 3;
    description.lfWeight = 100;
    description.lfCharSet = SYMBOL_CHARSET;
    std::strcpy(description.lfFaceName, "Marlett");
    HFONT font = ::CreateFontIndirectA(&description);
    if (!font) return nullptr;
    // The font mapper answers a missing face with another one; only the real Marlett has our symbols.
    char face[LF_FACESIZE] = {};
    HDC screen = ::GetDC(nullptr);
    {
        CSelectObject selected(screen, font);
        ::GetTextFaceA(screen, sizeof face, face);
    }
    ::ReleaseDC(nullptr, screen);
    if (lstrcmpiA(face, "Marlett") != 0) {
        ::DeleteObject(font);
        return nullptr;
    }
    return font;
}

void DrawShape(HDC dc, const RECT& rect, char glyph, COLORREF color) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    // The symbols fill about the middle half of a cell as tall as the font.
    const int cell = std::min({width, height, std::max(8, ::GetSystemMetrics(SM_CXHSCROLL) - 3)});
    const int cx = rect.left + width / 2, cy = rect.top + height / 2;
    CBrush brush;
    brush.CreateSolidBrush(color);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, color);
    CSelectObject selectedBrush(dc, brush);
    CSelectObject selectedPen(dc, pen);
    const int s = std::max(2, cell / 4);
    switch (glyph) {
    case 'b': { // check mark: a short stroke down and a long one up, three pixels thick
        POINT points[3] = {{cx - s - 1, cy - 1}, {cx - 1, cy + s - 1}, {cx + s + 2, cy - s - 2}};
        for (int i = 0; i < 3; ++i) {
            POINT shifted[3] = {{points[0].x, points[0].y + i},
                                {points[1].x, points[1].y + i},
                                {points[2].x, points[2].y + i}};
            ::Polyline(dc, shifted, 3);
        }
        break;
    }
    case 'i': { // bullet
        const int r = std::max(2, cell / 6);
        ::Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
        break;
    }
    case 't':
    case 'u':
    case '3':
    case '4': {
        POINT points[3];
        const int h = std::max(1, s / 2 + 1);
        if (glyph == 't') points[0] = {cx - s, cy + h / 2}, points[1] = {cx + s, cy + h / 2},
                          points[2] = {cx, cy + h / 2 - s};
        else if (glyph == 'u') points[0] = {cx - s, cy - h / 2}, points[1] = {cx + s, cy - h / 2},
                               points[2] = {cx, cy - h / 2 + s};
        else if (glyph == '3') points[0] = {cx + h / 2, cy - s}, points[1] = {cx + h / 2, cy + s},
                               points[2] = {cx + h / 2 - s, cy};
        else points[0] = {cx - h / 2, cy - s}, points[1] = {cx - h / 2, cy + s}, points[2] = {cx - h / 2 + s, cy};
        ::Polygon(dc, points, 3);
        break;
    }
    default:
        break;
    }
}
} // namespace

namespace skin {

HFONT GetMarlettFont() {
    static HFONT font = MakeMarlett();
    return font;
}

void ForceGlyphShapes(bool force) {
    g_forceShapes = force;
}

void DrawMarlettGlyph(HDC dc, const RECT& rect, char glyph, COLORREF color) {
    HFONT font = g_forceShapes ? nullptr : GetMarlettFont();
    if (!font) {
        DrawShape(dc, rect, glyph, color);
        return;
    }
    CSelectObject selected(dc, font);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, color);
    RECT box = rect;
    char text[2] = {glyph, 0};
    ::DrawTextA(dc, text, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
}

} // namespace skin
