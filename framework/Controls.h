#pragma once
// Thin wrappers over the standard controls: inline members that send the control its messages.
#include "framework/Wnd.h"

#include <commctrl.h>

#include <string>

class CStatic : public CWnd {};

class CEdit : public CWnd {};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetButtonStyle(UINT style, bool redraw = true) const { SendMessage(BM_SETSTYLE, style, redraw); }
};

class CSliderCtrl : public CWnd {
public:
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) const { SendMessage(TBM_SETPOS, TRUE, pos); }
    void SetRangeMin(int minimum, bool redraw = false) const { SendMessage(TBM_SETRANGEMIN, redraw, minimum); }
    void SetRangeMax(int maximum, bool redraw = false) const { SendMessage(TBM_SETRANGEMAX, redraw, maximum); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
};

class CListCtrl : public CWnd {
public:
    int InsertColumn(int column, const char* heading, int format, int width) const {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = format;
        col.cx = width;
        col.pszText = const_cast<char*>(heading);
        col.iSubItem = column;
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col)));
    }
    bool SetColumnWidth(int column, int width) const {
        return SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0;
    }
    int GetColumnWidth(int column) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column)); }
    int InsertItem(int item, const char* text) const {
        LVITEMA lvi{};
        lvi.mask = LVIF_TEXT;
        lvi.iItem = item;
        lvi.pszText = const_cast<char*>(text);
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
    }
    bool SetItemText(int item, int subItem, const char* text) const {
        LVITEMA lvi{};
        lvi.iSubItem = subItem;
        lvi.pszText = const_cast<char*>(text);
        return SendMessage(LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lvi)) != 0;
    }
    std::string GetItemText(int item, int subItem) const {
        char buffer[1024] = {};
        LVITEMA lvi{};
        lvi.iSubItem = subItem;
        lvi.pszText = buffer;
        lvi.cchTextMax = sizeof(buffer);
        LRESULT length = SendMessage(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lvi));
        return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
    }
    bool DeleteItem(int item) const { return SendMessage(LVM_DELETEITEM, item) != 0; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, UINT flags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    bool SetItemState(int item, UINT state, UINT mask) const {
        LVITEMA lvi{};
        lvi.state = state;
        lvi.stateMask = mask;
        return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)) != 0;
    }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    bool EnsureVisible(int item, bool partialOK) const { return SendMessage(LVM_ENSUREVISIBLE, item, partialOK) != 0; }
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw); }
};
