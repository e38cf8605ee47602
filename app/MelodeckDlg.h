#pragma once
// CMelodeckDlg: the player window. It owns every other window of the program.
#include "app/MelodeckCompact.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "library/MediaEntry.h"
#include "lists/PlayList.h"
#include "playback/MCIWnd.h"
#include "playback/Transport.h"
#include "settings/MelodeckSettings.h"
#include "widgets/BannerStatic.h"
#include "widgets/MultiColorStatic.h"

// The transport state (m_current, m_nPlayPos, m_bAutoAdvance, m_nRandom) and the commands Play,
// Stop, Next, Previous and Pause come from the controller; this window supplies the device, the two
// lists and its own controls.
class CMelodeckDlg : public CDialog, public CTransportController, private ITransportView {
public:
    CMelodeckDlg();

    CPlayList m_wndQueue;
    CPlayList m_wndPlayList;
    CMelodeckCompact m_dlgCompact;
    CMCIWnd m_player;  // the playback device
    CMultiColorStatic m_segmentScratch;  // the last segment Previous built; never has a window
    POINT m_ptGrab{};  // cursor offset from the window's corner while the frame is dragged
    CButton m_btnPause;
    CBannerStatic m_banner;  // the now-playing banner
    CSliderCtrl m_sliderVolume;
    CMelodeckSettings m_settings;
    HICON m_hIcon = nullptr;
    CFont m_font;  // list font chosen by the user
    int m_bQueueShown = 1;
    int m_bPlayListShown = 1;
    int m_nOnTop = 0;
    int m_nTray = 0;
    int m_bCompact = 0;
    bool m_bListsSaved = false;  // once per run: at the end of the session or at destruction

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;

private:
    // The controls the transport reads and sets.
    bool IsPauseChecked() const override;
    void SetPauseChecked(bool checked) override;
    int GetVolumePosition() const override;
    void ShowNowPlaying(const std::string& text) override;
    void ShowReplaying(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void SetTrayPauseCheck(bool checked) override;
    int GetTrayPauseState() const override;

    LRESULT OnDeviceError(LPARAM error);
    void PlaceListWindows(int clientWidth, int clientHeight);
    void ApplySavedOptions();
    void ApplyOnTop();
    void SaveLists();
    LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
    LRESULT OnPaint();
    LRESULT OnDestroy();
    LRESULT OnQueryEndSession();
    LRESULT OnEndSession(bool ending);
    LRESULT OnListClosed(LPARAM listId);
};
