#include "library/PlayListEntries.h"

#include "framework/Debug.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

// Keeps the rows' redraw off for a batch, also when an operation inside throws.
class CRowsBatch {
public:
    explicit CRowsBatch(IListRows& rows) : m_rows(rows) { m_rows.BeginUpdate(); }
    ~CRowsBatch() { m_rows.EndUpdate(); }
    CRowsBatch(const CRowsBatch&) = delete;
    CRowsBatch& operator=(const CRowsBatch&) = delete;

private:
    IListRows& m_rows;
};

// A text as displayed and compared: up to its first zero character (tag texts carry one).
std::string_view ShownText(const std::string& text) {
    return std::string_view(text.data(), std::min(text.find('\0'), text.size()));
}

// Byte order of unsigned characters; an empty key sorts first.
bool KeyLess(std::string_view left, std::string_view right) {
    const size_t common = std::min(left.size(), right.size());
    const int result = common == 0 ? 0 : std::memcmp(left.data(), right.data(), common);
    return result != 0 ? result < 0 : left.size() < right.size();
}

const std::string& SortField(const MediaEntry& entry, int column) {
    switch (column) {
    case 0: return entry.m_strArtist;
    case 1: return entry.m_strAlbum;
    default: return entry.m_strSong;
    }
}

// The system's entropy where it has any, mixed with the clock, so that two lists made in the same
// instant (or a runtime whose random_device is deterministic) still play different orders.
uint64_t DefaultSeed() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch();
    uint64_t seed = static_cast<uint64_t>(now.count());
    try {
        std::random_device device;
        seed ^= (static_cast<uint64_t>(device()) << 32) | device();
    } catch (const std::exception&) {
        // No entropy source: the clock alone.
    }
    return seed;
}

} // namespace

std::string CaseBlindKey(std::string_view text) {
    std::string key(text);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

CPlayListEntries::CPlayListEntries(IListRows& rows) : m_rows(rows), m_random(DefaultSeed()) {}

void CPlayListEntries::SetSeedSource(const std::function<uint64_t()>& fnSeed) {
    m_random.seed(fnSeed ? fnSeed() : DefaultSeed());
}

bool CPlayListEntries::AppendWithRow(int index, const MediaEntry& entry) {
    // The entry goes in first so that a failed row can be undone without a second allocation.
    m_entries.push_back(entry);
    return AddRowFor(index, entry);
}

bool CPlayListEntries::AppendWithRow(int index, MediaEntry&& entry) {
    m_entries.push_back(std::move(entry));
    return AddRowFor(index, m_entries.back());
}

// Gives the entry just appended its row, or takes the entry out again.
bool CPlayListEntries::AddRowFor(int index, const MediaEntry& entry) {
    const MediaEntry& added = m_entries.back();
    int used = -1;
    try {
        used = m_rows.InsertRow(index, added.m_strArtist, added.m_strAlbum, added.m_strSong);
    } catch (...) {
        m_entries.pop_back();
        throw;
    }
    if (used < 0) {
        // Without its row the entry would break the row-for-row pairing; drop it instead.
        DebugOutput("Could not insert a list row for " + entry.m_strPath);
        m_entries.pop_back();
        return false;
    }
    return true;
}

void CPlayListEntries::AddEntry(const MediaEntry& entry) {
    AppendWithRow(m_rows.GetRowCount(), entry);
    m_rows.FitColumns();
}

void CPlayListEntries::AddEntries(const std::vector<MediaEntry>& entries, bool fitColumns) {
    if (entries.empty()) return;
    CRowsBatch batch(m_rows);
    m_entries.reserve(m_entries.size() + entries.size());
    for (const MediaEntry& entry : entries) {
        AppendWithRow(m_rows.GetRowCount(), entry);
    }
    if (fitColumns) m_rows.FitColumns();
}

void CPlayListEntries::AddEntries(std::vector<MediaEntry>&& entries, bool fitColumns) {
    if (entries.empty()) return;
    CRowsBatch batch(m_rows);
    m_entries.reserve(m_entries.size() + entries.size());
    for (MediaEntry& entry : entries) AppendWithRow(GetCount(), std::move(entry));
    if (fitColumns) m_rows.FitColumns();
}

void CPlayListEntries::AddScannedEntry(int row, const MediaEntry& entry) {
    // The loader passes the row count it read before building the entry, but other loaders or the
    // user may have added or removed rows since. The entry is appended, so its row belongs at the
    // entry's own index; a stale row number would put row and entry out of step.
    (void)row;
    AppendWithRow(GetCount(), entry);
}

void CPlayListEntries::AddScannedEntries(const std::vector<MediaEntry>& entries) {
    if (entries.empty()) return;
    CRowsBatch batch(m_rows);
    m_entries.reserve(m_entries.size() + entries.size());
    for (const MediaEntry& entry : entries) AppendWithRow(GetCount(), entry);
}

void CPlayListEntries::AddScannedEntries(std::vector<MediaEntry>&& entries) {
    if (entries.empty()) return;
    CRowsBatch batch(m_rows);
    m_entries.reserve(m_entries.size() + entries.size());
    for (MediaEntry& entry : entries) AppendWithRow(GetCount(), std::move(entry));
}

MediaEntry CPlayListEntries::GetEntryAt(int index) const {
    if (index < 0 || index >= GetCount()) throw std::out_of_range("entry index out of range");
    return m_entries[static_cast<size_t>(index)];
}

void CPlayListEntries::SetEntryAt(int index, const MediaEntry& entry) {
    if (index < 0 || index >= GetCount()) throw std::out_of_range("entry index out of range");
    m_entries[static_cast<size_t>(index)] = entry;
    const MediaEntry& stored = m_entries[static_cast<size_t>(index)];
    m_rows.SetRowTexts(index, stored.m_strArtist, stored.m_strAlbum, stored.m_strSong);
}

int CPlayListEntries::TakeAt(int index, MediaEntry& out) {
    // Previous before anything was picked asks for -1: there is no such entry, so nothing is picked.
    if (index < 0) return 0;
    const int count = GetCount();
    if (index >= count) index = 0;
    if (count == 0) return 0;
    try {
        m_rows.SetPlayingRow(index, true);
        m_nPlaying = index;
        MediaEntry copy = m_entries[static_cast<size_t>(index)];
        out = std::move(copy);
        return index + 1;
    } catch (const std::exception& e) {
        DebugOutput(e.what());
        return -1;
    }
}

int CPlayListEntries::TakeRandom(MediaEntry& out) {
    const int count = GetCount();
    if (count <= 0) return -1;
    std::uniform_int_distribution<int> pick(0, count - 1);
    return TakeAt(pick(m_random), out);
}

int CPlayListEntries::TakeFront(MediaEntry& out) {
    if (m_entries.empty()) return 0;
    MediaEntry front = m_entries.front();
    m_rows.DeleteRow(0);
    m_entries.erase(m_entries.begin());
    AdjustPlayingForRemoval(0);
    out = std::move(front);
    return 1;
}

void CPlayListEntries::RemoveSelected() {
    CRowsBatch batch(m_rows);
    for (;;) {
        const int row = m_rows.GetFirstSelectedRow();
        // A row past the entries cannot be paired with one; stopping there also ends the loop
        // should the rows ever report a selection they cannot delete.
        if (row < 0 || row >= GetCount()) break;
        m_rows.DeleteRow(row);
        m_entries.erase(m_entries.begin() + row);
        AdjustPlayingForRemoval(row);
        NotifyChanged();
    }
}

void CPlayListEntries::AdjustPlayingForRemoval(int index) {
    if (m_nPlaying < index) return;
    m_nPlaying = m_nPlaying == index ? -1 : m_nPlaying - 1;
    m_rows.SetPlayingRow(m_nPlaying, false);
}

void CPlayListEntries::ClearPlaying() {
    if (m_nPlaying < 0) return;
    m_nPlaying = -1;
    m_rows.SetPlayingRow(-1, false);
}

void CPlayListEntries::RemoveAll() {
    m_nPlaying = -1;
    m_rows.SetPlayingRow(-1, false);
    m_entries.clear();
    m_rows.DeleteAllRows();
    NotifyChanged();
}

void CPlayListEntries::SortByColumn(int column) {
    if (column < 0 || column > 2 || m_entries.empty()) return;

    m_bSortDescending = column == m_nSortColumn && !m_bSortDescending;
    m_nSortColumn = column;

    // Sort positions by keys made once per entry: the locale's keys cost far more than comparing them.
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const std::string_view text = ShownText(SortField(m_entries[i], column));
        keys.emplace_back(m_fnSortKey ? m_fnSortKey(text) : CaseBlindKey(text), i);
    }
    const bool descending = m_bSortDescending;
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& left, const auto& right) {
        return descending ? KeyLess(right.first, left.first) : KeyLess(left.first, right.first);
    });
    std::vector<MediaEntry> sorted;
    sorted.reserve(m_entries.size());
    int playing = -1;
    for (const auto& key : keys) {
        if (static_cast<int>(key.second) == m_nPlaying) playing = static_cast<int>(sorted.size());
        sorted.push_back(std::move(m_entries[key.second]));
    }
    m_entries.swap(sorted);
    m_nPlaying = playing;

    {
        // The rows stay and take their new texts: deleting and inserting every row again costs several
        // calls into the control per row, which a long list would feel on every header click.
        CRowsBatch batch(m_rows);
        int rows = m_rows.GetRowCount();
        if (rows != GetCount()) {
            m_rows.DeleteAllRows();
            rows = 0;
        }
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const MediaEntry& entry = m_entries[i];
            const int row = static_cast<int>(i);
            if (row < rows)
                m_rows.SetRowTexts(row, entry.m_strArtist, entry.m_strAlbum, entry.m_strSong);
            else
                m_rows.InsertRow(row, entry.m_strArtist, entry.m_strAlbum, entry.m_strSong);
        }
        m_rows.SetPlayingRow(m_nPlaying, false);
    }
    NotifyChanged();
}

void CPlayListEntries::NotifyChanged() {
    if (m_fnChanged) m_fnChanged();
}
