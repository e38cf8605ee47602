#pragma once
// The application object: starts the program and runs the player window until it closes.
#include "framework/App.h"

class CMelodeckDlg;

class CMelodeckApp : public CWinApp {
public:
    bool InitInstance() override;
    // Ctrl+F and the other keys of the player's accelerator table, from any of the program's windows.
    bool PreTranslateMessage(MSG* msg) override;

private:
    CMelodeckDlg* m_pPlayer = nullptr;
};
