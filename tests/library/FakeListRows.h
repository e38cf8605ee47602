#pragma once
// A list control stand-in for the collection tests: keeps the rows' texts and states and counts the
// calls the tests look at. It checks nothing itself; the tests do.
#include "library/ListRows.h"

#include <stdexcept>
#include <string>
#include <vector>

class CFakeListRows : public IListRows {
public:
    struct Row {
        std::string artist;
        std::string album;
        std::string song;
        bool selected = false;
        bool focused = false;
    };

    int GetRowCount() const override { return static_cast<int>(m_rows.size()); }

    int InsertRow(int index, const std::string& artist, const std::string& album,
                  const std::string& song) override {
        if (m_bRefuseInsert || index < 0) return -1;
        if (m_nUpdateDepth == 0) ++m_nUnbatchedInserts;
        // Like a list control: at or past the end means at the end.
        if (index > GetRowCount()) index = GetRowCount();
        m_rows.insert(m_rows.begin() + index, Row{artist, album, song});
        return index;
    }

    void DeleteRow(int index) override {
        if (index >= 0 && index < GetRowCount()) m_rows.erase(m_rows.begin() + index);
    }

    void DeleteAllRows() override { m_rows.clear(); }

    void SetRowTexts(int index, const std::string& artist, const std::string& album,
                     const std::string& song) override {
        if (index < 0 || index >= GetRowCount()) return;
        Row& row = m_rows[static_cast<size_t>(index)];
        row.artist = artist;
        row.album = album;
        row.song = song;
    }

    void SetPlayingRow(int index, bool scroll) override {
        if (m_bThrowOnSelect) throw std::runtime_error("list control failed");
        m_nPlayingRow = index;
        if (scroll) m_nVisibleRow = index;
    }

    int GetFirstSelectedRow() const override {
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].selected) return static_cast<int>(i);
        }
        return -1;
    }

    void FitColumns() override { ++m_nFitCount; }

    void BeginUpdate() override {
        ++m_nUpdateDepth;
        ++m_nBeginCount;
    }
    void EndUpdate() override {
        --m_nUpdateDepth;
        ++m_nEndCount;
    }

    // The user's clicks.
    void SetSelected(int index, bool selected) { m_rows.at(static_cast<size_t>(index)).selected = selected; }
    void SetFocused(int index, bool focused) { m_rows.at(static_cast<size_t>(index)).focused = focused; }

    std::vector<Row> m_rows;
    int m_nVisibleRow = -1; // last row scrolled into view
    int m_nPlayingRow = -1; // the row drawn as playing
    int m_nFitCount = 0;
    int m_nUpdateDepth = 0;
    int m_nBeginCount = 0;
    int m_nEndCount = 0;
    int m_nUnbatchedInserts = 0; // rows inserted outside a Begin/EndUpdate bracket
    bool m_bThrowOnSelect = false;
    bool m_bRefuseInsert = false;
};
