#pragma once
// CMelodeckDlg: the player window. It owns every other window of the program.
#include "app/MelodeckCompact.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "library/MediaEntry.h"
#include "lists/PlayList.h"

class CMelodeckDlg : public CDialog {
public:
    CMelodeckDlg();

    CPlayList m_wndQueue;
    CPlayList m_wndPlayList;
    CMelodeckCompact m_dlgCompact;
    POINT m_ptGrab{};  // cursor offset from the window's corner while the frame is dragged
    CButton m_btnPause;
    CStatic m_banner;
    MediaEntry m_current;  // the entry most recently started
    CSliderCtrl m_sliderVolume;
    HICON m_hIcon = nullptr;
    CFont m_font;  // list font chosen by the user
    bool m_bAutoAdvance = false;
    int m_nRandom = 0;
    int m_bQueueShown = 1;
    int m_bPlayListShown = 1;
    int m_nOnTop = 0;
    int m_nTray = 0;
    int m_nPlayPos = 0;  // one-based number of the play-list entry last picked; 0 = none
    int m_bCompact = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void PlaceListWindows(int clientWidth, int clientHeight);
    LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
    LRESULT OnPaint();
    LRESULT OnDestroy();
    LRESULT OnListClosed(LPARAM listId);
};
