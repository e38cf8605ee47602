#include "framework/CodePage.h"
#include "settings/MelodeckSettings.h"

#include "support/MediaFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

// Readable test names and failure messages.
void PrintTo(const LOGFONTA& description, std::ostream* out) {
    *out << description.lfFaceName << "," << description.lfHeight << "," << description.lfWeight << ","
         << static_cast<unsigned>(description.lfItalic);
}

namespace {

class MelodeckSettingsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_folder.Path().empty()); }

    std::string WriteIni(const std::string& content) const {
        std::ofstream out(m_strIniPath, std::ios::binary | std::ios::trunc);
        out << content;
        return m_strIniPath;
    }
    std::string ReadIni() const {
        std::ifstream in(m_strIniPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    CMediaFolder m_folder{"melodeck-settings"};
    std::string m_strIniPath = m_folder.PathOf("Melodeck.ini");
    CMelodeckSettings m_settings{m_strIniPath};
};

LOGFONTA Description(const char* face, LONG height, LONG weight, BYTE italic) {
    LOGFONTA description{};
    description.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfItalic = italic;
    return description;
}

LOGFONTA DescriptionOf(const CFont& font) {
    LOGFONTA description{};
    EXPECT_TRUE(font.GetLogFont(&description));
    return description;
}

TEST_F(MelodeckSettingsTest, AbsentFileGivesDefaults) {
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 0);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kOnTop), 0);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kTray), 0);
    EXPECT_EQ(m_settings.ReadFontText(), "~");
    CFont font;
    EXPECT_FALSE(m_settings.LoadFont(font));
    EXPECT_TRUE(font.IsNull());
}

TEST_F(MelodeckSettingsTest, AbsentKeysInAnExistingSectionGiveDefaults) {
    WriteIni("[Setup]\r\nOther=5\r\n");
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 0);
    EXPECT_EQ(m_settings.ReadFontText(), "~");
}

TEST_F(MelodeckSettingsTest, KeysOfAnotherSectionAreNotRead) {
    WriteIni("[Other]\r\nRandom=1\r\nFont=Tahoma,-11,700,0\r\n");
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 0);
    EXPECT_EQ(m_settings.ReadFontText(), "~");
}

class SettingsIntRoundTrip : public MelodeckSettingsTest,
                             public testing::WithParamInterface<std::tuple<const char*, int>> {};

TEST_P(SettingsIntRoundTrip, WrittenValueReadsBack) {
    const auto [key, value] = GetParam();
    m_settings.WriteInt(key, value);
    EXPECT_EQ(m_settings.ReadInt(key), value);
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsIntRoundTrip,
                         testing::Combine(testing::Values(CMelodeckSettings::kRandom,
                                                          CMelodeckSettings::kOnTop,
                                                          CMelodeckSettings::kTray),
                                          testing::Values(0, 1, 2, -5, 2147483647)));

TEST_F(MelodeckSettingsTest, KeysAreIndependent) {
    m_settings.WriteInt(CMelodeckSettings::kRandom, 1);
    m_settings.WriteInt(CMelodeckSettings::kOnTop, 0);
    m_settings.WriteInt(CMelodeckSettings::kTray, 1);
    m_settings.WriteInt(CMelodeckSettings::kOnTop, 1);
    m_settings.WriteInt(CMelodeckSettings::kRandom, 0);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 0);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kOnTop), 1);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kTray), 1);
}

// The caller decides what a value means: an OnTop of 2 comes back as 2, not as "on".
TEST_F(MelodeckSettingsTest, SavedOnTopOfTwoReadsTwo) {
    m_settings.WriteInt(CMelodeckSettings::kOnTop, 2);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kOnTop), 2);
}

TEST_F(MelodeckSettingsTest, ValuesAreWrittenAsDecimalTextUnderSetup) {
    m_settings.WriteInt(CMelodeckSettings::kOnTop, -12);
    const std::string content = ReadIni();
    EXPECT_NE(content.find("[Setup]"), std::string::npos) << content;
    EXPECT_NE(content.find("OnTop=-12"), std::string::npos) << content;
}

TEST_F(MelodeckSettingsTest, NotANumberReadsZero) {
    WriteIni("[Setup]\r\nRandom=yes\r\nTray=\r\n");
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 0);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kTray), 0);
}

// Earlier versions wrote the file in the legacy code page: its texts are read, and kept, as UTF-8.
TEST_F(MelodeckSettingsTest, AFileInTheLegacyCodePageKeepsItsTexts) {
    if (LegacyCodePage() != 1252) GTEST_SKIP() << "needs Windows-1252 as the legacy code page";
    WriteIni("[Setup]\r\nLyricsHost=paroles-\xE9t\xE9.example\r\n");
    m_settings.WriteInt("Random", 1);
    EXPECT_EQ("paroles-\xC3\xA9t\xC3\xA9.example", m_settings.ReadLyricsHost());
    EXPECT_NE(std::string::npos, ReadIni().find("LyricsHost=paroles-\xC3\xA9t\xC3\xA9.example"));
}

TEST_F(MelodeckSettingsTest, LyricsHostIsReadWithoutBlanksAndDefaultsWhenAbsentOrBlank) {
    EXPECT_EQ(m_settings.ReadLyricsHost(), CMelodeckSettings::kDefaultLyricsHost);
    WriteIni("[Setup]\r\nLyricsHost=   \r\n");
    EXPECT_EQ(m_settings.ReadLyricsHost(), CMelodeckSettings::kDefaultLyricsHost);
    WriteIni("[setup]\r\nlyricshost= lyrics.example.org \r\n");
    EXPECT_EQ(m_settings.ReadLyricsHost(), "lyrics.example.org");
}

class SettingsSectionSpelling : public MelodeckSettingsTest,
                                public testing::WithParamInterface<const char*> {};

TEST_P(SettingsSectionSpelling, HandWrittenSectionIsFound) {
    WriteIni(std::string("[") + GetParam() +
             "]\r\nrandom=1\r\nONTOP=2\r\nTray=1\r\nfont=Arial,-12,400,1\r\n");
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 1);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kOnTop), 2);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kTray), 1);
    EXPECT_EQ(m_settings.ReadFontText(), "Arial,-12,400,1");
}

TEST_P(SettingsSectionSpelling, WritingJoinsTheExistingSection) {
    WriteIni(std::string("[") + GetParam() + "]\r\nTray=1\r\n");
    m_settings.WriteInt(CMelodeckSettings::kRandom, 1);
    const std::string content = ReadIni();
    size_t headers = 0;
    for (size_t at = content.find('['); at != std::string::npos; at = content.find('[', at + 1))
        ++headers;
    EXPECT_EQ(headers, 1u) << content;
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kTray), 1);
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 1);
}

INSTANTIATE_TEST_SUITE_P(Spellings, SettingsSectionSpelling,
                         testing::Values("Setup", "setup", "SETUP", "sEtUp"));

TEST_F(MelodeckSettingsTest, FontTextReadsBack) {
    m_settings.WriteFontText("Tahoma,-11,700,0");
    EXPECT_EQ(m_settings.ReadFontText(), "Tahoma,-11,700,0");
}

TEST_F(MelodeckSettingsTest, FontTextIsCutAt259Characters) {
    const std::string longText(300, 'x');
    m_settings.WriteFontText(longText);
    EXPECT_EQ(m_settings.ReadFontText(), longText.substr(0, 259));
}

TEST_F(MelodeckSettingsTest, FontTextStaysOneLine) {
    m_settings.WriteFontText("Arial,1,2,3\r\nRandom=1");
    EXPECT_EQ(m_settings.ReadFontText(), "Arial,1,2,3");
    EXPECT_EQ(m_settings.ReadInt(CMelodeckSettings::kRandom), 0);
}

class SettingsFontRoundTrip : public MelodeckSettingsTest, public testing::WithParamInterface<LOGFONTA> {};

TEST_P(SettingsFontRoundTrip, SavedFontIsRestored) {
    CFont saved;
    ASSERT_TRUE(saved.CreateFontIndirect(GetParam()));
    m_settings.SaveFont(saved);

    CFont restored;
    ASSERT_TRUE(m_settings.LoadFont(restored));
    const LOGFONTA expected = DescriptionOf(saved);
    const LOGFONTA actual = DescriptionOf(restored);
    EXPECT_STREQ(actual.lfFaceName, expected.lfFaceName);
    EXPECT_EQ(actual.lfHeight, expected.lfHeight);
    EXPECT_EQ(actual.lfWeight, expected.lfWeight);
    EXPECT_EQ(actual.lfItalic, expected.lfItalic);
    EXPECT_EQ(actual.lfCharSet, DEFAULT_CHARSET);
}

INSTANTIATE_TEST_SUITE_P(Fonts, SettingsFontRoundTrip,
                         testing::Values(Description("Tahoma", -11, 700, 0),
                                         Description("Microsoft Sans Serif", -11, 400, 1),
                                         Description("Courier New", 20, 100, 255)));

TEST_F(MelodeckSettingsTest, BoldTahomaIsSavedAsTheKnownLine) {
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(Description("Tahoma", -11, 700, 0)));
    m_settings.SaveFont(font);
    EXPECT_EQ(m_settings.ReadFontText(), "Tahoma,-11,700,0");
    EXPECT_NE(ReadIni().find("Font=Tahoma,-11,700,0"), std::string::npos);
}

TEST_F(MelodeckSettingsTest, UnderlineAndStrikeOutAreNotSaved) {
    LOGFONTA description = Description("Tahoma", -13, 400, 1);
    description.lfUnderline = 1;
    description.lfStrikeOut = 1;
    description.lfWidth = 7;
    description.lfEscapement = 900;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(description));
    m_settings.SaveFont(font);
    EXPECT_EQ(m_settings.ReadFontText(), "Tahoma,-13,400,1");

    CFont restored;
    ASSERT_TRUE(m_settings.LoadFont(restored));
    const LOGFONTA actual = DescriptionOf(restored);
    EXPECT_EQ(actual.lfUnderline, 0);
    EXPECT_EQ(actual.lfStrikeOut, 0);
    EXPECT_EQ(actual.lfWidth, 0);
    EXPECT_EQ(actual.lfEscapement, 0);
    EXPECT_EQ(actual.lfItalic, 1);
}

TEST_F(MelodeckSettingsTest, LoadReplacesTheFontHeld) {
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(Description("Arial", -20, 400, 0)));
    m_settings.WriteFontText("Tahoma,-11,700,0");
    ASSERT_TRUE(m_settings.LoadFont(font));
    const LOGFONTA actual = DescriptionOf(font);
    EXPECT_STREQ(actual.lfFaceName, "Tahoma");
    EXPECT_EQ(actual.lfHeight, -11);
    EXPECT_EQ(actual.lfWeight, 700);
}

TEST_F(MelodeckSettingsTest, ItalicKeepsTheLowEightBits) {
    m_settings.WriteFontText("Arial,-12,400,257");
    CFont font;
    ASSERT_TRUE(m_settings.LoadFont(font));
    EXPECT_EQ(DescriptionOf(font).lfItalic, 1);
}

class SettingsBadFontRecord : public MelodeckSettingsTest, public testing::WithParamInterface<const char*> {};

TEST_P(SettingsBadFontRecord, FontStaysAsItWas) {
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(Description("Arial", -20, 400, 0)));
    const HFONT before = font;
    m_settings.WriteFontText(GetParam());
    EXPECT_FALSE(m_settings.LoadFont(font));
    EXPECT_EQ(static_cast<HFONT>(font), before);
    const LOGFONTA actual = DescriptionOf(font);
    EXPECT_STREQ(actual.lfFaceName, "Arial");
    EXPECT_EQ(actual.lfHeight, -20);
}

INSTANTIATE_TEST_SUITE_P(Records, SettingsBadFontRecord,
                         testing::Values("Tahoma2,-11,700,0", "Segoe UI-Light,-11,400,0", "Caf\xe9,-11,400,0",
                                         "Tahoma,-11,700", "~", ""));

TEST_F(MelodeckSettingsTest, SavedFontWithDigitInFaceIsNotRestored) {
    CFont saved;
    ASSERT_TRUE(saved.CreateFontIndirect(Description("Tahoma2", -11, 700, 0)));
    m_settings.SaveFont(saved);
    EXPECT_EQ(m_settings.ReadFontText(), "Tahoma2,-11,700,0");
    CFont font;
    EXPECT_FALSE(m_settings.LoadFont(font));
    EXPECT_TRUE(font.IsNull());
}

TEST_F(MelodeckSettingsTest, OverlongFaceNameIsCutToThirtyOne) {
    const std::string face = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    ASSERT_EQ(face.size(), 40u);
    m_settings.WriteFontText(face + ",-11,700,1");
    CFont font;
    ASSERT_TRUE(m_settings.LoadFont(font));
    const LOGFONTA actual = DescriptionOf(font);
    EXPECT_EQ(std::string(actual.lfFaceName), face.substr(0, LF_FACESIZE - 1));
    EXPECT_EQ(actual.lfHeight, -11);
    EXPECT_EQ(actual.lfItalic, 1);
}

TEST_F(MelodeckSettingsTest, SavingNoFontWritesNothing) {
    m_settings.WriteFontText("Tahoma,-11,700,0");
    CFont empty;
    m_settings.SaveFont(empty);
    EXPECT_EQ(m_settings.ReadFontText(), "Tahoma,-11,700,0");
}

TEST(MelodeckSettingsPath, DefaultIsTheProgramFileWithIni) {
    char program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    ASSERT_GT(length, 3u);
    ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
    const std::string programPath(program, length);
    ASSERT_EQ(programPath.substr(programPath.size() - 4), ".exe");

    const std::string iniPath = CMelodeckSettings().GetIniPath();
    EXPECT_EQ(iniPath, programPath.substr(0, programPath.size() - 3) + "ini");
}

TEST(MelodeckSettingsPath, ExplicitPathIsUsed) {
    EXPECT_EQ(CMelodeckSettings("C:\\elsewhere\\x.ini").GetIniPath(), "C:\\elsewhere\\x.ini");
}

struct PathCase {
    const char* name;
    std::string program;
    std::string ini;
};

std::ostream& operator<<(std::ostream& out, const PathCase& c) {
    return out << c.name;
}

class MelodeckSettingsPathRule : public testing::TestWithParam<PathCase> {};

TEST_P(MelodeckSettingsPathRule, LastThreeCharactersBecomeIni) {
    EXPECT_EQ(CMelodeckSettings::IniPathFor(GetParam().program), GetParam().ini);
}

// "C:\" + 252 characters + ".exe" is 259 characters, the most a 260-character buffer holds.
INSTANTIATE_TEST_SUITE_P(
    Paths, MelodeckSettingsPathRule,
    testing::Values(PathCase{"Exe", "C:\\Music\\Melodeck.exe", "C:\\Music\\Melodeck.ini"},
                    PathCase{"UpperCaseExe", "C:\\MELODECK.EXE", "C:\\MELODECK.ini"},
                    PathCase{"OnlyLastThreeReplaced", "C:\\a.b\\prog.com", "C:\\a.b\\prog.ini"},
                    PathCase{"NoExtension", "C:\\noext", "C:\\noini"},
                    PathCase{"ThreeCharacters", "abc", "ini"}, PathCase{"TooShort", "ab", ""},
                    PathCase{"Empty", "", ""},
                    PathCase{"LongestThatFits", "C:\\" + std::string(252, 'a') + ".exe",
                             "C:\\" + std::string(252, 'a') + ".ini"},
                    PathCase{"TooLong", "C:\\" + std::string(253, 'a') + ".exe", ""}),
    [](const testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

// A file that cannot be written is reported with its path and reason, once, however many options fail.
TEST(MelodeckSettingsWriteTest, AFailedWriteIsReportedOnce) {
    static std::vector<std::string> reports;
    CMediaFolder folder{"melodeck-settings-write"};
    const auto report = CMelodeckSettings::s_pfnReportWriteFailure;
    CMelodeckSettings::s_pfnReportWriteFailure = [](const std::string& path, const std::string& reason) {
        reports.push_back(path + "|" + reason);
    };
    CMelodeckSettings::s_bWriteFailureReported = false;
    const std::string nowhere = folder.PathOf("missing\\Melodeck.ini");
    CMelodeckSettings settings(nowhere);
    settings.WriteInt(CMelodeckSettings::kRandom, 1);
    settings.WriteInt(CMelodeckSettings::kTray, 1);
    settings.WriteFontText("Tahoma,-11,700,0");
    CMelodeckSettings::s_pfnReportWriteFailure = report;
    CMelodeckSettings::s_bWriteFailureReported = false;
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ(0u, reports[0].find(nowhere + "|"));
    EXPECT_GT(reports[0].size(), nowhere.size() + 1) << "with the system's reason";
}

} // namespace
