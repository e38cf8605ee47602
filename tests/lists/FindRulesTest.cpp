// The find dialog's search: one hit per press, no wrap-around, restarts, and what a text matches.
#include "lists/FindRules.h"

#include <gtest/gtest.h>

namespace {

MediaEntry Row(const std::string& artist, const std::string& album = "", const std::string& file = "") {
    return MediaEntry{"C:\\a.mp3", file, artist, album, ""};
}

TEST(FindRulesTest, EachPressFindsTheNextMatchThenNothingUntilARestart) {
    CFindRules search;
    search.SetItems({Row("Abba"), Row("Queen"), Row(std::string("The Abba\0", 9)), Row("ABBA")});
    EXPECT_EQ(0, search.FindNext("Abba", findByArtist));
    EXPECT_EQ(2, search.FindNext("Abba", findByArtist));   // in the middle, up to the zero character
    EXPECT_EQ(3, search.FindNext("Abba", findByArtist));   // without regard to case
    EXPECT_EQ(-1, search.FindNext("Abba", findByArtist));  // no wrap-around
    EXPECT_EQ(-1, search.FindNext("Abba", findByArtist));
    search.Restart();
    EXPECT_EQ(0, search.FindNext("", findByArtist));  // an empty text matches every row
    EXPECT_EQ(1, search.FindNext("", findByArtist));
    search.SetItems({Row("a")});  // a shrunken list starts over within its own rows
    EXPECT_EQ(0, search.FindNext("a", findByArtist));
    EXPECT_EQ(-1, search.FindNext("a", findByArtist));
}

TEST(FindRulesTest, EachChoiceSearchesItsOwnFieldAndOthersNothing) {
    CFindRules search;
    for (int choice : {int{findByAlbum}, int{findByFileName}, int{findByArtist}, int{findBySong}, -1, 4}) {
        search.SetItems({Row("x", "Gold", "Gold.mp3")});
        EXPECT_EQ(choice == findByAlbum || choice == findByFileName ? 0 : -1, search.FindNext("Gold", choice))
            << choice;
    }
}

TEST(FindRulesTest, AMatchNeverStartsOrEndsInsideACharacter) {
    const CharRules doubleByte{CharForm::doubleByte, [](unsigned char byte) { return byte == 0x81; }};
    EXPECT_EQ(std::string::npos, FindInField("\x81\x41", "\x41", doubleByte));
    EXPECT_EQ(2u, FindInField("\x81\x41\x41", "\x41", doubleByte));
    EXPECT_EQ(1u, FindInField("\x81\x41", "\x41"));  // a single-byte code page has no such characters
    // UTF-8: "\xC3" alone is half of e acute; a broken stored byte before the match is stepped over.
    const CharRules utf8{CharForm::utf8, nullptr};
    EXPECT_EQ(std::string::npos, FindInField("Caf\xC3\xA9", "\xC3", utf8));
    EXPECT_EQ(3u, FindInField("Caf\xC3\xA9", "\xC3\xA9", utf8));
    EXPECT_EQ(1u, FindInField("\xE9\xC3\xA9", "\xC3\xA9", utf8));
}

TEST(FindRulesTest, TheLocalesFoldMakesItsLettersMeet) {
    const CaseFold westernFold = [](const std::string& text) {
        std::string folded = AsciiCaseFold(text);
        for (char& c : folded)
            if (static_cast<unsigned char>(c) == 0xC9) c = '\xE9';  // as a Western code page folds E acute
        return folded;
    };
    EXPECT_EQ(2u, FindInField("Caf\xC9", "f\xE9", CharRules{}, westernFold));
    EXPECT_EQ(std::string::npos, FindInField("Caf\xC9", "f\xE9"));
}

}  // namespace
