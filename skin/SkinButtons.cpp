#include "skin/SkinButtons.h"

#include "skin/SkinButtonRules.h"
#include "skin/SkinGlyphs.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRules.h"
#include "widgets/DelayRedraw.h"

#include <string>

namespace {
using skin::ToRect;
using skin::FromRect;
using skin::Fill;

std::string WindowText(HWND hWnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsOwnerDrawnKind(DWORD kind) {
    return kind == BS_USERBUTTON || kind == BS_OWNERDRAW;
}
} // namespace

CSkinCtrl* CreateSkinButton(DWORD style) {
    skin::ButtonSkin skin = skin::ButtonSkinFor(style);
    switch (skin.kind) {
    case skin::ButtonKind::Push: return new CSkinButtonPush(skin.features);
    case skin::ButtonKind::Check: return new CSkinButtonCheck(skin.features);
    case skin::ButtonKind::Radio: return new CSkinButtonRadio(skin.features);
    case skin::ButtonKind::Group: return new CSkinButtonGroup(skin.features);
    default: return nullptr;
    }
}

LRESULT CSkinButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool filtered = false;
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETCHECK:
    case WM_LBUTTONDOWN: filtered = true; break;
    case WM_LBUTTONUP: {
        // The click is reported inside this message, and what it starts may run a modal loop (a
        // message box): with drawing off the button would vanish meanwhile. The platform's painting
        // here comes through BM_SETSTATE and BM_SETCHECK, which are filtered on their own.
        HWND hWnd = m_hWnd;
        LRESULT result = CSubclassWnd::WindowProc(hWnd, message, wParam, lParam);
        if (::IsWindow(hWnd)) {
            ::InvalidateRect(hWnd, nullptr, FALSE);
            ::UpdateWindow(hWnd);
        }
        return result;
    }
    case BM_SETSTATE: filtered = ((SendMessage(BM_GETSTATE) & BST_PUSHED) != 0) != (wParam != 0); break;
    default: break;
    }
    if (!filtered) return CSkinCtrl::OnMessage(message, wParam, lParam);
    // The platform paints buttons at once on these; with drawing off only our face is ever seen.
    HWND hWnd = m_hWnd;
    CSubclassWnd::WindowProc(hWnd, WM_SETREDRAW, FALSE, 0);
    LRESULT result = CSubclassWnd::WindowProc(hWnd, message, wParam, lParam);
    // A click may have destroyed the button, and this object with it.
    if (!::IsWindow(hWnd)) return result;
    CSubclassWnd::WindowProc(hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hWnd, nullptr, FALSE);
    ::UpdateWindow(hWnd);
    return result;
}

bool CSkinButton::Initialize(HWND hWnd) {
    m_nKind = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)) & skin::kBsTypeMask;
    if (!CSkinCtrl::Initialize(hWnd)) return false;
    // The globals arrive only after this returns; the first real paint has to wait for them.
    // A hidden button is painted when it shows, with the globals by then.
    if (::IsWindowVisible(hWnd)) DelayRedraw(hWnd, 1);
    return true;
}

bool CSkinButton::IsHot() {
    if (!skin::g_pOwner) return false;
    POINT cursor = skin::g_pOwner->GetLastCursorPos();
    RECT screen;
    ::GetWindowRect(m_hWnd, &screen);
    HWND capture = ::GetCapture();
    return ::PtInRect(&screen, cursor) && !(capture && capture != m_hWnd);
}

RECT CSkinButton::PlaceText(HDC dc, const char* text, const RECT& area, UINT flags) {
    RECT measured{0, 0, area.right - area.left, 0};
    ::DrawTextA(dc, text, -1, &measured, (flags & ~skin::kDtVerticalMask) | DT_CALCRECT);
    return ToRect(skin::PlaceInArea(FromRect(area), measured.right - measured.left,
                                    measured.bottom - measured.top, flags));
}

bool CSkinButtonPush::Initialize(HWND hWnd) {
    if (IsOwnerDrawnKind(static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)) & skin::kBsTypeMask))
        m_dwFeatures |= skin::kFeatureDrawItemAfter;
    return CSkinButton::Initialize(hWnd);
}

bool CSkinButtonPush::OnPaint(HDC dc) {
    // The owner draws these first; our face follows in OnDrawItem.
    if (IsOwnerDrawnKind(m_nKind)) return false;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    LRESULT buttonState = SendMessage(BM_GETSTATE);
    // A push-like check box stays in while checked.
    int state = skin::PushState(!::IsWindowEnabled(m_hWnd), (buttonState & (BST_PUSHED | BST_CHECKED)) != 0,
                                IsHot());
    PaintFace(dc, client, state, (buttonState & BST_FOCUS) != 0, false);
    return true;
}

bool CSkinButtonPush::OnDrawItem(DRAWITEMSTRUCT* item) {
    if (!IsOwnerDrawnKind(m_nKind)) return false;
    int state = skin::PushState((item->itemState & ODS_DISABLED) != 0, (item->itemState & ODS_SELECTED) != 0,
                                IsHot());
    PaintFace(item->hDC, item->rcItem, state, (item->itemState & ODS_FOCUS) != 0, true);
    return true;
}

void CSkinButtonPush::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int, int) {
    if (oldPoint && newPoint) return;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSkinButtonPush::PaintFace(HDC target, const RECT& client, int state, bool focus, bool ownerDrawn) {
    RECT inset = client;
    ::InflateRect(&inset, -4, -4);
    // What the owner drew is taken before the face covers it.
    CBitmap owner;
    if (ownerDrawn && inset.right > inset.left && inset.bottom > inset.top) {
        owner.Attach(::CreateCompatibleBitmap(target, inset.right - inset.left, inset.bottom - inset.top));
        HDC copy = ::CreateCompatibleDC(target);
        {
            CSelectObject selected(copy, owner);
            ::BitBlt(copy, 0, 0, inset.right - inset.left, inset.bottom - inset.top, target, inset.left,
                     inset.top, SRCCOPY);
        }
        ::DeleteDC(copy);
    }
    COffscreenDC dc(target, client);
    if (!DrawBitmapFace(dc, client, state)) DrawBuiltInFace(dc, client, state);
    RECT focusRect = inset;
    if (ownerDrawn)
        TransparentCopy(dc, inset, owner, ::GetSysColor(COLOR_BTNFACE));
    else
        focusRect = DrawContent(dc, client, state);
    if (focus) ::DrawFocusRect(dc, &focusRect);
}

bool CSkinButtonPush::DrawBitmapFace(HDC dc, const RECT& rect, int state) {
    if (!m_pGlobals || !m_pGlobals->GetBitmap(skin::kKeyLeft, state)) return false;
    COLORREF transparent = CLR_INVALID;
    HBITMAP left = m_pGlobals->GetBitmap(skin::LeftCapKey(m_dwType), state, skin::kKeyLeft, &transparent);
    bool joinedRight = m_pGlobals->GetBitmap(skin::kKeyJoinedRight, state) != nullptr;
    HBITMAP right = m_pGlobals->GetBitmap(skin::RightCapKey(m_dwType, joinedRight), state);
    HBITMAP middle = m_pGlobals->GetBitmap(skin::kKeyMiddle, state);
    Fill(dc, rect, GetBrush(GetParentBkColor()));
    DrawThreePart(dc, rect, left, middle, right, transparent);
    // Artwork that draws pressed like normal would leave a checked push-like button (Pause) looking
    // unchecked: it is sunk by hand, a darker face under a shadow line.
    if (state == skin::kStatePressed && !m_pGlobals->HasOwnPressedImage(skin::kKeyMiddle))
        DrawSunkenFace(dc, rect);
    return true;
}

void CSkinButtonPush::DrawSunkenFace(HDC dc, const RECT& rect) {
    RECT inner = rect;
    ::InflateRect(&inner, -2, -2);
    if (inner.right - inner.left < 4 || inner.bottom - inner.top < 4) return;
    const COLORREF face = ::GetPixel(dc, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    if (face == CLR_INVALID) return;
    {
        CSelectObject pen(dc, ::GetStockObject(NULL_PEN));
        CSelectObject brush(dc, GetBrush(skin::ShadeFace(face, 86)));
        ::RoundRect(dc, inner.left, inner.top, inner.right + 1, inner.bottom + 1, 6, 6);
    }
    CSelectObject pen(dc, GetPen(skin::ShadeFace(face, 62)));
    ::MoveToEx(dc, inner.left + 2, inner.top, nullptr);
    ::LineTo(dc, inner.right - 2, inner.top);
}

void CSkinButtonPush::DrawBuiltInFace(HDC dc, const RECT& rect, int state) {
    const int radius = skin::PushFaceRadius(rect.right - rect.left, rect.bottom - rect.top);
    const bool pressed = state == skin::kStatePressed;
    COLORREF face = GetBkColor();
    if (pressed || state == skin::kStateHot) face = skin::LightenFace(face);
    const int corners = skin::PushFaceCorners(m_dwType);
    if (skin::g_pRenderer &&
        skin::g_pRenderer->FillAndDrawEdge(dc, rect, pressed ? skin::kFrameSunken : skin::kFrameRaised, state,
                                           face, corners))
        return;
    DrawPushFace(dc, rect, radius, state, GetBkColor(), GetParentBkColor(),
                 (m_dwType & skin::kTypeJoinedLeft) != 0, (m_dwType & skin::kTypeJoinedRight) != 0);
}

RECT CSkinButtonPush::DrawContent(HDC dc, const RECT& rect, int state) {
    const DWORD style = GetStyle();
    const UINT flags = skin::ButtonTextFlags(style);
    const int shift = state == skin::kStatePressed ? 1 : 0;
    RECT inset = rect;
    ::InflateRect(&inset, -4, -4);
    if (style & BS_ICON) {
        RECT cell = ToRect(skin::PlaceInArea(FromRect(inset), 33, 33, flags));
        if (auto icon = reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)))
            ::DrawIconEx(dc, cell.left + shift, cell.top + shift, icon, 0, 0, 0, nullptr, DI_NORMAL);
        return inset;
    }
    if (style & BS_BITMAP) {
        auto image = reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP));
        BITMAP info{};
        if (image && ::GetObjectA(image, sizeof info, &info)) {
            RECT cell =
                ToRect(skin::PlaceInArea(FromRect(inset), info.bmWidth + 1, info.bmHeight + 1, flags));
            ::OffsetRect(&cell, shift, shift);
            int saved = ::SaveDC(dc);
            ::IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
            TransparentCopy(dc, {cell.left, cell.top, cell.left + info.bmWidth, cell.top + info.bmHeight},
                            image, RGB(0xC0, 0xC0, 0xC0));
            ::RestoreDC(dc, saved);
        }
        return inset;
    }
    std::string text = WindowText(m_hWnd);
    if (text.empty()) return inset;
    CSelectObject font(dc, ::GetStockObject(ANSI_VAR_FONT));
    RECT placed = PlaceText(dc, text.c_str(), {rect.left + 4, rect.top, rect.right - 4, rect.bottom}, flags);
    ::OffsetRect(&placed, shift, shift);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, GetColor(state == skin::kStateDisabled ? skin::kSlotGrayText : skin::kSlotBtnText));
    ::DrawTextA(dc, text.c_str(), -1, &placed, flags | DT_END_ELLIPSIS);
    ::InflateRect(&placed, 2, 2);
    return placed;
}

RECT CSkinButtonGlyph::GetGlyphBox() {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    return ToRect(skin::GlyphBox(FromRect(client), GetStyle(), IsRadio()));
}

void CSkinButtonGlyph::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int, int) {
    if (oldPoint && newPoint) return;
    RECT box = GetGlyphBox();
    ::InvalidateRect(m_hWnd, &box, FALSE);
}

bool CSkinButtonGlyph::OnPaint(HDC target) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const DWORD style = GetStyle();
    const LRESULT buttonState = SendMessage(BM_GETSTATE);
    const LRESULT check = SendMessage(BM_GETCHECK);
    const RECT box = GetGlyphBox();
    // Text included, everything goes to the memory image: one copy, no flicker.
    COffscreenDC dc(target, client);
    Fill(dc, client, GetBrush(GetParentBkColor()));
    DrawGlyph(dc, box, (buttonState & BST_PUSHED) != 0, check);

    RECT area = ToRect(skin::GlyphTextArea(FromRect(client), FromRect(box), style));
    ::InflateRect(&area, -1, -1);
    RECT focusRect = area;
    std::string text = WindowText(m_hWnd);
    if (text.empty()) {
        ::InflateRect(&focusRect, -4, -4);
    } else {
        CSelectObject font(dc, ::GetStockObject(ANSI_VAR_FONT));
        const UINT flags = skin::ButtonTextFlags(style);
        RECT placed = PlaceText(dc, text.c_str(), area, flags);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, GetColor(::IsWindowEnabled(m_hWnd) ? skin::kSlotWindowText : skin::kSlotGrayText));
        ::DrawTextA(dc, text.c_str(), -1, &placed, flags | DT_END_ELLIPSIS);
        focusRect = placed;
        ::InflateRect(&focusRect, 1, 1);
    }
    if (buttonState & BST_FOCUS) ::DrawFocusRect(dc, &focusRect);
    return true;
}

void CSkinButtonCheck::DrawGlyph(HDC dc, const RECT& box, bool pushed, LRESULT check) {
    {
        CSelectObject brush(dc, GetBrush(GetColor(pushed ? skin::kSlotBtnHighlight : skin::kSlotWindow)));
        CSelectObject pen(dc, ::GetStockObject(NULL_PEN));
        ::RoundRect(dc, box.left, box.top, box.right + 1, box.bottom + 1, 6, 6);
    }
    DrawRoundEdge(dc, box, skin::kCornersAll, 2, skin::kEdgeDraw | skin::kEdgeSingle | skin::kEdgeSunken);
    if (check)
        skin::DrawMarlettGlyph(dc, box, 'b',
                               GetColor(check == BST_CHECKED ? skin::kSlotWindowText : skin::kSlotGrayText));
}

void CSkinButtonRadio::DrawGlyph(HDC dc, const RECT& box, bool pushed, LRESULT check) {
    {
        CSelectObject brush(dc, GetBrush(GetColor(pushed ? skin::kSlotBtnHighlight : skin::kSlotWindow)));
        CSelectObject pen(dc, ::GetStockObject(NULL_PEN));
        ::Ellipse(dc, box.left, box.top, box.right + 1, box.bottom + 1);
    }
    DrawRoundEdge(dc, box, skin::kCornersAll, (box.bottom - box.top) / 2,
                  skin::kEdgeDraw | skin::kEdgeSingle | skin::kEdgeSunken);
    if (check)
        skin::DrawMarlettGlyph(dc, box, 'i',
                               GetColor(check == BST_CHECKED ? skin::kSlotWindowText : skin::kSlotBtnFace));
}

bool CSkinButtonGroup::OnPaint(HDC target) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // The off-screen copy starts from what is on screen: the controls inside the box stay as drawn.
    COffscreenDC dc(target, client);
    CSelectObject font(dc, ::GetStockObject(ANSI_VAR_FONT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, "ABC", 3, &extent);
    RECT frame = client;
    frame.top += extent.cy / 2;
    Fill(dc, {client.left, client.top, client.right, frame.top}, GetBrush(GetBkColor()));
    DrawFrame(dc, frame, skin::GroupFrameRadius(frame.right - frame.left, frame.bottom - frame.top),
              skin::kFrameFlat, skin::kStateNormal);
    std::string text = WindowText(m_hWnd);
    if (text.empty()) return true;
    text = " " + text + " ";
    const UINT flags = (skin::ButtonTextFlags(GetStyle()) & skin::kDtHorizontalMask) | DT_SINGLELINE;
    RECT placed =
        PlaceText(dc, text.c_str(), {client.left + 4, client.top, client.right - 4, client.bottom}, flags);
    // Opaque in the parent's colour, so the frame line stops on either side of the text.
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, GetBkColor());
    ::SetTextColor(dc, GetColor(::IsWindowEnabled(m_hWnd) ? skin::kSlotWindowText : skin::kSlotGrayText));
    ::DrawTextA(dc, text.c_str(), -1, &placed, flags);
    return true;
}
