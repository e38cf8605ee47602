#pragma once
// The rows of a collection, shown by a report-style list control.
#include "framework/Controls.h"
#include "library/ListRows.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

class CListCtrlRows : public IListRows {
public:
    explicit CListCtrlRows(CListCtrl& list) : m_list(list) {}

    int GetRowCount() const override { return m_list.GetItemCount(); }
    int InsertRow(int index, const std::string& artist, const std::string& album,
                  const std::string& song) override;
    void DeleteRow(int index) override;
    void DeleteAllRows() override;
    void SetRowTexts(int index, const std::string& artist, const std::string& album,
                     const std::string& song) override;
    void SelectRow(int index) override;
    int GetFirstSelectedRow() const override { return m_list.GetNextItem(-1, LVNI_SELECTED); }
    // Sizes each column as the control's automatic sizing does (its widest text plus the control's
    // margin), measuring only the rows appended since the last fitting: fitting after every added
    // row then costs in proportion to the rows added, not to the whole list.
    void FitColumns() override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    static constexpr int kColumns = 3;

    int TextWidth(const std::string& text);
    // The margin the control's automatic sizing adds to the widest text of each column, found once
    // per font on a hidden one-row copy of the control.
    bool FindMargins();
    void AutoSizeAll();

    CListCtrl& m_list;
    int m_nUpdateDepth = 0;

    HFONT m_hFontMeasured = nullptr;                      // the font the widths below were taken with
    std::unordered_map<std::string, int> m_textWidths;    // text -> width in that font
    std::array<int, kColumns> m_margins{};
    bool m_bMarginsKnown = false;
    std::array<int, kColumns> m_widest{};                 // widest text of each column so far
    bool m_bMeasuredAny = false;                          // m_widest holds measured rows
    bool m_bWidestKnown = true;                           // false after a change other than appending
    std::vector<std::array<std::string, kColumns>> m_appended;  // rows appended since the last fitting
};
