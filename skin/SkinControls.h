#pragma once
// Skins of the standard controls other than buttons. (Placeholder: filled in next.)
#include "skin/SkinCtrl.h"

class CSkinStatic : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinEdit : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinRichedit : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinCombobox : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinComboboxex : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinCombolbox : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinListbox : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinScrollbar : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinToolbar : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinUpdown : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinTrackbar : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinListview : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinTreeview : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinHeader : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinDialog : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinTooltip : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinOther : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
class CSkinCtrlReflector : public CSkinCtrl {
public:
    using CSkinCtrl::CSkinCtrl;
};
