#pragma once
// Small drawing conveniences shared by the skin's painting code.
#include <windows.h>

#include "skin/SkinGeometry.h"

namespace skin {

inline RECT ToRect(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline Rect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
// Fills a rectangle that is not empty; no brush draws nothing.
inline void Fill(HDC dc, const RECT& rect, HBRUSH brush) {
    if (brush && rect.right > rect.left && rect.bottom > rect.top) ::FillRect(dc, &rect, brush);
}

} // namespace skin
