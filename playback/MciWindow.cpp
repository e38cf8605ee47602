#include "playback/MciWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "playback/MciWindowClass.h"

namespace {

constexpr UINT kMsgCheckMode = WM_APP + 0x4D;
constexpr UINT_PTR kTimerPoll = 1;
constexpr UINT kPollMs = 150;
constexpr int kIdButton = 1;
constexpr int kIdSlider = 2;
constexpr UINT_PTR kToolText = 1;
constexpr int kMaxReportsPerFlush = 8;

HWAVEOUT WaveMapper() {
    return reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER));
}

RECT ToRect(const BarRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// Selects a GDI object into a device context for one scope.
class CSelection {
public:
    CSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ~CSelection() { ::SelectObject(m_dc, m_old); }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

void CopyToBuffer(const std::string& text, char* buffer, UINT length) {
    if (!buffer || length == 0) return;
    size_t count = std::min<size_t>(text.size(), length - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
}

} // namespace

LRESULT CALLBACK CMciWindow::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CMciWindow*>(::GetWindowLongPtrA(hWnd, 0));
    if (!self) {
        if (message != WM_NCCREATE) return ::DefWindowProcA(hWnd, message, wParam, lParam);
        self = new (std::nothrow) CMciWindow(hWnd);
        if (!self) return FALSE;
        ::SetWindowLongPtrA(hWnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
    return self->WindowProc(message, wParam, lParam);
}

LRESULT CMciWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_NCDESTROY: OnNcDestroy(); return 0;
    case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    case WM_TIMER: return OnTimer(wParam);
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_HSCROLL: OnHScroll(LOWORD(wParam)); return 0;
    case WM_DRAWITEM: return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case kMsgCheckMode: return OnCheckMode();
    case MM_MCINOTIFY: return OnMciNotify(static_cast<UINT>(wParam));
    case MCIWNDM_OPEN: return OnOpen(reinterpret_cast<const char*>(lParam));
    case MCI_CLOSE: return OnClose();
    case MCI_PLAY: return OnPlay();
    case MCI_STOP: return OnStop();
    case MCI_PAUSE: return OnPause();
    case MCI_RESUME: return OnResume();
    case MCI_SEEK: return OnSeek(static_cast<long>(lParam));
    case MCIWNDM_GETVOLUME: return OnGetVolume();
    case MCIWNDM_SETVOLUME: return OnSetVolume(static_cast<long>(lParam));
    case MCIWNDM_GETERROR: return OnGetError(static_cast<UINT>(wParam), reinterpret_cast<char*>(lParam));
    case MCIWNDM_GETPOSITION:
        return OnGetPosition(static_cast<UINT>(wParam), reinterpret_cast<char*>(lParam));
    case MCIWNDM_GETMODE: return OnGetMode(static_cast<UINT>(wParam), reinterpret_cast<char*>(lParam));
    case MCIWNDM_GETLENGTH: return OnGetLength();
    case MCIWNDM_GETSTART: return 0;
    case MCIWNDM_GETREPEAT: return m_bRepeat ? TRUE : FALSE;
    case MCIWNDM_SETREPEAT: m_bRepeat = lParam != 0; return 0;
    case MCIWNDM_GETDEVICEID: return m_device.Id();
    case kMciWndReportError: return Fail(static_cast<DWORD>(wParam));
    default: return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

LRESULT CMciWindow::OnCreate() {
    // The play bar's controls are painted by themselves.
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
    CreateBar();
    AutoSize();
    LayoutBar();
    UpdateBar();
    return 0;
}

void CMciWindow::OnDestroy() {
    SetPolling(false);
    m_device.Close();
    RestoreWaveOut();
    // The tooltip is a popup owned by the top-level window: it would outlive us.
    if (m_hToolTip) ::DestroyWindow(m_hToolTip);
    m_hToolTip = nullptr;
}

void CMciWindow::OnNcDestroy() {
    ::DefWindowProcA(m_hWnd, WM_NCDESTROY, 0, 0);
    ::SetWindowLongPtrA(m_hWnd, 0, 0);
    m_bDestroyed = true;
    // A notification to the parent still on the stack deletes the object when it returns.
    if (m_nNotifyDepth == 0) delete this;
}

void CMciWindow::OnSize(int, int) {
    LayoutBar();
}

LRESULT CMciWindow::OnTimer(WPARAM id) {
    if (id == kTimerPoll) CheckMode(false);
    return 0;
}

LRESULT CMciWindow::OnCheckMode() {
    m_bCheckPosted = false;
    CheckMode(false);
    return 0;
}

LRESULT CMciWindow::OnMciNotify(UINT flags) {
    // A play that failed on its way also ended by itself; one aborted or superseded was ended by a
    // command, whose outcome the reading shows.
    CheckMode(flags == MCI_NOTIFY_SUCCESSFUL || flags == MCI_NOTIFY_FAILURE);
    return 0;
}

bool CMciWindow::HasStyle(DWORD flag) const {
    return (static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)) & flag) != 0;
}

long CMciWindow::ReadMode() {
    long mode = kMciModeStop;
    // A reading that fails leaves the last one in force.
    if (m_device.IsOpen() && m_device.Mode(&mode) != 0) return m_tracker.ObservedMode();
    m_tracker.Observe(mode);
    return mode;
}

long CMciWindow::BeginOwnCommand() {
    long mode = ReadMode();
    m_tracker.NoteOwnCommand(true);
    return mode;
}

LRESULT CMciWindow::OnOpen(const char* path) {
    CloseDevice();
    // A null path (or -1) asks the platform's class for a file dialog; we show none.
    if (!path || reinterpret_cast<LPARAM>(path) == -1 || !*path) return Fail(MCIERR_FILENAME_REQUIRED);
    std::string file = path;
    // The MPEG device reports a missing file only as a failure to initialise.
    DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(MCIERR_FILE_NOT_FOUND);

    MciDeviceKind kind = DeviceKindForPath(file);
    m_tracker.NoteOwnCommand(true);
    DWORD error = m_device.Open(file, DeviceTypeName(kind));
    if (error) {
        UpdateBar();
        return Fail(error);
    }
    m_strPath = file;
    ::SetWindowTextA(m_hWnd, BarName(file).c_str());
    m_volumeRoute = InitialVolumeRoute(kind);
    // Every device starts at the remembered volume; one that refuses plays at its own level.
    ApplyVolume(m_nVolume);
    m_dwError = 0;
    m_nShownLength = -1;
    m_nShownPosition = -1;
    m_nShownPixel = -1;
    AutoSize();
    UpdateBar();
    PostCheck();
    return 0;
}

void CMciWindow::CloseDevice() {
    if (!m_device.IsOpen()) return;
    BeginOwnCommand();
    SetPolling(false);
    m_device.Close();
    RestoreWaveOut();
    m_volumeRoute = VolumeRoute::Remembered;
    m_strPath.clear();
    ::SetWindowTextA(m_hWnd, "");
    UpdateBar();
    PostCheck();
}

LRESULT CMciWindow::OnClose() {
    CloseDevice();
    m_dwError = 0;
    return 0;
}

DWORD CMciWindow::PlayFrom(long position) {
    return m_device.Play(position, m_hWnd, m_bRepeat);
}

LRESULT CMciWindow::OnPlay() {
    if (!m_device.IsOpen()) return 0;
    long mode = ReadMode();
    bool endReached = m_tracker.EndReached();
    if (mode == kMciModePlay || !CommandAppliesInMode(MciCommand::Play, mode)) return 0;
    m_tracker.NoteOwnCommand(false);
    long position = 0;
    long length = 0;
    m_device.Position(&position);
    m_device.Length(&length);
    DWORD error = PlayFrom(PlayStartPosition(position, length, endReached));
    UpdateBar();
    PostCheck();
    if (error) return Fail(error);
    m_dwError = 0;
    return 0;
}

LRESULT CMciWindow::OnStop() {
    return RunCommand(MciCommand::Stop);
}
LRESULT CMciWindow::OnPause() {
    return RunCommand(MciCommand::Pause);
}
LRESULT CMciWindow::OnResume() {
    return RunCommand(MciCommand::Resume);
}

LRESULT CMciWindow::RunCommand(MciCommand command) {
    if (!m_device.IsOpen()) return 0;
    long mode = ReadMode();
    if (!CommandAppliesInMode(command, mode)) return 0;
    m_tracker.NoteOwnCommand(command == MciCommand::Stop);
    DWORD error = 0;
    switch (command) {
    case MciCommand::Stop: error = m_device.Stop(); break;
    case MciCommand::Pause: error = m_device.Pause(); break;
    case MciCommand::Resume: error = m_device.Resume(); break;
    case MciCommand::Play: break;
    }
    UpdateBar();
    PostCheck();
    if (error) return Fail(error);
    m_dwError = 0;
    return 0;
}

LRESULT CMciWindow::OnSeek(long position) {
    if (!m_device.IsOpen()) return 0;
    long mode = BeginOwnCommand();
    long length = 0;
    m_device.Length(&length);
    if (position == MCIWND_START) position = 0;
    if (position == MCIWND_END || (length > 0 && position > length)) position = length;
    position = std::max(position, 0L);

    DWORD error = 0;
    switch (SeekPlanForMode(mode)) {
    case SeekPlan::PlayFrom:
        m_device.Stop();
        error = PlayFrom(position);
        break;
    case SeekPlan::PauseAt:
        error = PlayFrom(position);
        if (!error) error = m_device.Pause();
        break;
    case SeekPlan::MoveTo:
        error = m_device.Seek(position);
        // Wine's MPEG device cannot seek to a position: start playing there and stop at once.
        if (error && m_device.Play(position, nullptr, false) == 0 && m_device.Stop() == 0) error = 0;
        break;
    }
    UpdateBar();
    PostCheck();
    if (error) return Fail(error);
    m_dwError = 0;
    return 0;
}

DWORD CMciWindow::ApplyVolume(long volume) {
    if (m_volumeRoute == VolumeRoute::Device) {
        DWORD error = m_device.SetVolume(volume);
        if (!CMciDevice::IsUnsupported(error)) return error;
        m_volumeRoute = VolumeRoute::WaveOut;
    }
    if (m_volumeRoute == VolumeRoute::WaveOut) {
        if (!m_bWaveOutSaved)
            m_bWaveOutSaved = ::waveOutGetVolume(WaveMapper(), &m_dwWaveOutSaved) == MMSYSERR_NOERROR;
        if (::waveOutSetVolume(WaveMapper(), VolumeToWaveOut(volume)) == MMSYSERR_NOERROR) return 0;
        // No wave-out volume either (Wine has none for device ids): the value is only remembered.
        m_volumeRoute = VolumeRoute::Remembered;
    }
    return 0;
}

void CMciWindow::RestoreWaveOut() {
    if (!m_bWaveOutSaved) return;
    ::waveOutSetVolume(WaveMapper(), m_dwWaveOutSaved);
    m_bWaveOutSaved = false;
}

LRESULT CMciWindow::OnSetVolume(long requested) {
    long volume = ClampVolume(requested);
    if (!m_device.IsOpen()) {
        m_nVolume = volume;
        return 0;
    }
    DWORD error = ApplyVolume(volume);
    if (error) return Fail(error);
    m_nVolume = volume;
    m_dwError = 0;
    return 0;
}

LRESULT CMciWindow::OnGetVolume() {
    if (!m_device.IsOpen()) return m_nVolume;
    long volume = 0;
    DWORD packed = 0;
    switch (m_volumeRoute) {
    case VolumeRoute::Device:
        if (m_device.GetVolume(&volume) == 0) return volume;
        break;
    case VolumeRoute::WaveOut:
        if (::waveOutGetVolume(WaveMapper(), &packed) == MMSYSERR_NOERROR) return WaveOutToVolume(packed);
        break;
    case VolumeRoute::Remembered: break;
    }
    // Devices that cannot report their volume (Wine's MPEG device) have the one we set.
    return m_nVolume;
}

LRESULT CMciWindow::OnGetError(UINT length, char* buffer) {
    CopyToBuffer(CMciDevice::ErrorText(m_dwError), buffer, length);
    return static_cast<LRESULT>(m_dwError);
}

LRESULT CMciWindow::OnGetPosition(UINT length, char* buffer) {
    long position = 0;
    m_device.Position(&position);
    CopyToBuffer(FormatTime(position), buffer, length);
    return position;
}

LRESULT CMciWindow::OnGetLength() {
    long length = 0;
    m_device.Length(&length);
    return length;
}

LRESULT CMciWindow::OnGetMode(UINT length, char* buffer) {
    long mode = kMciModeNotReady;
    if (m_device.IsOpen() && m_device.Mode(&mode) != 0) mode = kMciModeNotReady;
    CopyToBuffer(ModeName(mode), buffer, length);
    return mode;
}

void CMciWindow::CheckMode(bool playCompleted) {
    long mode = ReadMode();
    // Only a playing (or not yet ready) device changes by itself; a stopped or paused one changes by a
    // command, and every command is followed by a check. Idle, the player thus costs no timer at all.
    SetPolling(m_device.IsOpen() && mode != kMciModeStop && mode != kMciModePause && mode != kMciModeOpen);
    if (playCompleted) m_tracker.PlayCompleted();
    UpdateBar();
    FlushReports();
}

void CMciWindow::SetPolling(bool poll) {
    if (poll == m_bPolling) return;
    m_bPolling = poll;
    if (poll)
        ::SetTimer(m_hWnd, kTimerPoll, kPollMs, nullptr);
    else
        ::KillTimer(m_hWnd, kTimerPoll);
}

void CMciWindow::PostCheck() {
    if (m_bCheckPosted) return;
    m_bCheckPosted = ::PostMessageA(m_hWnd, kMsgCheckMode, 0, 0) != FALSE;
}

void CMciWindow::FlushReports() {
    // Never inside a notification: a parent that reacts to one with commands of its own hears of
    // their outcome after it returns, one change at a time, instead of recursing.
    if (m_nNotifyDepth > 0) {
        m_bFlushPending = true;
        return;
    }
    long mode = 0;
    for (int sent = 0; m_tracker.NextReport(&mode); ++sent) {
        if (HasStyle(MCIWNDF_NOTIFYMODE) && !NotifyParent(MCIWNDM_NOTIFYMODE, mode)) return;
        if (sent + 1 == kMaxReportsPerFlush) {
            PostCheck();
            return;
        }
    }
}

LRESULT CMciWindow::Fail(DWORD error) {
    m_dwError = error;
    if (HasStyle(MCIWNDF_NOTIFYERROR)) NotifyParent(MCIWNDM_NOTIFYERROR, static_cast<LPARAM>(error));
    return static_cast<LRESULT>(error);
}

bool CMciWindow::NotifyParent(UINT message, LPARAM lParam) {
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return true;
    ++m_nNotifyDepth;
    ::SendMessageA(parent, message, reinterpret_cast<WPARAM>(m_hWnd), lParam);
    --m_nNotifyDepth;
    if (m_bDestroyed) {
        if (m_nNotifyDepth == 0) delete this;
        return false;
    }
    if (m_nNotifyDepth == 0 && m_bFlushPending) {
        m_bFlushPending = false;
        PostCheck();
    }
    return true;
}

void CMciWindow::CreateBar() {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE));
    m_hButton = ::CreateWindowExA(0, "BUTTON", "Play", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
                                  0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdButton)),
                                  instance, nullptr);
    m_hSlider = ::CreateWindowExA(
        0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 0, 0, 0, 0,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdSlider)), instance, nullptr);
    if (m_hSlider) ::SendMessageA(m_hSlider, TBM_SETLINESIZE, 0, 1000);

    // The full file name as a tooltip over the text, which may have to cut it short.
    m_hToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, instance, nullptr);
    if (m_hToolTip) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = kToolText;
        tool.lpszText = const_cast<char*>("");
        ::SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (HasStyle(MCIWNDF_NOPLAYBAR)) {
        if (m_hButton) ::ShowWindow(m_hButton, SW_HIDE);
        if (m_hSlider) ::ShowWindow(m_hSlider, SW_HIDE);
    }
}

void CMciWindow::AutoSize() {
    // Audio has no picture: the window is the play bar alone.
    if (HasStyle(MCIWNDF_NOAUTOSIZEWINDOW)) return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    if (window.bottom - window.top == kBarHeight) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, kBarHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMciWindow::LayoutBar() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    bool withText = HasStyle(MCIWNDF_SHOWNAME | MCIWNDF_SHOWPOS | MCIWNDF_SHOWMODE);
    m_layout = ComputeBarLayout(client.right, client.bottom, withText);
    if (m_hButton)
        ::MoveWindow(m_hButton, m_layout.button.left, m_layout.button.top, m_layout.button.Width(),
                     m_layout.button.Height(), TRUE);
    if (m_hSlider)
        ::MoveWindow(m_hSlider, m_layout.slider.left, m_layout.slider.top, m_layout.slider.Width(),
                     m_layout.slider.Height(), TRUE);
    if (m_hToolTip) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = m_hWnd;
        tool.uId = kToolText;
        tool.rect = ToRect(m_layout.text);
        ::SendMessageA(m_hToolTip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMciWindow::UpdateBar() {
    bool open = m_device.IsOpen();
    long length = 0;
    long position = 0;
    if (open) {
        m_device.Length(&length);
        m_device.Position(&position);
    }
    // Where the device stands after the end differs between devices; the bar shows the end.
    if (open && m_tracker.EndReached()) position = length;
    if (m_hButton && (::IsWindowEnabled(m_hButton) != FALSE) != open) ::EnableWindow(m_hButton, open);
    if (m_hSlider) {
        if ((::IsWindowEnabled(m_hSlider) != FALSE) != open) ::EnableWindow(m_hSlider, open);
        if (length != m_nShownLength) {
            m_nShownLength = length;
            m_nShownPixel = -1;
            ::SendMessageA(m_hSlider, TBM_SETRANGEMIN, FALSE, 0);
            ::SendMessageA(m_hSlider, TBM_SETRANGEMAX, TRUE, std::max(length, 0L));
            ::SendMessageA(m_hSlider, TBM_SETPAGESIZE, 0, std::max(length / 10, 1L));
        }
        if (m_bTracking) {
            position = static_cast<long>(::SendMessageA(m_hSlider, TBM_GETPOS, 0, 0));
        } else if (position != m_nShownPosition) {
            m_nShownPosition = position;
            // Polled several times a second while playing: the thumb is moved and redrawn only when
            // it moves by a pixel of the channel, which on a long track is rarely. (The thumb's own
            // rectangle is no guide: a position set without redrawing leaves it where it was.)
            RECT channel{};
            ::SendMessageA(m_hSlider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
            int pixel = ThumbPixel(position, length, channel.right - channel.left);
            bool moves = pixel != m_nShownPixel;
            m_nShownPixel = pixel;
            ::SendMessageA(m_hSlider, TBM_SETPOS, moves ? TRUE : FALSE, position);
        }
    }

    long mode = m_tracker.ObservedMode();
    bool showsStop = open && (mode == kMciModePlay || mode == kMciModePause || mode == kMciModeSeek);
    if (showsStop != m_bShowsStop && m_hButton) {
        m_bShowsStop = showsStop;
        ::SetWindowTextA(m_hButton, showsStop ? "Stop" : "Play");
        ::InvalidateRect(m_hButton, nullptr, FALSE);
    }

    std::string status =
        open ? FormatBarStatus(position, length, HasStyle(MCIWNDF_SHOWPOS), mode, HasStyle(MCIWNDF_SHOWMODE))
             : std::string();
    std::string name = HasStyle(MCIWNDF_SHOWNAME) ? BarName(m_strPath) : std::string();
    if (status == m_strShownStatus && name == m_strShownName) return;
    if (name != m_strShownName && m_hToolTip) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = m_hWnd;
        tool.uId = kToolText;
        tool.lpszText = const_cast<char*>(name.c_str());
        ::SendMessageA(m_hToolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    m_strShownStatus = status;
    m_strShownName = name;
    RECT text = ToRect(m_layout.text);
    ::InvalidateRect(m_hWnd, &text, FALSE);
}

void CMciWindow::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    // A hairline frame: flat, yet the bar stands apart from the window behind it.
    ::FrameRect(dc, &client, ::GetSysColorBrush(COLOR_BTNSHADOW));

    RECT text = ToRect(m_layout.text);
    if (text.right > text.left) {
        CSelection font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        SIZE statusSize{};
        ::GetTextExtentPoint32A(dc, m_strShownStatus.c_str(), static_cast<int>(m_strShownStatus.size()),
                                &statusSize);
        RECT status = text;
        status.left = std::max(text.left, text.right - statusSize.cx);
        ::DrawTextA(dc, m_strShownStatus.c_str(), static_cast<int>(m_strShownStatus.size()), &status,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        // The name takes what the position leaves, cut with an ellipsis.
        RECT name = text;
        name.right = std::max(text.left, status.left - (m_strShownStatus.empty() ? 0 : 6));
        ::DrawTextA(dc, m_strShownName.c_str(), static_cast<int>(m_strShownName.size()), &name,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CMciWindow::OnDrawItem(const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlID != static_cast<UINT>(kIdButton)) return FALSE;
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    bool pressed = (item->itemState & ODS_SELECTED) != 0;
    bool disabled = (item->itemState & ODS_DISABLED) != 0;
    ::FillRect(dc, &r, ::GetSysColorBrush(pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_BTNSHADOW));

    COLORREF glyph = ::GetSysColor(disabled ? COLOR_GRAYTEXT : pressed ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT);
    int size = std::max(static_cast<int>(std::min(r.right - r.left, r.bottom - r.top)) / 2 - 1, 2);
    int cx = static_cast<int>(r.left + r.right) / 2;
    int cy = static_cast<int>(r.top + r.bottom) / 2;
    CSelection brush(dc, ::GetStockObject(DC_BRUSH));
    CSelection pen(dc, ::GetStockObject(DC_PEN));
    ::SetDCBrushColor(dc, glyph);
    ::SetDCPenColor(dc, glyph);
    if (m_bShowsStop) {
        int half = size * 2 / 5;
        ::Rectangle(dc, cx - half, cy - half, cx + half + 1, cy + half + 1);
    } else {
        int half = size / 2;
        POINT triangle[3] = {{cx - half + 1, cy - half}, {cx - half + 1, cy + half}, {cx + half, cy}};
        ::Polygon(dc, triangle, 3);
    }
    if (item->itemState & ODS_FOCUS) {
        RECT focus = r;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    return TRUE;
}

void CMciWindow::OnCommand(UINT id, UINT code) {
    if (id != static_cast<UINT>(kIdButton) || code != BN_CLICKED) return;
    // The button plays or stops; a stop from here is reported like any other.
    if (m_bShowsStop)
        OnStop();
    else
        OnPlay();
}

void CMciWindow::OnHScroll(UINT code) {
    if (!m_hSlider) return;
    if (code == TB_THUMBTRACK) {
        m_bTracking = true;
        UpdateBar();
        return;
    }
    if (code != TB_ENDTRACK) return;
    m_bTracking = false;
    long position = static_cast<long>(::SendMessageA(m_hSlider, TBM_GETPOS, 0, 0));
    // A click on the thumb that moved nothing does not restart the track.
    if (position != m_nShownPosition) OnSeek(position);
}
