#include "app/MelodeckDlg.h"

#include "app/AboutDlg.h"
#include "framework/App.h"
#include "framework/GuiResources.h"
#include "library/SavedList.h"
#include "playback/MciDeviceRules.h"
#include "res/resource.h"
#include "skin/SkinCtrlMgr.h"

#include <algorithm>
#include <string>

CMelodeckDlg::CMelodeckDlg()
    : CDialog(IDD_MELODECK_DIALOG), CTransportController(m_player, m_wndQueue, m_wndPlayList, *this) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CMelodeckDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PAUSE, m_btnPause);
    DDX_Control(pDX, IDC_BANNER, m_banner);
    DDX_Control(pDX, IDC_VOLUME, m_sliderVolume);
}

bool CMelodeckDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        char about[256] = {};
        if (::LoadStringA(AfxGetInstanceHandle(), IDS_ABOUTBOX, about, sizeof(about)) > 0) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_wndQueue.Create(CPlayList::kQueueId, this);
    m_wndPlayList.Create(CPlayList::kPlayListId, this);
    m_dropQueue.m_pList = &m_wndQueue;
    m_dropPlayList.m_pList = &m_wndPlayList;
    for (CListDropTarget* drop : {&m_dropQueue, &m_dropPlayList}) {
        drop->m_pPlayer = this;
        drop->Hook(drop->m_pList->m_hWnd);
        ::DragAcceptFiles(drop->m_pList->m_hWnd, TRUE);
    }

    RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    MoveWindow(50, 50, width, height + 50);
    m_sticky.m_bDockGroup = true;
    PlaceListWindows();
    if (!RestoreLayout()) PostMessage(kPlaceListsMessage);
    m_wndPlayList.m_pQueue = &m_wndQueue;

    // On failure the device shows why; the player goes on without one and playing does nothing.
    m_player.Create(m_hWnd, RECT{10, 10, width - 53, 100}, IDC_PLAYER);
    // The volume the user last set; a first start keeps the old quiet level.
    m_nSavedVolume = static_cast<int>(
        ClampVolume(m_settings.ReadInt(CMelodeckSettings::kVolume, CMelodeckSettings::kDefaultVolume)));
    m_player.SetVolume(m_nSavedVolume);

    m_banner.SetSpeed(200);

    m_dlgCompact.m_hwndPlayer = m_hWnd;
    m_dlgCompact.Create(IDD_COMPACT, nullptr);
    m_dlgCompact.ShowWindow(SW_HIDE);

    m_btnPause.ModifyStyle(0, BS_PUSHLIKE);
    SetUpSkin();

    m_sliderVolume.SetRangeMax(1000, false);
    m_sliderVolume.SetRangeMin(0, false);
    m_sliderVolume.SetPos(m_player.IsWindow() ? static_cast<int>(m_player.GetVolume()) : m_nSavedVolume);

    ApplySavedOptions();
    ApplyMediaKeys();
    RestoreResumePoint();
    MarkRunningPlayer(m_hWnd);
    PostMessage(kShowStartupMessage);
    return true;
}

// The transport buttons form one bar: Previous is open on the left, Next on the right, Play and Stop
// are joined on both sides. Later registrations of a key replace earlier ones.
void CMelodeckDlg::SetUpSkin() {
    CSkinCtrlMgr& skins = CSkinCtrlMgr::GetInstance();
    skins.SetCtrlType(GetDlgItem(IDC_NEXT), 1);
    skins.SetCtrlType(GetDlgItem(IDC_PLAY), 3);
    skins.SetCtrlType(GetDlgItem(IDC_STOP), 3);
    skins.SetCtrlType(GetDlgItem(IDC_PREVIOUS), 2);
    skin::g_bEnabled = true;
    skin::g_pRenderer = nullptr;
    struct Registration {
        int key;
        UINT ids[4]; // hot, normal, pressed, disabled
    };
    static const Registration kBitmaps[] = {
        {10, {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED}},
        {0, {IDB_LEFT_HOT, IDB_LEFT_NORMAL, IDB_LEFT_NORMAL, IDB_LEFT_DISABLED}},
        {2, {IDB_MIDDLE_HOT, IDB_MIDDLE_NORMAL, IDB_MIDDLE_NORMAL, IDB_MIDDLE_DISABLED}},
        {1, {IDB_RIGHT_HOT, IDB_RIGHT_NORMAL, IDB_RIGHT_NORMAL, IDB_RIGHT_DISABLED}},
        {5, {IDB_LEFT_HOT, IDB_LEFT_NORMAL, IDB_LEFT_NORMAL, IDB_LEFT_DISABLED}},
        {7, {IDB_MIDDLE_HOT, IDB_MIDDLE_NORMAL, IDB_MIDDLE_NORMAL, IDB_MIDDLE_DISABLED}},
        {6, {IDB_RIGHT_HOT, IDB_RIGHT_NORMAL, IDB_RIGHT_NORMAL, IDB_RIGHT_DISABLED}},
        {25, {IDB_LEFT_HOT, IDB_LEFT_NORMAL, IDB_LEFT_NORMAL, IDB_LEFT_DISABLED}},
        {27, {IDB_MIDDLE_HOT, IDB_MIDDLE_NORMAL, IDB_MIDDLE_NORMAL, IDB_MIDDLE_DISABLED}},
        {26, {IDB_RIGHT_HOT, IDB_RIGHT_NORMAL, IDB_RIGHT_NORMAL, IDB_RIGHT_DISABLED}},
        {23, {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED}},
        {24, {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED}},
        {3, {IDB_JOINL_HOT, IDB_JOINL_NORMAL, IDB_JOINL_NORMAL, IDB_JOINL_DISABLED}},
        {4, {IDB_JOINR_HOT, IDB_JOINR_NORMAL, IDB_JOINR_NORMAL, IDB_JOINR_DISABLED}},
        {19, {IDB_SQ_UP_HOT, IDB_SQ_UP_NORMAL, IDB_SQ_UP_NORMAL, IDB_SQ_UP_DISABLED}},
        {18, {IDB_SQ_DOWN_HOT, IDB_SQ_DOWN_NORMAL, IDB_SQ_DOWN_NORMAL, IDB_SQ_DOWN_DISABLED}},
        {17, {IDB_SQ_RIGHT_HOT, IDB_SQ_RIGHT_NORMAL, IDB_SQ_RIGHT_NORMAL, IDB_SQ_RIGHT_DISABLED}},
        {16, {IDB_SQ_LEFT_HOT, IDB_SQ_LEFT_NORMAL, IDB_SQ_LEFT_NORMAL, IDB_SQ_LEFT_DISABLED}},
        {25, {IDB_LEFT_NORMAL, 0, 0, IDB_LEFT_DISABLED}},
        {27, {IDB_MIDDLE_NORMAL, 0, 0, IDB_MIDDLE_DISABLED}},
        {26, {IDB_RIGHT_NORMAL, 0, 0, IDB_RIGHT_DISABLED}},
    };
    for (const Registration& bitmap : kBitmaps) skins.GetGlobals().SetBitmap(bitmap.ids, bitmap.key);
    skins.SetCtrlType(m_btnPause.m_hWnd, 0);
    skins.RefreshAll();
}

UINT CMelodeckDlg::SkinStateMessage() {
    static const UINT message = ::RegisterWindowMessageA("Melodeck.SkinState");
    return message;
}

// What the skin holds, for diagnostics from outside: how many windows it paints, whether it paints one,
// and how many GDI objects the process has.
LRESULT CMelodeckDlg::OnSkinState(WPARAM what, LPARAM lParam) {
    CSkinCtrlMgr& skins = CSkinCtrlMgr::GetInstance();
    switch (what) {
    case kSkinCount: return static_cast<LRESULT>(skins.GetCount());
    case kSkinIsSkinned: return skins.GetSkinCtrl(reinterpret_cast<HWND>(lParam)) != nullptr;
    case kSkinGdiObjects: return static_cast<LRESULT>(CountGdiObjects());
    case kSkinProcedure: return WindowProcedureState(reinterpret_cast<HWND>(lParam));
    default: return 0;
    }
}

// The queue goes flush below the player and the play list flush below the queue, both left-aligned with
// the player and as wide as it: flush visible frames are what docks them to the player. Only a shown
// window's visible frame is known, so they are placed again once shown, and once more when the player
// shows.
void CMelodeckDlg::PlaceListWindows() {
    m_wndQueue.SetWindowText("Queue");
    DockListWindows();
    m_wndQueue.ShowWindow(SW_SHOW);
    m_wndPlayList.ShowWindow(SW_SHOW);
    DockListWindows();
}

void CMelodeckDlg::DockListWindows() {
    StickyRect above = m_stickyDesktop.GetFrame(m_hWnd);
    for (CPlayList* list : {&m_wndQueue, &m_wndPlayList}) {
        const StickyRect place =
            PlaceFlushBelow(above, m_stickyDesktop.GetInvisibleBorders(CStickyDesktop::ToSticky(list->m_hWnd)), 200);
        list->SetWindowPos(nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        above = m_stickyDesktop.GetFrame(list->m_hWnd);
    }
}

void CMelodeckDlg::ApplySavedOptions() {
    if (m_settings.LoadFont(m_font)) {
        SetFont(m_font, true);
        m_wndPlayList.m_list.SetFont(m_font, true);
        m_wndQueue.m_list.SetFont(m_font, true);
    }
    m_nRandom = m_settings.ReadInt(CMelodeckSettings::kRandom);
    m_nOnTop = m_settings.ReadInt(CMelodeckSettings::kOnTop);
    ApplyOnTop();
    m_nTray = m_settings.ReadInt(CMelodeckSettings::kTray);
    m_nMediaKeys = m_settings.ReadInt(CMelodeckSettings::kMediaKeys, 1) ? 1 : 0;
    m_nResume = m_settings.ReadInt(CMelodeckSettings::kResume, 1) ? 1 : 0;
}

void CMelodeckDlg::ApplyOnTop() {
    SetWindowPos(m_nOnTop == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
}

// The play list first, then the queue. A list that cannot be written keeps its previous file, and
// the user is told rather than losing the list silently.
void CMelodeckDlg::SaveLists() {
    if (m_bListsSaved) return;
    m_bListsSaved = true;
    for (CPlayList* list : {&m_wndPlayList, &m_wndQueue}) {
        std::string error;
        if (!list->SaveList(&error))
            MessageBox(SavedListErrorText(SavedListFileName(list->GetListId()), error), nullptr,
                       MB_OK | MB_ICONERROR);
    }
}

LRESULT CMelodeckDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CPlayList::ListClosedMessage()) return OnListClosed(lParam);
    if (message == SkinStateMessage()) return OnSkinState(wParam, lParam);
    switch (message) {
    case MCIWNDM_NOTIFYMODE: OnDeviceMode(static_cast<long>(lParam)); return 0;
    case MCIWNDM_NOTIFYERROR: return OnDeviceError(lParam);
    case MCIWNDM_NOTIFYPOS:
    case MCIWNDM_NOTIFYSIZE:
    case MCIWNDM_NOTIFYMEDIA: return 0;
    case WM_CREATE: return OnCreate();
    case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
    case WM_INITMENUPOPUP: return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
    case WM_SIZE: return OnSize(wParam);
    case WM_CLOSE: EndPlayer(IDCANCEL); return 0;
    case WM_HSCROLL:
        // The keyboard moves the slider without a mouse release: its end of tracking sets the volume.
        if (reinterpret_cast<HWND>(lParam) == m_sliderVolume.m_hWnd && LOWORD(wParam) == TB_ENDTRACK)
            OnVolumeChosen();
        break;
    case WM_WINDOWPOSCHANGED:
        if (!::IsIconic(m_hWnd)) m_rcPlayer = GetWindowRect();
        break;
    case CSystemTray::kCallbackMessage: return OnTrayMessage(wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(wParam, lParam);
    case WM_MOVING: return OnMoving(reinterpret_cast<RECT*>(lParam));
    case WM_SIZING: return OnSizing(reinterpret_cast<RECT*>(lParam));
    case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kShowStartupMessage: return OnShowStartup();
    case kPlaceListsMessage: DockListWindows(); return 0;
    case WM_PAINT: return OnPaint();
    case WM_HOTKEY: OnMediaAction(CMediaKeys::FromHotKey(wParam)); return 0;
    case WM_APPCOMMAND:
        if (CMediaKeys::FromAppCommand(lParam) == CMediaKeys::Action::none) break;
        OnMediaAction(CMediaKeys::FromAppCommand(lParam));
        return TRUE;
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_DESTROY: return OnDestroy();
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: return OnEndSession(wParam != FALSE);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CMelodeckDlg::OnNotify(NMHDR* header, LRESULT* result) {
    if (header->idFrom == IDC_VOLUME && header->code == NM_RELEASEDCAPTURE) {
        OnVolumeChosen();
        *result = 0;
        return true;
    }
    return false;
}

bool CMelodeckDlg::IsPauseChecked() const { return m_btnPause.GetCheck() == BST_CHECKED; }

void CMelodeckDlg::SetPauseChecked(bool checked) { m_btnPause.SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }

int CMelodeckDlg::GetVolumePosition() const { return m_sliderVolume.GetPos(); }

void CMelodeckDlg::ShowNowPlaying(const std::string& text) {
    m_banner.RemoveAll();
    m_banner.AddText(text, 0, 0x00FFFFFF);
    m_trayIcon.SetTooltipText(text);
    // A new song every few minutes must not chime nor pile up among the system's notifications.
    m_trayIcon.ShowBalloon(text, nullptr, CSystemTray::kQuietBalloon, 10000);
    m_dlgCompact.SetSong(text);
}

void CMelodeckDlg::OnVolumeChosen() {
    OnVolumeReleased();
    const int volume = m_sliderVolume.GetPos();
    if (volume == m_nSavedVolume) return;
    m_nSavedVolume = volume;
    m_settings.WriteInt(CMelodeckSettings::kVolume, volume);
}

void CMelodeckDlg::ShowReplaying(const std::string& text) {
    TextSegment segment = CMultiColorStatic::BuildSegment(text, kSegmentBold, kSegmentNoColour);
    m_segmentScratch.SetSegment(0, segment);
    m_banner.RemoveAll();
    m_banner.AddSegment(segment);
    m_dlgCompact.SetSong(text);
}

// Songs that could not be played are told in the banner, in dark red after the song that plays
// instead, and in a balloon: a box would hold up the music until someone came to close it.
void CMelodeckDlg::ShowMessage(const std::string& text, bool stopped) {
    const uint32_t kDarkRed = 0x000000B0;
    if (stopped) m_banner.RemoveAll();
    while (m_banner.GetSegmentCount() > 1) m_banner.RemoveSegment(m_banner.GetSegmentCount() - 1);
    std::string balloon = text;
    if (m_banner.GetSegmentCount() > 0) balloon += "\r\nNow playing: " + m_banner.GetSegment(0).m_strText;
    m_banner.AddText(m_banner.GetSegmentCount() > 0 ? "      " + text : text, kDarkRed, 0x00FFFFFF);
    m_trayIcon.ShowBalloon(balloon, "Play Back Error!", NIIF_WARNING, 10000);
}

void CMelodeckDlg::SetTrayPauseCheck(bool checked) { m_trayIcon.SetPauseCheck(checked); }

int CMelodeckDlg::GetTrayPauseState() const { return m_trayIcon.GetPauseState(); }

// Without the tray icon there is no way back from the tray, so the player is not created at all.
LRESULT CMelodeckDlg::OnCreate() {
    if (Default() == -1) return -1;
    if (!m_trayIcon.Create(m_hIcon)) return -1;
    m_trayIcon.SetTarget(this);
    m_trayIcon.SetMenuDefaultItem(0, false);
    m_trayIcon.m_nSubMenu = 0;
    m_trayIcon.m_pSubMenu = m_trayIcon.GetTrayPopup();
    m_trayIcon.m_bRestore = TRUE;
    return 0;
}

// Minimize To Tray decides between the tray and the taskbar; the compact view stands in for the
// player, so the player goes to the tray behind it either way.
LRESULT CMelodeckDlg::OnSize(WPARAM type) {
    LRESULT result = Default();
    if (type == SIZE_MINIMIZED && (m_nTray != 0 || m_dlgCompact.IsWindowVisible())) {
        m_bInTray = true;
        m_trayIcon.MinimiseToTray(m_hWnd);
        OnToTray();
    } else if (m_bInTray && (type == SIZE_RESTORED || type == SIZE_MAXIMIZED)) {
        m_bInTray = false;
        OnBackFromTray();
    }
    return result;
}

LRESULT CMelodeckDlg::OnTrayMessage(WPARAM wParam, LPARAM lParam) {
    return m_trayIcon.OnTrayNotification(wParam, lParam);
}

LRESULT CMelodeckDlg::OnDeviceError(LPARAM error) {
    if (m_bQuietDeviceErrors) return 0;
    std::string text;
    if (error != 0) {
        char buffer[512] = {};
        m_player.GetError(buffer, sizeof(buffer));
        text = buffer;
    } else {
        m_player.GetError();
    }
    CTransportController::OnDeviceError(text);
    return 0;
}

LRESULT CMelodeckDlg::OnSysCommand(WPARAM command, LPARAM lParam) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return 0;
    }
    return Default();
}

LRESULT CMelodeckDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) return Default();
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client = GetClientRect();
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

void CMelodeckDlg::EndPlayer(INT_PTR result) {
    m_bClosing = true;
    UnmarkRunningPlayer(m_hWnd);
    EndDialog(result);
}

LRESULT CMelodeckDlg::OnDestroy() {
    m_bClosing = true;
    UnmarkRunningPlayer(m_hWnd);
    Default();
    // The compact view has no owner, so it would not go with this window; it goes while it is whole.
    m_dlgCompact.DestroyWindow();
    m_mediaKeys.Unregister();
    SaveResumePoint();
    SaveLists();
    m_player.Close();
    return 0;
}

LRESULT CMelodeckDlg::OnQueryEndSession() { return TRUE; }

// The process may be ended at any moment after this returns, so the lists are saved now; the exit that
// may follow does not save them again.
LRESULT CMelodeckDlg::OnEndSession(bool ending) {
    if (!ending) return 0;
    SaveLayout();
    SaveResumePoint();
    EndPlayer(IDCANCEL);
    SaveLists();
    return 0;
}

LRESULT CMelodeckDlg::OnListClosed(LPARAM listId) {
    switch (listId) {
    case CPlayList::kQueueId: m_bQueueShown = 0; break;
    case CPlayList::kPlayListId: m_bPlayListShown = 0; break;
    }
    return 0;
}
