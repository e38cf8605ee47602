#include "library/PlayListEntries.h"

#include "FakeListRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

MediaEntry MakeEntry(const std::string& artist, const std::string& album = "", const std::string& song = "") {
    static int serial = 0;
    MediaEntry entry;
    entry.m_strPath = "C:\\Music\\" + std::to_string(++serial) + ".mp3";
    entry.m_strFileName = "name" + std::to_string(serial);
    entry.m_strArtist = artist;
    entry.m_strAlbum = album;
    entry.m_strSong = song;
    return entry;
}

std::vector<MediaEntry> MakeEntries(int count) {
    std::vector<MediaEntry> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(MakeEntry("Artist " + std::to_string(i), "Album " + std::to_string(i),
                                    "Song " + std::to_string(i) + "\0"s));
    }
    return entries;
}

// Row k shows entry k, and there are as many rows as entries.
::testing::AssertionResult InStep(const CFakeListRows& rows, const CPlayListEntries& entries) {
    const std::vector<MediaEntry> all = entries.GetEntries();
    if (static_cast<int>(all.size()) != entries.GetCount())
        return ::testing::AssertionFailure() << "GetCount disagrees with GetEntries";
    if (rows.m_rows.size() != all.size())
        return ::testing::AssertionFailure()
               << rows.m_rows.size() << " rows for " << all.size() << " entries";
    for (size_t i = 0; i < all.size(); ++i) {
        const CFakeListRows::Row& row = rows.m_rows[i];
        if (row.artist != all[i].m_strArtist || row.album != all[i].m_strAlbum ||
            row.song != all[i].m_strSong)
            return ::testing::AssertionFailure() << "row " << i << " shows other texts than its entry";
    }
    return ::testing::AssertionSuccess();
}

class PlayListEntriesTest : public ::testing::Test {
protected:
    std::vector<MediaEntry> Fill(int count) {
        std::vector<MediaEntry> added = MakeEntries(count);
        for (const MediaEntry& entry : added)
            m_entries.AddEntry(entry);
        return added;
    }

    CFakeListRows m_rows;
    CPlayListEntries m_entries{m_rows};
    int m_nChanges = 0;
};

// --- Adding -------------------------------------------------------------------------------------

TEST_F(PlayListEntriesTest, AddEntryAppendsRowAndFitsColumnsEachTime) {
    const std::vector<MediaEntry> added = Fill(3);
    EXPECT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(m_entries.GetEntries(), added);
    EXPECT_EQ(m_rows.m_nFitCount, 3);
}

TEST_F(PlayListEntriesTest, AddEntriesEqualsRepeatedAddEntryButFitsOnce) {
    const std::vector<MediaEntry> batch = MakeEntries(50);
    CFakeListRows oneByOneRows;
    CPlayListEntries oneByOne(oneByOneRows);
    oneByOne.AddEntry(MakeEntry("first"));
    m_entries.AddEntry(oneByOne.GetEntryAt(0));
    const int fitsBefore = m_rows.m_nFitCount;

    for (const MediaEntry& entry : batch)
        oneByOne.AddEntry(entry);
    m_entries.AddEntries(batch);

    EXPECT_EQ(m_entries.GetEntries(), oneByOne.GetEntries());
    EXPECT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(m_rows.m_nFitCount - fitsBefore, 1);

    // A loader's group handed over whole ends the same.
    CFakeListRows movedRows;
    CPlayListEntries moved(movedRows);
    moved.AddEntry(oneByOne.GetEntryAt(0));
    std::vector<MediaEntry> group = batch;
    moved.AddEntries(std::move(group));
    EXPECT_EQ(moved.GetEntries(), oneByOne.GetEntries());
    EXPECT_TRUE(InStep(movedRows, moved));
    EXPECT_EQ(m_rows.m_nUnbatchedInserts, 1); // only the single AddEntry before the batch
    EXPECT_EQ(m_rows.m_nBeginCount, m_rows.m_nEndCount);
    EXPECT_EQ(m_rows.m_nUpdateDepth, 0);
}

TEST_F(PlayListEntriesTest, AddEntriesWithEmptyBatchChangesNothing) {
    Fill(2);
    const int fitsBefore = m_rows.m_nFitCount;
    m_entries.AddEntries({});
    EXPECT_EQ(m_entries.GetCount(), 2);
    EXPECT_EQ(m_rows.m_nFitCount, fitsBefore);
}

TEST_F(PlayListEntriesTest, RefusedRowDropsTheEntry) {
    Fill(2);
    m_rows.m_bRefuseInsert = true;
    m_entries.AddEntry(MakeEntry("lost"));
    m_entries.AddScannedEntry(2, MakeEntry("lost too"));
    m_entries.AddEntries({MakeEntry("lost three")});
    EXPECT_EQ(m_entries.GetCount(), 2);
    EXPECT_TRUE(InStep(m_rows, m_entries));
}

// The row number a loader read may be stale by the time its entry arrives.
class StaleScannedRowTest : public PlayListEntriesTest, public ::testing::WithParamInterface<int> {};

TEST_P(StaleScannedRowTest, ScannedEntryGoesLastWithItsRow) {
    Fill(3);
    const int fitsBefore = m_rows.m_nFitCount;
    const MediaEntry scanned = MakeEntry("scanned", "album\0"s, "song\0"s);
    m_entries.AddScannedEntry(GetParam(), scanned);
    ASSERT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(m_entries.GetCount(), 4);
    EXPECT_EQ(m_entries.GetEntryAt(3), scanned);
    EXPECT_EQ(m_rows.m_nFitCount, fitsBefore); // widths stay for scanned entries
}

INSTANTIATE_TEST_SUITE_P(RowValues, StaleScannedRowTest, ::testing::Values(0, 1, 2, 3, 4, 100, -1));

// --- Reading and replacing ----------------------------------------------------------------------

TEST_F(PlayListEntriesTest, GetEntryAtOutsideThrowsOutOfRange) {
    Fill(2);
    EXPECT_EQ(m_entries.GetEntryAt(1).m_strArtist, "Artist 1");
    EXPECT_THROW(m_entries.GetEntryAt(2), std::out_of_range);
    EXPECT_THROW(m_entries.GetEntryAt(-1), std::out_of_range);
    CFakeListRows emptyRows;
    CPlayListEntries empty(emptyRows);
    EXPECT_THROW(empty.GetEntryAt(0), std::out_of_range);
}

TEST_F(PlayListEntriesTest, SetEntryAtReplacesEntryAndRowTexts) {
    Fill(3);
    const MediaEntry edited = MakeEntry("New Artist", "Live", "");
    m_entries.SetEntryAt(1, edited);
    EXPECT_EQ(m_entries.GetEntryAt(1), edited);
    EXPECT_EQ(m_entries.GetCount(), 3);
    EXPECT_TRUE(InStep(m_rows, m_entries));

    const std::vector<MediaEntry> before = m_entries.GetEntries();
    EXPECT_THROW(m_entries.SetEntryAt(3, edited), std::out_of_range);
    EXPECT_THROW(m_entries.SetEntryAt(-1, edited), std::out_of_range);
    EXPECT_EQ(m_entries.GetEntries(), before);
    EXPECT_TRUE(InStep(m_rows, m_entries));
}

// --- TakeAt -------------------------------------------------------------------------------------

struct TakeAtCase {
    int count;
    int index;
    int expectedResult; // also 1 + the entry taken, when positive
};

void PrintTo(const TakeAtCase& c, std::ostream* os) {
    *os << "TakeAt(" << c.index << ") on " << c.count << " entries";
}

class TakeAtTest : public PlayListEntriesTest, public ::testing::WithParamInterface<TakeAtCase> {};

TEST_P(TakeAtTest, ResultAndEntryTaken) {
    const TakeAtCase& param = GetParam();
    Fill(param.count);
    const MediaEntry sentinel = MakeEntry("untouched", "untouched", "untouched");
    MediaEntry out = sentinel;

    EXPECT_EQ(m_entries.TakeAt(param.index, out), param.expectedResult);

    if (param.expectedResult > 0) {
        EXPECT_EQ(out, m_entries.GetEntryAt(param.expectedResult - 1));
        EXPECT_EQ(m_rows.m_nPlayingRow, param.expectedResult - 1);
    } else {
        EXPECT_EQ(out, sentinel);
        EXPECT_EQ(m_rows.m_nPlayingRow, -1);
    }
    EXPECT_EQ(m_rows.GetFirstSelectedRow(), -1) << "the selection is the user's";
    EXPECT_EQ(m_entries.GetCount(), param.count); // the entry stays in the list
    EXPECT_TRUE(InStep(m_rows, m_entries));
}

INSTANTIATE_TEST_SUITE_P(Indices, TakeAtTest,
                         ::testing::Values(TakeAtCase{3, 0, 1}, TakeAtCase{3, 2, 3},
                                           TakeAtCase{3, 3, 1}, // at the count: wraps to the first
                                           TakeAtCase{3, 50, 1}, TakeAtCase{1, 0, 1}, TakeAtCase{1, 1, 1},
                                           TakeAtCase{0, 0, 0},                       // empty
                                           TakeAtCase{0, 4, 0}, TakeAtCase{3, -1, 0}, // nothing picked
                                           TakeAtCase{0, -1, 0}, TakeAtCase{3, -100000, 0}));

TEST_F(PlayListEntriesTest, TakeAtResultWalksTheEntriesAndWraps) {
    Fill(3);
    MediaEntry out;
    EXPECT_EQ(m_entries.TakeAt(2, out), 3);
    EXPECT_EQ(out.m_strArtist, "Artist 2");
    EXPECT_EQ(m_entries.TakeAt(3, out), 1);
    EXPECT_EQ(out.m_strArtist, "Artist 0");
}

TEST_F(PlayListEntriesTest, TakeAtMarksThePlayingRowAndScrollsToItLeavingTheSelection) {
    Fill(4);
    m_rows.SetSelected(0, true);
    m_rows.SetFocused(3, true);
    MediaEntry out;
    for (int index : {2, 1, 2}) ASSERT_EQ(m_entries.TakeAt(index, out), index + 1);
    EXPECT_EQ(m_entries.GetPlayingIndex(), 2);
    EXPECT_EQ(m_rows.m_nPlayingRow, 2);
    EXPECT_EQ(m_rows.m_nVisibleRow, 2);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(m_rows.m_rows[static_cast<size_t>(row)].selected, row == 0) << row;
        EXPECT_EQ(m_rows.m_rows[static_cast<size_t>(row)].focused, row == 3) << row;
    }
}

TEST_F(PlayListEntriesTest, ThePlayingMarkFollowsItsEntryThroughRemovalsAndSortsAndGoesWithIt) {
    Fill(5);
    MediaEntry playing;
    ASSERT_EQ(m_entries.TakeAt(3, playing), 4);
    auto markedEntry = [&] { return m_entries.GetEntryAt(m_entries.GetPlayingIndex()); };
    m_rows.SetSelected(1, true);
    m_rows.SetSelected(4, true);
    m_entries.RemoveSelected();
    EXPECT_EQ(m_entries.GetPlayingIndex(), 2);
    EXPECT_EQ(markedEntry(), playing);
    for (int clicks = 0; clicks < 3; ++clicks) {
        m_entries.SortByColumn(0);
        EXPECT_EQ(markedEntry(), playing) << clicks;
        EXPECT_EQ(m_rows.m_nPlayingRow, m_entries.GetPlayingIndex());
    }
    MediaEntry front;
    m_entries.TakeFront(front);
    EXPECT_EQ(markedEntry(), playing);
    m_rows.SetSelected(m_entries.GetPlayingIndex(), true);
    m_entries.RemoveSelected();
    EXPECT_EQ(m_entries.GetPlayingIndex(), -1);
    EXPECT_EQ(m_rows.m_nPlayingRow, -1);
}

TEST_F(PlayListEntriesTest, TakeAtRowFailureGivesMinusOneAndLeavesOut) {
    Fill(3);
    m_rows.m_bThrowOnSelect = true;
    const MediaEntry sentinel = MakeEntry("untouched");
    MediaEntry out = sentinel;
    EXPECT_EQ(m_entries.TakeAt(1, out), -1);
    EXPECT_EQ(out, sentinel);
    EXPECT_TRUE(InStep(m_rows, m_entries));
}

// --- TakeRandom ---------------------------------------------------------------------------------

TEST_F(PlayListEntriesTest, TakeRandomOnEmptyGivesMinusOneAndLeavesOut) {
    const MediaEntry sentinel = MakeEntry("untouched");
    MediaEntry out = sentinel;
    EXPECT_EQ(m_entries.TakeRandom(out), -1);
    EXPECT_EQ(out, sentinel);
}

TEST_F(PlayListEntriesTest, TakeRandomOnOneEntryAlwaysGivesOne) {
    Fill(1);
    for (int i = 0; i < 20; ++i) {
        MediaEntry out;
        ASSERT_EQ(m_entries.TakeRandom(out), 1);
        EXPECT_EQ(out, m_entries.GetEntryAt(0));
    }
}

TEST_F(PlayListEntriesTest, TakeRandomWithTheRuntimeGeneratorStaysInRange) {
    Fill(7);
    for (int i = 0; i < 50; ++i) {
        MediaEntry out;
        const int result = m_entries.TakeRandom(out);
        ASSERT_GE(result, 1);
        ASSERT_LE(result, 7);
        EXPECT_EQ(out, m_entries.GetEntryAt(result - 1));
    }
}

// The clock is read once, for the seed: picking one a second or all in one second gives the same
// picks. Over 50,000 entries they reach past 32,767 and are spread evenly; with 10,000 uniform picks
// (0.2 per entry) an entry picked six times or more happens in about 0.4% of seeds.
TEST_F(PlayListEntriesTest, TakeRandomPicksUniformlyOverTheWholeListWhateverTheClock) {
    constexpr int kEntries = 50000;
    constexpr int kPicks = 10000;
    m_entries.AddEntries(MakeEntries(kEntries));
    uint64_t clock = 1700000000;
    const auto pickAll = [&](bool clockRuns) {
        clock = 1700000000;
        m_entries.SetSeedSource([&clock] { return clock; });
        std::vector<int> picks;
        for (int i = 0; i < kPicks; ++i) {
            MediaEntry out;
            const int result = m_entries.TakeRandom(out);
            EXPECT_TRUE(result >= 1 && result <= kEntries) << result;
            picks.push_back(result - 1);
            if (clockRuns) ++clock;
        }
        return picks;
    };
    const std::vector<int> picks = pickAll(true);
    ASSERT_EQ(picks, pickAll(false));

    std::vector<int> timesPicked(kEntries, 0);
    std::vector<int> perTenth(10, 0);
    int aboveRuntimeRange = 0;
    for (int index : picks) {
        ++timesPicked[static_cast<size_t>(index)];
        ++perTenth[static_cast<size_t>(index / (kEntries / 10))];
        aboveRuntimeRange += index > 32767;
    }
    // Expected: 3446 picks above 32,767 (standard deviation 48), 1000 per tenth (30), 9063 distinct.
    EXPECT_GT(aboveRuntimeRange, 3200);
    EXPECT_LT(aboveRuntimeRange, 3700);
    for (int count : perTenth) {
        EXPECT_GT(count, 880);
        EXPECT_LT(count, 1120);
    }
    EXPECT_GT(kEntries - std::count(timesPicked.begin(), timesPicked.end(), 0), 8800);
    EXPECT_LE(*std::max_element(timesPicked.begin(), timesPicked.end()), 5);
}

// --- TakeFront ----------------------------------------------------------------------------------

TEST_F(PlayListEntriesTest, TakeFrontEmptiesATwoEntryQueueInOrder) {
    Fill(2);
    const std::vector<MediaEntry> queued = m_entries.GetEntries();
    MediaEntry out;

    ASSERT_EQ(m_entries.TakeFront(out), 1);
    EXPECT_EQ(out, queued[0]);
    EXPECT_EQ(m_rows.GetRowCount(), 1);
    EXPECT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(m_entries.GetEntryAt(0), queued[1]);

    ASSERT_EQ(m_entries.TakeFront(out), 1);
    EXPECT_EQ(out, queued[1]);
    EXPECT_EQ(m_rows.GetRowCount(), 0);

    EXPECT_EQ(m_entries.TakeFront(out), 0);
    EXPECT_EQ(out, queued[1]); // unchanged
    EXPECT_TRUE(InStep(m_rows, m_entries));
}

// --- Removing -----------------------------------------------------------------------------------

class RemoveSelectedTest : public PlayListEntriesTest,
                           public ::testing::WithParamInterface<std::vector<int>> {};

TEST_P(RemoveSelectedTest, KeepsUnselectedInOrderAndRefreshesPerRemoval) {
    Fill(5);
    const std::vector<MediaEntry> before = m_entries.GetEntries();
    const std::vector<int>& selected = GetParam();
    for (int row : selected)
        m_rows.SetSelected(row, true);
    std::vector<std::vector<MediaEntry>> snapshots;
    m_entries.SetChangeCallback([&] { snapshots.push_back(m_entries.GetEntries()); });

    m_entries.RemoveSelected();

    std::vector<MediaEntry> expected;
    for (int i = 0; i < 5; ++i) {
        if (std::find(selected.begin(), selected.end(), i) == selected.end()) expected.push_back(before[i]);
    }
    EXPECT_EQ(m_entries.GetEntries(), expected);
    EXPECT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(m_rows.GetFirstSelectedRow(), -1);
    ASSERT_EQ(snapshots.size(), selected.size());
    for (size_t i = 0; i < snapshots.size(); ++i)
        EXPECT_EQ(snapshots[i].size(), 5 - i - 1);
    if (!snapshots.empty()) {
        EXPECT_EQ(snapshots.back(), expected);
    }
    EXPECT_EQ(m_rows.m_nBeginCount, m_rows.m_nEndCount);
}

INSTANTIATE_TEST_SUITE_P(Selections, RemoveSelectedTest,
                         ::testing::Values(std::vector<int>{0, 2, 4}, std::vector<int>{1, 2, 3},
                                           std::vector<int>{0, 1, 4}, std::vector<int>{},
                                           std::vector<int>{0, 1, 2, 3, 4}));

TEST_F(PlayListEntriesTest, RemoveAllEmptiesAndRefreshesOnce) {
    Fill(4);
    std::vector<size_t> snapshotSizes;
    m_entries.SetChangeCallback([&] { snapshotSizes.push_back(m_entries.GetEntries().size()); });
    m_entries.RemoveAll();
    EXPECT_EQ(m_entries.GetCount(), 0);
    EXPECT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(snapshotSizes, std::vector<size_t>{0});
}

TEST_F(PlayListEntriesTest, TakingDoesNotRefreshTheSnapshot) {
    Fill(3);
    m_entries.SetChangeCallback([&] { ++m_nChanges; });
    MediaEntry out;
    m_entries.TakeAt(0, out);
    m_entries.TakeRandom(out);
    m_entries.TakeFront(out);
    m_entries.AddEntry(MakeEntry("x"));
    EXPECT_EQ(m_nChanges, 0);
}

// --- Sorting ------------------------------------------------------------------------------------

struct SortCase {
    const char* name;
    int column;
    std::vector<std::string> keys;     // the sorted column's texts, in insertion order
    std::vector<std::string> expected; // the same texts after the sort
};

void PrintTo(const SortCase& c, std::ostream* os) {
    *os << c.name << " on column " << c.column;
}

class SortTest : public PlayListEntriesTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortTest, SortsAscendingByShownTextAndRebuildsRowsInOneBatch) {
    const SortCase& param = GetParam();
    for (size_t i = 0; i < param.keys.size(); ++i) {
        MediaEntry entry =
            MakeEntry("artist" + std::to_string(i), "album" + std::to_string(i), "song" + std::to_string(i));
        (param.column == 0   ? entry.m_strArtist
         : param.column == 1 ? entry.m_strAlbum
                             : entry.m_strSong) = param.keys[i];
        m_entries.AddEntry(entry);
    }
    const std::vector<MediaEntry> before = m_entries.GetEntries();
    m_rows.SetSelected(0, true);
    m_entries.SetChangeCallback([&] { ++m_nChanges; });
    const int unbatchedBefore = m_rows.m_nUnbatchedInserts;

    m_entries.SortByColumn(param.column);

    std::vector<std::string> keys;
    for (const MediaEntry& entry : m_entries.GetEntries()) {
        keys.push_back(param.column == 0   ? entry.m_strArtist
                       : param.column == 1 ? entry.m_strAlbum
                                           : entry.m_strSong);
    }
    EXPECT_EQ(keys, param.expected);
    EXPECT_TRUE(std::is_permutation(before.begin(), before.end(), m_entries.GetEntries().begin()));
    EXPECT_TRUE(InStep(m_rows, m_entries));
    EXPECT_EQ(m_rows.m_nUnbatchedInserts, unbatchedBefore);
    EXPECT_EQ(m_rows.m_nBeginCount, m_rows.m_nEndCount);
    EXPECT_EQ(m_nChanges, 1);
}

// Equal shown texts keep their order (the sort is stable), which makes the expectations exact.
INSTANTIATE_TEST_SUITE_P(
    Columns, SortTest,
    ::testing::Values(SortCase{"CaseBlind", 0, {"beta", "alpha", "Alpha", "Beta"}, {"alpha", "Alpha", "beta", "Beta"}},
                      SortCase{"EmptyFirst", 2, {"b", "", "a"}, {"", "a", "b"}},
                      SortCase{"TagTextsEndAtZero",
                               1,
                               {"Same\0"s, "Same", "Ab\0"s, "B\0x"s, "A"},
                               {"A", "Ab\0"s, "B\0x"s, "Same\0"s, "Same"}},
                      SortCase{"UnsignedBytes", 2, {"\xE9t\xE9", "zz", "Zz"}, {"zz", "Zz", "\xE9t\xE9"}},
                      SortCase{"PrefixFirst", 0, {"abc", "ab", "abd", "a"}, {"a", "ab", "abc", "abd"}}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.name; });

TEST_F(PlayListEntriesTest, ASecondClickReversesAndTheKeysComeFromTheLocaleSeam) {
    for (const char* artist : {"b", "C", "a"}) m_entries.AddEntry(MakeEntry(artist));
    auto artists = [&] {
        std::string order;
        for (const MediaEntry& entry : m_entries.GetEntries()) order += entry.m_strArtist;
        return order;
    };
    const std::vector<std::pair<int, std::string>> clicks{{0, "abC"}, {0, "Cba"}, {0, "abC"}, {2, "abC"}, {0, "abC"}};
    for (const auto& [column, order] : clicks) {
        m_entries.SortByColumn(column);
        EXPECT_EQ(artists(), order) << column;
    }
    EXPECT_FALSE(m_entries.IsSortDescending());
    EXPECT_EQ(m_entries.GetSortColumn(), 0);
    // A locale whose keys put "C" first.
    m_entries.SetSortKeyMaker([](std::string_view text) { return text == "C" ? std::string() : std::string(text); });
    m_entries.SortByColumn(0);
    EXPECT_EQ(artists(), "baC") << "the second click on the same column sorts descending";
    m_entries.SortByColumn(0);
    EXPECT_EQ(artists(), "Cab");
}

class SortIgnoredTest : public PlayListEntriesTest, public ::testing::WithParamInterface<int> {};

TEST_P(SortIgnoredTest, ColumnOutsideChangesNothing) {
    m_entries.AddEntry(MakeEntry("b"));
    m_entries.AddEntry(MakeEntry("a"));
    const std::vector<MediaEntry> before = m_entries.GetEntries();
    m_rows.SetSelected(1, true);
    m_entries.SetChangeCallback([&] { ++m_nChanges; });
    m_entries.SortByColumn(GetParam());
    EXPECT_EQ(m_entries.GetEntries(), before);
    EXPECT_TRUE(m_rows.m_rows[1].selected); // rows were not rebuilt
    EXPECT_EQ(m_nChanges, 0);
}

INSTANTIATE_TEST_SUITE_P(Columns, SortIgnoredTest, ::testing::Values(-1, 3, 100));

TEST_F(PlayListEntriesTest, SortOfEmptyCollectionDoesNothing) {
    m_entries.SetChangeCallback([&] { ++m_nChanges; });
    m_entries.SortByColumn(0);
    EXPECT_EQ(m_nChanges, 0);
    EXPECT_EQ(m_rows.m_nBeginCount, 0);
}

// --- Rows and entries stay in step under any sequence of operations -----------------------------

std::string RandomText(std::mt19937& random) {
    static const std::vector<std::string> pieces = {"",      "a",      "A",         "b", "Beta",
                                                    "ab\0"s, "Zed\0"s, "\xE9t\xE9", " "};
    std::string text;
    const int count = static_cast<int>(random() % 3);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % pieces.size()];
    return text;
}

class InvariantTest : public PlayListEntriesTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(InvariantTest, RandomOperationsKeepRowsAndEntriesInStep) {
    std::mt19937 random(GetParam());
    m_entries.SetSeedSource([seed = GetParam()] { return seed; });
    std::vector<MediaEntry> model; // what the entries should be, where the outcome is simple to state
    const auto makeRandomEntry = [&] {
        return MakeEntry(RandomText(random), RandomText(random), RandomText(random));
    };

    for (int step = 0; step < 1500; ++step) {
        const int count = m_entries.GetCount();
        MediaEntry out;
        switch (random() % 12) {
        case 0:
        case 1: {
            const MediaEntry entry = makeRandomEntry();
            m_entries.AddEntry(entry);
            model.push_back(entry);
            break;
        }
        case 2: {
            std::vector<MediaEntry> batch;
            for (int i = static_cast<int>(random() % 5); i > 0; --i)
                batch.push_back(makeRandomEntry());
            m_entries.AddEntries(batch);
            model.insert(model.end(), batch.begin(), batch.end());
            break;
        }
        case 3: {
            const MediaEntry entry = makeRandomEntry();
            m_entries.AddScannedEntry(static_cast<int>(random() % (count + 3)) - 1, entry);
            model.push_back(entry);
            break;
        }
        case 4: {
            const int result = m_entries.TakeAt(static_cast<int>(random() % (count + 3)) - 1, out);
            if (result > 0) {
                EXPECT_EQ(out, model[static_cast<size_t>(result - 1)]);
            }
            break;
        }
        case 5: {
            const int result = m_entries.TakeRandom(out);
            EXPECT_EQ(result == -1, count == 0);
            if (result > 0) {
                EXPECT_EQ(out, model[static_cast<size_t>(result - 1)]);
            }
            break;
        }
        case 6:
            if (m_entries.TakeFront(out) == 1) {
                EXPECT_EQ(out, model.front());
                model.erase(model.begin());
            }
            break;
        case 7:
        case 8: {
            // The user selects some rows (TakeAt leaves some selected as well), then removes them.
            for (int row = 0; row < count; ++row) {
                if (random() % 4 == 0) m_rows.SetSelected(row, true);
            }
            std::vector<MediaEntry> kept;
            for (int row = 0; row < count; ++row) {
                if (!m_rows.m_rows[static_cast<size_t>(row)].selected)
                    kept.push_back(model[static_cast<size_t>(row)]);
            }
            m_entries.RemoveSelected();
            model = kept;
            break;
        }
        case 9:
            if (random() % 8 == 0) {
                m_entries.RemoveAll();
                model.clear();
            }
            break;
        case 10: {
            const int column = static_cast<int>(random() % 5) - 1;
            m_entries.SortByColumn(column);
            const std::vector<MediaEntry> sorted = m_entries.GetEntries();
            EXPECT_TRUE(std::is_permutation(model.begin(), model.end(), sorted.begin(), sorted.end()));
            if (column < 0 || column > 2) {
                EXPECT_EQ(sorted, model);
            }
            model = sorted;
            break;
        }
        case 11:
            if (count > 0) {
                const int index = static_cast<int>(random() % count);
                const MediaEntry entry = makeRandomEntry();
                m_entries.SetEntryAt(index, entry);
                model[static_cast<size_t>(index)] = entry;
            }
            break;
        }
        ASSERT_TRUE(InStep(m_rows, m_entries)) << "after step " << step;
        ASSERT_EQ(m_rows.m_nPlayingRow, m_entries.GetPlayingIndex()) << "after step " << step;
        ASSERT_EQ(m_entries.GetEntries(), model) << "after step " << step;
        ASSERT_EQ(m_rows.m_nUpdateDepth, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, InvariantTest, ::testing::Values(1u, 2u, 20240611u));

} // namespace
