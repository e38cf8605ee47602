#pragma once
// The compact view: a small tool window that stands in for the player while it is in the tray.
#include "framework/Dialog.h"
#include "res/resource.h"

class CMelodeckCompact : public CDialog {
public:
    CMelodeckCompact() : CDialog(IDD_COMPACT) {}
};
