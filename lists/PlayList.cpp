#include "lists/PlayList.h"

#include "framework/App.h"
#include "framework/CodePage.h"
#include "framework/Debug.h"
#include "framework/Exception.h"
#include "framework/Menu.h"
#include "framework/Thread.h"
#include "library/M3ULines.h"
#include "library/MP3Thread.h"
#include "library/SavedList.h"
#include "library/TextFileDialog.h"
#include "lists/FolderDialog.h"
#include "lists/TagEditorDlg.h"
#include "res/resource.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>

namespace {

std::string AnsiText(const wchar_t* text) {
    if (!text) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string ansi(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(size - 1));
    return ansi;
}

// A group of entries handed over by a loader; the message owns it.
const UINT kPostedEntriesMessage = WM_APP + 101;

enum class PostedKind { saved, savedAndFit, scanned, savedEnd };

struct PostedEntries {
    unsigned generation;
    PostedKind kind;
    std::vector<MediaEntry> entries;
};

bool PostEntriesTo(HWND list, unsigned generation, std::vector<MediaEntry>&& entries, PostedKind kind) {
    auto posted = std::make_unique<PostedEntries>(PostedEntries{generation, kind, std::move(entries)});
    if (!list || !::PostMessageA(list, kPostedEntriesMessage, 0, reinterpret_cast<LPARAM>(posted.get())))
        return false;
    posted.release();  // the message owns it now
    return true;
}

// A loader's view of its list window: the window handle only, never the object, which the
// user-interface thread may destroy at any moment; a destroyed window refuses the entries. The groups
// of one target arrive in the order posted.
class CListWindowTarget : public ILoaderTarget {
public:
    CListWindowTarget(HWND list, unsigned generation) : m_hList(list), m_nGeneration(generation) {}
    bool AddEntries(std::vector<MediaEntry>&& entries, bool fitColumns) override {
        return PostEntriesTo(m_hList, m_nGeneration, std::move(entries),
                             fitColumns ? PostedKind::savedAndFit : PostedKind::saved);
    }
    bool AddScannedEntries(std::vector<MediaEntry>&& entries) override {
        return PostEntriesTo(m_hList, m_nGeneration, std::move(entries), PostedKind::scanned);
    }
    // Tells the window that the saved file has been read to its end.
    void SavedFileDone() { PostEntriesTo(m_hList, m_nGeneration, {}, PostedKind::savedEnd); }

private:
    HWND m_hList;
    unsigned m_nGeneration;
};

enum class LoadKind { savedFile, directory, playList, file };

// What one loading thread is asked to do; it owns the block from its start.
struct LoadRequest {
    HWND list;
    int listId;
    LoadKind kind;
    std::string text;
    LoadTicket ticket;
};

unsigned LoaderThread(void* param) {
    std::unique_ptr<LoadRequest> request(static_cast<LoadRequest*>(param));
    CListWindowTarget target(request->list, request->ticket.number);
    CMP3Thread worker(target, request->ticket);
    switch (request->kind) {
    case LoadKind::savedFile:
        worker.LoadSaved(request->listId);
        if (!worker.TargetGone() && !worker.Superseded()) target.SavedFileDone();
        break;
    case LoadKind::directory: worker.ScanDirectory(request->text); break;
    case LoadKind::playList: worker.LoadM3U(request->text); break;
    case LoadKind::file: {
        const std::string& path = request->text;
        std::string name = path.substr(path.find_last_of("\\/") + 1);
        worker.AddFile(path, name, ExtensionOfName(name));
        worker.Flush();
        break;
    }
    }
    return 1;
}

// One loading thread per request, at idle priority, never waited for.
void StartLoader(HWND list, int listId, LoadKind kind, const std::string& text, LoadTicket ticket) {
    auto* request = new LoadRequest{list, listId, kind, text, std::move(ticket)};
    if (!BeginWorkerThread(&LoaderThread, request, THREAD_PRIORITY_IDLE)) {
        delete request;
        DebugOutput("Could not start a loading thread");
    }
}

}  // namespace

CPlayList::CPlayList() : CDialog(IDD_PLAYLIST), m_rows(m_list), m_entries(m_rows) {
    m_entries.SetSortKeyMaker(&LocaleSortKey);
    m_entries.SetChangeCallback([this] {
        if (!m_bHoldFindRefresh) RefreshFind();
    });
}

// An open find window searches what the rows show, so that it never sends a row that is gone.
void CPlayList::RefreshFind() {
    if (m_dlgFind.IsWindowVisible()) m_dlgFind.SetItems(GetEntries());
}

// One fresh snapshot after all the removals rather than one per row: nothing can search in between,
// and a snapshot per row would make removing many rows from a long list quadratic.
void CPlayList::RemoveSelected() {
    m_bHoldFindRefresh = true;
    const int before = GetCount();
    try {
        m_entries.RemoveSelected();
    } catch (...) {
        m_bHoldFindRefresh = false;
        RefreshFind();
        throw;
    }
    m_bHoldFindRefresh = false;
    if (GetCount() != before) RefreshFind();
}

void CPlayList::SortByColumn(int column) {
    if (column < 0 || column > 2 || GetCount() == 0) return;
    m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_entries.SortByColumn(column);
    ShowSortArrow();
}

void CPlayList::OpenFind() {
    if (!m_dlgFind.Open(this, GetEntries())) DebugOutput("Could not open the find window");
}

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
    m_nStartupGeneration = m_pGeneration->Current();
    StartLoader(m_hWnd, m_nListId, LoadKind::savedFile, std::string(), CurrentTicket());
    return true;
}

LoadTicket CPlayList::CurrentTicket() const { return LoadTicket{m_pGeneration, m_pGeneration->Current()}; }

std::unique_ptr<ILoaderTarget> CPlayList::MakeLoaderTarget() const {
    return std::make_unique<CListWindowTarget>(m_hWnd, m_pGeneration->Current());
}

// Emptying the list is a new start: a load begun before it would otherwise go on filling the list
// the user has just cleared (or has just filled from another folder).
void CPlayList::RemoveAll() {
    m_pGeneration->Supersede();
    m_entries.RemoveAll();
    m_unshown.clear();
}

void CPlayList::LoadDirectory(const std::string& path, bool clear) {
    if (path.empty()) return;
    if (clear) RemoveAll();
    StartLoader(m_hWnd, m_nListId, LoadKind::directory, path, CurrentTicket());
}

void CPlayList::LoadPlayListFile(const std::string& path) {
    try {
        StartLoader(m_hWnd, m_nListId, LoadKind::playList, path, CurrentTicket());
    } catch (const std::exception& e) {
        DebugOutput(e.what());
    }
}

void CPlayList::LoadFile(const std::string& path) {
    if (path.empty()) return;
    StartLoader(m_hWnd, m_nListId, LoadKind::file, path, CurrentTicket());
}

// Until the start-up load has ended, the list holds only part of its file; a clearing load ends the
// wait, since the user then chose to replace it.
bool CPlayList::StartupLoadPending() const {
    return !m_bStartupLoaded && m_pGeneration->Current() == m_nStartupGeneration;
}

bool CPlayList::FinishLoading(DWORD timeoutMs) {
    m_bFinishing = true;
    const DWORD start = ::GetTickCount();
    for (;;) {
        TakePostedGroups();
        if (!StartupLoadPending()) return true;
        const DWORD waited = ::GetTickCount() - start;
        if (!m_hWnd || !::IsWindow(m_hWnd) || waited >= timeoutMs) return false;
        // Wakes for each posted group; the slice only bounds a missed wake.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - waited, 50), QS_POSTMESSAGE);
    }
}

void CPlayList::TakePostedGroups() {
    // Never with a null handle: that would take the other list's groups too.
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, kPostedEntriesMessage, kPostedEntriesMessage, PM_REMOVE))
        OnPostedEntries(msg.lParam);
}

bool CPlayList::SaveList(std::string* error) {
    if (!FinishLoading()) {
        DebugOutputF("%s: its loading never ended; the file stays as it was", SavedListFileName(m_nListId));
        return true;
    }
    std::vector<MediaEntry> entries = GetEntries();
    entries.insert(entries.end(), m_unshown.begin(), m_unshown.end());
    return WriteSavedList(SavedListPath(m_nListId), entries, error);
}

void CPlayList::AddEntry(const MediaEntry& entry) { m_entries.AddEntry(entry); }

void CPlayList::AddEntries(const std::vector<MediaEntry>& entries, bool fitColumns) {
    m_entries.AddEntries(entries, fitColumns);
}

void CPlayList::AddScannedEntry(int row, const MediaEntry& entry) { m_entries.AddScannedEntry(row, entry); }

void CPlayList::AddScannedEntries(const std::vector<MediaEntry>& entries) { m_entries.AddScannedEntries(entries); }

LRESULT CPlayList::OnPostedEntries(LPARAM lParam) {
    std::unique_ptr<PostedEntries> posted(reinterpret_cast<PostedEntries*>(lParam));
    if (posted->kind == PostedKind::savedEnd) {
        m_bStartupLoaded = true;
        return 0;
    }
    if (posted->generation != m_pGeneration->Current()) return 0;  // superseded by a clearing load
    if (m_bFinishing) {
        m_unshown.insert(m_unshown.end(), std::make_move_iterator(posted->entries.begin()),
                         std::make_move_iterator(posted->entries.end()));
        return 0;
    }
    switch (posted->kind) {
    case PostedKind::saved: m_entries.AddEntries(std::move(posted->entries), false); break;
    case PostedKind::savedAndFit: m_entries.AddEntries(std::move(posted->entries), true); break;
    case PostedKind::scanned: m_entries.AddScannedEntries(std::move(posted->entries)); break;
    case PostedKind::savedEnd: break;
    }
    return 0;
}

// The owner may save only after this window is gone (Wine destroys owned windows first): the groups
// still queued, and the rest of the start-up load, must not go with the window.
LRESULT CPlayList::OnDestroy() {
    // Our own windows go while their objects are whole; the objects' destructors only let go.
    if (m_dlgFind.IsWindow()) m_dlgFind.DestroyWindow();
    if (m_dlgLyrics.IsWindow()) m_dlgLyrics.DestroyWindow();
    FinishLoading();
    return Default();
}

int CPlayList::GetRowCountOf(HWND list) {
    HWND control = list ? ::GetDlgItem(list, IDC_LIST) : nullptr;
    if (!control) return -1;
    return static_cast<int>(::SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
}

LRESULT CPlayList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CMelodeckSearch::SelectRowMessage()) return OnFindRow(static_cast<int>(lParam));
    switch (message) {
    case WM_SIZE: return OnSize(LOWORD(lParam), HIWORD(lParam));
    case WM_CONTEXTMENU: return OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case kPostedEntriesMessage: return OnPostedEntries(lParam);
    case WM_DESTROY: return OnDestroy();
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CPlayList::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_LIST_ADDTOQUEUE: OnAddToQueue(); return true;
    case ID_LIST_REMOVE: RemoveSelected(); return true;
    case ID_LIST_REMOVEALL: RemoveAll(); return true;
    case ID_LIST_ADDDIRECTORY: OnLoadDirectory(false); return true;
    case ID_LIST_LOADDIRECTORY: OnLoadDirectory(true); return true;
    case ID_LIST_ADDPLAYLIST: OnLoadPlayList(false); return true;
    case ID_LIST_LOADPLAYLIST: OnLoadPlayList(true); return true;
    case ID_LIST_FIND: OpenFind(); return true;
    case IDC_FINDBY: OpenFind(); return true;
    case ID_LIST_LYRICS: OnLyrics(); return true;
    case ID_LIST_PROPERTIES: OnProperties(); return true;
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
    case LVN_GETDISPINFOA:
        OnGetRowText(reinterpret_cast<NMLVDISPINFOA*>(header)->item);
        *result = 0;
        return true;
    case LVN_ODFINDITEMA: {
        const auto* find = reinterpret_cast<NMLVFINDITEMA*>(header);
        *result = OnFindRowByText(find->lvfi.flags, find->lvfi.psz ? find->lvfi.psz : "", find->iStart);
        return true;
    }
    case LVN_ODFINDITEMW: {
        // Wine's list view asks in wide characters whatever format the window takes.
        const auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
        *result = OnFindRowByText(find->lvfi.flags, AnsiText(find->lvfi.psz), find->iStart);
        return true;
    }
    case LVN_KEYDOWN:
        OnListKey(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
        *result = 0;
        return true;
    case NM_CUSTOMDRAW:
        *result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        return true;
    }
    return false;
}

LRESULT CPlayList::OnSize(int width, int height) {
    Default();
    if (m_list.IsWindow()) {
        try {
            m_list.MoveWindow(3, 3, width - 6, height - 6, true);
            if (GetCount() == 0) m_list.Invalidate();  // the empty list's note is centred
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

// One batch, however many rows are selected: the queue repaints and fits its columns once.
void CPlayList::OnAddToQueue() {
    if (!m_pQueue) return;  // the queue window: nothing to add to
    std::vector<MediaEntry> picked;
    picked.reserve(static_cast<size_t>(m_list.GetSelectedCount()));
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED)) {
        if (const MediaEntry* entry = m_entries.FindEntry(row)) picked.push_back(*entry);
    }
    m_pQueue->AddEntries(picked);
}

// A row shows its entry's texts up to their first zero character.
void CPlayList::OnGetRowText(LVITEMA& item) const {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const MediaEntry* entry = m_entries.FindEntry(item.iItem);
    const std::string* text = nullptr;
    if (entry) {
        switch (item.iSubItem) {
        case 0: text = &entry->m_strArtist; break;
        case 1: text = &entry->m_strAlbum; break;
        case 2: text = &entry->m_strSong; break;
        }
    }
    const std::string shown =
        text ? CutToWholeChars(text->c_str(), static_cast<size_t>(item.cchTextMax - 1)) : "";
    std::memcpy(item.pszText, shown.c_str(), shown.size() + 1);
}

// Typing in the list finds the next row whose artist starts with the letters typed, as the control
// itself would search its own texts: without regard to case, from the start row, wrapping if asked.
LRESULT CPlayList::OnFindRowByText(UINT flags, const std::string& text, int start) const {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) return -1;
    const int count = m_entries.GetCount();
    if (count == 0) return -1;
    if (start < 0 || start >= count) start = 0;
    // Compared in UTF-16 characters, so that a byte count never ends inside a character.
    const std::u16string typed = AnsiToWide(text);
    const int wanted = static_cast<int>(typed.size());
    for (int i = 0; i < count; ++i) {
        const int row = start + i;
        if (row >= count && !(flags & LVFI_WRAP)) break;
        const std::string& artistText = m_entries.FindEntry(row % count)->m_strArtist;
        const std::u16string artist = AnsiToWide(artistText.c_str());
        const int length = static_cast<int>(artist.size());
        const bool partial = (flags & LVFI_PARTIAL) != 0;
        if (partial ? length < wanted : length != wanted) continue;
        if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                             reinterpret_cast<const wchar_t*>(artist.c_str()), wanted,
                             reinterpret_cast<const wchar_t*>(typed.c_str()), wanted) == CSTR_EQUAL)
            return row % count;
    }
    return -1;
}

// Delete removes the selected rows, as "Remove" does; Ctrl+A selects every row.
void CPlayList::OnListKey(WORD key) {
    if (key == VK_DELETE)
        RemoveSelected();
    else if (key == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_MENU) & 0x8000))
        m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

// The find window found this row of its snapshot; a row the list no longer has is ignored. The hit
// becomes the selection and the focused row, so that a command that follows acts on it alone.
LRESULT CPlayList::OnFindRow(int row) {
    if (row < 0 || row >= m_list.GetItemCount()) return 0;
    m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SendMessage(LVM_SETSELECTIONMARK, 0, row);
    m_list.EnsureVisible(row, false);
    return 0;
}

void CPlayList::OnLyrics() {
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || row >= GetCount()) return;
    if (!m_dlgLyrics.Open(this, GetEntryAt(row))) DebugOutput("Could not open the lyrics window");
}

// The row changes only when the file holds the new texts; the editor has told the user otherwise.
void CPlayList::OnProperties() {
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || row >= GetCount()) return;
    MediaEntry entry = GetEntryAt(row);
    CPropertiesDlg dialog(entry, this);
    if (dialog.DoModal() == IDOK && dialog.SaveTag(entry)) {
        // The list may have changed while the editor was open (a load, the player taking the front).
        if (row < GetCount() && GetEntryAt(row).m_strPath == entry.m_strPath) m_entries.SetEntryAt(row, entry);
    }
    if (row < m_list.GetItemCount()) m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CPlayList::OnLoadDirectory(bool clear) {
    CFolderDialog chooser(m_hWnd);
    LoadDirectory(chooser.Browse(CFolderDialog::kListTitle), clear);
}

void CPlayList::OnLoadPlayList(bool clear) {
    // The saved lists live in the working directory, so the dialog must leave it where it is.
    CTextFileDialog dialog(false, "m3u", kPlayListFilter, OFN_NOCHANGEDIR, m_hWnd);
    if (!dialog.DoModal()) return;
    if (clear) RemoveAll();
    LoadPlayListFile(dialog.GetPathName());
}

void CPlayList::OnOK() { OnAddToQueue(); }

void CPlayList::OnCancel() { Hide(); }

void CPlayList::Hide() {
    ShowWindow(SW_HIDE);
    if (CWnd* main = AfxGetMainWnd())
        ::SendMessageA(main->m_hWnd, ListClosedMessage(), 0, m_nListId);
}
