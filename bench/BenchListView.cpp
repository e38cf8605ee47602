#include "bench/BenchListView.h"

namespace {

const char kFrameClass[] = "MelodeckBenchListFrame";

const std::string& ColumnText(const MediaEntry& entry, int column) {
    switch (column) {
    case 0: return entry.m_strArtist;
    case 1: return entry.m_strAlbum;
    default: return entry.m_strSong;
    }
}

} // namespace

LRESULT CALLBACK CBenchListView::FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (HWND list = ::GetWindow(hWnd, GW_CHILD)) ::MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_NOTIFY: {
        auto* self = reinterpret_cast<CBenchListView*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (self && self->m_pEntries && info->hdr.code == LVN_GETDISPINFOA && (info->item.mask & LVIF_TEXT)) {
            const auto row = static_cast<size_t>(info->item.iItem);
            if (row < self->m_pEntries->size() && info->item.pszText && info->item.cchTextMax > 0) {
                // Up to the first zero character, as every display of a tag text.
                ::lstrcpynA(info->item.pszText, ColumnText((*self->m_pEntries)[row], info->item.iSubItem).c_str(),
                            info->item.cchTextMax);
            }
        }
        return 0;
    }
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

CBenchListView::CBenchListView(int x, int y, int width, int height, Rows rows,
                               const std::vector<MediaEntry>* entries)
    : m_rows(rows), m_pEntries(entries) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = &FrameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = kFrameClass;
    ::RegisterClassA(&frameClass);  // already registered by an earlier object: fine
    m_hFrame = ::CreateWindowExA(WS_EX_TOOLWINDOW, kFrameClass, "Bench List", WS_OVERLAPPEDWINDOW, x, y, width,
                                 height, nullptr, nullptr, instance, nullptr);
    if (!m_hFrame) return;
    ::SetWindowLongPtrA(m_hFrame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT client{};
    ::GetClientRect(m_hFrame, &client);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                  LVS_SHAREIMAGELISTS;
    if (m_rows == Rows::ownerData) style |= LVS_OWNERDATA;
    m_hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, client.right, client.bottom, m_hFrame, nullptr,
                                instance, nullptr);
    if (!m_hList) return;
    ::SendMessageA(m_hList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const char* headings[] = {"Artist", "Album", "Song"};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = 150;
        col.pszText = const_cast<char*>(headings[column]);
        col.iSubItem = column;
        ::SendMessageA(m_hList, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
    }
    ::ShowWindow(m_hFrame, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hFrame);
}

CBenchListView::~CBenchListView() {
    if (m_hFrame) ::DestroyWindow(m_hFrame);
}

int CBenchListView::GetRowCount() const {
    return static_cast<int>(::SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0));
}

void CBenchListView::SetRedraw(bool redraw) const {
    ::SendMessageA(m_hList, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
}

void CBenchListView::AppendRows(const std::vector<MediaEntry>& entries, size_t first, size_t last) const {
    int row = GetRowCount();
    if (last > entries.size()) last = entries.size();
    if (m_rows == Rows::ownerData) {
        if (last > first)
            ::SendMessageA(m_hList, LVM_SETITEMCOUNT, static_cast<WPARAM>(row) + (last - first),
                           LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        return;
    }
    for (size_t i = first; i < last; ++i, ++row) {
        // c_str() ends each text at its first zero character, as the program's rows do.
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = m_rows == Rows::callback ? LPSTR_TEXTCALLBACKA : const_cast<char*>(entries[i].m_strArtist.c_str());
        const int inserted =
            static_cast<int>(::SendMessageA(m_hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted < 0 || m_rows == Rows::callback) continue;
        LVITEMA sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<char*>(entries[i].m_strAlbum.c_str());
        ::SendMessageA(m_hList, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&sub));
        sub.iSubItem = 2;
        sub.pszText = const_cast<char*>(entries[i].m_strSong.c_str());
        ::SendMessageA(m_hList, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&sub));
    }
}

void CBenchListView::FitColumns() const {
    for (int column = 0; column < 3; ++column)
        ::SendMessageA(m_hList, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
}

void CBenchListView::DeleteAllRows() const {
    if (m_rows == Rows::ownerData)
        ::SendMessageA(m_hList, LVM_SETITEMCOUNT, 0, 0);
    else
        ::SendMessageA(m_hList, LVM_DELETEALLITEMS, 0, 0);
}

void CBenchListView::Paint() const { ::UpdateWindow(m_hList); }

void CBenchListView::Invalidate() const { ::InvalidateRect(m_hList, nullptr, TRUE); }
