// The platform-free rules of play lists: splitting bytes into lines, which line names which file, the
// extension passed on, directories, the written text and the file dialog's filter.
#include "library/M3ULines.h"
#include "library/TextFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

void PrintTo(const SplitCase& param, std::ostream* out) {
    *out << param.name;
}

class SplitLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, GivesTheLinesWithoutTheirEnds) {
    EXPECT_EQ(SplitLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitLinesTest,
    testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"OneLineWithoutEnd", "a.mp3", {"a.mp3"}},
                    SplitCase{"CrLf", "#EXTM3U\r\nC:\\a.mp3\r\n", {"#EXTM3U", "C:\\a.mp3"}},
                    SplitCase{"LfOnly", "#EXTM3U\na.mp3\nb.mp3\n", {"#EXTM3U", "a.mp3", "b.mp3"}},
                    SplitCase{
                        "LastLineWithoutEnd", "#EXTM3U\r\na.mp3\r\nb.mp3", {"#EXTM3U", "a.mp3", "b.mp3"}},
                    SplitCase{"MixedEnds", "a\r\nb\nc\r\n", {"a", "b", "c"}},
                    SplitCase{"EmptyLinesKept", "a\r\n\r\n\nb\r\n", {"a", "", "", "b"}},
                    SplitCase{"OnlyALineEnd", "\r\n", {""}},
                    SplitCase{"LoneCrInsideStaysInTheLine", "a\rb\r\nc\n", {"a\rb", "c"}},
                    SplitCase{"LoneCrAtTheEndStays", "a\r\nb\r", {"a", "b\r"}},
                    SplitCase{"OnlyOneCrBelongsToTheEnd", "a\r\r\n", {"a\r"}},
                    SplitCase{"ZeroBytesStay", "a\0b\r\n"s, {"a\0b"s}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

struct EntryCase {
    const char* name;
    std::string line;
    std::string directory;
    bool named;
    std::string path;
};

void PrintTo(const EntryCase& param, std::ostream* out) {
    *out << param.name;
}

class M3UEntryPathTest : public testing::TestWithParam<EntryCase> {};

TEST_P(M3UEntryPathTest, NamesTheFileOrSkipsTheLine) {
    const EntryCase& param = GetParam();
    std::string path = "untouched";
    EXPECT_EQ(M3UEntryPath(param.line, param.directory, path), param.named);
    EXPECT_EQ(path, param.named ? param.path : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, M3UEntryPathTest,
    testing::Values(
        EntryCase{"RelativeJoinsTheDirectory", "a.mp3", "D:\\Lists", true, "D:\\Lists\\a.mp3"},
        EntryCase{"RelativeSubfolder", "sub\\b.wav", "D:\\Lists", true, "D:\\Lists\\sub\\b.wav"},
        EntryCase{"CompletePathUnchanged", "C:\\x\\c.mp3", "D:\\Lists", true, "C:\\x\\c.mp3"},
        EntryCase{"ColonBackslashAnywhereIsComplete", "notes:\\c.mp3", "D:\\Lists", true, "notes:\\c.mp3"},
        EntryCase{"NoDirectoryKeepsTheLine", "a.mp3", "", true, "a.mp3"},
        EntryCase{"DotDotNotResolved", "..\\up.mp3", "D:\\Lists", true, "D:\\Lists\\..\\up.mp3"},
        EntryCase{"LeadingBlanksTrimmedTrailingKept", " \t a.mp3 ", "D:\\Lists", true, "D:\\Lists\\a.mp3 "},
        EntryCase{"IndentedCompletePath", "\tC:\\x\\c.mp3", "D:\\Lists", true, "C:\\x\\c.mp3"},
        EntryCase{"ForwardSlashesStay", "sub/b.mp3", "D:\\Lists", true, "D:\\Lists\\sub/b.mp3"},
        EntryCase{"DriveWithoutBackslashIsRelative", "C:a.mp3", "D:\\Lists", true, "D:\\Lists\\C:a.mp3"},
        EntryCase{"HashLineSkipped", "#EXTINF:215,Artist - Song", "D:\\Lists", false, ""},
        EntryCase{"HeaderSkipped", "#EXTM3U", "D:\\Lists", false, ""},
        EntryCase{"IndentedHashLineSkipped", "\t\t#EXTINF:-1,O G Money - Girl", "D:\\Lists", false, ""},
        EntryCase{"HashAfterABlankSkipped", " #x.mp3", "D:\\Lists", false, ""},
        EntryCase{"EmptyLineSkipped", "", "D:\\Lists", false, ""},
        EntryCase{"BlankLineSkipped", " \t ", "D:\\Lists", false, ""},
        EntryCase{"IndentedWebAddressSkipped", "  http://radio.example/a.mp3", "D:\\Lists", false, ""},
        EntryCase{"DriveWithForwardSlashIsComplete", "c:/Music/a.mp3", "D:\\Lists", true, "c:/Music/a.mp3"},
        EntryCase{"SharePathIsComplete", "\\\\nas\\m\\a.mp3", "D:\\Lists", true, "\\\\nas\\m\\a.mp3"},
        EntryCase{"RootedTakesTheListsDrive", "\\Music\\a.mp3", "D:\\Lists", true, "D:\\Music\\a.mp3"},
        EntryCase{"RootedTakesTheListsShare", "\\Music\\a.mp3", "\\\\nas\\m\\Lists", true,
                  "\\\\nas\\m\\Music\\a.mp3"},
        EntryCase{"RootedWithoutADriveStays", "\\Music\\a.mp3", "Lists", true, "\\Music\\a.mp3"},
        EntryCase{"WebAddressSkipped", "http://radio.example/a.mp3", "D:\\Lists", false, ""},
        EntryCase{"AnySchemeSkipped", "MMS+x://radio.example/live", "D:\\Lists", false, ""},
        EntryCase{"ColonSlashesAfterOneLetterIsADrive", "C://a.mp3", "D:\\Lists", true, "C://a.mp3"},
        EntryCase{"SlashesLaterInANameAreNoAddress", "a b://c.mp3", "D:\\Lists", true,
                  "D:\\Lists\\a b://c.mp3"}),
    [](const testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

// A name that really starts with a blank is kept when the file is there as written; the check sees the
// whole path, never the indented one when the line is not indented.
TEST(M3UEntryPathTest, LeadingBlanksStayWhenThePathExistsAsWritten) {
    std::vector<std::string> asked;
    auto existing = [&](const std::string& path) {
        asked.push_back(path);
        return path == "D:\\Lists\\ intro.mp3" || path == "D:\\Lists\\a.mp3";
    };
    std::string path;
    ASSERT_TRUE(M3UEntryPath(" intro.mp3", "D:\\Lists", path, existing));
    EXPECT_EQ(path, "D:\\Lists\\ intro.mp3");
    ASSERT_TRUE(M3UEntryPath(" outro.mp3", "D:\\Lists", path, existing));
    EXPECT_EQ(path, "D:\\Lists\\outro.mp3");
    ASSERT_TRUE(M3UEntryPath("a.mp3", "D:\\Lists", path, existing));
    EXPECT_FALSE(M3UEntryPath("  #x.mp3", "D:\\Lists", path, existing));
    EXPECT_EQ(asked, (Lines{"D:\\Lists\\ intro.mp3", "D:\\Lists\\ outro.mp3"}));
}

struct TextCase {
    const char* name;
    std::string bytes;
    std::string text;
};

void PrintTo(const TextCase& param, std::ostream* out) {
    *out << param.name;
}

class TextToAnsiTest : public testing::TestWithParam<TextCase> {};

// Natively the program's texts are UTF-8 and the legacy code page is Windows-1252.
TEST_P(TextToAnsiTest, GivesTheTextInTheCodePage) {
    EXPECT_EQ(TextToAnsi(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToAnsiTest,
    testing::Values(TextCase{"AsciiStays", "a\r\n#b\0"s, "a\r\n#b\0"s},
                    TextCase{"LegacyBytesAreConverted", "caf\xE9\x80", "caf\xC3\xA9\xE2\x82\xAC"},
                    TextCase{"Utf8Stays", "caf\xC3\xA9\n", "caf\xC3\xA9\n"},
                    TextCase{"MarkOnly", "\xEF\xBB\xBF", ""},
                    TextCase{"FourByteUtf8", "\xF0\x9F\x8E\xB5", "\xF0\x9F\x8E\xB5"},
                    TextCase{"OverlongFormIsNoUtf8", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
                    TextCase{"SurrogateIsNoUtf8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
                    TextCase{"BadBytesAfterAMarkAreReplaced", "\xEF\xBB\xBF"s + "a\xE9", "a\xEF\xBF\xBD"},
                    TextCase{"OutsideTheLegacyCodePage", "\xEF\xBB\xBF\xE4\xB8\xAD\xF0\x9F\x8E\xB5",
                             "\xE4\xB8\xAD\xF0\x9F\x8E\xB5"},
                    TextCase{"Utf16OddByteDropped", "\xFF\xFE"s + "a\0\n\0b"s, "a\n"},
                    TextCase{"Utf16BigEndian", "\xFE\xFF\0a\0\xE9\x4E\x2D"s, "a\xC3\xA9\xE4\xB8\xAD"}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(M3ULinesTest, AnM3u8ListIsUtf8WhateverItsBytes) {
    EXPECT_TRUE(IsUtf8ListName("C:\\Lists\\Mix.M3U8"));
    EXPECT_FALSE(IsUtf8ListName("C:\\Lists\\Mix.m3u"));
    EXPECT_EQ(TextToAnsi("a\xE9", true), "a\xEF\xBF\xBD");
}

TEST(M3UExtensionTest, IsTheLastFourCharactersOfTheLine) {
    EXPECT_EQ(M3UExtension("C:\\Music\\a.mp3"), ".mp3");
    EXPECT_EQ(M3UExtension("a.MP3"), ".MP3");
    EXPECT_EQ(M3UExtension("song.flac"), "flac");
    EXPECT_EQ(M3UExtension("a.ra"), "a.ra");
    EXPECT_EQ(M3UExtension("abc"), "abc");
    EXPECT_EQ(M3UExtension(""), "");
}

TEST(DirectoryOfTest, IsThePathBeforeTheLastBackslash) {
    EXPECT_EQ(DirectoryOf("D:\\Lists\\mix.m3u"), "D:\\Lists");
    EXPECT_EQ(DirectoryOf("C:\\mix.m3u"), "C:");
    EXPECT_EQ(DirectoryOf("\\\\server\\share\\mix.m3u"), "\\\\server\\share");
    EXPECT_EQ(DirectoryOf("D:\\Lists\\"), "D:\\Lists");
    EXPECT_EQ(DirectoryOf("mix.m3u"), "");
    EXPECT_EQ(DirectoryOf("/home/lists/mix.m3u"), "");
}

TEST(FileNameOfTest, IsThePathAfterTheLastSeparator) {
    EXPECT_EQ(FileNameOf("D:\\Lists\\mix.m3u"), "mix.m3u");
    EXPECT_EQ(FileNameOf("/tmp/lists/mix.m3u"), "mix.m3u");
    EXPECT_EQ(FileNameOf("mix.m3u"), "mix.m3u");
    EXPECT_EQ(FileNameOf("D:\\Lists\\"), "");
}

TEST(M3UTextTest, IsTheHeaderThenOnePathPerLineWithCrLf) {
    MediaEntry first;
    first.m_strPath = "C:\\Music\\a.mp3";
    first.m_strSong = "not written";
    MediaEntry second;
    second.m_strPath = "D:\\More\\b.wav";
    EXPECT_EQ(M3UText({first, second}), "#EXTM3U\r\nC:\\Music\\a.mp3\r\nD:\\More\\b.wav\r\n");
    EXPECT_EQ(M3UText({}), "#EXTM3U\r\n");
}

// The parts of a zero-separated dialog filter, up to the empty part that ends it; "unterminated" when the
// text does not end in two zeros.
std::vector<std::string> FilterParts(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < filter.size()) {
        size_t zero = filter.find('\0', start);
        if (zero == std::string::npos) return {"unterminated"};
        if (zero == start) return parts;
        parts.push_back(filter.substr(start, zero - start));
        start = zero + 1;
    }
    return {"unterminated"};
}

TEST(FileDialogFilterTest, HasThePlayListEntryThenAllFiles) {
    EXPECT_EQ(CTextFile::FilterText("", "m3u"), "PlayList (*.m3u)|*.m3u|All Files (*.*)|*.*||");
    std::string filter = CTextFile::DialogFilter(CTextFile::FilterText("", "m3u"));
    EXPECT_EQ(FilterParts(filter), (Lines{"PlayList (*.m3u)", "*.m3u", "All Files (*.*)", "*.*"}));
}

TEST(FileDialogFilterTest, ThePrefixGoesBeforeTheDescription) {
    std::string filter = CTextFile::DialogFilter(CTextFile::FilterText("Music ", "pls"));
    EXPECT_EQ(FilterParts(filter), (Lines{"Music PlayList (*.pls)", "*.pls", "All Files (*.*)", "*.*"}));
}

TEST(FileDialogFilterTest, NoExtensionMeansNoFilter) {
    EXPECT_EQ(CTextFile::FilterText("Music ", ""), "");
    EXPECT_EQ(CTextFile::DialogFilter(""), "");
}

} // namespace
