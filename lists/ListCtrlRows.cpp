#include "lists/ListCtrlRows.h"

// c_str() ends each text at its first zero character, as displays of tag texts must.
int CListCtrlRows::InsertRow(int index, const std::string& artist, const std::string& album,
                             const std::string& song) {
    int row = m_list.InsertItem(index, artist.c_str());
    if (row >= 0) {
        m_list.SetItemText(row, 1, album.c_str());
        m_list.SetItemText(row, 2, song.c_str());
    }
    return row;
}

void CListCtrlRows::SetRowTexts(int index, const std::string& artist, const std::string& album,
                                const std::string& song) {
    m_list.SetItemText(index, 0, artist.c_str());
    m_list.SetItemText(index, 1, album.c_str());
    m_list.SetItemText(index, 2, song.c_str());
}

void CListCtrlRows::SelectRow(int index) {
    m_list.SetItemState(index, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(index, false);
}

void CListCtrlRows::FitColumns() {
    for (int column = 0; column < 3; ++column) m_list.SetColumnWidth(column, LVSCW_AUTOSIZE);
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
