// What the list window adds to its list control's own drawing: the playing row in bold, a note over
// an empty list, and the sort arrow in the header.
#include "lists/PlayList.h"

#include <commctrl.h>

namespace {

const char kEmptyPlayListNote[] =
    "The play list is empty.\r\n\r\nRight-click here to add a folder or a play list, use the File menu, "
    "or drop music files here.";
const char kEmptyQueueNote[] =
    "The queue is empty.\r\n\r\nDouble-click songs in the play list to queue them, or drop music files here.";

}  // namespace

std::string LocaleSortKey(std::string_view text) {
    if (text.empty()) return {};
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(text.size());
    // Most keys fit at once; a longer one is measured first.
    char buffer[512];
    int size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, buffer, sizeof buffer);
    if (size > 0) return std::string(buffer, static_cast<size_t>(size));
    size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
    if (size <= 0) return CaseBlindKey(text);
    std::string key(static_cast<size_t>(size), '\0');
    size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, &key[0], size);
    if (size <= 0) return CaseBlindKey(text);
    key.resize(static_cast<size_t>(size));
    return key;
}

LRESULT CPlayList::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
        if (static_cast<int>(draw.nmcd.dwItemSpec) != m_entries.GetPlayingIndex()) return CDRF_DODEFAULT;
        if (HFONT bold = PlayingFont()) ::SelectObject(draw.nmcd.hdc, bold);
        return CDRF_NEWFONT;
    case CDDS_POSTPAINT:
        if (GetCount() == 0) DrawEmptyNote(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    }
    return CDRF_DODEFAULT;
}

// The list's own font in bold, made again when the user picks another list font.
HFONT CPlayList::PlayingFont() {
    HFONT base = m_list.GetFont();
    if (m_fontPlaying.IsNull() || base != m_hPlayingFontBase) {
        LOGFONTA description{};
        HGDIOBJ source = base ? static_cast<HGDIOBJ>(base) : ::GetStockObject(DEFAULT_GUI_FONT);
        if (::GetObjectA(source, sizeof description, &description) != sizeof description) return nullptr;
        description.lfWeight = FW_BOLD;
        m_fontPlaying.CreateFontIndirect(description);
        m_hPlayingFontBase = base;
    }
    return m_fontPlaying;
}

void CPlayList::DrawEmptyNote(HDC dc) {
    RECT area = m_list.GetClientRect();
    HWND header = reinterpret_cast<HWND>(m_list.SendMessage(LVM_GETHEADER));
    RECT headerRect{};
    if (header && ::IsWindowVisible(header) && ::GetWindowRect(header, &headerRect))
        area.top += headerRect.bottom - headerRect.top;
    ::InflateRect(&area, -12, -12);
    if (area.right <= area.left || area.bottom <= area.top) return;
    HFONT font = m_list.GetFont();
    CSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    const char* note = m_nListId == kQueueId ? kEmptyQueueNote : kEmptyPlayListNote;
    ::DrawTextA(dc, note, -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CPlayList::ShowSortArrow() {
    HWND header = reinterpret_cast<HWND>(m_list.SendMessage(LVM_GETHEADER));
    if (!header) return;
    const int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < count; ++column) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        if (!::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item))) continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == m_entries.GetSortColumn()) item.fmt |= m_entries.IsSortDescending() ? HDF_SORTDOWN : HDF_SORTUP;
        ::SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
    }
}
