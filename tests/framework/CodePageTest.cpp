// The program's texts are UTF-8 (natively, and under Wine through the manifest every test program
// carries); text from earlier versions and ID3 version 1 fields is in the legacy code page.
#include "framework/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

bool LegacyIsWestern() {
    return LegacyCodePage() == 1252;
}

TEST(CodePageTest, AsciiAndZeroCharactersPassUnchanged) {
    std::u16string wide(u"Song - Artist\0x", 15);
    std::string narrow("Song - Artist\0x", 15);
    EXPECT_EQ(WideToAnsi(wide), narrow);
    EXPECT_EQ(AnsiToWide(narrow), wide);
    EXPECT_EQ(WideToAnsi(u""), "");
    EXPECT_EQ(AnsiToWide(""), u"");
}

TEST(CodePageTest, TheProgramsTextsAreUtf8AndHoldEveryCharacter) {
    ASSERT_TRUE(ProgramIsUtf8());
    const std::u16string wide = u"Caf\u00E9 \u041C\u0438\u0440 \u65E5\u672C \U0001F3B5";
    const std::string utf8 = "Caf\xC3\xA9 \xD0\x9C\xD0\xB8\xD1\x80 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5";
    EXPECT_EQ(WideToAnsi(wide), utf8);
    EXPECT_EQ(AnsiToWide(utf8), wide);
    EXPECT_EQ(WideToUtf8(wide), utf8);
    EXPECT_EQ(WideToUtf8(std::u16string{u'a', static_cast<char16_t>(0xD83C), u'b'}), "a\xEF\xBF\xBD"
                                                                                     "b");
}

TEST(CodePageTest, LegacyBytesBecomeProgramTextAndBack) {
    if (!LegacyIsWestern()) GTEST_SKIP() << "needs a Western legacy code page";
    EXPECT_EQ(LegacyToText("Caf\xE9 M\xFCller \x80"), "Caf\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC");
    std::string bytes;
    EXPECT_TRUE(TextToLegacy("Mot\xC3\xB6rhead\0"s, bytes));
    EXPECT_EQ(bytes, "Mot\xF6rhead\0"s);
    EXPECT_FALSE(TextToLegacy("\xE6\x97\xA5", bytes));
    EXPECT_FALSE(TextToLegacy("\xF0\x9F\x8E\xB5", bytes));
}

TEST(CodePageTest, StoredTextIsUtf8WhenValidAndLegacyOtherwise) {
    if (!LegacyIsWestern()) GTEST_SKIP() << "needs a Western legacy code page";
    EXPECT_EQ(StoredToText("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(StoredToText("Caf\xE9\0"s), "Caf\xC3\xA9\0"s);
    EXPECT_EQ(StoredToText("plain"), "plain");
}

struct CutCase {
    const char* name;
    CharForm form;
    std::string text;
    size_t maxBytes;
    size_t whole;      // WholeCharsLength
    std::string first; // FirstChars(text, 1)
};

bool LeadIs81(unsigned char byte) {
    return byte == 0x81;
}

class CharCutTest : public testing::TestWithParam<CutCase> {};

TEST_P(CharCutTest, NeverCutsACharacterInHalf) {
    const CutCase& c = GetParam();
    const CharRules rules{c.form, c.form == CharForm::doubleByte ? &LeadIs81 : nullptr};
    EXPECT_EQ(WholeCharsLength(c.text, c.maxBytes, rules), c.whole);
    EXPECT_EQ(FirstChars(c.text, 1, rules), c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CharCutTest,
    testing::Values(CutCase{"Utf8TwoBytes", CharForm::utf8, "a\xC3\xA9z", 2, 1, "a"},
                    CutCase{"Utf8Whole", CharForm::utf8, "\xC3\xA9z", 3, 3, "\xC3\xA9"},
                    CutCase{"Utf8Emoji", CharForm::utf8, "\xF0\x9F\x8E\xB5!", 3, 0, "\xF0\x9F\x8E\xB5"},
                    CutCase{"Utf8BadBytesCountAlone", CharForm::utf8, "\xE9\xE9", 1, 1, "\xE9"},
                    CutCase{"Utf8CutSequence", CharForm::utf8, "\xE6\x97", 5, 2, "\xE6"},
                    CutCase{"DoubleByte", CharForm::doubleByte, "\x81\x41\x42", 1, 0, "\x81\x41"},
                    CutCase{"SingleByte", CharForm::singleByte, "\xE9\xE9", 1, 1, "\xE9"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
