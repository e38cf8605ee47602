#pragma once
// Skins of "Button" windows: push buttons (and the transport bar's segments), check boxes, radio
// buttons and group boxes. (Placeholder: the classes are filled in next.)
#include "skin/SkinCtrl.h"

class CSkinButtonPush : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinButtonCheck : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinButtonRadio : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinButtonGroup : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};

// The skin of a button of this style, not yet initialised; null for kinds left to the platform.
CSkinCtrl* CreateSkinButton(DWORD style);
