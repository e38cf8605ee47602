// The player window's commands: its buttons, the main menu, the tray menu and the keyboard, with the
// menus' check marks.
#include "app/MelodeckDlg.h"

#include "framework/App.h"
#include "library/M3ULines.h"
#include "library/M3UWriter.h"
#include "library/TextFileDialog.h"
#include "lists/FolderDialog.h"
#include "res/resource.h"

#include <commdlg.h>

namespace {

int Toggled(int value) { return value == 0 ? 1 : 0; }

HACCEL PlayerAccelerators() {
    static HACCEL table = ::LoadAcceleratorsA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_ACCELERATOR));
    return table;
}

HACCEL PlaybackAccelerators() {
    static HACCEL table = ::LoadAcceleratorsA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_PLAYBACK_KEYS));
    return table;
}

}  // namespace

bool CMelodeckDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case IDC_PLAY:
    case ID_TRAY_PLAY: OnPlay(); return true;
    case IDC_STOP:
    case ID_TRAY_STOP: OnStop(); return true;
    case IDC_NEXT:
    case ID_TRAY_NEXT: OnNext(); return true;
    case IDC_PREVIOUS:
    case ID_TRAY_PREVIOUS: OnPrevious(); return true;
    case IDC_PAUSE: OnPause(); return true;
    case ID_TRAY_PAUSE: OnTrayPause(); return true;
    case IDC_LYRICS: OnLyrics(); return true;
    case ID_FILE_EXIT:
    case ID_TRAY_EXIT: EndPlayer(IDOK); return true;
    case ID_CREATE_XML: return true;
    case ID_CREATE_PLAYLIST: OnCreatePlayList(); return true;
    case ID_VIEW_PLAYLIST: OnViewPlayList(); return true;
    case ID_VIEW_QUEUE: OnViewQueue(); return true;
    case ID_OPTIONS_RANDOM: OnRandom(); return true;
    case ID_OPTIONS_COMPACT: OnCompactView(); return true;
    case ID_OPTIONS_TRAY: OnMinimizeToTray(); return true;
    case ID_OPTIONS_ONTOP: OnAlwaysOnTop(); return true;
    case ID_OPTIONS_FONT: OnFont(); return true;
    case ID_ADD_DIRECTORY_TRAY: OnLoadDirectory(false); return true;
    case ID_LOAD_DIRECTORY_TRAY: OnLoadDirectory(true); return true;
    case ID_ADD_PLAYLIST_TRAY:
    case ID_LOAD_PLAYLIST_TRAY: OnAddPlayList(); return true;
    // The File menu offers the list window's commands, acting on the play list.
    case ID_LIST_ADDDIRECTORY: OnLoadDirectory(false); return true;
    case ID_LIST_LOADDIRECTORY: OnLoadDirectory(true); return true;
    case ID_LIST_ADDPLAYLIST: OnAddPlayList(); return true;
    case ID_LIST_LOADPLAYLIST: OnLoadPlayList(); return true;
    case ID_LIST_FIND: OnFind(); return true;
    case CMelodeckCompact::kPlayPauseCommand: OnPlayPause(); return true;
    case CMelodeckCompact::kRestorePlayerCommand: OnRestoreFromCompact(); return true;
    case ID_PLAYBACK_PLAYPAUSE: OnPlayPause(); return true;
    case ID_PLAYBACK_FORWARD: OnSeekBy(kSeekStepMs); return true;
    case ID_PLAYBACK_BACK: OnSeekBy(-kSeekStepMs); return true;
    case ID_PLAYBACK_VOLUMEUP: OnVolumeBy(kVolumeStep); return true;
    case ID_PLAYBACK_VOLUMEDOWN: OnVolumeBy(-kVolumeStep); return true;
    case ID_OPTIONS_MEDIAKEYS: OnMediaKeysOption(); return true;
    case ID_OPTIONS_RESUME: OnResumeOption(); return true;
    }
    return CDialog::OnCommand(id, code, control);
}

// Keys that work in every window of the program: Ctrl+F, and a media key that no hot key delivers. The
// Playback menu's keys belong to the player alone: elsewhere Space and Ctrl+arrows edit text and move
// through lists.
bool CMelodeckDlg::TranslateAccelerators(MSG* msg) {
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return false;
    if (!m_hWnd || !msg->hwnd) return false;
    const HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
    HWND target = m_hWnd;
    for (HWND window = root; window; window = ::GetWindow(window, GW_OWNER)) {
        // A window under a modal dialog (the tag editor's list, the player under the About box) keeps
        // its keys for that dialog.
        if (!::IsWindowEnabled(window)) return false;
        if (window == m_wndQueue.m_hWnd) target = window;
    }
    const CMediaKeys::Action action = m_mediaKeys.FromFocusKey(*msg);
    if (action != CMediaKeys::Action::none) {
        OnMediaAction(action);
        return true;
    }
    if (root == m_hWnd && PlaybackAccelerators() && ::TranslateAcceleratorA(m_hWnd, PlaybackAccelerators(), msg))
        return true;
    HACCEL table = PlayerAccelerators();
    return table && ::TranslateAcceleratorA(target, table, msg) != 0;
}

// The one place that decides check marks: whenever a popup of our menu bar or the tray menu opens.
LRESULT CMelodeckDlg::OnInitMenuPopup(HMENU popup, bool systemMenu) {
    if (!systemMenu) UpdateMenuPopup(popup);
    return 0;
}

void CMelodeckDlg::UpdateMenuPopup(HMENU popup) {
    int count = ::GetMenuItemCount(popup);
    for (int index = 0; index < count; ++index) {
        UINT id = ::GetMenuItemID(popup, index);
        if (id == 0) continue;  // a separator
        if (id == static_cast<UINT>(-1)) {
            // A further popup is updated through its first item and never disabled.
            if (HMENU sub = ::GetSubMenu(popup, index)) {
                UINT first = ::GetMenuItemID(sub, 0);
                if (first != 0 && first != static_cast<UINT>(-1)) UpdateCommand(sub, first);
            }
            continue;
        }
        UpdateCommand(popup, id);
        int now = ::GetMenuItemCount(popup);
        if (now < count) {
            // A handler removed items: step back and past the items of the same id.
            index -= count - now;
            while (index + 1 < now && ::GetMenuItemID(popup, index + 1) == id) ++index;
            count = now;
        }
    }
}

void CMelodeckDlg::UpdateCommand(HMENU popup, UINT id) {
    int checked = -1;
    switch (id) {
    case ID_VIEW_PLAYLIST: checked = m_bPlayListShown; break;
    case ID_VIEW_QUEUE: checked = m_bQueueShown; break;
    case ID_OPTIONS_RANDOM: checked = m_nRandom; break;
    case ID_OPTIONS_COMPACT: checked = m_bCompact = m_dlgCompact.IsWindowVisible() ? 1 : 0; break;
    case ID_OPTIONS_TRAY: checked = m_nTray; break;
    case ID_OPTIONS_ONTOP: checked = m_nOnTop; break;
    case ID_OPTIONS_MEDIAKEYS: checked = m_nMediaKeys; break;
    case ID_OPTIONS_RESUME: checked = m_nResume; break;
    }
    if (checked >= 0) ::CheckMenuItem(popup, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CMelodeckDlg::OnCreatePlayList() {
    CPlayList* list = &m_wndPlayList;
    if (m_wndQueue.m_list.GetItemCount() > 0) {
        switch (MessageBox("Yes: Save Queue \n No: Save Play List\n Cancel: to abort", nullptr,
                           MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: list = &m_wndQueue; break;
        case IDNO: break;
        default: return;
        }
    }
    CTextFile textFile("m3u", "\r\n", "");
    if (WriteM3U(list->GetEntries(), textFile) == M3UWriteResult::kFailed)
        MessageBox("Error Writting to disk\n" + textFile.m_strError, nullptr, MB_OK | MB_ICONERROR);
}

void CMelodeckDlg::ToggleListWindow(CPlayList& list, int& shown) {
    shown = Toggled(shown);
    list.ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void CMelodeckDlg::OnViewPlayList() { ToggleListWindow(m_wndPlayList, m_bPlayListShown); }

void CMelodeckDlg::OnViewQueue() { ToggleListWindow(m_wndQueue, m_bQueueShown); }

void CMelodeckDlg::OnRandom() {
    m_nRandom = Toggled(m_nRandom);
    m_settings.WriteInt(CMelodeckSettings::kRandom, m_nRandom);
}

void CMelodeckDlg::OnMinimizeToTray() {
    m_nTray = Toggled(m_nTray);
    m_settings.WriteInt(CMelodeckSettings::kTray, m_nTray);
}

void CMelodeckDlg::OnAlwaysOnTop() {
    m_nOnTop = Toggled(m_nOnTop);
    m_settings.WriteInt(CMelodeckSettings::kOnTop, m_nOnTop);
    ApplyOnTop();
}

// The check tells whether the compact view is up: choosing it again goes back to the player.
void CMelodeckDlg::OnCompactView() {
    if (m_dlgCompact.IsWindowVisible()) {
        OnRestoreFromCompact();
        return;
    }
    m_bCompact = 1;
    // It stands in for the player, so it shows where the player was.
    const RECT player = GetWindowRect();
    m_dlgCompact.SetWindowPos(nullptr, player.left, player.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_dlgCompact.ShowWindow(SW_SHOW);
    ShowWindow(SW_MINIMIZE);
}

HFONT(WINAPI* CMelodeckDlg::s_pfnCreateFont)(const LOGFONTA*) = ::CreateFontIndirectA;

void CMelodeckDlg::OnFont() {
    // The dialog opens on the font the lists show.
    LOGFONTA current{};
    HFONT inUse = m_font.GetSafeHandle() ? static_cast<HFONT>(m_font.GetSafeHandle()) : m_wndPlayList.m_list.GetFont();
    if (!inUse) inUse = GetFont();
    if (inUse) ::GetObjectA(inUse, sizeof(current), &current);
    // Wine writes the dialog's state into the LOGFONT even on Cancel, so it only ever sees a copy.
    LOGFONTA chosen = current;
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = m_hWnd;
    choose.lpLogFont = &chosen;
    choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_NOVECTORFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontA(&choose)) return;

    CFont font;
    font.Attach(s_pfnCreateFont(&chosen));
    if (!font.GetSafeHandle()) {
        MessageBox("Error");
        return;
    }
    for (HWND target : {m_hWnd, m_banner.m_hWnd, m_btnPause.m_hWnd, m_wndPlayList.m_list.m_hWnd,
                        m_wndQueue.m_list.m_hWnd})
        ::SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
    m_font.Attach(font.Detach());  // the old font goes only now that nobody draws with it
    m_settings.SaveFont(m_font);
}

void CMelodeckDlg::OnLoadDirectory(bool clear) {
    CFolderDialog chooser(m_hWnd);
    m_wndPlayList.LoadDirectory(chooser.Browse(CFolderDialog::kPlayerTitle), clear);
}

// Both tray items append: the play list is never cleared from here.
void CMelodeckDlg::OnAddPlayList() {
    CTextFileDialog dialog(false, "m3u", kPlayListFilter, OFN_NOCHANGEDIR, m_hWnd);
    if (!dialog.DoModal()) return;
    m_wndPlayList.LoadPlayListFile(dialog.GetPathName());
}

// The File menu's Load Play List replaces the play list, as the list window's own command does.
void CMelodeckDlg::OnLoadPlayList() {
    CTextFileDialog dialog(false, "m3u", "Music Play List (*.m3u)|*.m3u|All Files (*.*)|*.*||", OFN_NOCHANGEDIR,
                           m_hWnd);
    if (!dialog.DoModal()) return;
    m_wndPlayList.RemoveAll();
    m_wndPlayList.LoadPlayListFile(dialog.GetPathName());
}

// Tag texts end in a zero character, so an empty field is one whose displayed text is empty.
void CMelodeckDlg::OnLyrics() {
    if (DisplayText(m_current.m_strArtist).empty() || DisplayText(m_current.m_strSong).empty()) {
        MessageBox("No Artist information availible for look up", nullptr, MB_OK | MB_ICONSTOP);
        return;
    }
    m_dlgLyrics.Open(this, m_current);
}

// The play list window's own Find command, as its menu sends it.
void CMelodeckDlg::OnFind() {
    if (!m_wndPlayList.IsWindow()) return;
    if (!m_wndPlayList.IsWindowVisible()) {
        m_bPlayListShown = 1;
        m_wndPlayList.ShowWindow(SW_SHOW);
    }
    m_wndPlayList.PostMessage(WM_COMMAND, ID_LIST_FIND, 0);
}
