#pragma once
// The ordered collection of entries of one list window, kept row for row in step with its list
// control: row k always shows entry k's artist, album and song. Every operation changes the entries
// and the rows together. Runs on the user-interface thread only; loader workers hand their entries
// to that thread, which then calls the adding operations.
#include "library/ListRows.h"
#include "library/MediaEntry.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Turns a text (up to its first zero character) into a key whose unsigned byte order is the order
// the user expects; the program gives the platform's locale-aware, case-blind sort key.
using SortKeyMaker = std::function<std::string(std::string_view)>;
// The portable rule: ASCII letters folded to lower case, other bytes as they are.
std::string CaseBlindKey(std::string_view text);

class CPlayListEntries {
public:
    explicit CPlayListEntries(IListRows& rows);
    CPlayListEntries(const CPlayListEntries&) = delete;
    CPlayListEntries& operator=(const CPlayListEntries&) = delete;

    // Called after the changes that the find dialog must see (each single removal of RemoveSelected,
    // RemoveAll, a sort); the window hands its find dialog a fresh snapshot there when it is visible.
    void SetChangeCallback(std::function<void()> fnChanged) { m_fnChanged = std::move(fnChanged); }

    // Seeds TakeRandom's generator again, once, from the source (null: the default, the system's
    // entropy mixed with the clock). The picks that follow depend on that seed alone.
    void SetSeedSource(const std::function<uint64_t()>& fnSeed);

    // Appends the entry with its row, then fits the columns to their content.
    void AddEntry(const MediaEntry& entry);
    // Appends all entries with their rows and fits the columns once: the end state of AddEntry for
    // each of them without refitting (and repainting) after every row. A caller adding several
    // groups in a row may leave the fitting to the last one.
    void AddEntries(const std::vector<MediaEntry>& entries, bool fitColumns = true);
    // The same for entries handed over whole (a loader's group): they are moved in, not copied.
    void AddEntries(std::vector<MediaEntry>&& entries, bool fitColumns = true);
    // Appends an entry found by a loader; the columns keep their widths.
    void AddScannedEntry(int row, const MediaEntry& entry);
    // Appends loader entries in one batch of rows; the columns keep their widths.
    void AddScannedEntries(const std::vector<MediaEntry>& entries);
    void AddScannedEntries(std::vector<MediaEntry>&& entries);

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Throws std::out_of_range for an index outside the collection.
    MediaEntry GetEntryAt(int index) const;
    // Entry i in place, for showing its row; null for an index outside the collection.
    const MediaEntry* FindEntry(int index) const {
        return index >= 0 && index < GetCount() ? &m_entries[static_cast<size_t>(index)] : nullptr;
    }
    // Replaces entry i and its row's texts. Throws std::out_of_range for an index outside.
    void SetEntryAt(int index, const MediaEntry& entry);
    // A value copy of all entries, in order.
    std::vector<MediaEntry> GetEntries() const { return m_entries; }

    // Marks entry i's row as playing and scrolls to it (i at or past the end means 0), and copies the
    // entry into out; the selection stays the user's. Returns i + 1, 0 when empty or i is negative
    // (out unchanged), -1 when the rows failed.
    int TakeAt(int index, MediaEntry& out);
    // TakeAt with an index drawn uniformly from the whole collection; -1 when empty (out unchanged).
    int TakeRandom(MediaEntry& out);
    // Removes the first entry into out and returns 1; 0 when empty (out unchanged).
    int TakeFront(MediaEntry& out);

    // The entry whose row is marked as playing (the last one TakeAt picked), -1 for none. The mark
    // follows its entry when rows are sorted or removed before it, and goes with it.
    int GetPlayingIndex() const { return m_nPlaying; }
    // No row is marked any more: a song of another list plays.
    void ClearPlaying();

    void RemoveSelected();
    void RemoveAll();
    // Sorts by column 0 (artist), 1 (album) or 2 (song), ascending, or descending when the last sort
    // was ascending on the same column; equal keys keep their order. Any other column does nothing.
    void SortByColumn(int column);
    // The last sort's column (-1: none yet) and direction, for the header's arrow.
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsSortDescending() const { return m_bSortDescending; }
    void SetSortKeyMaker(SortKeyMaker fnKey) { m_fnSortKey = std::move(fnKey); }

private:
    // Inserts entry's row at index and appends the entry; false if the rows refused the row.
    bool AppendWithRow(int index, const MediaEntry& entry);
    bool AppendWithRow(int index, MediaEntry&& entry);
    bool AddRowFor(int index, const MediaEntry& entry);
    void NotifyChanged();
    // Entry index was removed: the mark moves up with its entry, or goes when it was that one.
    void AdjustPlayingForRemoval(int index);

    IListRows& m_rows;
    std::vector<MediaEntry> m_entries;
    std::function<void()> m_fnChanged;
    std::mt19937_64 m_random;
    int m_nPlaying = -1;
    int m_nSortColumn = -1;
    bool m_bSortDescending = false;
    SortKeyMaker m_fnSortKey;
};
