#include "settings/FontRecord.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Readable test names and failure messages.
void PrintTo(const FontRecord& record, std::ostream* out) {
    *out << FormatFontRecord(record);
}

namespace {

struct ParseCase {
    const char* name;
    std::string text;
    std::string face;
    int height;
    int weight;
    int italic;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) {
    return out << c.name;
}

class FontRecordRestores : public testing::TestWithParam<ParseCase> {};

TEST_P(FontRecordRestores, FieldsComeBack) {
    const ParseCase& c = GetParam();
    FontRecord record;
    ASSERT_TRUE(ParseFontRecord(c.text, record)) << c.text;
    EXPECT_EQ(record.m_strFaceName, c.face);
    EXPECT_EQ(record.m_nHeight, c.height);
    EXPECT_EQ(record.m_nWeight, c.weight);
    EXPECT_EQ(record.m_nItalic, c.italic);
}

INSTANTIATE_TEST_SUITE_P(
    Records, FontRecordRestores,
    testing::Values(
        ParseCase{"BoldTahoma", "Tahoma,-11,700,0", "Tahoma", -11, 700, 0},
        ParseCase{"BlanksInFace", "Microsoft Sans Serif,-11,400,255", "Microsoft Sans Serif", -11, 400, 255},
        ParseCase{"PositiveHeight", "Arial,16,400,1", "Arial", 16, 400, 1},
        ParseCase{"NegativeWeight", "Arial,-13,-400,0", "Arial", -13, -400, 0},
        ParseCase{"PlusSign", "Arial,+12,+700,+1", "Arial", 12, 700, 1},
        ParseCase{"BlanksBeforeNumbers", "Arial, -12,\t700,\n 1", "Arial", -12, 700, 1},
        ParseCase{"BlankBeforeCommaBelongsToFace", "Arial ,-12,700,0", "Arial ", -12, 700, 0},
        ParseCase{"LeadingBlankBelongsToFace", " Arial,-12,700,0", " Arial", -12, 700, 0},
        ParseCase{"OnlyBlanksAsFace", "   ,1,2,3", "   ", 1, 2, 3},
        ParseCase{"TrailingTextIgnored", "Arial,-12,700,1xyz,9", "Arial", -12, 700, 1},
        ParseCase{"TrailingBlankIgnored", "Arial,-12,700,0 ", "Arial", -12, 700, 0},
        ParseCase{"ItalicKeepsLowByte256", "Arial,-12,700,256", "Arial", -12, 700, 0},
        ParseCase{"ItalicKeepsLowByte257", "Arial,-12,700,257", "Arial", -12, 700, 1},
        ParseCase{"NegativeItalicLowByte", "Arial,-12,700,-1", "Arial", -12, 700, 255},
        ParseCase{"ExtremeInts", "Arial,-2147483648,2147483647,0", "Arial", INT32_MIN, INT32_MAX, 0},
        ParseCase{"OverflowWraps", "Arial,4294967307,-4294967297,0", "Arial", 11, -1, 0},
        // 10^29 modulo 2^32 is 2684354560, which as a 32-bit int is -1610612736.
        ParseCase{"HugeNumberWraps", "Arial,100000000000000000000000000000,400,0", "Arial", -1610612736, 400,
                  0}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

class FontRecordRejects : public testing::TestWithParam<ParseCase> {};

TEST_P(FontRecordRejects, LeavesRecordAlone) {
    FontRecord record;
    record.m_strFaceName = "Kept";
    record.m_nHeight = -9;
    record.m_nWeight = 300;
    record.m_nItalic = 7;
    EXPECT_FALSE(ParseFontRecord(GetParam().text, record)) << GetParam().text;
    EXPECT_EQ(record.m_strFaceName, "Kept");
    EXPECT_EQ(record.m_nHeight, -9);
    EXPECT_EQ(record.m_nWeight, 300);
    EXPECT_EQ(record.m_nItalic, 7);
}

ParseCase Bad(const char* name, std::string text) {
    return ParseCase{name, std::move(text), "", 0, 0, 0};
}

INSTANTIATE_TEST_SUITE_P(
    Records, FontRecordRejects,
    testing::Values(
        Bad("Empty", ""), Bad("AbsentMarker", "~"), Bad("ThreeFields", "Tahoma,-11,700"),
        Bad("ThreeFieldsAndComma", "Tahoma,-11,700,"), Bad("FaceOnly", "Tahoma"),
        Bad("DigitInFace", "Tahoma2,-11,700,0"), Bad("LeadingDigit", "3Dumb,-11,700,0"),
        Bad("HyphenInFace", "Segoe UI-Light,-11,400,0"), Bad("UnderscoreInFace", "My_Font,-11,400,0"),
        Bad("AccentedLetterInFace", "Caf\xe9,-11,400,0"), Bad("AccentedFirstLetter", "\xc9toile,-11,400,0"),
        Bad("Utf8AccentInFace", "Caf\xc3\xa9,-11,400,0"), Bad("TabInFace", "Arial\tBold,-11,400,0"),
        Bad("NoFace", ",-11,700,0"), Bad("BlankBeforeSecondComma", "Arial,-11 ,700,0"),
        Bad("SignWithoutDigits", "Arial,-,700,0"), Bad("BlankAfterSign", "Arial,- 11,700,0"),
        Bad("HexHeight", "Arial,x11,700,0"), Bad("SemicolonSeparator", "Arial;-11;700;0"),
        Bad("ZeroInsideFace", std::string("Ar\0ial,-11,700,0", 16)),
        Bad("ZeroForItalic", std::string("Arial,-11,700,\0", 15))),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

// The Windows runtime and the C library agree with the rule on every input that stays within int;
// checking against the C library catches any drift in white space, signs or the face-name set.
TEST(FontRecordParse, AgreesWithScanfWithinIntRange) {
    const std::vector<std::string> inputs = {"Tahoma,-11,700,0",
                                             "Tahoma,-11,700",
                                             "Tahoma2,-11,700,0",
                                             "~",
                                             "",
                                             " a ,1,2,3",
                                             "a,\v1,\f2,\r3",
                                             "Segoe UI-Light,1,2,3",
                                             "a,1,2,3,4",
                                             "a,1,2,-3x",
                                             "Z,+0,-0,00012",
                                             "a,1 ,2,3",
                                             "a,1,2 ,3",
                                             "a,--1,2,3",
                                             "a,+-1,2,3",
                                             "a,1,2,3.5",
                                             "A b C,1,2,3",
                                             "a,,1,2,3",
                                             "a,1,2,\n\n\n3",
                                             "Wingdings,0,0,0"};
    for (const std::string& input : inputs) {
        char face[256] = {};
        int height = 0, weight = 0, italic = 0;
        const bool expected =
            std::sscanf(input.c_str(), "%255[a-zA-Z ],%d,%d,%d", face, &height, &weight, &italic) == 4;
        FontRecord record;
        ASSERT_EQ(ParseFontRecord(input, record), expected) << input;
        if (!expected) continue;
        EXPECT_EQ(record.m_strFaceName, face) << input;
        EXPECT_EQ(record.m_nHeight, height) << input;
        EXPECT_EQ(record.m_nWeight, weight) << input;
        EXPECT_EQ(record.m_nItalic, static_cast<unsigned char>(italic)) << input;
    }
}

TEST(FontRecordParse, LongFaceNameIsCutToWhatFitsAFontDescription) {
    const std::string longFace(40, 'M');
    FontRecord record;
    ASSERT_TRUE(ParseFontRecord(longFace + ",-11,700,1", record));
    EXPECT_EQ(record.m_strFaceName, std::string(FontRecord::kMaxFaceName, 'M'));
    EXPECT_EQ(record.m_nHeight, -11);
    EXPECT_EQ(record.m_nWeight, 700);
    EXPECT_EQ(record.m_nItalic, 1);
}

TEST(FontRecordParse, FaceNameOfExactlyThirtyOneIsKept) {
    const std::string face = "Abcdefghij Abcdefghij Abcdefghi";
    ASSERT_EQ(face.size(), FontRecord::kMaxFaceName);
    FontRecord record;
    ASSERT_TRUE(ParseFontRecord(face + ",-11,700,1", record));
    EXPECT_EQ(record.m_strFaceName, face);
}

TEST(FontRecordParse, VeryLongInputStaysBounded) {
    std::string text(100000, 'a');
    text += ",1,2,3";
    FontRecord record;
    ASSERT_TRUE(ParseFontRecord(text, record));
    EXPECT_EQ(record.m_strFaceName.size(), FontRecord::kMaxFaceName);
    std::string digits = "a,1,2,";
    digits.append(100000, '9');
    EXPECT_TRUE(ParseFontRecord(digits, record));
}

TEST(FontRecordFormat, BoldTahomaGivesTheKnownLine) {
    FontRecord record;
    record.m_strFaceName = "Tahoma";
    record.m_nHeight = -11;
    record.m_nWeight = 700;
    record.m_nItalic = 0;
    EXPECT_EQ(FormatFontRecord(record), "Tahoma,-11,700,0");
}

TEST(FontRecordFormat, ItalicIsWrittenUnsigned) {
    FontRecord record;
    record.m_strFaceName = "Arial";
    record.m_nHeight = 12;
    record.m_nWeight = 400;
    record.m_nItalic = 255;
    EXPECT_EQ(FormatFontRecord(record), "Arial,12,400,255");
}

TEST(FontRecordFormat, FaceEndsAtZeroCharacter) {
    FontRecord record;
    record.m_strFaceName = std::string("Arial\0junk", 10);
    record.m_nHeight = INT32_MIN;
    record.m_nWeight = 0;
    EXPECT_EQ(FormatFontRecord(record), "Arial,-2147483648,0,0");
}

class FontRecordRoundTrip : public testing::TestWithParam<FontRecord> {};

TEST_P(FontRecordRoundTrip, ParseGivesBackWhatFormatWrote) {
    const FontRecord& original = GetParam();
    FontRecord parsed;
    ASSERT_TRUE(ParseFontRecord(FormatFontRecord(original), parsed)) << FormatFontRecord(original);
    EXPECT_EQ(parsed.m_strFaceName, original.m_strFaceName);
    EXPECT_EQ(parsed.m_nHeight, original.m_nHeight);
    EXPECT_EQ(parsed.m_nWeight, original.m_nWeight);
    EXPECT_EQ(parsed.m_nItalic, original.m_nItalic);
}

FontRecord Record(const char* face, int height, int weight, unsigned char italic) {
    FontRecord record;
    record.m_strFaceName = face;
    record.m_nHeight = height;
    record.m_nWeight = weight;
    record.m_nItalic = italic;
    return record;
}

INSTANTIATE_TEST_SUITE_P(Records, FontRecordRoundTrip,
                         testing::Values(Record("Tahoma", -11, 700, 0), Record("Courier New", -13, 400, 1),
                                         Record("Microsoft Sans Serif", 8, 100, 255),
                                         Record("Abcdefghij Abcdefghij Abcdefghi", INT32_MIN, INT32_MAX,
                                                128)));

} // namespace
