#include "app/MelodeckDlg.h"

#include "app/AboutDlg.h"
#include "framework/App.h"
#include "res/resource.h"

#include <algorithm>
#include <string>

CMelodeckDlg::CMelodeckDlg() : CDialog(IDD_MELODECK_DIALOG) {
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

    RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    MoveWindow(50, 50, width, height + 50);
    PlaceListWindows(width, height);
    m_wndPlayList.m_pQueue = &m_wndQueue;

    m_dlgCompact.Create(IDD_COMPACT, nullptr);
    m_dlgCompact.ShowWindow(SW_HIDE);

    m_btnPause.ModifyStyle(0, BS_PUSHLIKE);
    return true;
}

// The queue goes below the player and the play list below the queue, both left-aligned with the
// player and as wide as its client area.
void CMelodeckDlg::PlaceListWindows(int clientWidth, int clientHeight) {
    RECT rect{0, 0, clientWidth, clientHeight};
    ClientToScreen(&rect);
    m_wndQueue.MoveWindow(50, rect.top + 129, clientWidth, 200);
    m_wndQueue.SetWindowText("Queue");

    POINT queueOrigin{0, 0};
    ::ClientToScreen(m_wndQueue.m_hWnd, &queueOrigin);
    ::OffsetRect(&rect, queueOrigin.x, queueOrigin.y);
    // The offsets assume classic frame metrics; never let the play list cover the queue's bottom edge.
    RECT queueRect = m_wndQueue.GetWindowRect();
    m_wndPlayList.MoveWindow(50, std::max<int>(rect.top + 88, queueRect.bottom), clientWidth, 200);
    m_wndQueue.ShowWindow(SW_SHOW);
    m_wndPlayList.ShowWindow(SW_SHOW);
}

LRESULT CMelodeckDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CPlayList::ListClosedMessage()) return OnListClosed(lParam);
    switch (message) {
    case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
    case WM_PAINT: return OnPaint();
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_DESTROY: return OnDestroy();
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CMelodeckDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_FILE_EXIT: EndDialog(IDOK); return true;
    }
    return CDialog::OnCommand(id, code, control);
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

LRESULT CMelodeckDlg::OnDestroy() {
    Default();
    return 0;
}

LRESULT CMelodeckDlg::OnListClosed(LPARAM listId) {
    switch (listId) {
    case CPlayList::kQueueId: m_bQueueShown = 0; break;
    case CPlayList::kPlayListId: m_bPlayListShown = 0; break;
    }
    return 0;
}
