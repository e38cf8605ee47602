#include "lyrics/LyricsAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct AddressCase {
    const char* name;
    std::string artist;
    std::string song;
    const char* path;
};

class LyricsAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(LyricsAddressTest, BuildsThePath) {
    const AddressCase& c = GetParam();
    EXPECT_EQ(LyricsAddress("Lyrics.Example.COM", c.artist, c.song),
              std::string("http://lyrics.example.com") + c.path);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, LyricsAddressTest,
    testing::Values(
        AddressCase{"PunctuationGoesAndBlanksBecomeHyphens", "Rock, Paper [Live]", "Why Not?!",
                    "/r/rock-paper-live/why-not/printerfriendly.html"},
        AddressCase{"TrailingMarksAreTrimmedButFullStopsStay", "\"Quoted\" Band's", "*Wow*...",
                    "/q/quoted-bands/wow*.../printerfriendly.html"},
        AddressCase{"TrailingStarsAreTrimmed", "ABBA", "Help!*?", "/a/abba/help/printerfriendly.html"},
        AddressCase{"SlashIsNotEscaped", "Up/Down", "Side", "/u/up/down/side/printerfriendly.html"},
        AddressCase{"LeadingBlankGivesAHyphenIndex", " Lead", "Song ", "/-/-lead/song-/printerfriendly.html"},
        AddressCase{"EmptyFieldsGiveEmptySegments", "", "", "////printerfriendly.html"},
        AddressCase{"OnlyMarksIsEmpty", "?!", "x", "///x/printerfriendly.html"},
        AddressCase{"OtherCharactersPassAsTheyAre",
                    "Ca\xEF"
                    "d & Co.",
                    "\xC9t\xE9",
                    "/c/ca\xEF"
                    "d-&-co./\xC9t\xE9/printerfriendly.html"},
        AddressCase{"TagFieldsEndAtTheirZero", std::string("Abba\0", 5), std::string("SOS\0junk", 8),
                    "/a/abba/sos/printerfriendly.html"}),
    [](const testing::TestParamInfo<AddressCase>& info) { return info.param.name; });

// Stands in for the browser: records each navigation and, like a page that loads at once, may
// complete its document before Navigate returns.
class CStandInBrowser : public ILyricsBrowser {
public:
    void Navigate(const std::string& url) override {
        m_navigated.push_back(url);
        if (m_bCompleteAtOnce && m_navigated.size() < 10) m_pNavigation->NavigateIfDue();
    }
    std::vector<std::string> m_navigated;
    CLyricsNavigation* m_pNavigation = nullptr;
    bool m_bCompleteAtOnce = false;
};

class LyricsNavigationTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        m_browser.m_pNavigation = &m_navigation;
        m_browser.m_bCompleteAtOnce = GetParam();
    }
    CStandInBrowser m_browser;
    CLyricsNavigation m_navigation{m_browser};
};

TEST_P(LyricsNavigationTest, NothingStoredNavigatesNowhere) {
    EXPECT_FALSE(m_navigation.NavigateIfDue());
    m_navigation.Store("");
    EXPECT_FALSE(m_navigation.NavigateIfDue());
    EXPECT_TRUE(m_browser.m_navigated.empty());
}

TEST_P(LyricsNavigationTest, EachStoredAddressIsNavigatedOnceAndCompletedDocumentsNeverReload) {
    // Just created: initialisation finds nothing; the owner stores, the scheduled check navigates.
    EXPECT_FALSE(m_navigation.NavigateIfDue());
    m_navigation.Store("http://a/1");
    EXPECT_TRUE(m_navigation.NavigateIfDue());
    for (int completed = 0; completed < 3; ++completed)
        EXPECT_FALSE(m_navigation.NavigateIfDue());
    // Already open: a new song, then the same song asked for again.
    m_navigation.Store("http://a/2");
    EXPECT_TRUE(m_navigation.NavigateIfDue());
    EXPECT_FALSE(m_navigation.NavigateIfDue());
    m_navigation.Store("http://a/2");
    EXPECT_TRUE(m_navigation.NavigateIfDue());
    EXPECT_FALSE(m_navigation.NavigateIfDue());
    EXPECT_EQ(m_browser.m_navigated, (std::vector<std::string>{"http://a/1", "http://a/2", "http://a/2"}));
}

TEST_P(LyricsNavigationTest, AddressStoredBeforeInitialisationIsNavigatedThere) {
    m_navigation.Store("http://a/1");
    EXPECT_TRUE(m_navigation.NavigateIfDue());
    EXPECT_FALSE(m_navigation.NavigateIfDue());
    EXPECT_EQ(m_browser.m_navigated, std::vector<std::string>{"http://a/1"});
}

INSTANTIATE_TEST_SUITE_P(Browsers, LyricsNavigationTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "CompletingAtOnce" : "CompletingLater";
                         });

} // namespace
