#pragma once
// A bare report-style list view with the program's three columns, alone in a top-level window of this
// process: the floor against which the program's own list windows are measured, and the ground on
// which other ways of keeping the rows are tried. No class library in between: plain messages.
#include "library/MediaEntry.h"

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <vector>

class CBenchListView {
public:
    enum class Rows {
        texts,     // each row holds its three texts (as the program's rows do)
        callback,  // each row is inserted with callback texts, asked for when shown
        ownerData  // LVS_OWNERDATA: the list holds a count only, the texts are asked for when shown
    };

    // Creates and shows the window at the position, the list view filling its client area. The
    // callback kinds take their texts from entries, which must outlive the object.
    CBenchListView(int x, int y, int width, int height, Rows rows = Rows::texts,
                   const std::vector<MediaEntry>* entries = nullptr);
    ~CBenchListView();
    CBenchListView(const CBenchListView&) = delete;
    CBenchListView& operator=(const CBenchListView&) = delete;

    bool IsValid() const { return m_hList != nullptr; }
    HWND List() const { return m_hList; }
    int GetRowCount() const;

    void SetRedraw(bool redraw) const;
    // Appends rows for entries [first, last). For the callback kinds the texts come from the entries
    // given at construction at the same index; entries is then used for its count only.
    void AppendRows(const std::vector<MediaEntry>& entries, size_t first, size_t last) const;
    // The columns fitted to their content, 0 to 2.
    void FitColumns() const;
    void DeleteAllRows() const;
    // Paints whatever is invalid now.
    void Paint() const;
    void Invalidate() const;

private:
    static LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    Rows m_rows;
    const std::vector<MediaEntry>* m_pEntries;
    HWND m_hFrame = nullptr;
    HWND m_hList = nullptr;
};
