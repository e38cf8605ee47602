// Skins that paint their controls' parts themselves: the combo box with its drop button, the spin
// buttons, the trackbar's channel and thumb, and the header items.
#include "skin/SkinControls.h"
#include "skin/SkinPaint.h"

#include "widgets/DelayRedraw.h"

#include <algorithm>

namespace {
using skin::Fill;

bool LeftButtonDown() {
    return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

POINT LastCursor() {
    return skin::g_pOwner ? skin::g_pOwner->GetLastCursorPos() : POINT{-32000, -32000};
}

// Where the client area starts inside the window rectangle.
POINT ClientOrigin(HWND hWnd) {
    RECT window;
    ::GetWindowRect(hWnd, &window);
    POINT origin{0, 0};
    ::ClientToScreen(hWnd, &origin);
    return {origin.x - window.left, origin.y - window.top};
}

} // namespace

// Combo boxes

bool CSkinCombobox::Initialize(HWND hWnd) {
    LONG style = ::GetWindowLongA(hWnd, GWL_STYLE);
    m_bOwnerDrawnDropList =
        (style & 0xF) == CBS_DROPDOWNLIST && (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
    return CSkinCtrl::Initialize(hWnd);
}

COLORREF CSkinCombobox::GetBkColor() {
    const bool enabled = ::IsWindowEnabled(m_hWnd);
    // The owner draws its items on the system colours; the field around them has to match.
    if (m_bOwnerDrawnDropList) return skin::NonBlack(::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    return GetColor(enabled ? skin::kSlotWindow : skin::kSlotBtnFace);
}

void CSkinCombobox::OnNcCalcSize(RECT* proposed) {
    ::InflateRect(proposed, -1, -1);
    if (GetComboType() == CBS_SIMPLE) proposed->right += 1;
}

RECT CSkinCombobox::GetDropButtonRect(bool windowCoordinates) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int size = ::GetSystemMetrics(SM_CXHSCROLL);
    const int top = client.top + (client.bottom - client.top - size) / 2;
    RECT button{client.right - size, top, client.right, top + size};
    if (windowCoordinates) {
        POINT origin = ClientOrigin(m_hWnd);
        ::OffsetRect(&button, origin.x, origin.y);
    }
    return button;
}

bool CSkinCombobox::GetListRect(RECT* rect) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!::GetComboBoxInfo(m_hWnd, &info) || !info.hwndList || !::IsWindowVisible(info.hwndList))
        return false;
    ::GetWindowRect(info.hwndList, rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
    return true;
}

void CSkinCombobox::DrawDropButton(HDC dc, bool windowCoordinates) {
    RECT button = GetDropButtonRect(windowCoordinates);
    RECT screen = GetDropButtonRect(false);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const bool pressed = LeftButtonDown() && ::PtInRect(&screen, cursor);
    const bool hot = ::PtInRect(&screen, LastCursor()) != 0;
    COLORREF transparent = CLR_INVALID;
    int state = pressed ? skin::kStatePressed : hot ? skin::kStateHot : skin::kStateNormal;
    if (HBITMAP image = m_pGlobals ? m_pGlobals->GetBitmap(15, state, -1, &transparent) : nullptr) {
        COffscreenDC memory(dc, button);
        Fill(memory, button, GetBrush(GetBkColor()));
        TransparentCopy(memory, button, image, transparent);
        return;
    }
    if (!::IsWindowEnabled(m_hWnd)) state = skin::kStateDisabled;
    DrawScrollArrow(dc, button, skin::kArrowDown, state, GetBkColor());
}

void CSkinCombobox::RedrawDropButton() {
    if (!IsValid() || GetComboType() == CBS_SIMPLE) return;
    HDC dc = ::GetWindowDC(m_hWnd);
    DrawDropButton(dc, true);
    ::ReleaseDC(m_hWnd, dc);
}

void CSkinCombobox::ExcludeFrameBands(HDC dc) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT inner = client;
    ::InflateRect(&inner, -2, -2);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, inner.top);
    ::ExcludeClipRect(dc, client.left, inner.bottom, client.right, client.bottom);
    ::ExcludeClipRect(dc, client.left, inner.top, inner.left, inner.bottom);
    ::ExcludeClipRect(dc, inner.right, inner.top, client.right, inner.bottom);
}

bool CSkinCombobox::OnPaint(HDC dc) {
    const int type = GetComboType();
    if (type == CBS_DROPDOWNLIST && !m_bOwnerDrawnDropList) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        {
            COffscreenDC memory(dc, client);
            RECT button = GetDropButtonRect(false);
            RECT area = client;
            ::InflateRect(&area, -3, -3);
            area.right = std::min(area.right, button.left);
            Fill(memory, area, GetBrush(GetBkColor()));
            const bool enabled = ::IsWindowEnabled(m_hWnd);
            int textSlot = enabled ? skin::kSlotWindowText : skin::kSlotGrayText;
            // The selection shows only while the list is closed: open, the list shows it.
            if (::GetFocus() == m_hWnd && !SendMessage(CB_GETDROPPEDSTATE)) {
                RECT selection = area;
                ::InflateRect(&selection, -1, -1);
                Fill(memory, selection, GetColorBrush(COLOR_HIGHLIGHT));
                ::DrawFocusRect(memory, &selection);
                textSlot = COLOR_HIGHLIGHTTEXT;
            }
            char text[256] = {};
            ::GetWindowTextA(m_hWnd, text, sizeof text);
            CSelectObject font(memory, ::GetStockObject(ANSI_VAR_FONT));
            ::SetBkMode(memory, TRANSPARENT);
            ::SetTextColor(memory, GetColor(textSlot));
            RECT textRect = area;
            ::OffsetRect(&textRect, 1, -1);
            ::DrawTextA(memory, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
            DrawDropButton(memory, false);
        }
        ExcludeFrameBands(dc);
        return true;
    }
    RECT part;
    if (type == CBS_SIMPLE) {
        if (GetListRect(&part)) ::ExcludeClipRect(dc, part.left, part.top, part.right, part.bottom);
    } else {
        // The platform would draw its own button over ours.
        DrawDropButton(dc, false);
        part = GetDropButtonRect(false);
        ::ExcludeClipRect(dc, part.left, part.top, part.right, part.bottom);
    }
    ExcludeFrameBands(dc);
    return false;
}

bool CSkinCombobox::OnEraseBkgnd(HDC dc) {
    int saved = ::SaveDC(dc);
    RECT part;
    if (GetComboType() == CBS_SIMPLE) {
        if (GetListRect(&part)) ::ExcludeClipRect(dc, part.left, part.top, part.right, part.bottom);
    } else {
        part = GetDropButtonRect(false);
        ::ExcludeClipRect(dc, part.left, part.top, part.right, part.bottom);
    }
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::InflateRect(&client, -2, -2);
    client.right -= 1;
    Fill(dc, client, GetBrush(GetBkColor()));
    ::RestoreDC(dc, saved);
    return true;
}

void CSkinCombobox::OnNcPaint(HDC dc) {
    RECT window;
    GetRects(&window, nullptr);
    const POINT origin = ClientOrigin(m_hWnd);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::OffsetRect(&client, origin.x, origin.y);
    RECT list;
    if (GetComboType() == CBS_SIMPLE && GetListRect(&list)) {
        // Only the edit part is framed; the list below keeps its own border.
        ::OffsetRect(&list, origin.x, origin.y);
        RECT edit{window.left, window.top, window.right, list.top};
        HBRUSH parent = GetBrush(GetParentBkColor());
        Fill(dc, {window.left, list.top, list.left, window.bottom}, parent);
        Fill(dc, {list.right, list.top, window.right, window.bottom}, parent);
        Fill(dc, {window.left, list.bottom, window.right, window.bottom}, parent);
        Fill(dc, {window.left, list.top - 1, window.right, list.top}, parent);
        const int width = edit.right - edit.left, height = edit.bottom - edit.top;
        DrawFrame(dc, edit, skin::CornerRadius(width, height),
                  skin::EffectiveFrameType(m_dwFeatures, width, height),
                  ::IsWindowEnabled(m_hWnd) ? skin::kStateNormal : skin::kStateDisabled);
        return;
    }
    // The band inside the client area holds the platform's sunken border, which painting leaves out.
    HBRUSH background = GetBrush(GetBkColor());
    Fill(dc, {client.left, client.top, client.right, client.top + 2}, background);
    Fill(dc, {client.left, client.bottom - 2, client.right, client.bottom}, background);
    Fill(dc, {client.left, client.top, client.left + 2, client.bottom}, background);
    Fill(dc, {client.right - 2, client.top, client.right, client.bottom}, background);
    CSkinCtrl::OnNcPaint(dc);
    DrawDropButton(dc, true);
}

void CSkinCombobox::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    CSkinCtrl::OnHotChange(oldPoint, newPoint, oldHit, newHit);
    if (GetComboType() == CBS_SIMPLE) return;
    RECT button = GetDropButtonRect(true);
    bool wasIn = oldPoint && ::PtInRect(&button, *oldPoint);
    bool isIn = newPoint && ::PtInRect(&button, *newPoint);
    if (wasIn != isIn) RedrawDropButton();
}

void CSkinCombobox::OnFocusChange(bool gained) {
    if (!gained) RedrawDropButton();
    if (!m_bOwnerDrawnDropList) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSkinCombobox::OnReflectCommand(UINT code, LRESULT parentResult) {
    if (code != CBN_DROPDOWN && code != CBN_CLOSEUP) return;
    RedrawDropButton();
    // The platform repaints the field as the list opens or closes; ours comes after it.
    DelayRedraw(m_hWnd, 200);
}

// Spin buttons

void CSkinUpdown::GetButtonRects(RECT buttons[2]) {
    RECT window;
    GetRects(&window, nullptr);
    char parentClass[32] = {};
    ::GetClassNameA(::GetParent(m_hWnd), parentClass, sizeof parentClass);
    if (lstrcmpiA(parentClass, "SysDateTimePick32") == 0) {
        // Inside a date picker the spin buttons leave its frame line free.
        --window.right;
        --window.bottom;
    }
    buttons[0] = buttons[1] = window;
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & UDS_HORZ)
        buttons[0].right = buttons[1].left = (window.left + window.right) / 2;
    else
        buttons[0].bottom = buttons[1].top = (window.top + window.bottom) / 2;
}

void CSkinUpdown::DrawButtons(HDC windowDC, int which) {
    RECT buttons[2];
    GetButtonRects(buttons);
    RECT screen;
    ::GetWindowRect(m_hWnd, &screen);
    POINT cursor{}, last = LastCursor();
    ::GetCursorPos(&cursor);
    cursor.x -= screen.left;
    cursor.y -= screen.top;
    last.x -= screen.left;
    last.y -= screen.top;
    const bool horizontal = (::GetWindowLongA(m_hWnd, GWL_STYLE) & UDS_HORZ) != 0;
    const bool pressing = LeftButtonDown() && ::GetCapture() == m_hWnd;
    for (int i = 0; i < 2; ++i) {
        if (!(which & (1 << i))) continue;
        int state = !::IsWindowEnabled(m_hWnd)                    ? skin::kStateDisabled
                    : pressing && ::PtInRect(&buttons[i], cursor) ? skin::kStatePressed
                    : ::PtInRect(&buttons[i], last)               ? skin::kStateHot
                                                                  : skin::kStateNormal;
        int direction =
            horizontal ? (i ? skin::kArrowRight : skin::kArrowLeft) : (i ? skin::kArrowDown : skin::kArrowUp);
        DrawScrollArrow(windowDC, buttons[i], direction, state);
    }
}

bool CSkinUpdown::OnPaint(HDC dc) {
    HDC windowDC = ::GetWindowDC(m_hWnd);
    DrawButtons(windowDC);
    ::ReleaseDC(m_hWnd, windowDC);
    return true;
}

void CSkinUpdown::OnNcPaint(HDC dc) {
    DrawButtons(dc);
}

void CSkinUpdown::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    RECT buttons[2];
    GetButtonRects(buttons);
    int changed = 0;
    for (int i = 0; i < 2; ++i) {
        bool wasIn = oldPoint && ::PtInRect(&buttons[i], *oldPoint);
        bool isIn = newPoint && ::PtInRect(&buttons[i], *newPoint);
        if (wasIn != isIn) changed |= 1 << i;
    }
    if (!changed) return;
    HDC dc = ::GetWindowDC(m_hWnd);
    DrawButtons(dc, changed);
    ::ReleaseDC(m_hWnd, dc);
}

// Trackbars

void CSkinTrackbar::DrawThumb(HDC dc, const RECT& rect, bool hot) {
    COLORREF transparent = CLR_INVALID;
    HBITMAP image =
        m_pGlobals ? m_pGlobals->GetBitmap(24, hot ? skin::kStateHot : skin::kStateNormal, -1, &transparent)
                   : nullptr;
    if (image) {
        TransparentCopy(dc, rect, image, transparent);
        return;
    }
    const int radius = std::min(rect.right - rect.left, rect.bottom - rect.top) / 2;
    DrawPushFace(dc, rect, radius, hot ? skin::kStateHot : skin::kStateNormal,
                 GetColor(skin::kSlotBtnFace), GetBkColor(), false, false);
}

LRESULT CSkinTrackbar::OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) {
    if (stage != CDDS_ITEMPREPAINT) return 0;
    const RECT& rect = draw->rc;
    switch (draw->dwItemSpec) {
    case TBCD_CHANNEL: {
        HBRUSH shadow = GetColorBrush(skin::kSlotBtnShadow), light = GetColorBrush(skin::kSlotBtnHighlight);
        Fill(draw->hdc, {rect.left, rect.top, rect.right, rect.top + 1}, shadow);
        Fill(draw->hdc, {rect.left, rect.top, rect.left + 1, rect.bottom}, shadow);
        Fill(draw->hdc, {rect.left + 1, rect.bottom - 1, rect.right, rect.bottom}, light);
        Fill(draw->hdc, {rect.right - 1, rect.top + 1, rect.right, rect.bottom}, light);
        return CDRF_SKIPDEFAULT;
    }
    case TBCD_THUMB: {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        int saved = ::SaveDC(draw->hdc);
        ::IntersectClipRect(draw->hdc, client.left, client.top, client.right, client.bottom);
        POINT cursor = LastCursor();
        ::ScreenToClient(m_hWnd, &cursor);
        bool hot = ::GetCapture() == m_hWnd || ::PtInRect(&rect, cursor);
        DrawThumb(draw->hdc, rect, hot);
        ::RestoreDC(draw->hdc, saved);
        return CDRF_SKIPDEFAULT;
    }
    default: return 0;
    }
}

void CSkinTrackbar::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    RECT thumb{};
    SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT origin = ClientOrigin(m_hWnd);
    ::OffsetRect(&thumb, origin.x, origin.y);
    bool wasIn = oldPoint && ::PtInRect(&thumb, *oldPoint);
    bool isIn = newPoint && ::PtInRect(&thumb, *newPoint);
    if (wasIn != isIn) Redraw(false);
}

void CSkinTrackbar::Redraw(bool updateNow) {
    if (!IsValid()) return;
    // A focus message is what makes the trackbar repaint in one go, but it also draws the focus
    // rectangle: only a trackbar that has the focus gets one.
    if (::GetFocus() == m_hWnd) {
        SendMessage(WM_SETFOCUS, 0, 0);
    } else {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    if (updateNow) ::UpdateWindow(m_hWnd);
}

// Headers

int CSkinHeader::ItemAt(const POINT* point) {
    if (!point) return -1;
    POINT origin = ClientOrigin(m_hWnd);
    HDHITTESTINFO hit{};
    hit.pt = {point->x - origin.x, point->y - origin.y};
    int item = static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return hit.flags & HHT_ONHEADER ? item : -1;
}

int CSkinHeader::PressedItem() {
    if (m_bDragging || ::GetCapture() != m_hWnd || !LeftButtonDown()) return -1;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    RECT screen;
    ::GetWindowRect(m_hWnd, &screen);
    POINT point{cursor.x - screen.left, cursor.y - screen.top};
    return ItemAt(&point);
}

void CSkinHeader::DrawItem(HDC dc, int item, int order, int count, const RECT& rect, int state,
                           int visibleRight) {
    const bool first = order == 0, last = order == count - 1;
    COLORREF transparent = CLR_INVALID;
    if (m_pGlobals && m_pGlobals->GetBitmap(5, state, -1, &transparent)) {
        HBITMAP left = first ? m_pGlobals->GetBitmap(8, state, 5) : m_pGlobals->GetBitmap(7, state);
        HBITMAP right =
            rect.right >= visibleRight ? m_pGlobals->GetBitmap(9, state, 6) : m_pGlobals->GetBitmap(7, state);
        DrawThreePart(dc, rect, left, m_pGlobals->GetBitmap(7, state), right, transparent);
        if (!last)
            Fill(dc, {rect.right - 1, rect.top, rect.right, rect.bottom},
                 GetColorBrush(skin::kSlotBtnShadow));
    } else {
        DrawPushFace(dc, rect, 4, state, GetColor(skin::kSlotBtnFace), GetBkColor(), !first, !last);
    }
    char text[100] = {};
    HDITEMA info{};
    info.mask = HDI_TEXT | HDI_FORMAT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    if (!SendMessage(HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&info)) || !text[0]) return;
    RECT textRect = rect;
    ::InflateRect(&textRect, -4, 0);
    if (state == skin::kStatePressed) ::OffsetRect(&textRect, 1, 1);
    if (info.fmt & (HDF_SORTUP | HDF_SORTDOWN)) {
        // The sort direction: a small triangle at the right end, pointing up for ascending.
        const int half = 4, middleX = textRect.right - half - 1, middleY = (textRect.top + textRect.bottom) / 2;
        const bool up = (info.fmt & HDF_SORTUP) != 0;
        const POINT points[3] = {{middleX - half, up ? middleY + 2 : middleY - 2},
                                 {middleX + half, up ? middleY + 2 : middleY - 2},
                                 {middleX, up ? middleY - 2 : middleY + 2}};
        const COLORREF colour = GetColor(skin::kSlotBtnShadow);
        CSelectObject brush(dc, GetBrush(colour));
        CSelectObject pen(dc, ::GetStockObject(NULL_PEN));
        ::Polygon(dc, points, 3);
        textRect.right -= 2 * half + 4;
    }
    UINT align = (info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER  ? DT_CENTER
                 : (info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                                                             : DT_LEFT;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    CSelectObject selected(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, GetColor(state == skin::kStateDisabled ? skin::kSlotGrayText : skin::kSlotWindowText));
    ::DrawTextA(dc, text, -1, &textRect, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

bool CSkinHeader::OnPaint(HDC dc) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // Only what the parent shows is worth drawing: a list's header reaches far past its right edge.
    RECT visible = client;
    if (HWND parent = ::GetParent(m_hWnd)) {
        RECT parentClient;
        ::GetClientRect(parent, &parentClient);
        ::MapWindowPoints(parent, m_hWnd, reinterpret_cast<POINT*>(&parentClient), 2);
        ::IntersectRect(&visible, &client, &parentClient);
    }
    COffscreenDC memory(dc, client);
    Fill(memory, client, GetBrush(GetBkColor()));
    const int count = static_cast<int>(SendMessage(HDM_GETITEMCOUNT));
    const bool disabled = !::IsWindowEnabled(m_hWnd);
    const int pressed = PressedItem();
    RECT screen;
    ::GetWindowRect(m_hWnd, &screen);
    POINT last = LastCursor();
    POINT lastInWindow{last.x - screen.left, last.y - screen.top};
    const int hot = ::PtInRect(&screen, last) ? ItemAt(&lastInWindow) : -1;
    int filled = client.left;
    for (int order = count - 1; order >= 0; --order) {
        int item = static_cast<int>(SendMessage(HDM_ORDERTOINDEX, order));
        RECT rect{};
        if (!SendMessage(HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect))) continue;
        if (rect.right <= visible.left || rect.left >= visible.right) continue;
        int state = disabled          ? skin::kStateDisabled
                    : item == pressed ? skin::kStatePressed
                    : item == hot     ? skin::kStateHot
                                      : skin::kStateNormal;
        DrawItem(memory, item, order, count, rect, state, visible.right);
        filled = std::max<int>(filled, rect.right);
    }
    // Past the last column the header goes on as an empty item to the visible end, as the
    // platform's header does, rather than leaving a bare strip.
    if (filled < visible.right) {
        const RECT rest{filled, client.top, visible.right, client.bottom};
        const int state = disabled ? skin::kStateDisabled : skin::kStateNormal;
        COLORREF transparent = CLR_INVALID;
        if (m_pGlobals && m_pGlobals->GetBitmap(5, state, -1, &transparent)) {
            HBITMAP middle = m_pGlobals->GetBitmap(7, state);
            DrawThreePart(memory, rest, count ? middle : m_pGlobals->GetBitmap(8, state, 5), middle,
                          m_pGlobals->GetBitmap(9, state, 6), transparent);
            if (count) Fill(memory, {filled - 1, rest.top, filled, rest.bottom}, GetColorBrush(skin::kSlotBtnShadow));
        } else {
            DrawPushFace(memory, rest, 4, state, GetColor(skin::kSlotBtnFace), GetBkColor(), count > 0,
                         false);
        }
    }
    return true;
}

bool CSkinHeader::OnSize(int width, int height) {
    // The list below repaints its rows against the header's new place.
    if (HWND parent = ::GetParent(m_hWnd)) ::InvalidateRect(parent, nullptr, TRUE);
    return false;
}

void CSkinHeader::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    if (m_bDragging) return;
    if (ItemAt(oldPoint) != ItemAt(newPoint)) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CSkinHeader::OnReflectNotify(NMHDR* header, LRESULT parentResult) {
    switch (header->code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
    case HDN_BEGINDRAG: m_bDragging = true; break;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
    case HDN_ENDDRAG:
        m_bDragging = false;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        break;
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW: ::InvalidateRect(m_hWnd, nullptr, FALSE); break;
    default: break;
    }
    return 0;
}
