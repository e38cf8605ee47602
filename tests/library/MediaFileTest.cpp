#include "library/MediaFile.h"
#include "library/ResumePoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Serialise(const std::vector<CMediaFile>& records) {
    CMemFile file;
    CArchive archive(&file, CArchive::store);
    for (CMediaFile record : records)
        record.Serialize(archive);
    archive.Close();
    return file.GetData();
}

std::vector<CMediaFile> Deserialise(const Bytes& bytes, size_t count) {
    CMemFile file(bytes);
    CArchive archive(&file, CArchive::load);
    std::vector<CMediaFile> records(count);
    for (CMediaFile& record : records)
        record.Serialize(archive);
    EXPECT_TRUE(archive.IsAtEnd()) << "nothing follows the records";
    return records;
}

MediaEntry ExampleEntry() {
    return MediaEntry{"C:\\a.mp3", "", "X", "", "Y"};
}

const Bytes kExampleRecord = {0x01, 0x00, 0x00, 0x00, 0x08, 'C', ':',  '\\', 'a', '.',
                              'm',  'p',  '3',  0x00, 0x01, 'X', 0x00, 0x01, 'Y'};

TEST(MediaFileTest, ANewRecordIsEmpty) {
    CMediaFile record;
    EXPECT_EQ(record.m_nCount, 0u);
    EXPECT_EQ(record.GetEntry(), MediaEntry{});
}

TEST(MediaFileTest, ConvertsFromAndToAnEntryFieldByField) {
    MediaEntry entry{"path", "name", "artist", "album", "song"};
    CMediaFile record(entry, 7);
    EXPECT_EQ(record.m_nCount, 7u);
    EXPECT_EQ(record.m_strPath, "path");
    EXPECT_EQ(record.m_strFileName, "name");
    EXPECT_EQ(record.m_strArtist, "artist");
    EXPECT_EQ(record.m_strAlbum, "album");
    EXPECT_EQ(record.m_strSong, "song");
    MediaEntry back = record;
    EXPECT_EQ(back, entry);
}

TEST(MediaFileTest, TheSingleEntryExampleIsNineteenBytes) {
    EXPECT_EQ(Serialise({CMediaFile(ExampleEntry(), 1)}), kExampleRecord);
    std::vector<CMediaFile> records = Deserialise(kExampleRecord, 1);
    EXPECT_EQ(records[0].m_nCount, 1u);
    EXPECT_EQ(records[0].GetEntry(), ExampleEntry());
}

TEST(MediaFileTest, ALongPathGetsASixteenBitLength) {
    MediaEntry entry{std::string(300, 'p'), "", "", "", ""};
    Bytes bytes = Serialise({CMediaFile(entry, 1)});
    ASSERT_EQ(bytes.size(), 4u + 3u + 300u + 4u);
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 7), (Bytes{0xFF, 0x2C, 0x01}));
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0, 0, 0, 0})) << "four empty strings";
    EXPECT_EQ(Deserialise(bytes, 1)[0].GetEntry(), entry);
}

TEST(MediaFileTest, TagTextsKeepTheirZeroCharacterThroughASaveAndLoad) {
    using namespace std::string_literals;
    std::vector<CMediaFile> records = {
        CMediaFile(MediaEntry{"C:\\m\\one.mp3", "", "Artist\0"s, "Album \0"s, "Song\0"s}, 3),
        CMediaFile(MediaEntry{"C:\\m\\two.wav", "two.wav", "two.wav", "", "C:\\m\\two.wav"}, 3),
        CMediaFile(MediaEntry{std::string(300, 'q'), "", "\0"s, "\0"s, std::string(30, 's') + '\0'}, 3),
    };
    Bytes bytes = Serialise(records);
    // The first artist is stored as seven characters, the zero among them.
    const Bytes artist = {0x07, 'A', 'r', 't', 'i', 's', 't', 0x00};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), artist.begin(), artist.end()), bytes.end());
    std::vector<CMediaFile> loaded = Deserialise(bytes, records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(loaded[i].m_nCount, 3u);
        EXPECT_EQ(loaded[i].GetEntry(), records[i].GetEntry()) << "record " << i;
    }
    EXPECT_EQ(loaded[2].m_strSong.size(), 31u);
}

TEST(MediaFileTest, APathStoredInSixteenBitCharactersIsReadAsEightBitText) {
    Bytes bytes = {5, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x04, 'C', 0, ':', 0, '\\', 0, 'b', 0, 0, 1, 'A', 0, 0};
    CMediaFile record = Deserialise(bytes, 1)[0];
    EXPECT_EQ(record.m_nCount, 5u);
    EXPECT_EQ(record.GetEntry(), (MediaEntry{"C:\\b", "", "A", "", ""}));
}

// Where a record is cut decides the error: inside the count or a length prefix the data runs out
// (endOfFile); inside a text the length points past the data (badLength). Either way the record read
// so far is not kept.
struct CutCase {
    size_t keep;
    CArchiveException::Cause cause;
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << "keep" << c.keep << (c.cause == CArchiveException::endOfFile ? "_endOfFile" : "_badLength");
}

class TruncatedRecordTest : public testing::TestWithParam<CutCase> {};

TEST_P(TruncatedRecordTest, FailsWithTheArchivesErrorAndChangesNothing) {
    Bytes bytes(kExampleRecord.begin(), kExampleRecord.begin() + static_cast<long>(GetParam().keep));
    CMemFile file(bytes);
    CArchive archive(&file, CArchive::load);
    CMediaFile record(MediaEntry{"old", "old", "old", "old", "old"}, 9);
    try {
        record.Serialize(archive);
        FAIL() << "a record of " << bytes.size() << " bytes was read";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, GetParam().cause);
    }
    EXPECT_EQ(record.m_nCount, 9u);
    EXPECT_EQ(record.GetEntry(), (MediaEntry{"old", "old", "old", "old", "old"}));
}

std::vector<CutCase> AllCuts() {
    std::vector<CutCase> cases;
    // Offsets 0-3 count, 4 path length, 5-12 path, 13 file name, 14 artist length, 15 X, 16 album,
    // 17 song length, 18 Y.
    for (size_t keep = 0; keep < kExampleRecord.size(); ++keep) {
        bool insideText = (keep >= 5 && keep <= 12) || keep == 15 || keep == 18;
        cases.push_back({keep, insideText ? CArchiveException::badLength : CArchiveException::endOfFile});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryCut, TruncatedRecordTest, testing::ValuesIn(AllCuts()));

TEST(MediaFileTest, AnAbsurdLengthInARecordFailsCleanly) {
    Bytes bytes = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'C', ':'};
    CMemFile file(bytes);
    CArchive archive(&file, CArchive::load);
    CMediaFile record;
    try {
        record.Serialize(archive);
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badLength);
    }
}

TEST(MediaEntryTest, EqualityComparesEveryFieldWhole) {
    MediaEntry entry{"p", "f", "a", "b", "s"};
    for (std::string MediaEntry::*field :
         {&MediaEntry::m_strPath, &MediaEntry::m_strFileName, &MediaEntry::m_strArtist,
          &MediaEntry::m_strAlbum, &MediaEntry::m_strSong}) {
        MediaEntry other = entry;
        other.*field += '\0';
        EXPECT_NE(other, entry) << "a trailing zero character makes a different text";
        EXPECT_FALSE(other == entry);
    }
}

TEST(MediaEntryTest, DisplayTextEndsAtTheFirstZeroCharacter) {
    using namespace std::string_literals;
    EXPECT_EQ(DisplayText("Song\0"s), "Song");
    EXPECT_EQ(DisplayText("A\0B\0"s), "A");
    EXPECT_EQ(DisplayText("\0"s), "");
    EXPECT_EQ(DisplayText("plain"), "plain");
    EXPECT_EQ(DisplayText(""), "");
}

} // namespace

// The remembered entry survives the INI line whole: zero characters of tag texts, separators,
// backslashes and line breaks included; damaged values are refused rather than half read.
TEST(ResumePointTest, RoundTripsEveryTextAndRefusesDamagedValues) {
    ResumePoint point;
    point.m_entry = MediaEntry{"C:\\Music\\a|b.mp3", "a|b.mp3", std::string("Art\0", 4), "Al\\bum\r\n",
                               std::string("Song\0", 5)};
    point.m_nPositionMs = 123456;
    const std::string text = FormatResumePoint(point);
    EXPECT_EQ(text.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    ResumePoint back;
    ASSERT_TRUE(ParseResumePoint(text, back));
    EXPECT_EQ(back.m_entry, point.m_entry);
    EXPECT_EQ(back.m_nPositionMs, 123456);

    for (const char* damaged : {"", "1|5|C:\\a.mp3|||", "2|5|C:\\a.mp3||||", "1|x|C:\\a.mp3||||",
                                "1|5|||||", "1|5|C:\\a.mp3||||\\", "1|5|C:\\a\\q.mp3||||"}) {
        ResumePoint untouched;
        untouched.m_nPositionMs = 7;
        EXPECT_FALSE(ParseResumePoint(damaged, untouched)) << damaged;
        EXPECT_EQ(untouched.m_nPositionMs, 7);
    }
}
