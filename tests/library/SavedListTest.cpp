// Reading and writing the saved queue and play list: the format, and what a reader makes of damaged data.
#include "library/SavedList.h"

#include "framework/TestTempDir.h"
#include "library/MediaFile.h"
#include "library/SavedListTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <vector>

using namespace savedlist_test;

namespace {

const MediaEntry kExampleEntry{"C:\\a.mp3", "", "X", "", "Y"};
const Bytes kExampleFile = {0x01, 0x00, 0x00, 0x00, 0x08, 'C', ':',  '\\', 'a', '.',
                            'm',  'p',  '3',  0x00, 0x01, 'X', 0x00, 0x01, 'Y'};

std::vector<MediaEntry> ThreeEntriesWithLongPath() {
    std::string longPath = "C:\\" + std::string(293, 'm') + ".mp3";
    return {MediaEntry{"C:\\Music\\one.mp3", "", std::string("Abba\0", 5), std::string("Waterloo\0", 9),
                       std::string("Waterloo\0", 9)},
            MediaEntry{longPath, "", "long", "Error Opening File", longPath},
            MediaEntry{"D:\\x.wav", "", "x.wav", "", "D:\\x.wav"}};
}

// One record with the given count, as the writer lays it out.
Bytes Record(uint32_t count, const MediaEntry& entry) {
    CMemFile file;
    CArchive archive(&file, CArchive::store);
    CMediaFile record(entry, count);
    record.Serialize(archive);
    archive.Close();
    return file.GetData();
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class SavedListFileTest : public testing::Test {
protected:
    CTestTempDir m_dir;
};

} // namespace

struct FileNameCase {
    int listId;
    const char* fileName;
};

void PrintTo(const FileNameCase& param, std::ostream* os) {
    *os << param.listId;
}

class SavedListFileNameTest : public testing::TestWithParam<FileNameCase> {};

TEST_P(SavedListFileNameTest, OnlyTheQueueHasItsOwnFile) {
    EXPECT_STREQ(SavedListFileName(GetParam().listId), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(ListIds, SavedListFileNameTest,
                         testing::Values(FileNameCase{163, "Queue.dat"}, FileNameCase{164, "Playlist.dat"},
                                         FileNameCase{0, "Playlist.dat"}, FileNameCase{-163, "Playlist.dat"},
                                         FileNameCase{162, "Playlist.dat"}));

TEST_F(SavedListFileTest, TheSingleEntryExampleIsWrittenByteForByte) {
    std::string path = m_dir.Path("Queue.dat");
    std::string error;
    ASSERT_TRUE(WriteSavedList(path, {kExampleEntry}, &error)) << error;
    EXPECT_EQ(CTestTempDir::ReadFile(path), kExampleFile);
    EXPECT_EQ(LoadFile(path), std::vector<MediaEntry>{kExampleEntry});
}

TEST_F(SavedListFileTest, ThreeEntriesWithALongPathComeBackInOrderFieldForField) {
    std::string path = m_dir.Path("Playlist.dat");
    std::vector<MediaEntry> entries = ThreeEntriesWithLongPath();
    ASSERT_TRUE(WriteSavedList(path, entries, nullptr));
    EXPECT_EQ(LoadFile(path), entries);
}

TEST_F(SavedListFileTest, ARecordHoldsTheCountAndTheFiveFieldsInOrder) {
    std::vector<MediaEntry> entries = ThreeEntriesWithLongPath();
    Bytes expected = Concat({Record(3, entries[0]), Record(3, entries[1]), Record(3, entries[2])});
    EXPECT_EQ(Store(entries), expected);
    Bytes second = Record(3, entries[1]);
    EXPECT_EQ(Bytes(second.begin(), second.begin() + 7), (Bytes{0x03, 0x00, 0x00, 0x00, 0xFF, 0x2C, 0x01}));
}

TEST_F(SavedListFileTest, ANonEmptyFileNameFieldSurvives) {
    std::string path = m_dir.Path("Playlist.dat");
    std::vector<MediaEntry> entries = {MediaEntry{"C:\\b.mp3", "b.mp3 from an older file", "A", "B", "C"}};
    ASSERT_TRUE(WriteSavedList(path, entries, nullptr));
    EXPECT_EQ(LoadFile(path), entries);
}

TEST_F(SavedListFileTest, AnEmptyListIsAnEmptyFileAndLoadsNothing) {
    std::string path = m_dir.Path("Queue.dat");
    ASSERT_TRUE(WriteSavedList(path, MakeEntries(5), nullptr));
    ASSERT_TRUE(WriteSavedList(path, {}, nullptr));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    int sinkCalls = -1;
    EXPECT_TRUE(LoadFile(path, &sinkCalls).empty());
    EXPECT_EQ(sinkCalls, 0);
}

TEST_F(SavedListFileTest, AShorterListLeavesNothingOfTheLongerOne) {
    std::string path = m_dir.Path("Playlist.dat");
    ASSERT_TRUE(WriteSavedList(path, MakeEntries(200, 50), nullptr));
    std::vector<MediaEntry> shorter = MakeEntries(2);
    ASSERT_TRUE(WriteSavedList(path, shorter, nullptr));
    EXPECT_EQ(CTestTempDir::ReadFile(path), Store(shorter));
    EXPECT_FALSE(std::filesystem::exists(SavedListTempPath(path)));
}

TEST_F(SavedListFileTest, AMissingFileOrAFolderLoadsNothing) {
    int sinkCalls = -1;
    EXPECT_TRUE(LoadFile(m_dir.Path("Queue.dat"), &sinkCalls).empty());
    EXPECT_EQ(sinkCalls, 0);
    EXPECT_TRUE(LoadFile(m_dir.Path(""), &sinkCalls).empty());
    EXPECT_EQ(sinkCalls, 0);
}

TEST_F(SavedListFileTest, ABareFileNameIsTakenFromTheWorkingDirectory) {
    namespace fs = std::filesystem;
    fs::path previous = fs::current_path();
    fs::current_path(m_dir.Path(""));
    std::vector<MediaEntry> entries = MakeEntries(3);
    std::string error;
    bool written = WriteSavedList(SavedListFileName(163), entries, &error);
    std::vector<MediaEntry> loaded = LoadFile(SavedListFileName(163));
    fs::current_path(previous);
    ASSERT_TRUE(written) << error;
    EXPECT_EQ(loaded, entries);
    EXPECT_TRUE(fs::exists(m_dir.Path("Queue.dat")));
    EXPECT_FALSE(fs::exists(m_dir.Path("Queue.dat.tmp")));
}

TEST(SavedListReadTest, EntriesArriveInOrderInBatches) {
    std::vector<MediaEntry> entries = MakeEntries(600);
    ReadBack read = ReadBytes(Store(entries), 256);
    EXPECT_EQ(read.entries, entries);
    EXPECT_EQ(read.returned, 600u);
    EXPECT_EQ(read.batchSizes, (std::vector<size_t>{256, 256, 88}));
    ReadBack single = ReadBytes(Store(entries), 0);
    EXPECT_EQ(single.entries, entries);
    EXPECT_EQ(single.batchSizes, std::vector<size_t>(600, 1)) << "a batch size of 0 counts as 1";
}

TEST(SavedListReadTest, ReadsFromTheFilesPositionAndStopsAfterTheLastRecord) {
    std::vector<MediaEntry> entries = MakeEntries(3);
    Bytes list = Store(entries);
    Bytes bytes = Concat({Bytes{'x', 'y'}, list, Bytes{1, 2, 3}});
    CMemFile file(bytes);
    file.Seek(2, CFile::begin);
    std::vector<MediaEntry> read;
    EXPECT_EQ(ReadSavedList(file,
                            [&](std::vector<MediaEntry>&& batch) {
                                read.insert(read.end(), batch.begin(), batch.end());
                            }),
              3u);
    EXPECT_EQ(read, entries);
    EXPECT_EQ(file.GetPosition(), 2u + list.size());
}

TEST(SavedListReadTest, EveryCutKeepsExactlyTheCompleteRecordsBeforeIt) {
    std::vector<MediaEntry> entries = ThreeEntriesWithLongPath();
    entries.push_back(MediaEntry{"C:\\e.mp3", "e.mp3", "", "", ""});
    std::vector<Bytes> records;
    std::vector<size_t> ends;
    for (const MediaEntry& entry : entries) {
        records.push_back(Record(4, entry));
        ends.push_back((ends.empty() ? 0 : ends.back()) + records.back().size());
    }
    Bytes whole = Concat(records);
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut)
            ++complete;
        ReadBack read = ReadBytes(Bytes(whole.begin(), whole.begin() + cut), 3);
        ASSERT_EQ(read.entries, std::vector<MediaEntry>(entries.begin(), entries.begin() + complete))
            << "cut at " << cut;
        EXPECT_EQ(read.position, complete == 0 ? 0 : ends[complete - 1]) << "cut at " << cut;
    }
}

struct CountCase {
    const char* name;
    std::vector<uint32_t> counts; // one record per count
    size_t expected;              // records read
};

void PrintTo(const CountCase& param, std::ostream* os) {
    *os << param.name;
}

class SavedListCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(SavedListCountTest, ReadingStopsWhereARecordsCountSaysOrAtTheEnd) {
    const CountCase& param = GetParam();
    std::vector<MediaEntry> entries = MakeEntries(param.counts.size());
    std::vector<Bytes> records;
    for (size_t i = 0; i < entries.size(); ++i)
        records.push_back(Record(param.counts[i], entries[i]));
    ReadBack read = ReadBytes(Concat(records));
    EXPECT_EQ(read.entries, std::vector<MediaEntry>(entries.begin(), entries.begin() + param.expected));
    EXPECT_EQ(read.returned, param.expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, SavedListCountTest,
                         testing::Values(CountCase{"TrueCount", {3, 3, 3}, 3},
                                         CountCase{"ZeroReadsToTheEnd", {0, 0, 0}, 3},
                                         CountCase{"ZeroFirstThenTrue", {0, 3, 3, 3}, 3},
                                         CountCase{"TooLargeReadsToTheEnd", {1000, 1000}, 2},
                                         CountCase{"SmallerThanTheRecordsStopsThere", {1, 1, 1}, 1},
                                         CountCase{"TwoOfThree", {2, 2, 2}, 2},
                                         CountCase{"LaterRecordMatchesItsIndex", {5, 2, 7, 4}, 2},
                                         CountCase{"PassedCountIsNotMetAgain", {5, 1, 3, 9}, 3},
                                         CountCase{"MaximumCount", {0xFFFFFFFF, 0xFFFFFFFF}, 2}),
                         [](const testing::TestParamInfo<CountCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SavedListReadTest, A16BitPathIsConvertedToEightBitText) {
    // 0xFF 0xFFFE marks 16-bit characters; the length prefix (4) follows again.
    Bytes bytes = {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x04, 'C',  0,    ':',
                   0,    0xE9, 0,    'x',  0,    0x00, 0x01, 'A',  0x00, 0x01, 'S'};
    ReadBack read = ReadBytes(bytes);
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0], (MediaEntry{"C:\xC3\xA9x", "", "A", "", "S"}));
    EXPECT_EQ(read.position, bytes.size());
}

// Earlier versions wrote 8-bit texts in the legacy code page (Windows-1252 natively); ASCII texts are
// written as before and others in 16-bit characters, which earlier versions read as well.
TEST(SavedListReadTest, LegacyTextsLoadAndOthersAreWrittenInSixteenBitCharacters) {
    Bytes old = {0x01, 0x00, 0x00, 0x00, 0x08, 'C', ':', '\\', 'C', 'a',  'f', 0xE9,
                 'x',  0x00, 0x06, 'M',  0xFC, 'l', 'l', 'e',  'r', 0x00, 0x00};
    ReadBack read = ReadBytes(old);
    ASSERT_EQ(read.entries.size(), 1u);
    const MediaEntry entry{"C:\\Caf\xC3\xA9x", "", "M\xC3\xBCller", "", ""};
    EXPECT_EQ(read.entries[0], entry);
    Bytes written = Record(1, entry);
    EXPECT_EQ(Bytes(written.begin() + 4, written.begin() + 8), (Bytes{0xFF, 0xFE, 0xFF, 0x08}));
    EXPECT_EQ(ReadBytes(written).entries[0], entry);
}

TEST(SavedListReadTest, AStringLongerThanTheDataEndsTheListWithoutAllocatingIt) {
    Bytes first = Record(0, kExampleEntry);
    Bytes claim = {0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x0F};
    ReadBack read = ReadBytes(Concat({first, claim}));
    EXPECT_EQ(read.entries, std::vector<MediaEntry>{kExampleEntry});
    EXPECT_EQ(read.position, first.size());
    Bytes huge64 = {0x01, 0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_TRUE(ReadBytes(huge64).entries.empty());
}

TEST(SavedListReadTest, GarbageAfterARecordKeepsTheRecord) {
    Bytes first = Record(2, kExampleEntry);
    ReadBack read = ReadBytes(Concat({first, Bytes{0x07, 0x00, 0x00, 0x00, 0xFF, 0xFE}}));
    EXPECT_EQ(read.entries, std::vector<MediaEntry>{kExampleEntry});
    EXPECT_EQ(read.position, first.size());
}

TEST(SavedListReadTest, RandomBytesNeverYieldMoreRecordsThanFit) {
    std::mt19937 generator(12345);
    for (size_t size : {1u, 3u, 8u, 9u, 10u, 64u, 1000u, 20000u}) {
        for (int round = 0; round < 20; ++round) {
            Bytes bytes(size);
            for (unsigned char& byte : bytes)
                // Mostly small values, so that lengths often fit and records do get read.
                byte = static_cast<unsigned char>(generator() % 4 == 0 ? generator() : generator() % 6);
            ReadBack read = ReadBytes(bytes);
            EXPECT_LE(read.entries.size(), size / 9);
            EXPECT_LE(read.position, size);
            EXPECT_EQ(read.returned, read.entries.size());
        }
    }
}
