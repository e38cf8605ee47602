#pragma once
// CMelodeckSearch: the modeless "Find" window of a list window. Each OK press selects the next row of a
// snapshot of the list's entries whose chosen field holds the text, by sending the list window the
// select-row message; it never touches the list control itself.
//
// In the list window (its owner):
//   Find command:        m_dlgFind.Open(this, GetEntries());
//   rows changed:        if (m_dlgFind.IsWindowVisible()) m_dlgFind.SetItems(GetEntries());
//   WindowProc:          if (message == CMelodeckSearch::SelectRowMessage()) return OnFindRow(lParam);
//   OnFindRow(row):      select row (clearing its focus), EnsureVisible(row, false), return 0.
#include "framework/Dialog.h"
#include "lists/FindRules.h"

#include <string>
#include <vector>

class CMelodeckSearch : public CDialog {
public:
    CMelodeckSearch();

    // The registered "{79B89405-B6A4-4a8b-BD52-EBBF5EF22159}": wParam 0, lParam the row to select and
    // show. Sent synchronously to the parent, so the row is selected before the press returns.
    static UINT SelectRowMessage();

    // The Find command: a visible window only takes the fresh snapshot; otherwise the window is created
    // (the first time) over parent, shown, given the snapshot and captioned "Find in Play List".
    bool Open(CWnd* parent, std::vector<MediaEntry> items);
    // A fresh snapshot in row order; the next press starts at the first row.
    void SetItems(std::vector<MediaEntry> items) { m_search.SetItems(std::move(items)); }

    // The next press: 0 until a hit, then one past the last row found.
    int GetNextRow() const { return m_search.GetNextRow(); }

    std::string m_strFindText;
    int m_nFindBy = findByArtist;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // The window stays open: OK searches, only Cancel hides it.
    void OnOK() override;

private:
    CFindRules m_search;
};
