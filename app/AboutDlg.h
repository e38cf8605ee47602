#pragma once
// The About box, opened from the player window's system menu.
#include "framework/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};
