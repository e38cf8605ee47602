// Skins of the standard controls that mostly take colours and a frame: statics, edits, list boxes, list
// and tree views, and the few that only decide whether they are skinned at all.
#include "skin/SkinControls.h"

#include "skin/SkinCtrlMgr.h"

#include <richedit.h>

namespace {
bool HasClientEdge(HWND hWnd) {
    return (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}
// Controls that had no sunken border of their own keep none under the skin either.
DWORD FrameForEdge(HWND hWnd, DWORD features) {
    return HasClientEdge(hWnd) ? features : features & ~skin::kFeatureFrameMask;
}
bool IsNavigationKey(WPARAM key) {
    return key >= VK_PRIOR && key <= VK_DOWN;
}
} // namespace

// Statics

namespace {
int StaticType(HWND hWnd) {
    return static_cast<int>(::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK);
}
bool IsFilledRect(int type) {
    return type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT;
}
bool IsEtched(int type) {
    return type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME;
}
} // namespace

bool CSkinStatic::Initialize(HWND hWnd) {
    switch (StaticType(hWnd)) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: m_dwFeatures |= 0x08; break;
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME: m_dwFeatures |= 0x20F; break;
    default: m_dwFeatures |= 0x20C; break; // icons, images and rectangles
    }
    return CSkinCtrl::Initialize(hWnd);
}

COLORREF CSkinStatic::GetBkColor() {
    const int type = StaticType(m_hWnd);
    switch (type) {
    case SS_BLACKRECT: return GetColor(skin::kSlot3DDkShadow);
    case SS_GRAYRECT: return GetColor(skin::kSlotBtnShadow);
    case SS_WHITERECT: return GetColor(skin::kSlotBtnHighlight);
    default: break;
    }
    if (IsEtched(type) || (::GetWindowLongA(m_hWnd, GWL_STYLE) & SS_SUNKEN))
        return GetColor(skin::kSlotBtnFace);
    return GetParentBkColor();
}

bool CSkinStatic::OnPaint(HDC dc) {
    if (!IsFilledRect(StaticType(m_hWnd))) return false;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, GetBrush(GetBkColor()));
    return true;
}

LRESULT CSkinStatic::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CSkinCtrl::OnMessage(message, wParam, lParam);
    if (message == WM_PAINT && (::GetWindowLongA(m_hWnd, GWL_STYLE) & SS_SUNKEN)) {
        // The platform's square sunken border gives way to a rounded one.
        RECT window;
        GetRects(&window, nullptr);
        HDC dc = ::GetWindowDC(m_hWnd);
        RoundCornersOff(dc, window, 8);
        DrawRoundEdge(dc, window, skin::kCornersAll, 4,
                      skin::kEdgeDraw | skin::kEdgeSingle | skin::kEdgeSunken);
        ::ReleaseDC(m_hWnd, dc);
    }
    return result;
}

// Edits

bool CSkinEdit::Initialize(HWND hWnd) {
    m_dwFeatures = FrameForEdge(hWnd, m_dwFeatures);
    return CSkinCtrl::Initialize(hWnd);
}

COLORREF CSkinEdit::GetBkColor() {
    if (!::IsWindowEnabled(m_hWnd) || (::GetWindowLongA(m_hWnd, GWL_STYLE) & ES_READONLY))
        return GetColor(skin::kSlotBtnFace);
    return CSkinCtrl::GetBkColor();
}

void CSkinEdit::OnReflectCommand(UINT code, LRESULT parentResult) {
    // Typing can bring scroll bars and their range along; the frame follows at once.
    if (code == EN_UPDATE) SendMessage(WM_NCPAINT, 0, 0);
}

bool CSkinEdit::AfterPassedOn(UINT message, WPARAM wParam) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && IsNavigationKey(wParam)) {
        Redraw(true);
        return true;
    }
    if (message == WM_HSCROLL || message == WM_VSCROLL || message == WM_MOUSEWHEEL) Redraw(true);
    return false;
}

LRESULT CSkinEdit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        // Deleting leaves text behind where the platform does not erase: repaint the whole field.
        if (wParam == VK_BACK || wParam == VK_DELETE) ::InvalidateRect(m_hWnd, nullptr, TRUE);
        [[fallthrough]];
    case WM_KEYUP:
        if (!IsNavigationKey(wParam)) break;
        [[fallthrough]];
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
        LRESULT result = CSubclassWnd::WindowProc(m_hWnd, message, wParam, lParam);
        return AfterPassedOn(message, wParam) ? 0 : result;
    }
    default: break;
    }
    return CSkinCtrl::OnMessage(message, wParam, lParam);
}

bool CSkinRichedit::Initialize(HWND hWnd) {
    LRESULT mask = ::SendMessageA(hWnd, EM_GETEVENTMASK, 0, 0);
    ::SendMessageA(hWnd, EM_SETEVENTMASK, 0, mask | ENM_UPDATE);
    return CSkinEdit::Initialize(hWnd);
}

void CSkinRichedit::Refresh() {
    SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetColor(skin::kSlotWindow)));
    CSkinEdit::Refresh();
}

LRESULT CSkinRichedit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
        // The rich edit sees these once, first; the edit's repainting follows.
        LRESULT result = CSubclassWnd::WindowProc(m_hWnd, message, wParam, lParam);
        if (message == WM_KEYDOWN && (wParam == VK_BACK || wParam == VK_DELETE))
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return AfterPassedOn(message, wParam) ? 0 : result;
    }
    default: break;
    }
    return CSkinEdit::OnMessage(message, wParam, lParam);
}

// List boxes

bool CSkinListbox::Initialize(HWND hWnd) {
    // LBS_DISABLENOSCROLL keeps a platform scroll bar that ours would hide half of.
    if (::GetWindowLongA(hWnd, GWL_STYLE) & 0x1000) return false;
    m_dwFeatures = FrameForEdge(hWnd, m_dwFeatures);
    return CSkinCtrl::Initialize(hWnd);
}

COLORREF CSkinCombolbox::GetParentBkColor() {
    // A drop-down list belongs to its combo box, not to the desktop it is a child of.
    HWND combo = ::GetWindow(m_hWnd, GW_OWNER);
    if (!combo) {
        HWND parent = ::GetAncestor(m_hWnd, GA_PARENT);
        if (parent != ::GetDesktopWindow()) combo = parent;
    }
    CSkinCtrl* owner = SkinOf(combo);
    return owner && owner != this ? owner->GetBkColor() : CSkinListbox::GetParentBkColor();
}

void CSkinCombolbox::OnNcCalcSize(RECT* proposed) {
    proposed->right -= 2;
}

void CSkinCombolbox::OnNcPaint(HDC dc) {
    RECT window;
    GetRects(&window, nullptr);
    ::FrameRect(dc, &window, GetBrush(GetColor(skin::kSlotBtnShadow)));
    DrawScrollBars(dc, window, 3);
}

void CSkinCombolbox::DrawScrollBars(HDC dc, const RECT& window, int which) {
    // The bar sits inside the list's one-pixel border rather than the wider band of framed controls.
    RECT grown = window;
    ::InflateRect(&grown, 1, 1);
    if (!IsDropDownList()) grown.bottom -= 2;
    CSkinListbox::DrawScrollBars(dc, grown, which);
}

// Scroll bars: only the size grip, which the skin's flat frames make out of place.

bool CSkinScrollbar::Initialize(HWND hWnd) {
    if (!(::GetWindowLongA(hWnd, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP))) return false;
    m_dwFeatures = 0x1C;
    return CSkinCtrl::Initialize(hWnd);
}

// List and tree views

bool CSkinListview::Initialize(HWND hWnd) {
    m_dwFeatures = FrameForEdge(hWnd, m_dwFeatures);
    return CSkinCtrl::Initialize(hWnd);
}

void CSkinListview::Refresh() {
    COLORREF background = GetBkColor();
    SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
    SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(background));
    SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(GetColor(skin::kSlotWindowText)));
    CSkinCtrl::Refresh();
}

LRESULT CSkinListview::OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) {
    if (stage != CDDS_ITEMPREPAINT) return 0;
    auto* item = reinterpret_cast<NMLVCUSTOMDRAW*>(draw);
    item->clrText = GetColor(skin::kSlotWindowText);
    item->clrTextBk = GetBkColor();
    ::SetBkColor(draw->hdc, item->clrTextBk);
    return CDRF_NEWFONT;
}

void CSkinListview::OnStyleChanged(bool extended, DWORD oldStyle, DWORD newStyle) {
    Refresh();
    if (extended || (newStyle & LVS_TYPEMASK) != LVS_REPORT) return;
    // The header appears with the report view, after the list itself was skinned.
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER, 0, 0));
    if (!header || SkinOf(header)) return;
    if (auto* manager = dynamic_cast<CSkinCtrlMgr*>(skin::g_pOwner)) manager->AttachWindow(header);
}

bool CSkinTreeview::Initialize(HWND hWnd) {
    m_dwFeatures = FrameForEdge(hWnd, m_dwFeatures);
    return CSkinCtrl::Initialize(hWnd);
}

void CSkinTreeview::Refresh() {
    SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(GetColor(skin::kSlotWindow)));
    CSkinCtrl::Refresh();
}

LRESULT CSkinTreeview::OnCustomDraw(NMCUSTOMDRAW* draw, DWORD stage) {
    // Selected items keep the platform's highlight.
    if (stage != CDDS_ITEMPREPAINT || (draw->uItemState & CDIS_SELECTED)) return 0;
    auto* item = reinterpret_cast<NMTVCUSTOMDRAW*>(draw);
    item->clrText = GetColor(skin::kSlotWindowText);
    item->clrTextBk = GetBkColor();
    return CDRF_NEWFONT;
}

// Windows that are skinned for their colours or their children's sake

bool CSkinTooltip::Initialize(HWND hWnd) {
    ::SendMessageA(hWnd, TTM_SETTIPBKCOLOR, GetColor(COLOR_INFOBK), 0);
    ::SendMessageA(hWnd, TTM_SETTIPTEXTCOLOR, GetColor(COLOR_INFOTEXT), 0);
    return false;
}

bool CSkinOther::Initialize(HWND hWnd) {
    m_dwFeatures |= skin::kFeatureNonClient;
    if (HasClientEdge(hWnd)) m_dwFeatures |= skin::kFrameSunken;
    return CSkinCtrl::Initialize(hWnd);
}

LRESULT CSkinCtrlReflector::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A top-level window repaints its children itself when enabled; redrawing it whole would flash.
    if (message == WM_ENABLE) return CSubclassWnd::WindowProc(m_hWnd, message, wParam, lParam);
    return CSkinCtrl::OnMessage(message, wParam, lParam);
}
