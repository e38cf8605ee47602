#pragma once
// CPlayList: a modeless tool window showing one list of entries (the queue or the play list) in three
// columns, with the list's commands on a context menu.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "library/MP3Thread.h"
#include "library/PlayListEntries.h"
#include "lists/FindDlg.h"
#include "lists/ListCtrlRows.h"
#include "lyrics/MelodeckLyrics.h"
#include "playback/Transport.h"

#include <memory>
#include <string>
#include <vector>

class CPlayList : public CDialog, public ITransportList {
public:
    static constexpr int kQueueId = 163;
    static constexpr int kPlayListId = 164;

    CPlayList();

    // Creates the window from its template as a child-owned tool window of parent.
    virtual bool Create(int listId, CWnd* parent);
    int GetListId() const { return m_nListId; }

    // The collection. User-interface thread only, except where noted.
    void AddEntry(const MediaEntry& entry);
    void AddEntries(const std::vector<MediaEntry>& entries, bool fitColumns = true);
    void AddScannedEntry(int row, const MediaEntry& entry);
    void AddScannedEntries(const std::vector<MediaEntry>& entries);
    int GetCount() const { return m_entries.GetCount(); }
    MediaEntry GetEntryAt(int index) const { return m_entries.GetEntryAt(index); }
    std::vector<MediaEntry> GetEntries() const { return m_entries.GetEntries(); }
    int TakeAt(int index, MediaEntry& out) override { return m_entries.TakeAt(index, out); }
    int TakeRandom(MediaEntry& out) override { return m_entries.TakeRandom(out); }
    int TakeFront(MediaEntry& out) override { return m_entries.TakeFront(out); }
    // The entry whose row is drawn as playing, -1 for none.
    int GetPlayingIndex() const { return m_entries.GetPlayingIndex(); }
    void ClearPlaying() override { m_entries.ClearPlaying(); }
    void RemoveSelected();
    // Empties the list and supersedes every load still running: what they still find never shows.
    void RemoveAll();
    // The rows are rewritten in place: a selection would stay on rows now showing other entries.
    // A second click on the same column reverses the order; the header shows the direction.
    void SortByColumn(int column);

    // The Find command: opens the find window over this list, or renews its snapshot when it is open.
    void OpenFind();

    // Loads the folder tree's music files in the background; clear first empties the list. An empty
    // path (a cancelled folder chooser) does nothing.
    void LoadDirectory(const std::string& path, bool clear);
    // Appends the files of an M3U play list in the background.
    void LoadPlayListFile(const std::string& path);
    // Appends one file as one entry (its tag read in the background), whatever its extension.
    void LoadFile(const std::string& path);

    // The shutdown save: finishes loading (below), then writes the entries to this list's saved file
    // ("Queue.dat" or "Playlist.dat") in the working directory. While the start-up load is unfinished
    // the file is left as it is. False with the reason when the file could not be written (the old
    // one then stays).
    bool SaveList(std::string* error);
    // Takes every group the loaders have handed over, and waits up to timeoutMs for the start-up load
    // to end. From then on groups are kept for the save without rows: rows nobody will see are not
    // worth their time at shutdown. False when the start-up load is still unfinished.
    bool FinishLoading(DWORD timeoutMs = kFinishLoadingMs);
    static constexpr DWORD kFinishLoadingMs = 15000;

    // The one way entries reach the window from another thread: a target that posts them as owned
    // groups to the window's handle, tagged with the load generation current now. Made on the
    // user-interface thread, used from any; it fails once the window is gone, and a clearing load
    // started later makes the window drop what it still brings.
    std::unique_ptr<ILoaderTarget> MakeLoaderTarget() const;
    // Row count of the list window's list control, from any thread (-1 when the window is gone).
    static int GetRowCountOf(HWND list);

    // Sent to the main window when the user closes a list window (which only hides it).
    static UINT ListClosedMessage();

    CListCtrl m_list;
    CPlayList* m_pQueue = nullptr;  // where "Add to Queue" appends; the queue window has none
    CMelodeckSearch m_dlgFind;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;

private:
    LRESULT OnSize(int width, int height);
    LRESULT OnContextMenu(int x, int y);
    LRESULT OnPostedEntries(LPARAM lParam);
    void TakePostedGroups();
    bool StartupLoadPending() const;
    LoadTicket CurrentTicket() const;
    LRESULT OnDestroy();
    LRESULT OnFindRow(int row);
    // The playing row in bold, and a note over an empty list on how to fill it.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void DrawEmptyNote(HDC dc);
    HFONT PlayingFont();
    void ShowSortArrow();
    void OnAddToQueue();
    void OnLyrics();
    void OnProperties();
    void OnListKey(WORD key);
    void OnGetRowText(LVITEMA& item) const;
    LRESULT OnFindRowByText(UINT flags, const std::string& text, int start) const;
    void RefreshFind();
    void OnLoadDirectory(bool clear);
    void OnLoadPlayList(bool clear);
    void Hide();

    int m_nListId = 0;
    CListCtrlRows m_rows;
    CPlayListEntries m_entries;
    std::shared_ptr<CLoadGeneration> m_pGeneration = std::make_shared<CLoadGeneration>();
    unsigned m_nStartupGeneration = 0;
    bool m_bStartupLoaded = false;
    bool m_bFinishing = false;
    std::vector<MediaEntry> m_unshown;  // handed over after FinishLoading: saved after the rows' entries
    CMelodeckLyrics m_dlgLyrics;
    bool m_bHoldFindRefresh = false;
    CFont m_fontPlaying;
    HFONT m_hPlayingFontBase = nullptr;  // the list font m_fontPlaying was made from
};

// The key that orders a text as the user's locale does, without regard to case.
std::string LocaleSortKey(std::string_view text);
