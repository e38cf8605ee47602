#pragma once
// The rows of a collection, shown by a report-style list control.
#include "framework/Controls.h"
#include "library/ListRows.h"

class CListCtrlRows : public IListRows {
public:
    explicit CListCtrlRows(CListCtrl& list) : m_list(list) {}

    int GetRowCount() const override { return m_list.GetItemCount(); }
    int InsertRow(int index, const std::string& artist, const std::string& album,
                  const std::string& song) override;
    void DeleteRow(int index) override { m_list.DeleteItem(index); }
    void DeleteAllRows() override { m_list.DeleteAllItems(); }
    void SetRowTexts(int index, const std::string& artist, const std::string& album,
                     const std::string& song) override;
    void SelectRow(int index) override;
    int GetFirstSelectedRow() const override { return m_list.GetNextItem(-1, LVNI_SELECTED); }
    void FitColumns() override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    CListCtrl& m_list;
    int m_nUpdateDepth = 0;
};
