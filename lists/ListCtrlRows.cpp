#include "lists/ListCtrlRows.h"

#include <algorithm>

// The rows ask the list window for their texts when shown (LVN_GETDISPINFO), so that reordering or
// changing entries needs no call per row; the texts given here only size the columns. c_str() ends
// each text at its first zero character, as displays of tag texts must.
int CListCtrlRows::InsertRow(int index, const std::string& artist, const std::string& album,
                             const std::string& song) {
    int row = m_list.InsertItem(index, LPSTR_TEXTCALLBACKA);
    if (row >= 0) {
        m_list.SetItemText(row, 1, LPSTR_TEXTCALLBACKA);
        m_list.SetItemText(row, 2, LPSTR_TEXTCALLBACKA);
        if (row == m_list.GetItemCount() - 1)
            m_appended.push_back({artist.c_str(), album.c_str(), song.c_str()});
        else
            m_bWidestKnown = false;
    }
    return row;
}

void CListCtrlRows::DeleteRow(int index) {
    m_list.DeleteItem(index);
    m_bWidestKnown = false;
}

void CListCtrlRows::DeleteAllRows() {
    m_list.DeleteAllItems();
    m_widest.fill(0);
    m_appended.clear();
    m_bMeasuredAny = false;
    m_bWidestKnown = true;
}

void CListCtrlRows::SetRowTexts(int index, const std::string&, const std::string&, const std::string&) {
    // The row asks for its new texts when painted; a batch repaints everything at its end anyway.
    if (m_nUpdateDepth == 0) m_list.SendMessage(LVM_REDRAWITEMS, index, index);
    m_bWidestKnown = false;
}

void CListCtrlRows::SelectRow(int index) {
    m_list.SetItemState(index, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(index, false);
}

void CListCtrlRows::FitColumns() {
    HFONT font = m_list.GetFont();
    if (font != m_hFontMeasured) {
        m_hFontMeasured = font;
        m_textWidths.clear();
        m_bMarginsKnown = false;
        // Widths taken in the old font no longer hold; rows not measured yet are still waiting.
        if (m_bMeasuredAny) m_bWidestKnown = false;
    }
    if (!m_bMarginsKnown && !FindMargins()) {
        AutoSizeAll();
        return;
    }
    if (!m_bWidestKnown) {
        // Rows were removed or changed: the control measures them all once, and the widest texts
        // follow from its widths.
        m_appended.clear();
        AutoSizeAll();
        for (int column = 0; column < kColumns; ++column)
            m_widest[column] = m_list.GetColumnWidth(column) - m_margins[column];
        m_bWidestKnown = true;
        m_bMeasuredAny = true;
        return;
    }
    for (const auto& row : m_appended)
        for (int column = 0; column < kColumns; ++column)
            m_widest[column] = std::max(m_widest[column], TextWidth(row[column]));
    m_bMeasuredAny = m_bMeasuredAny || !m_appended.empty();
    m_appended.clear();
    for (int column = 0; column < kColumns; ++column)
        m_list.SetColumnWidth(column, m_widest[column] + m_margins[column]);
}

int CListCtrlRows::TextWidth(const std::string& text) {
    auto it = m_textWidths.find(text);
    if (it != m_textWidths.end()) return it->second;
    int width = static_cast<int>(m_list.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
    m_textWidths.emplace(text, width);
    return width;
}

void CListCtrlRows::AutoSizeAll() {
    for (int column = 0; column < kColumns; ++column) m_list.SetColumnWidth(column, LVSCW_AUTOSIZE);
}

bool CListCtrlRows::FindMargins() {
    // A hidden control of the same kind, styles and font, holding one row of known texts.
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_list.m_hWnd, GWL_STYLE));
    HWND probe = ::CreateWindowExA(0, WC_LISTVIEWA, "", (style & ~WS_VISIBLE & ~WS_CHILD) | WS_POPUP, 0, 0, 200,
                                   100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!probe) return false;
    CListCtrl copy;
    copy.Attach(probe);
    copy.SetExtendedStyle(m_list.GetExtendedStyle());
    copy.SetFont(m_hFontMeasured, false);
    const char* sample = "Melodeck";
    for (int column = 0; column < kColumns; ++column) copy.InsertColumn(column, "", LVCFMT_LEFT, 10);
    copy.InsertItem(0, sample);
    for (int column = 1; column < kColumns; ++column) copy.SetItemText(0, column, sample);
    int width = static_cast<int>(copy.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(sample)));
    for (int column = 0; column < kColumns; ++column) {
        copy.SetColumnWidth(column, LVSCW_AUTOSIZE);
        m_margins[column] = copy.GetColumnWidth(column) - width;
    }
    copy.Detach();
    ::DestroyWindow(probe);
    m_bMarginsKnown = true;
    return true;
}

void CListCtrlRows::BeginUpdate() {
    if (m_nUpdateDepth++ == 0) m_list.SetRedraw(false);
}

void CListCtrlRows::EndUpdate() {
    if (m_nUpdateDepth > 0 && --m_nUpdateDepth == 0) {
        m_list.SetRedraw(true);
        m_list.Invalidate();
    }
}
