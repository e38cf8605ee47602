#pragma once
// The rows that mirror a collection of entries: a report-style list control with the three columns
// Artist (0), Album (1) and Song (2). The collection drives it through this interface so that its
// rules can be tested without a window; the list window supplies an adapter over its list control.
//
// Row indices are zero-based. A text is shown up to its first zero character: texts read from a tag
// carry a terminating zero inside the string, and the adapter must not show what follows it.
#include <string>

class IListRows {
public:
    virtual ~IListRows() = default;

    virtual int GetRowCount() const = 0;

    // Inserts a row showing the three texts and returns the index actually used, or -1 on failure.
    // Like a list control, an index at or beyond the row count places the row at the end.
    virtual int InsertRow(int index, const std::string& artist, const std::string& album,
                          const std::string& song) = 0;
    virtual void DeleteRow(int index) = 0;
    virtual void DeleteAllRows() = 0;
    virtual void SetRowTexts(int index, const std::string& artist, const std::string& album,
                             const std::string& song) = 0;

    // The row of the entry playing is now index (-1: none). It is drawn marked; the selection is the
    // user's and stays as it is. With scroll the list scrolls so that the row is fully visible.
    virtual void SetPlayingRow(int index, bool scroll) = 0;
    // The first selected row searching from the top, or -1 when no row is selected.
    virtual int GetFirstSelectedRow() const = 0;

    // Sizes columns 0, 1 and 2, in that order, to fit their content.
    virtual void FitColumns() = 0;

    // Bracket a batch of row operations (a list control stops redrawing in between), so that bulk
    // changes do not repaint once per row. Calls may nest; every BeginUpdate has one EndUpdate.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};
