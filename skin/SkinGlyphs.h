#pragma once
// The small symbols of the skin (check mark, bullet, arrows) come from the "Marlett" symbol font. Where
// that font is missing, the same symbols are drawn as shapes, so the controls look right either way.
#include <windows.h>

namespace skin {

// Marlett at the skin's size (scroll-arrow width - 3, weight 100), made on first use and kept; null
// when the system has no Marlett and the request was answered with another face.
HFONT GetMarlettFont();

// Draws one Marlett character centred in the rectangle, transparent, in the colour. The characters the
// skin uses: "b" check mark, "i" bullet, "t"/"u" up/down arrow, "3"/"4" left/right arrow.
void DrawMarlettGlyph(HDC dc, const RECT& rect, char glyph, COLORREF color);

// For tests: draw the shapes even when Marlett is there.
void ForceGlyphShapes(bool force);

} // namespace skin
