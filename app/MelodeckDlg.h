#pragma once
// CMelodeckDlg: the player window. It owns every other window of the program.
#include "app/MediaKeys.h"
#include "app/MelodeckCompact.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "library/MediaEntry.h"
#include "lists/PlayList.h"
#include "lyrics/MelodeckLyrics.h"
#include "playback/MCIWnd.h"
#include "playback/Transport.h"
#include "settings/MelodeckSettings.h"
#include "skin/SkinCtrl.h"
#include "widgets/BannerStatic.h"
#include "widgets/MultiColorStatic.h"
#include "widgets/StickyDesktop.h"
#include "widgets/SubclassWnd.h"
#include "widgets/SystemTray.h"

#include <string>
#include <vector>

class CMelodeckDlg;

// Marks the window as the running player of this program file, for later starts to find; the mark goes
// when the player starts closing.
void MarkRunningPlayer(HWND player);
void UnmarkRunningPlayer(HWND player);

// Takes files and folders dropped from the shell onto a list window and hands them to the player,
// which adds them to that list.
class CListDropTarget : public CSubclassWnd {
public:
    CPlayList* m_pList = nullptr;
    CMelodeckDlg* m_pPlayer = nullptr;
    LRESULT WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The transport state (m_current, m_nPlayPos, m_bAutoAdvance, m_nRandom) and the commands Play,
// Stop, Next, Previous and Pause come from the controller; this window supplies the device, the two
// lists and its own controls.
class CMelodeckDlg : public CDialog, public CTransportController, private ITransportView, public ISkinCtrlRender {
public:
    // Opens the paths handed over from outside once the window is up.
    static constexpr UINT kShowStartupMessage = WM_APP + 20;
    // Places the list windows flush below the player once it shows.
    static constexpr UINT kPlaceListsMessage = WM_APP + 21;
    // Registered "Melodeck.SkinState": wParam kSkinCount, kSkinIsSkinned (lParam a window),
    // kSkinGdiObjects or kSkinProcedure (lParam a window: WindowProcedureState).
    static UINT SkinStateMessage();
    enum { kSkinCount = 0, kSkinIsSkinned = 1, kSkinGdiObjects = 2, kSkinProcedure = 3 };

    CMelodeckDlg();

    CPlayList m_wndQueue;
    CPlayList m_wndPlayList;
    CMelodeckCompact m_dlgCompact;
    CSystemTray m_trayIcon;
    CMelodeckLyrics m_dlgLyrics;
    CMCIWnd m_player;  // the playback device
    CMultiColorStatic m_segmentScratch;  // the last segment Previous built; never has a window
    CStickyDesktop m_stickyDesktop;
    CStickyDragManager m_sticky{m_stickyDesktop};
    POINT m_ptGrab{};  // cursor offset from the window's corner while the frame is dragged
    CButton m_btnPause;
    CBannerStatic m_banner;  // the now-playing banner
    CSliderCtrl m_sliderVolume;
    CMelodeckSettings m_settings;

    // Never installed as the skin's renderer: the built-in look is used everywhere.
    BOOL DrawEdge(HDC, const RECT&, int, int, int) override { return FALSE; }
    BOOL DrawRoundEdge(HDC, const RECT&, int, int) override { return FALSE; }
    BOOL FillAndDrawEdge(HDC, const RECT&, int, int, COLORREF, int) override { return FALSE; }
    HICON m_hIcon = nullptr;
    CFont m_font;  // list font chosen by the user
    int m_bQueueShown = 1;
    int m_bPlayListShown = 1;
    int m_nOnTop = 0;
    int m_nTray = 0;
    int m_bCompact = 0;
    int m_nSavedVolume = -1;  // the volume last written to the INI file
    int m_nMediaKeys = 1;  // the media keys work wherever the focus is
    int m_nResume = 1;     // the song left playing comes back paused at the next start
    CMediaKeys m_mediaKeys;
    bool m_bQuietDeviceErrors = false;  // while the remembered song is put back
    bool m_bListsSaved = false;  // once per run: at the end of the session or at destruction
    bool m_bClosing = false;     // the player ends: paths handed over now would be lost
    bool m_bInTray = false;      // minimised to the tray; the next restore brings the list windows back
    RECT m_rcPlayer{};           // the player's rectangle when last not minimised, for the saved layout
    CListDropTarget m_dropQueue;
    CListDropTarget m_dropPlayList;

    // Ctrl+F from any of the program's windows: the queue's Find when the key comes from the queue window
    // or a window it owns, otherwise the play list's. True when the key was taken.
    bool TranslateAccelerators(MSG* msg);

    // Tells a running player to add the paths; false when there is none to take them.
    static bool HandPathsToRunningPlayer(const std::vector<std::string>& paths);
    // Makes the font the Font command chose; tests stand in for a font the system refuses.
    static HFONT(WINAPI* s_pfnCreateFont)(const LOGFONTA* description);
    // Adds each path to the list through the loaders: a folder is scanned, an .m3u file read, any other
    // file added as one entry. Paths that cannot be read add nothing and are named to the user once.
    void OpenPaths(CPlayList& list, const std::vector<std::string>& paths);
    // The paths of the command line, opened once the window is up.
    std::vector<std::string> m_startPaths;
    // Saves the windows' layout first: the list windows go before this window's own WM_DESTROY.
    bool DestroyWindow() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    // Enter and Esc go to the controls; only Exit, the close box, Alt+F4 and the tray end the program.
    void OnOK() override {}
    void OnCancel() override {}

private:
    // The controls the transport reads and sets.
    bool IsPauseChecked() const override;
    void SetPauseChecked(bool checked) override;
    int GetVolumePosition() const override;
    void ShowNowPlaying(const std::string& text) override;
    void ShowReplaying(const std::string& text) override;
    void ShowMessage(const std::string& text, bool stopped) override;
    void SetTrayPauseCheck(bool checked) override;
    int GetTrayPauseState() const override;

    // Ends the player: from now on it refuses paths, so that a later start becomes the next player.
    void EndPlayer(INT_PTR result);
    LRESULT OnCreate();
    LRESULT OnDeviceError(LPARAM error);
    LRESULT OnSize(WPARAM type);
    LRESULT OnTrayMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM hitTest, LPARAM point);
    LRESULT OnMoving(RECT* rect);
    LRESULT OnSizing(RECT* rect);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    LRESULT OnShowStartup();

    // Commands and their menu check marks.
    LRESULT OnInitMenuPopup(HMENU popup, bool systemMenu);
    void UpdateMenuPopup(HMENU popup);
    void UpdateCommand(HMENU popup, UINT id);
    void OnCreatePlayList();
    void OnViewPlayList();
    void OnViewQueue();
    void OnRandom();
    void OnMinimizeToTray();
    void OnAlwaysOnTop();
    void OnCompactView();
    void OnFont();
    void OnLoadDirectory(bool clear);
    void OnAddPlayList();
    void OnLoadPlayList();
    void OnVolumeChosen();
    void OnLyrics();
    void OnFind();
    void ToggleListWindow(CPlayList& list, int& shown);
    void PlaceListWindows();
    void DockListWindows();
    void SetUpSkin();
    LRESULT OnSkinState(WPARAM what, LPARAM lParam);
    void ApplySavedOptions();
    void ApplyOnTop();
    void SaveLists();
    LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
    LRESULT OnPaint();
    LRESULT OnDestroy();
    LRESULT OnQueryEndSession();
    LRESULT OnEndSession(bool ending);
    LRESULT OnListClosed(LPARAM listId);

    // The other windows around the player: back from the tray, the compact view, the kept layout.
    void OnToTray();
    void OnBackFromTray();
    void OnRestoreFromCompact();
    // True when the saved places of the list windows were used.
    bool RestoreLayout();
    void SaveLayout();

    // Playback from the keyboard and resuming (MelodeckPlayback.cpp).
    static constexpr LONG kSeekStepMs = 5000;
    static constexpr int kVolumeStep = 100;  // of the slider's 0..1000
    void ApplyMediaKeys();
    void OnMediaKeysOption();
    void OnResumeOption();
    void OnMediaAction(CMediaKeys::Action action);
    void OnPlayPause();
    void OnSeekBy(LONG step);
    void OnVolumeBy(int step);
    void SaveResumePoint();
    void RestoreResumePoint();
};
