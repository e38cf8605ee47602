#include "skin/SkinGlobals.h"

#include "framework/Gdi.h"

namespace {
constexpr COLORREF kTransparentRed = RGB(255, 0, 0);

void DeleteGdi(HGDIOBJ object) { ::DeleteObject(object); }

}  // namespace

void CSkinBitmap::DeleteBitmaps() {
    for (HBITMAP& image : m_hBitmaps) {
        if (image) ::DeleteObject(image);
        image = nullptr;
    }
    m_crTransparent = CLR_INVALID;
}

bool CSkinBitmap::Adopt(HBITMAP images[4]) {
    DeleteBitmaps();
    for (int state = 0; state < 4; ++state) m_hBitmaps[state] = images[state];
    m_crTransparent = kTransparentRed;
    return !IsEmpty();
}

HBITMAP CSkinBitmap::GetImage(int state) const {
    bool present[4];
    for (int i = 0; i < 4; ++i) present[i] = m_hBitmaps[i] != nullptr;
    int index = skin::PickSkinImage(present, state);
    return index < 0 ? nullptr : m_hBitmaps[index];
}

CSkinGlobals::CSkinGlobals()
    : m_colors([](int index) { return static_cast<skin::Color>(::GetSysColor(index)); }),
      m_brushes([](HBRUSH brush) { DeleteGdi(brush); }), m_pens([](HPEN pen) { DeleteGdi(pen); }) {}

CSkinGlobals::~CSkinGlobals() {
    ClearColors();
    ClearBitmaps();
}

COLORREF CSkinGlobals::GetColor(int slot) { return m_colors.Get(slot); }

void CSkinGlobals::SetColor(COLORREF color, int slot) {
    skin::Color old = m_colors.Set(color, slot);
    if (old == skin::kNoColor) return;
    m_brushes.Drop(old);
    m_pens.Drop(old);
}

HBRUSH CSkinGlobals::GetBrush(COLORREF color) {
    return m_brushes.Get(color, [](skin::Color c) { return ::CreateSolidBrush(c); });
}

HPEN CSkinGlobals::GetPen(COLORREF color) {
    // Someone may have deleted or reused the handle: keep it only while it still reads as our pen.
    auto usable = [](HPEN pen) {
        LOGPEN info{};
        return ::GetObjectType(pen) == OBJ_PEN && ::GetObjectA(pen, sizeof info, &info) == sizeof info &&
               info.lopnWidth.x == 0;
    };
    return m_pens.Get(color, [](skin::Color c) { return ::CreatePen(PS_SOLID, 0, c); }, usable);
}

int CSkinGlobals::SetBitmap(const UINT ids[4], int key) {
    CBitmap loaded[4];
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    for (int state = 3; state >= 0; --state)
        if (ids[state]) loaded[state].Attach(::LoadBitmapA(module, MAKEINTRESOURCEA(ids[state])));
    if (loaded[0].IsNull()) return 0;
    m_bitmaps.Remove(key);
    // Each load makes a new bitmap, compatible with the screen: it is the set's own image as it is. (A
    // further copy cost about a millisecond an image under Wine, at every start.)
    HBITMAP images[4] = {loaded[0].Detach(), loaded[1].Detach(), loaded[2].Detach(), loaded[3].Detach()};
    auto set = std::make_unique<CSkinBitmap>();
    set->Adopt(images);
    set->m_bOwnPressed = ids[2] != 0 && ids[2] != ids[1];
    m_bitmaps.Put(key, std::move(set));
    return 1;
}

HBITMAP CSkinGlobals::GetBitmap(int key, int state, int fallback, COLORREF* transparent) {
    CSkinBitmap* set = m_bitmaps.Find(key, fallback);
    if (!set) return nullptr;
    if (transparent) *transparent = set->m_crTransparent;
    return set->GetImage(state);
}

bool CSkinGlobals::HasOwnPressedImage(int key) {
    CSkinBitmap* set = m_bitmaps.Find(key, -1);
    return set && set->m_bOwnPressed;
}

void CSkinGlobals::ClearColors() {
    m_brushes.Clear();
    m_pens.Clear();
    m_colors.Clear();
}

void CSkinGlobals::ClearBitmaps() { m_bitmaps.Clear(); }
