#include "lists/ListCtrlRows.h"

#include <algorithm>

// The rows ask the list window for their texts when shown (LVN_GETDISPINFO), so no text is stored twice
// and reordering or changing entries needs no call per row; the texts given here only size the columns.
// Appending is all the collection does: a row inserted before others shifts no row states.
int CListCtrlRows::InsertRow(int index, const std::string& artist, const std::string& album,
                             const std::string& song) {
    if (index < 0) return -1;
    const int count = GetRowCount();
    if (index >= count) {
        index = count;
        MeasureAppended(artist, album, song);
    } else {
        m_bWidestKnown = false;
    }
    ++m_nUnshownRows;
    if (m_nUpdateDepth == 0) {
        ShowRows();
        m_list.SendMessage(LVM_REDRAWITEMS, index, count);
    }
    return index;
}

void CListCtrlRows::ShowRows() {
    if (m_nUnshownRows == 0) return;
    const int count = GetRowCount();
    const bool wasEmpty = m_list.GetItemCount() == 0;
    m_nUnshownRows = 0;
    m_list.SendMessage(LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    // The note an empty list shows must go as a whole.
    if (wasEmpty) m_list.Invalidate();
}

void CListCtrlRows::DeleteRow(int index) {
    ShowRows();
    m_list.DeleteItem(index);
    m_bWidestKnown = false;
    if (m_list.GetItemCount() == 0) m_list.Invalidate();
}

void CListCtrlRows::DeleteAllRows() {
    m_nUnshownRows = 0;
    m_list.DeleteAllItems();
    m_widest.fill(0);
    m_bMeasuredAny = false;
    m_bWidestKnown = true;
}

void CListCtrlRows::SetRowTexts(int index, const std::string&, const std::string&, const std::string&) {
    // The row asks for its new texts when painted; a batch repaints everything at its end anyway.
    if (m_nUpdateDepth == 0) m_list.SendMessage(LVM_REDRAWITEMS, index, index);
    m_bWidestKnown = false;
}

// The window draws the playing row from the collection's mark; here the old and new rows repaint.
void CListCtrlRows::SetPlayingRow(int index, bool scroll) {
    ShowRows();
    const int previous = m_nPlayingRow;
    m_nPlayingRow = index;
    const int count = m_list.GetItemCount();
    if (m_nUpdateDepth == 0) {
        if (previous >= 0 && previous < count) m_list.SendMessage(LVM_REDRAWITEMS, previous, previous);
        if (index >= 0 && index < count) m_list.SendMessage(LVM_REDRAWITEMS, index, index);
    }
    if (scroll && index >= 0 && index < count) m_list.EnsureVisible(index, false);
}

void CListCtrlRows::MeasureAppended(const std::string& artist, const std::string& album,
                                    const std::string& song) {
    // Rows appended before a font change are measured in the old font; the next fitting sees the
    // change and lets the control measure everything.
    if (!m_bFontPrepared) PrepareFont(m_list.GetFont());
    m_widest[0] = std::max(m_widest[0], TextWidth(artist));
    m_widest[1] = std::max(m_widest[1], TextWidth(album));
    m_widest[2] = std::max(m_widest[2], TextWidth(song));
    m_bMeasuredAny = true;
}

void CListCtrlRows::FitColumns() {
    ShowRows();
    HFONT font = m_list.GetFont();
    if (!m_bFontPrepared || font != m_hFontMeasured) {
        if (m_bMeasuredAny) m_bWidestKnown = false;
        PrepareFont(font);
    }
    if (!m_bMarginsKnown && !FindMargins()) {
        AutoSizeAll();
        m_bWidestKnown = false;
        return;
    }
    if (!m_bWidestKnown) {
        // Rows were removed or changed: the control measures them all once, and the widest texts
        // follow from its widths.
        AutoSizeAll();
        for (int column = 0; column < kColumns; ++column)
            m_widest[column] = m_list.GetColumnWidth(column) - m_margins[column];
        m_bWidestKnown = true;
        m_bMeasuredAny = true;
        return;
    }
    for (int column = 0; column < kColumns; ++column)
        m_list.SetColumnWidth(column, m_widest[column] + m_margins[column]);
}

void CListCtrlRows::PrepareFont(HFONT font) {
    m_bFontPrepared = true;
    m_hFontMeasured = font;
    FindCharWidths();
    m_bMarginsKnown = false;
    FindMargins();
}

void CListCtrlRows::FindCharWidths() {
    m_bCharWidths = false;
    CPINFO codePage{};
    if (!::GetCPInfo(CP_ACP, &codePage)) return;
    // In UTF-8 only the ASCII bytes are characters of their own; texts with others go to the control.
    m_nCharWidthsEnd = codePage.MaxCharSize == 1 ? 256 : 128;
    if (codePage.MaxCharSize != 1 && ::GetACP() != CP_UTF8) return;
    HDC dc = ::GetDC(m_list.m_hWnd);
    if (!dc) return;
    HGDIOBJ old = ::SelectObject(dc, m_hFontMeasured ? m_hFontMeasured : ::GetStockObject(SYSTEM_FONT));
    INT widths[256] = {};
    const bool measured = ::GetCharWidth32A(dc, 0, static_cast<UINT>(m_nCharWidthsEnd - 1), widths);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_list.m_hWnd, dc);
    if (!measured) return;
    std::copy(std::begin(widths), std::end(widths), m_charWidths.begin());
    // Pairs that kerning would close up, then every character.
    std::string sample = "AVAWATAYLTLYP.F,ToTeVaWaYoffr,";
    for (int c = 1; c < m_nCharWidthsEnd; ++c)
        sample += static_cast<char>(c);
    m_bCharWidths = true;
    m_bCharWidths = TextWidth(sample) == ControlTextWidth(sample.c_str());
}

int CListCtrlRows::TextWidth(const std::string& text) const {
    if (!m_bCharWidths) return ControlTextWidth(text.c_str());
    int width = 0;
    for (const char* c = text.c_str(); *c; ++c) {
        if (static_cast<unsigned char>(*c) >= m_nCharWidthsEnd) return ControlTextWidth(text.c_str());
        width += m_charWidths[static_cast<unsigned char>(*c)];
    }
    return width;
}

int CListCtrlRows::ControlTextWidth(const char* text) const {
    return static_cast<int>(m_list.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

void CListCtrlRows::AutoSizeAll() {
    for (int column = 0; column < kColumns; ++column) m_list.SetColumnWidth(column, LVSCW_AUTOSIZE);
}

bool CListCtrlRows::FindMargins() {
    // A hidden control of the same kind, styles and font, holding one row of known texts.
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_list.m_hWnd, GWL_STYLE)) & ~LVS_OWNERDATA;
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
        ShowRows();
        m_list.SetRedraw(true);
        m_list.Invalidate();
    }
}
