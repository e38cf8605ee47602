// The skin manager: attaches skin objects as windows appear and detaches them as they go, and follows
// the mouse for the hot state.
#include "skin/SkinCtrlMgr.h"

#include "skin/SkinButtons.h"
#include "skin/SkinCommonCtrls.h"
#include "skin/SkinControls.h"
#include "skin/SkinRules.h"

#include <algorithm>
#include <vector>

namespace {

int ComputeWindowsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info)) return -1;
#pragma GCC diagnostic pop
    return skin::WindowsVersionClass(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

// The platform's visual styles draw controls themselves from XP on, unless told otherwise.
const bool g_visualStylesAtLoad = [] {
    skin::g_bVisualStylesActive = CSkinCtrlMgr::GetWindowsVersion() >= 5;
    return skin::g_bVisualStylesActive;
}();

bool IsChild(HWND hWnd) {
    return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0;
}

// The first child whose window rectangle holds the point.
HWND ChildContaining(HWND parent, POINT screen) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        if (::GetWindowRect(child, &rect) && ::PtInRect(&rect, screen)) return child;
    }
    return nullptr;
}

LPARAM PointParam(POINT point) {
    return MAKELPARAM(static_cast<short>(point.x), static_cast<short>(point.y));
}

bool IsOtherModulesDialog(HWND hWnd) {
    char name[8] = {};
    if (!::GetClassNameA(hWnd, name, sizeof name) || lstrcmpA(name, "#32770") != 0) return false;
    const auto module = reinterpret_cast<HMODULE>(::GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
    static const HMODULE program = ::GetModuleHandleA(nullptr);
    static const HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return module && module != program && module != user32;
}

// A child's parent, or a top-level window's owner.
HWND ParentOrOwner(HWND hWnd) {
    if (IsChild(hWnd)) return ::GetAncestor(hWnd, GA_PARENT);
    return ::GetWindow(hWnd, GW_OWNER);
}

} // namespace

bool IsInOtherModulesDialog(HWND hWnd, HWND parent) {
    if (IsOtherModulesDialog(hWnd)) return true;
    const HWND desktop = ::GetDesktopWindow();
    HWND up = parent ? parent : ParentOrOwner(hWnd);
    for (int depth = 0; up && up != desktop && depth < 64; ++depth, up = ParentOrOwner(up))
        if (IsOtherModulesDialog(up)) return true;
    return false;
}

int WindowProcedureState(HWND hWnd) {
    const bool unicode = ::IsWindowUnicode(hWnd) != FALSE;
    const LONG_PTR procedure =
        unicode ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    const ULONG_PTR classProcedure =
        unicode ? ::GetClassLongPtrW(hWnd, GCLP_WNDPROC) : ::GetClassLongPtrA(hWnd, GCLP_WNDPROC);
    const auto* image = reinterpret_cast<const BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    const auto address = static_cast<ULONG_PTR>(procedure);
    const auto base = reinterpret_cast<ULONG_PTR>(image);
    int state = 0;
    if (address != classProcedure) state |= kProcedureNotClass;
    if (address >= base && address < base + headers->OptionalHeader.SizeOfImage) state |= kProcedureOurs;
    return state;
}

void GetSkinClassName(HWND hWnd, char* name, int size) {
    name[0] = 0;
    // Our own window objects use the platform's classes or classes of their own, never framework ones.
    if (hWnd) ::GetClassNameA(hWnd, name, size < 128 ? size : 128);
}

bool IsWindowClass(HWND hWnd, const char* className) {
    char name[128];
    GetSkinClassName(hWnd, name, sizeof name);
    return hWnd && lstrcmpiA(name, className) == 0;
}

int CSkinCtrlMgr::GetWindowsVersion() {
    static const int version = ComputeWindowsVersion();
    return version;
}

bool CSkinCtrlMgr::SetThemeAppProperties(DWORD flags) {
    using Proc = void(WINAPI*)(DWORD);
    static HMODULE module = ::LoadLibraryA("UXTheme.dll");
    static Proc proc =
        module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, "SetThemeAppProperties")))
               : nullptr;
    if (!proc) return false;
    proc(flags);
    return true;
}

CSkinCtrlMgr::CSkinCtrlMgr() {
    (void)g_visualStylesAtLoad;
    skin::g_pOwner = this;
}

CSkinCtrlMgr::~CSkinCtrlMgr() {
    Release();
    if (skin::g_pOwner == this) skin::g_pOwner = nullptr;
}

int CSkinCtrlMgr::Initialize() {
    if (GetWindowsVersion() >= 5 && skin::g_bVisualStylesActive) return 0;
    m_bHotTracking = 1;
    InitHooks("");
    if (m_bHotTracking && m_nHotTimer == static_cast<UINT_PTR>(-1))
        m_nHotTimer = ::SetTimer(nullptr, 0, 100, &CSkinCtrlMgr::HotTimerProc);
    return 1;
}

void CSkinCtrlMgr::Release() {
    m_bReleasing = 1;
    if (GetWindowsVersion() >= 5 && !skin::g_bVisualStylesActive && IsStarted()) {
        if (SetThemeAppProperties(7)) skin::g_bVisualStylesActive = true;
    }
    if (m_bHotTracking && m_nHotTimer != static_cast<UINT_PTR>(-1)) {
        ::KillTimer(nullptr, m_nHotTimer);
        m_nHotTimer = static_cast<UINT_PTR>(-1);
    }
    if (!m_map.empty()) DetachAll();
    m_globals.ClearColors();
    m_globals.ClearBitmaps();
    ReleaseHooks();
    m_bReleasing = 0;
}

void CSkinCtrlMgr::OnCallWndProc(const MSG& msg) {
    m_bInCallback = 1;
    switch (msg.message) {
    case WM_SHOWWINDOW:
        if (msg.wParam) AttachWindow(msg.hwnd);
        break;
    case WM_WINDOWPOSCHANGED: {
        const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(msg.lParam);
        if (pos && (pos->flags & SWP_SHOWWINDOW)) AttachWindow(msg.hwnd);
        break;
    }
    case WM_STYLECHANGED: {
        const STYLESTRUCT* styles = reinterpret_cast<const STYLESTRUCT*>(msg.lParam);
        if (static_cast<int>(msg.wParam) != GWL_STYLE || !styles) break;
        // A button that became push-like (or another kind) needs another skin. Not now: the change
        // may come from inside the old skin's own message handling.
        if (GetSkinCtrl(msg.hwnd) && IsWindowClass(msg.hwnd, "Button") &&
            skin::ButtonSkinFor(styles->styleOld).kind != skin::ButtonSkinFor(styles->styleNew).kind &&
            std::find(m_repick.begin(), m_repick.end(), msg.hwnd) == m_repick.end())
            m_repick.push_back(msg.hwnd);
        if (styles->styleNew & WS_VISIBLE) AttachWindow(msg.hwnd);
        break;
    }
    case WM_NCDESTROY:
        DetachWindow(msg.hwnd);
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(msg.wParam) == WM_CREATE) AttachWindow(reinterpret_cast<HWND>(msg.lParam));
        break;
    default:
        break;
    }
    m_bInCallback = 0;
}

int CSkinCtrlMgr::AttachWindow(HWND hWnd) {
    // A window whose skin is being taken off gets its old style back, which reports a style change:
    // that must not put a new skin on (a window going away would stay in the map for ever).
    if (!hWnd || m_bReleasing || std::find(m_detaching.begin(), m_detaching.end(), hWnd) != m_detaching.end())
        return 1;
    char className[128];
    GetSkinClassName(hWnd, className, sizeof className);
    if (CSkinCtrl* existing = GetSkinCtrl(hWnd)) {
        existing->Refresh();
        return 1;
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    CSkinCtrl* control = nullptr;
    if ((style & WS_CHILD) || skin::IsStandardClass(className))
        control = CreateSkinCtrl(className, style);
    else if (::GetWindow(hWnd, GW_CHILD))
        control = new CSkinCtrlReflector(lstrcmpiA(className, "#32770") == 0 ? 0x10 : 0);
    if (!control) return 1;
    // A skin that could not hook its window would never paint it: it is not kept.
    if (!control->Initialize(hWnd)) {
        delete control;
        return 1;
    }
    control->m_pGlobals = &m_globals;
    m_map[hWnd] = control;
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children)
        if (::IsWindow(child)) AttachWindow(child);
    return 1;
}

int CSkinCtrlMgr::DetachWindow(HWND hWnd) {
    auto it = hWnd ? m_map.find(hWnd) : m_map.end();
    if (it == m_map.end()) return 0;
    CSkinCtrl* control = it->second;
    if (m_pHot == control) m_pHot = nullptr;
    // Out of the map first: detaching the children below looks this window up no more.
    m_map.erase(it);
    m_detaching.push_back(hWnd);
    control->Uninitialize();
    delete control;
    m_detaching.pop_back();
    return 1;
}

void CSkinCtrlMgr::DetachAll() {
    std::unordered_map<HWND, CSkinCtrl*> controls;
    controls.swap(m_map);
    m_pHot = nullptr;
    for (auto& entry : controls) delete entry.second;
}

CSkinCtrl* CSkinCtrlMgr::GetSkinCtrl(HWND hWnd) {
    auto it = hWnd ? m_map.find(hWnd) : m_map.end();
    return it == m_map.end() ? nullptr : it->second;
}

CSkinCtrl* CSkinCtrlMgr::CreateSkinCtrl(const char* className, DWORD style) {
    const skin::SkinClass skinClass = skin::SkinClassFor(className);
    const DWORD features = skinClass.features;
    switch (skinClass.kind) {
    case skin::SkinKind::Button: return CreateSkinButton(style);
    case skin::SkinKind::Static: return new CSkinStatic(features);
    case skin::SkinKind::Edit: return new CSkinEdit(features);
    case skin::SkinKind::Combobox: return new CSkinCombobox(features);
    case skin::SkinKind::Combolbox: return new CSkinCombolbox(features);
    case skin::SkinKind::Listbox: return new CSkinListbox(features);
    case skin::SkinKind::Scrollbar: return new CSkinScrollbar(features);
    case skin::SkinKind::Toolbar: return new CSkinToolbar(features);
    case skin::SkinKind::Updown: return new CSkinUpdown(features);
    case skin::SkinKind::Progress: return new CSkinProgress(features);
    case skin::SkinKind::Trackbar: return new CSkinTrackbar(features);
    case skin::SkinKind::Listview: return new CSkinListview(features);
    case skin::SkinKind::Treeview: return new CSkinTreeview(features);
    case skin::SkinKind::Tabcontrol: return new CSkinTabcontrol(features);
    case skin::SkinKind::Animate: return new CSkinAnimate(features);
    case skin::SkinKind::Richedit: return new CSkinRichedit(features);
    case skin::SkinKind::Datetimepick: return new CSkinDatetimepick(features);
    case skin::SkinKind::Monthcal: return new CSkinMonthcal(features);
    case skin::SkinKind::IPaddress: return new CSkinIPaddress(features);
    case skin::SkinKind::Pager: return new CSkinPager(features);
    case skin::SkinKind::Comboboxex: return new CSkinComboboxex(features);
    case skin::SkinKind::Header: return new CSkinHeader(features);
    case skin::SkinKind::Dialog: return new CSkinDialog(features);
    case skin::SkinKind::Tooltip: return new CSkinTooltip(features);
    case skin::SkinKind::Other: return new CSkinOther(features);
    case skin::SkinKind::None: break;
    }
    return nullptr;
}

int CSkinCtrlMgr::SetCtrlType(HWND hWnd, DWORD type) {
    CSkinCtrl* control = GetSkinCtrl(hWnd);
    if (!control) return 0;
    const DWORD old = control->m_dwType;
    control->m_dwType |= type;
    if (control->m_dwType != old) {
        ::InvalidateRect(hWnd, nullptr, TRUE);
        ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
    }
    return 1;
}

void CSkinCtrlMgr::RefreshAll() {
    std::vector<CSkinCtrl*> controls;
    controls.reserve(m_map.size());
    for (auto& entry : m_map) controls.push_back(entry.second);
    for (CSkinCtrl* control : controls) control->Refresh();
}

void CALLBACK CSkinCtrlMgr::HotTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    GetInstance().TrackHot();
}

HWND CSkinCtrlMgr::WindowUnderCursor(POINT cursor) {
    HWND hWnd = ::WindowFromPoint(cursor);
    if (!hWnd) return nullptr;
    HWND found = nullptr;
    if (IsChild(hWnd)) {
        if (IsWindowClass(hWnd, "#32770")) {
            found = ChildContaining(hWnd, cursor);
        } else if (HWND parent = ::GetParent(hWnd)) {
            POINT client = cursor;
            ::ScreenToClient(parent, &client);
            found = ::RealChildWindowFromPoint(parent, client);
        }
    } else if (IsWindowClass(hWnd, "#32770")) {
        found = ChildContaining(hWnd, cursor);
    }
    if (!found || !IsChild(found)) return nullptr;
    // A control of a disabled window (or a disabled control) is never hot.
    for (HWND ancestor = found; ancestor; ancestor = ::GetParent(ancestor)) {
        if (!::IsWindowEnabled(ancestor)) return nullptr;
        if (!IsChild(ancestor)) break;
    }
    return found;
}

// Tells a control, then each skinned ancestor in turn, that the cursor left it or entered it.
void CSkinCtrlMgr::NotifyHot(CSkinCtrl* control, const POINT* oldScreen, const POINT* newScreen, bool leaving) {
    while (control && control->m_hWnd) {
        RECT rect{};
        ::GetWindowRect(control->m_hWnd, &rect);
        const POINT& screen = leaving ? *oldScreen : *newScreen;
        int hit = static_cast<int>(::SendMessageA(control->m_hWnd, WM_NCHITTEST, 0, PointParam(screen)));
        POINT relative{screen.x - rect.left, screen.y - rect.top};
        if (leaving)
            control->OnHotChange(&relative, nullptr, hit, 0);
        else
            control->OnHotChange(nullptr, &relative, 0, hit);
        HWND parent = IsChild(control->m_hWnd) ? ::GetParent(control->m_hWnd) : nullptr;
        control = GetSkinCtrl(parent);
    }
}

void CSkinCtrlMgr::RepickSkins() {
    std::vector<HWND> windows;
    windows.swap(m_repick);
    for (HWND hWnd : windows) {
        CSkinCtrl* old = GetSkinCtrl(hWnd);
        if (!old) continue;
        const DWORD type = old->m_dwType;
        old->m_dwSavedStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)); // keep the new style
        DetachWindow(hWnd);
        AttachWindow(hWnd);
        if (CSkinCtrl* fresh = GetSkinCtrl(hWnd)) {
            fresh->m_dwType = type;
            fresh->Refresh();
        }
    }
}

void CSkinCtrlMgr::TrackHot() {
    if (!m_repick.empty()) RepickSkins();
    if (!skin::g_bEnabled || ::GetCapture() || (::GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return;
    const POINT previous = m_ptLast;
    POINT cursor;
    if (!::GetCursorPos(&cursor)) return;
    // A still mouse changes nothing; this keeps the idle program from asking the window system
    // ten times a second.
    if (cursor.x == previous.x && cursor.y == previous.y) return;
    CSkinCtrl* oldHot = m_pHot;
    CSkinCtrl* newHot = GetSkinCtrl(WindowUnderCursor(cursor));
    m_ptLast = cursor;
    m_pHot = newHot;
    if (oldHot) {
        if (oldHot == newHot) {
            RECT rect{};
            ::GetWindowRect(oldHot->m_hWnd, &rect);
            int oldHit = static_cast<int>(::SendMessageA(oldHot->m_hWnd, WM_NCHITTEST, 0, PointParam(previous)));
            int newHit = static_cast<int>(::SendMessageA(oldHot->m_hWnd, WM_NCHITTEST, 0, PointParam(cursor)));
            POINT from{previous.x - rect.left, previous.y - rect.top};
            POINT to{cursor.x - rect.left, cursor.y - rect.top};
            oldHot->OnHotChange(&from, &to, oldHit, newHit);
            return;
        }
        NotifyHot(oldHot, &previous, nullptr, true);
    }
    // The old control may have gone while it was told.
    if (newHot && GetSkinCtrl(newHot->m_hWnd) == newHot) NotifyHot(newHot, nullptr, &cursor, false);
}
