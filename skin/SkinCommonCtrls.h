#pragma once
// Skins of the rarer common controls. (Placeholder: filled in next.)
#include "skin/SkinCtrl.h"

class CSkinProgress : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinTabcontrol : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinAnimate : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinDatetimepick : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinMonthcal : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinIPaddress : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinPager : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
