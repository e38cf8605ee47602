#pragma once
// The rows of a collection, shown by a report-style list control of the owner-data kind: the control
// keeps a row count and the rows' states, and asks the window for every text it shows.
#include "framework/Controls.h"
#include "library/ListRows.h"

#include <array>
#include <string>

class CListCtrlRows : public IListRows {
public:
    explicit CListCtrlRows(CListCtrl& list) : m_list(list) {}

    int GetRowCount() const override { return m_list.GetItemCount() + m_nUnshownRows; }
    int InsertRow(int index, const std::string& artist, const std::string& album,
                  const std::string& song) override;
    void DeleteRow(int index) override;
    void DeleteAllRows() override;
    void SetRowTexts(int index, const std::string& artist, const std::string& album,
                     const std::string& song) override;
    void SetPlayingRow(int index, bool scroll) override;
    int GetFirstSelectedRow() const override { return m_list.GetNextItem(-1, LVNI_SELECTED); }
    // Sizes each column as the control's automatic sizing does (its widest text plus the control's
    // margin). Appended rows are measured as they come, from a table of character widths, so a fitting
    // costs nothing per row and no texts are kept for it.
    void FitColumns() override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    static constexpr int kColumns = 3;

    // Gives the control the rows appended since the last call: a batch sets the count once.
    void ShowRows();
    void MeasureAppended(const std::string& artist, const std::string& album, const std::string& song);
    // Takes the font's character widths and the control's margins for it.
    void PrepareFont(HFONT font);
    // The character widths of a single-byte code page, kept only where their sum is the control's own
    // measure of a text (no kerning, no overhang), checked on a sample of every character.
    void FindCharWidths();
    int TextWidth(const std::string& text) const;
    int ControlTextWidth(const char* text) const;
    // The margin the control's automatic sizing adds to the widest text of each column, found once
    // per font on a hidden one-row copy of the control.
    bool FindMargins();
    void AutoSizeAll();

    CListCtrl& m_list;
    int m_nUpdateDepth = 0;
    int m_nUnshownRows = 0;
    int m_nPlayingRow = -1;

    bool m_bFontPrepared = false;
    HFONT m_hFontMeasured = nullptr;                      // the font the widths below were taken with
    std::array<int, 256> m_charWidths{};
    bool m_bCharWidths = false;                           // else each text is measured by the control
    int m_nCharWidthsEnd = 256;                           // bytes from here on are measured by the control
    std::array<int, kColumns> m_margins{};
    bool m_bMarginsKnown = false;
    std::array<int, kColumns> m_widest{};                 // widest text of each column so far
    bool m_bMeasuredAny = false;                          // m_widest holds measured rows
    bool m_bWidestKnown = true;                           // false after a change other than appending
};
