#pragma once
// The lyrics page address of a song, and when the lyrics window hands a stored address to its browser.
#include <string>

// A field as it goes into the address: blanks become hyphens; commas, apostrophes, double quotes and
// square brackets go; runs of "?!* " are trimmed from both ends. Nothing is escaped.
std::string NormaliseLyricsField(const std::string& field);

// "http://<host>/<index letter>/<artist>/<song>/printerfriendly.html", all of it in lower case (ASCII
// letters only, as the C locale does). The index letter is the first character (whole, in any code
// page) of the normalised artist, none when that is empty. Fields are taken up to their first zero character.
std::string LyricsAddress(const std::string& host, const std::string& artist, const std::string& song);

// The browser as the navigation rule sees it.
class ILyricsBrowser {
public:
    virtual ~ILyricsBrowser() = default;
    virtual void Navigate(const std::string& url) = 0;
};

// Each stored address reaches the browser exactly once, whether it was stored before the window was made
// or while it is open, and however many documents complete: a completed document checks what is due,
// so that a finished page never loads itself again.
class CLyricsNavigation {
public:
    explicit CLyricsNavigation(ILyricsBrowser& browser) : m_browser(browser) {}

    // A new address (the same text again counts as new: the user asked once more).
    void Store(const std::string& url);
    const std::string& Stored() const { return m_strUrl; }
    // Navigates when the stored address has not been handed over yet; true when it navigated. Called at
    // initialisation, from the check that storing schedules, and after each completed document.
    bool NavigateIfDue();

private:
    ILyricsBrowser& m_browser;
    std::string m_strUrl;
    bool m_bDue = false;
};
