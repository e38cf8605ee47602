#pragma once
// CSkinGlobals: the colours, brushes, pens and bitmap sets that every skinned control shares. It owns all
// of them; painting code borrows and never frees them.
#include <windows.h>

#include "skin/SkinColorCache.h"

// One image per state (hot, normal, pressed, disabled), each the set's own; red is transparent.
class CSkinBitmap {
public:
    CSkinBitmap() = default;
    virtual ~CSkinBitmap() { DeleteBitmaps(); }
    CSkinBitmap(const CSkinBitmap&) = delete;
    CSkinBitmap& operator=(const CSkinBitmap&) = delete;

    virtual void DeleteBitmaps();
    // Takes the given images as its own (null ones stay empty); false without image 0.
    bool Adopt(HBITMAP images[4]);
    bool IsEmpty() const { return m_hBitmaps[0] == nullptr; }
    HBITMAP GetImage(int state) const;

    COLORREF m_crTransparent = CLR_INVALID;
    HBITMAP m_hBitmaps[4] = {};
    bool m_bOwnPressed = false;  // the pressed image differs from the normal one
};

class CSkinGlobals {
public:
    CSkinGlobals();
    virtual ~CSkinGlobals();
    CSkinGlobals(const CSkinGlobals&) = delete;
    CSkinGlobals& operator=(const CSkinGlobals&) = delete;

    COLORREF GetColor(int slot);
    // CLR_INVALID puts the slot back on the system colour.
    void SetColor(COLORREF color, int slot);
    HBRUSH GetBrush(COLORREF color);
    HPEN GetPen(COLORREF color);
    // Resource ids of the hot, normal, pressed and disabled images (0 for none); 1 when set, 0 when the
    // first image does not load (the key then keeps its old set).
    int SetBitmap(const UINT ids[4], int key);
    // The image of a state, else image 0; from the fallback key (-1: none) when the key has no set.
    HBITMAP GetBitmap(int key, int state, int fallback = -1, COLORREF* transparent = nullptr);
    // The set of the key draws its pressed state with an image of its own, not the normal one.
    bool HasOwnPressedImage(int key);
    void ClearColors();
    void ClearBitmaps();

    size_t GetCachedObjectCount() const { return m_brushes.GetCount() + m_pens.GetCount(); }

private:
    skin::CColorSlots m_colors;
    skin::CColorObjectCache<HBRUSH> m_brushes;
    skin::CColorObjectCache<HPEN> m_pens;
    skin::CKeyedSets<CSkinBitmap> m_bitmaps;
};
