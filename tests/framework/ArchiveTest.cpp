#include "framework/Archive.h"

#include "framework/TestTempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// UTF-16LE bytes of an ASCII text.
Bytes WideBytes(const std::string& text) {
    Bytes bytes;
    for (char c : text) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.push_back(0);
    }
    return bytes;
}

Bytes Store(const std::string& text, size_t bufferSize = 4096) {
    CMemFile file;
    CArchive archive(&file, CArchive::store, bufferSize);
    archive << text;
    archive.Close();
    return file.GetData();
}

std::string LoadString(const Bytes& bytes) {
    CMemFile file(bytes);
    CArchive archive(&file, CArchive::load);
    std::string text;
    archive >> text;
    return text;
}

// Runs the read and returns the cause of the archive error it must raise.
template <typename Read> CArchiveException::Cause FailureCause(const Bytes& bytes, Read read) {
    CMemFile file(bytes);
    CArchive archive(&file, CArchive::load);
    try {
        read(archive);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    ADD_FAILURE() << "no archive error";
    return CArchiveException::endOfFile;
}

CArchiveException::Cause StringFailureCause(const Bytes& bytes) {
    return FailureCause(bytes, [](CArchive& archive) {
        std::string text = "unchanged";
        try {
            archive >> text;
        } catch (...) {
            EXPECT_EQ(text, "unchanged") << "a failed read leaves the target alone";
            throw;
        }
    });
}

TEST(ArchiveTest, IntegersAreLittleEndian) {
    CMemFile file;
    CArchive archive(&file, CArchive::store);
    archive << uint8_t{0xAB} << uint16_t{0x1234} << uint32_t{0x89ABCDEF} << uint64_t{0x0102030405060708};
    archive.Close();
    EXPECT_EQ(file.GetData(), (Bytes{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 8, 7, 6, 5, 4, 3, 2, 1}));

    file.SeekToBegin();
    CArchive reader(&file, CArchive::load);
    uint8_t b = 0;
    uint16_t w = 0;
    uint32_t d = 0;
    uint64_t q = 0;
    reader >> b >> w >> d >> q;
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(d, 0x89ABCDEFu);
    EXPECT_EQ(q, 0x0102030405060708u);
    EXPECT_TRUE(reader.IsAtEnd());
}

// Each length is written with the shortest prefix its range allows.
struct LengthCase {
    size_t length;
    Bytes prefix;
};

void PrintTo(const LengthCase& c, std::ostream* out) {
    *out << c.length;
}

class StringLengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(StringLengthTest, IsWrittenWithItsPrefixAndReadsBack) {
    const LengthCase& c = GetParam();
    std::string text(c.length, 'a');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);
    if (!text.empty()) text.back() = '\0';

    Bytes stored = Store(text);
    ASSERT_EQ(stored.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + static_cast<long>(c.prefix.size())), c.prefix);
    EXPECT_EQ(Bytes(stored.begin() + static_cast<long>(c.prefix.size()), stored.end()), TextBytes(text));
    EXPECT_EQ(Store(text, 64), stored) << "the buffer size does not change the bytes";
    EXPECT_EQ(LoadString(stored), text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, StringLengthTest,
                         testing::Values(LengthCase{0, {0x00}}, LengthCase{1, {0x01}},
                                         LengthCase{254, {0xFE}}, LengthCase{255, {0xFF, 0xFF, 0x00}},
                                         LengthCase{300, {0xFF, 0x2C, 0x01}},
                                         LengthCase{65533, {0xFF, 0xFD, 0xFF}},
                                         LengthCase{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}},
                                         LengthCase{65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
                                         LengthCase{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}),
                         [](const testing::TestParamInfo<LengthCase>& info) {
                             return "Length" + std::to_string(info.param.length);
                         });

TEST(ArchiveTest, LongerPrefixesThanNeededAreAccepted) {
    EXPECT_EQ(LoadString(Concat({0xFF, 0x03, 0x00}, TextBytes("abc"))), "abc");
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0}, TextBytes("abc"))), "abc");
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0, 0, 0},
                                TextBytes("abc"))),
              "abc")
        << "64-bit form";
}

TEST(ArchiveTest, SixteenBitStringsAreReadAsEightBitText) {
    // Marker 0xFF 0xFFFE, then the length scheme again, counting 16-bit characters.
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFE, 0xFF, 0x03}, WideBytes("abc"))), "abc");
    EXPECT_EQ(LoadString({0xFF, 0xFE, 0xFF, 0x00}), "");
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFE, 0xFF, 0x02}, {'X', 0, 0, 0})), std::string("X\0", 2))
        << "a zero character stays part of the text";

    std::string path(300, 'p');
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}, WideBytes(path))), path);
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0, 0, 0}, WideBytes("hello"))),
              "hello");

    // After the marker 0xFFFE is an ordinary length: 65534 characters.
    std::string longText(0xFFFE, 'w');
    EXPECT_EQ(LoadString(Concat({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}, WideBytes(longText))), longText);
}

TEST(ArchiveTest, SixteenBitCharactersBecomeTheProgramsUtf8) {
    EXPECT_EQ(LoadString({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0x16, 0x04, 'b', 0}), "a\xD0\x96"
                                                                                "b");
    EXPECT_EQ(LoadString({0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}), "\xC3\xA9");
}

TEST(ArchiveTest, RunningOutOfDataInsideALengthPrefixIsEndOfFile) {
    for (const Bytes& bytes : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0x2C}, Bytes{0xFF, 0xFF, 0xFF, 0x01, 0x00},
                               Bytes{0xFF, 0xFE, 0xFF}, Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x01},
                               Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}})
        EXPECT_EQ(StringFailureCause(bytes), CArchiveException::endOfFile) << testing::PrintToString(bytes);
}

TEST(ArchiveTest, RunningOutOfDataInsideAnIntegerIsEndOfFile) {
    EXPECT_EQ(FailureCause({1, 2, 3},
                           [](CArchive& archive) {
                               uint32_t value = 0;
                               archive >> value;
                           }),
              CArchiveException::endOfFile);
    EXPECT_EQ(FailureCause({1},
                           [](CArchive& archive) {
                               uint16_t value = 0;
                               archive >> value;
                           }),
              CArchiveException::endOfFile);
}

TEST(ArchiveTest, LengthsPastTheEndOfTheDataAreBadLengths) {
    EXPECT_EQ(StringFailureCause(Concat({0x05}, TextBytes("abcd"))), CArchiveException::badLength);
    EXPECT_EQ(StringFailureCause(Concat({0xFF, 0x2C, 0x01}, Bytes(299, 'x'))), CArchiveException::badLength);
    EXPECT_EQ(StringFailureCause(Concat({0xFF, 0xFE, 0xFF, 0x03}, WideBytes("ab"))),
              CArchiveException::badLength)
        << "16-bit characters count two bytes each";
}

TEST(ArchiveTest, AbsurdLengthsFailBeforeAnythingIsAllocated) {
    // Lengths of gigabytes and beyond with a few bytes behind them: a reader that allocated first would
    // run out of memory or fail only later, at the end of the data.
    const Bytes cases[] = {
        {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a'},
        {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x08, 'a'},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 'a'},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
         0, 0},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 'a', 0},
    };
    for (const Bytes& bytes : cases)
        EXPECT_EQ(StringFailureCause(bytes), CArchiveException::badLength) << testing::PrintToString(bytes);
}

TEST(ArchiveTest, LengthsAboveTheCapAreBadEvenWhenTheDataIsThere) {
    // A file that really is that long is not read into one string either; the cap is checked from the
    // prefix alone, so a sparse stand-in of the right length suffices.
    CTestTempDir dir;
    std::string path = dir.Path("huge.bin");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        uint64_t length = CArchive::kMaxStringLength + 1;
        const unsigned char prefix[] = {0xFF,
                                        0xFF,
                                        0xFF,
                                        static_cast<unsigned char>(length),
                                        static_cast<unsigned char>(length >> 8),
                                        static_cast<unsigned char>(length >> 16),
                                        static_cast<unsigned char>(length >> 24)};
        file.Write(prefix, sizeof prefix);
        file.Seek(static_cast<int64_t>(length - 1), CFile::current);
        file.Write("z", 1);
    }
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    CArchive archive(&file, CArchive::load);
    std::string text;
    try {
        archive >> text;
        FAIL() << "read a string longer than the cap";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badLength);
    }
}

TEST(ArchiveTest, RemainingDataCountsFromTheFilesPositionAndTellsWhenAllIsRead) {
    CTestTempDir dir;
    Bytes content = Concat({0xEE, 0xEE, 0x02, 'h', 'i'}, {7, 0, 0, 0});
    std::string path = dir.WriteFile("data.bin", content);
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    file.Seek(2, CFile::begin);
    CArchive archive(&file, CArchive::load, 64);
    EXPECT_EQ(archive.GetRemaining(), 7u);
    EXPECT_TRUE(archive.IsBufferEmpty());
    std::string text;
    archive >> text;
    EXPECT_EQ(text, "hi");
    EXPECT_FALSE(archive.IsBufferEmpty()) << "the integer is read ahead";
    EXPECT_EQ(archive.GetRemaining(), 4u);
    EXPECT_FALSE(archive.IsAtEnd());
    uint32_t value = 0;
    archive >> value;
    EXPECT_EQ(value, 7u);
    EXPECT_TRUE(archive.IsAtEnd());
    EXPECT_TRUE(archive.IsBufferEmpty());
}

TEST(ArchiveTest, FlushingALoadingArchiveLeavesTheFileAtTheNextUnreadByte) {
    CMemFile file(Bytes{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0});
    CArchive archive(&file, CArchive::load);
    uint32_t value = 0;
    archive >> value;
    archive.Flush();
    EXPECT_EQ(file.GetPosition(), 4u);
    EXPECT_EQ(archive.GetRemaining(), 8u);
    archive >> value;
    EXPECT_EQ(value, 2u) << "reading goes on after the flush";
    archive.Close();
    EXPECT_EQ(file.GetPosition(), 8u);
}

// Strings of many sizes across small and large buffers: what is written reads back unchanged, with the
// same bytes whatever the buffer size.
class ArchiveBufferTest : public testing::TestWithParam<size_t> {};

TEST_P(ArchiveBufferTest, ManyStringsRoundTripAcrossBufferBoundaries) {
    std::vector<std::string> texts;
    for (size_t length : {0u, 1u, 63u, 64u, 65u, 200u, 254u, 255u, 1000u, 5000u, 65534u, 3u})
        texts.push_back(std::string(length, static_cast<char>('A' + length % 26)) + std::string(1, '\0'));
    CMemFile file;
    {
        CArchive archive(&file, CArchive::store, GetParam());
        for (size_t i = 0; i < texts.size(); ++i)
            archive << static_cast<uint32_t>(i) << texts[i];
        archive.Flush();
        EXPECT_TRUE(archive.IsBufferEmpty());
    }
    CMemFile reference;
    {
        CArchive archive(&reference, CArchive::store, 4096);
        for (size_t i = 0; i < texts.size(); ++i)
            archive << static_cast<uint32_t>(i) << texts[i];
    }
    EXPECT_EQ(file.GetData(), reference.GetData()) << "the destructor writes what is buffered";

    file.SeekToBegin();
    CArchive archive(&file, CArchive::load, GetParam());
    for (size_t i = 0; i < texts.size(); ++i) {
        uint32_t index = 0;
        std::string text;
        archive >> index >> text;
        EXPECT_EQ(index, i);
        EXPECT_EQ(text, texts[i]);
    }
    EXPECT_TRUE(archive.IsAtEnd());
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, ArchiveBufferTest,
                         testing::Values(size_t{64}, size_t{100}, size_t{4096}));

TEST(ArchiveTest, AFileThatRefusesTheDataMakesFlushThrow) {
    CMemFile file;
    file.SetMaxLength(10);
    CArchive archive(&file, CArchive::store);
    archive << std::string(20, 'x');
    EXPECT_THROW(archive.Flush(), CFileException);
}

TEST(ArchiveTest, AnArchiveOnlyWorksInItsOwnDirection) {
    CMemFile file(Bytes{0, 0, 0, 0});
    CArchive loading(&file, CArchive::load);
    EXPECT_TRUE(loading.IsLoading());
    EXPECT_FALSE(loading.IsStoring());
    EXPECT_THROW(loading << uint32_t{1}, CException);
    CMemFile out;
    CArchive storing(&out, CArchive::store);
    std::string text;
    EXPECT_THROW(storing >> text, CException);
    storing.Close();
    EXPECT_THROW(storing << uint32_t{1}, CException) << "closed";
}

} // namespace
