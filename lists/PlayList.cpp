#include "lists/PlayList.h"

#include "framework/App.h"
#include "framework/Debug.h"
#include "framework/Exception.h"
#include "framework/Menu.h"
#include "res/resource.h"

#include <windowsx.h>

#include <exception>

namespace {

// Entries handed over from a worker thread, carried by a synchronous message.
const UINT kAddRequestMessage = WM_APP + 100;

struct AddRequest {
    enum Kind { oneEntry, manyEntries, scannedEntry } kind;
    const MediaEntry* entry;
    const std::vector<MediaEntry>* entries;
    int row;
};

bool SendAddRequest(HWND list, const AddRequest& request) {
    if (!list || !::IsWindow(list)) return false;
    // The receiving thread copies what it needs before the call returns, so the request can live on
    // the sender's stack. A window destroyed meanwhile answers 0.
    return ::SendMessageA(list, kAddRequestMessage, 0, reinterpret_cast<LPARAM>(&request)) == 1;
}

}  // namespace

CPlayList::CPlayList() : CDialog(IDD_PLAYLIST), m_rows(m_list), m_entries(m_rows) {}

UINT CPlayList::ListClosedMessage() {
    static const CRegisteredMessage message("BC557768-46BB-44fd-9A02-126381B3DF1E");
    return message;
}

bool CPlayList::Create(int listId, CWnd* parent) {
    m_nListId = listId;
    return CDialog::Create(IDD_PLAYLIST, parent);
}

void CPlayList::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST, m_list);
}

bool CPlayList::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.ModifyStyle(0, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, "Artist", LVCFMT_LEFT, 150);
    m_list.InsertColumn(1, "Album", LVCFMT_LEFT, 150);
    m_list.InsertColumn(2, "Song", LVCFMT_LEFT, 150);
    return true;
}

void CPlayList::AddEntry(const MediaEntry& entry) { m_entries.AddEntry(entry); }

void CPlayList::AddEntries(const std::vector<MediaEntry>& entries) { m_entries.AddEntries(entries); }

void CPlayList::AddScannedEntry(int row, const MediaEntry& entry) { m_entries.AddScannedEntry(row, entry); }

bool CPlayList::AddEntryTo(HWND list, const MediaEntry& entry) {
    return SendAddRequest(list, AddRequest{AddRequest::oneEntry, &entry, nullptr, 0});
}

bool CPlayList::AddEntriesTo(HWND list, const std::vector<MediaEntry>& entries) {
    return SendAddRequest(list, AddRequest{AddRequest::manyEntries, nullptr, &entries, 0});
}

bool CPlayList::AddScannedEntryTo(HWND list, int row, const MediaEntry& entry) {
    return SendAddRequest(list, AddRequest{AddRequest::scannedEntry, &entry, nullptr, row});
}

int CPlayList::GetRowCountOf(HWND list) {
    HWND control = list ? ::GetDlgItem(list, IDC_LIST) : nullptr;
    if (!control) return -1;
    return static_cast<int>(::SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
}

LRESULT CPlayList::OnAddRequest(LPARAM lParam) {
    const auto& request = *reinterpret_cast<const AddRequest*>(lParam);
    switch (request.kind) {
    case AddRequest::oneEntry: AddEntry(*request.entry); break;
    case AddRequest::manyEntries: AddEntries(*request.entries); break;
    case AddRequest::scannedEntry: AddScannedEntry(request.row, *request.entry); break;
    }
    return 1;
}

LRESULT CPlayList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: return OnSize(LOWORD(lParam), HIWORD(lParam));
    case WM_CONTEXTMENU: return OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case kAddRequestMessage: return OnAddRequest(lParam);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CPlayList::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_LIST_ADDTOQUEUE: OnAddToQueue(); return true;
    case ID_LIST_REMOVE: RemoveSelected(); return true;
    case ID_LIST_REMOVEALL: RemoveAll(); return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool CPlayList::OnNotify(NMHDR* header, LRESULT* result) {
    if (header->idFrom != IDC_LIST) return false;
    switch (header->code) {
    case NM_DBLCLK:
        OnAddToQueue();
        *result = 0;
        return true;
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        *result = 0;
        return true;
    }
    return false;
}

LRESULT CPlayList::OnSize(int width, int height) {
    Default();
    if (m_list.IsWindow()) {
        try {
            m_list.MoveWindow(3, 3, width - 6, height - 6, true);
        } catch (const std::exception&) {
            MessageBox("Error Re-Sizing List Box");
        }
    }
    return 0;
}

LRESULT CPlayList::OnContextMenu(int x, int y) {
    if (!IsWindow()) return 0;
    CMenu menu;
    if (!menu.LoadMenu(AfxGetInstanceHandle(), IDR_LISTMENU)) return 0;
    HMENU popup = menu.GetSubMenu(0);
    if (!popup) return 0;
    // The queue cannot add to itself.
    if (m_nListId == kQueueId) ::DeleteMenu(popup, 0, MF_BYPOSITION);
    if (x == -1 && y == -1) {  // from the keyboard: open at the list's top-left corner
        RECT rect = m_list.GetWindowRect();
        x = rect.left;
        y = rect.top;
    }
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    return 0;
}

void CPlayList::OnAddToQueue() {
    if (!m_pQueue) return;  // the queue window: nothing to add to
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
        m_pQueue->AddEntry(GetEntryAt(row));
}

void CPlayList::OnOK() { OnAddToQueue(); }

void CPlayList::OnCancel() { Hide(); }

void CPlayList::Hide() {
    ShowWindow(SW_HIDE);
    if (CWnd* main = AfxGetMainWnd())
        ::SendMessageA(main->m_hWnd, ListClosedMessage(), 0, m_nListId);
}
