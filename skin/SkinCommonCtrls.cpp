#include "skin/SkinCommonCtrls.h"
#include "skin/SkinPaint.h"

#include "widgets/DelayRedraw.h"

#include <algorithm>
#include <vector>

namespace {
using skin::Fill;
constexpr int kKeyProgressLeft = 25, kKeyProgressRight = 26, kKeyProgressMiddle = 27;
constexpr int kTabRadius = 3;

// The last cursor position of the hot tracking, in a window's client coordinates; false when the mouse
// is elsewhere or another window holds the capture.
bool CursorInClient(HWND hWnd, POINT* point) {
    if (!skin::g_pOwner) return false;
    HWND capture = ::GetCapture();
    if (capture && capture != hWnd) return false;
    *point = skin::g_pOwner->GetLastCursorPos();
    ::ScreenToClient(hWnd, point);
    RECT client;
    ::GetClientRect(hWnd, &client);
    return ::PtInRect(&client, *point) != 0;
}

// A window-relative point of OnHotChange in client coordinates.
POINT WindowToClient(CSkinCtrl& ctrl, const POINT& point) {
    RECT client;
    ctrl.GetRects(nullptr, &client, true);
    return {point.x - client.left, point.y - client.top};
}

// Where the tabs sit: 0 top, 1 bottom, 2 left, 3 right.
int TabSide(LONG style) {
    if (style & TCS_VERTICAL) return style & TCS_RIGHT ? 3 : 2;
    return style & TCS_BOTTOM ? 1 : 0;
}
} // namespace

bool CSkinProgress::OnPaint(HDC target) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (::IsRectEmpty(&client)) return true;
    COffscreenDC dc(target, client);
    Fill(dc, client, GetBrush(GetBkColor()));

    PBRANGE range{};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const long long span = static_cast<long long>(range.iHigh) - range.iLow;
    const long long done =
        std::clamp<long long>(static_cast<int>(SendMessage(PBM_GETPOS)) - range.iLow, 0, span > 0 ? span : 0);
    const bool vertical = ::GetWindowLongA(m_hWnd, GWL_STYLE) & PBS_VERTICAL;
    // One pixel of the background between the bar and the frame.
    RECT bar = client;
    ::InflateRect(&bar, -1, -1);
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    const int filled = span > 0 && length > 0 ? static_cast<int>(done * length / span) : 0;
    if (filled <= 0) return true;
    if (vertical)
        bar.top = bar.bottom - filled;
    else
        bar.right = bar.left + filled;

    const bool enabled = ::IsWindowEnabled(m_hWnd);
    const int state = enabled ? skin::kStateNormal : skin::kStateDisabled;
    COLORREF transparent = CLR_INVALID;
    HBITMAP left = m_pGlobals ? m_pGlobals->GetBitmap(kKeyProgressLeft, state, -1, &transparent) : nullptr;
    HBITMAP middle = m_pGlobals ? m_pGlobals->GetBitmap(kKeyProgressMiddle, state) : nullptr;
    HBITMAP right = m_pGlobals ? m_pGlobals->GetBitmap(kKeyProgressRight, state) : nullptr;
    if (left && middle && right)
        DrawThreePart(dc, bar, left, middle, right, transparent);
    else
        Fill(dc, bar, GetColorBrush(enabled ? COLOR_HIGHLIGHT : skin::kSlotBtnShadow));
    return true;
}

int CSkinTabcontrol::HitTab(POINT point) {
    TCHITTESTINFO info{point, 0};
    return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

RECT CSkinTabcontrol::GetPageRect() {
    RECT page;
    ::GetClientRect(m_hWnd, &page);
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    const int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
    if (count <= 0 || (style & TCS_BUTTONS)) return page;
    // The page begins where the row of tabs ends (the outermost row when there are several).
    RECT tabs{};
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (SendMessage(TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
            ::UnionRect(&tabs, &tabs, &item);
    }
    if (::IsRectEmpty(&tabs)) return page;
    switch (TabSide(style)) {
    case 0: page.top = std::min(page.bottom, tabs.bottom); break;
    case 1: page.bottom = std::max(page.top, tabs.top); break;
    case 2: page.left = std::min(page.right, tabs.right); break;
    default: page.right = std::max(page.left, tabs.left); break;
    }
    return page;
}

void CSkinTabcontrol::ExcludeUpDown(HDC dc) {
    HWND upDown = ::FindWindowExA(m_hWnd, nullptr, UPDOWN_CLASSA, nullptr);
    if (!upDown || !::IsWindowVisible(upDown)) return;
    RECT rect;
    ::GetWindowRect(upDown, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    ::ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CSkinTabcontrol::DrawTabFrame(HDC dc, const RECT& rect, bool selected, bool hot) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    const bool buttons = style & TCS_BUTTONS;
    COLORREF face = selected && !buttons ? GetBkColor() : GetColor(skin::kSlotBtnFace);
    if (hot && !selected) face = skin::Blend(face, GetColor(skin::kSlotBtnHighlight), 0.5);
    // The edge runs one pixel past the open side, where the clip cuts it off.
    RECT edge = rect;
    int corners = skin::kCornersAll;
    if (!buttons) {
        switch (TabSide(style)) {
        case 0: edge.bottom += 1, corners = skin::kCornerTopLeft | skin::kCornerTopRight; break;
        case 1: edge.top -= 1, corners = skin::kCornerBottomLeft | skin::kCornerBottomRight; break;
        case 2: edge.right += 1, corners = skin::kCornerTopLeft | skin::kCornerBottomLeft; break;
        default: edge.left -= 1, corners = skin::kCornerTopRight | skin::kCornerBottomRight; break;
        }
    }
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    {
        CSelectObject brush(dc, GetBrush(face));
        CSelectObject pen(dc, GetPen(face));
        ::RoundRect(dc, edge.left, edge.top, edge.right, edge.bottom, 2 * kTabRadius + 1, 2 * kTabRadius + 1);
    }
    UINT look =
        skin::kEdgeDraw | skin::kEdgeSingle | (buttons && selected ? skin::kEdgeSunken : skin::kEdgeRaised);
    DrawRoundEdge(dc, edge, corners, kTabRadius, look);
    ::RestoreDC(dc, saved);
}

void CSkinTabcontrol::DrawTabLabel(HDC dc, int item, const RECT& rect, bool selected) {
    char text[128] = {};
    TCITEMA info{};
    info.mask = TCIF_TEXT | TCIF_IMAGE;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    info.iImage = -1;
    if (!SendMessage(TCM_GETITEMA, item, reinterpret_cast<LPARAM>(&info))) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    CSelectObject selectFont(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));

    RECT area = rect;
    ::InflateRect(&area, -4, -2);
    if (selected && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & TCS_BUTTONS)) ::OffsetRect(&area, 0, -1);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST));
    int imageWidth = 0, imageHeight = 0;
    if (images && info.iImage >= 0 && ImageList_GetIconSize(images, &imageWidth, &imageHeight)) {
        // Image and text side by side, centred together.
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
        int gap = text[0] ? 3 : 0;
        int x = std::max<int>(area.left, (area.left + area.right - imageWidth - gap - extent.cx) / 2);
        ImageList_Draw(images, info.iImage, dc, x, (area.top + area.bottom - imageHeight) / 2,
                       ILD_TRANSPARENT);
        area.left = x + imageWidth + gap;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, GetColor(::IsWindowEnabled(m_hWnd) ? skin::kSlotWindowText : skin::kSlotGrayText));
    UINT flags =
        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | (imageWidth ? DT_LEFT : DT_CENTER);
    ::DrawTextA(dc, text, -1, &area, flags);
    if (::GetFocus() == m_hWnd && item == static_cast<int>(SendMessage(TCM_GETCURFOCUS))) {
        RECT focus = rect;
        ::InflateRect(&focus, -2, -2);
        ::DrawFocusRect(dc, &focus);
    }
}

bool CSkinTabcontrol::OnPaint(HDC target) {
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (style & TCS_OWNERDRAWFIXED) return false; // the owner draws the labels on the platform's tabs
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (::IsRectEmpty(&client)) return true;
    int saved = ::SaveDC(target);
    ExcludeUpDown(target);
    {
        COffscreenDC dc(target, client);
        Fill(dc, client, GetBrush(GetBkColor()));
        const bool buttons = style & TCS_BUTTONS;
        if (!buttons)
            DrawRoundEdge(dc, GetPageRect(), skin::kCornersAll, 2,
                          skin::kEdgeDraw | skin::kEdgeSingle | skin::kEdgeRaised);
        POINT cursor{};
        const int hot = CursorInClient(m_hWnd, &cursor) ? HitTab(cursor) : -1;
        const int selected = static_cast<int>(SendMessage(TCM_GETCURSEL));
        const int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
        // The selected tab last: it stands out over its neighbours and covers the page's edge below it.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < count; ++i) {
                if ((i == selected) != (pass == 1)) continue;
                RECT item{};
                if (!SendMessage(TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) continue;
                if (i == selected && !buttons) {
                    ::InflateRect(&item, 2, 2);
                    switch (TabSide(style)) {
                    case 0: item.bottom -= 1; break;
                    case 1: item.top += 1; break;
                    case 2: item.right -= 1; break;
                    default: item.left += 1; break;
                    }
                }
                DrawTabFrame(dc, item, i == selected, i == hot);
                DrawTabLabel(dc, i, item, i == selected);
            }
        }
    }
    ::RestoreDC(target, saved);
    return true;
}

bool CSkinTabcontrol::OnEraseBkgnd(HDC dc) {
    RECT client, page = GetPageRect();
    ::GetClientRect(m_hWnd, &client);
    int saved = ::SaveDC(dc);
    ExcludeUpDown(dc);
    // Only around the tabs and the page: what lies on them is painted once, by OnPaint.
    const int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (SendMessage(TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
            ::ExcludeClipRect(dc, item.left, item.top, item.right, item.bottom);
    }
    ::InflateRect(&page, -1, -1);
    ::ExcludeClipRect(dc, page.left, page.top, page.right, page.bottom);
    Fill(dc, client, GetBrush(GetBkColor()));
    ::RestoreDC(dc, saved);
    return true;
}

void CSkinTabcontrol::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    CSkinCtrl::OnHotChange(oldPoint, newPoint, oldHit, newHit);
    // Entering or leaving the control, or moving from one tab to another, changes the hot tab.
    if (!oldPoint || !newPoint ||
        HitTab(WindowToClient(*this, *oldPoint)) != HitTab(WindowToClient(*this, *newPoint)))
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool CSkinDatetimepick::HasDropButton() {
    return !(::GetWindowLongA(m_hWnd, GWL_STYLE) & DTS_UPDOWN);
}

void CSkinDatetimepick::GetButtonRects(RECT* area, RECT* button) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int size = ::GetSystemMetrics(SM_CXHSCROLL);
    const int platformWidth = std::max(size, ::GetSystemMetrics(SM_CXVSCROLL));
    *area = {std::max(client.left, client.right - platformWidth), client.top, client.right, client.bottom};
    int top = (client.top + client.bottom - size) / 2;
    RECT square{client.right - size, top, client.right, top + size};
    ::IntersectRect(button, &square, area);
}

void CSkinDatetimepick::DrawDropButton(HDC target) {
    RECT area, button;
    GetButtonRects(&area, &button);
    if (::IsRectEmpty(&area)) return;
    int state = skin::kStateNormal;
    POINT cursor{};
    if (!::IsWindowEnabled(m_hWnd))
        state = skin::kStateDisabled;
    else if (m_bCalendarOpen)
        state = skin::kStatePressed;
    else if (CursorInClient(m_hWnd, &cursor) && ::PtInRect(&button, cursor))
        state = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? skin::kStatePressed : skin::kStateHot;
    COffscreenDC dc(target, area);
    Fill(dc, area, GetBrush(GetBkColor()));
    DrawScrollArrow(dc, button, skin::kArrowDown, state);
}

void CSkinDatetimepick::DrawDropButtonNow() {
    if (!HasDropButton()) return;
    HDC dc = ::GetDC(m_hWnd);
    if (!dc) return;
    DrawDropButton(dc);
    ::ReleaseDC(m_hWnd, dc);
}

bool CSkinDatetimepick::OnPaint(HDC dc) {
    if (!HasDropButton()) return false;
    RECT area, button;
    GetButtonRects(&area, &button);
    int saved = ::SaveDC(dc);
    DrawDropButton(dc);
    // The platform draws the date around our button, never over it.
    ::ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
    CSubclassWnd::WindowProc(m_hWnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::RestoreDC(dc, saved);
    return true;
}

void CSkinDatetimepick::EndOpenState() {
    ::KillTimer(m_hWnd, kOpenTimerId);
    if (m_bDrawingStopped) SendMessage(WM_SETREDRAW, TRUE);
    m_bDrawingStopped = false;
}

LRESULT CSkinDatetimepick::OnReflectNotify(NMHDR* header, LRESULT parentResult) {
    switch (header->code) {
    case DTN_DROPDOWN:
        // The platform repaints in its own look as the calendar opens; nothing is drawn until our first
        // tick shows the button pressed.
        m_bCalendarOpen = true;
        SendMessage(WM_NCPAINT);
        SendMessage(WM_SETREDRAW, FALSE);
        m_bDrawingStopped = true;
        ::SetTimer(m_hWnd, kOpenTimerId, 10, nullptr);
        break;
    case DTN_CLOSEUP:
        m_bCalendarOpen = false;
        EndOpenState();
        DelayRedraw(m_hWnd, 200);
        break;
    case DTN_DATETIMECHANGE: Invalidate(); break;
    default: break;
    }
    return 0;
}

void CSkinDatetimepick::OnTimer(UINT_PTR id) {
    if (id != kOpenTimerId || !m_bCalendarOpen) return;
    // Only the first tick matters: drawing comes back and the button shows the open calendar.
    EndOpenState();
    DrawDropButtonNow();
}

void CSkinDatetimepick::OnHotChange(const POINT* oldPoint, const POINT* newPoint, int oldHit, int newHit) {
    CSkinCtrl::OnHotChange(oldPoint, newPoint, oldHit, newHit);
    if (!HasDropButton()) return;
    RECT area, button;
    GetButtonRects(&area, &button);
    auto inside = [&](const POINT* point) {
        return point && ::PtInRect(&button, WindowToClient(*this, *point));
    };
    if (inside(oldPoint) != inside(newPoint)) DrawDropButtonNow();
}

bool CSkinDatetimepick::Uninitialize() {
    if (IsValid()) EndOpenState();
    m_bCalendarOpen = false;
    return CSkinCtrl::Uninitialize();
}

bool CSkinMonthcal::Initialize(HWND hWnd) {
    if (!(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
        if (::GetAncestor(hWnd, GA_PARENT) == ::GetDesktopWindow())
            m_dwFeatures &= ~skin::kFeatureFrameMask;
        else
            m_dwFeatures = 0;
    }
    return CSkinCtrl::Initialize(hWnd);
}

void CSkinMonthcal::OnNcCalcSize(RECT* proposed) {
    if (m_dwFeatures & skin::kFeatureFrameMask) ::InflateRect(proposed, -3, -3);
}

bool CSkinIPaddress::OnPaint(HDC target) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (::IsRectEmpty(&client)) return true;
    // The four fields with their text rectangles, left to right, in our client coordinates.
    struct Field {
        RECT frame, text;
    };
    std::vector<Field> fields;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        ::GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Edit") != 0) continue;
        Field field{};
        ::GetWindowRect(child, &field.frame);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&field.frame), 2);
        ::SendMessageA(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&field.text));
        ::MapWindowPoints(child, m_hWnd, reinterpret_cast<POINT*>(&field.text), 2);
        fields.push_back(field);
    }
    std::sort(fields.begin(), fields.end(),
              [](const Field& a, const Field& b) { return a.frame.left < b.frame.left; });

    int saved = ::SaveDC(target);
    for (const Field& field : fields)
        ::ExcludeClipRect(target, field.frame.left, field.frame.top, field.frame.right, field.frame.bottom);
    {
        COffscreenDC dc(target, client);
        Fill(dc, client, GetBrush(GetBkColor()));
        const COLORREF dot = GetColor(skin::kSlotWindowText);
        for (size_t i = 0; i + 1 < fields.size(); ++i) {
            const RECT &left = fields[i].frame, &right = fields[i + 1].frame;
            ::SetPixelV(dc, (left.right + right.left - 1) / 2, fields[i].text.bottom - 2, dot);
        }
    }
    ::RestoreDC(target, saved);
    return true;
}
