#include "lyrics/LyricsAddress.h"

#include "framework/CodePage.h"

namespace {

void ReplaceAll(std::string& text, char what, const char* with) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == what)
            result += with;
        else
            result += c;
    }
    text.swap(result);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string NormaliseLyricsField(const std::string& field) {
    std::string text = field;
    ReplaceAll(text, ' ', "-");
    for (char removed : {',', '\'', '"', '[', ']'})
        ReplaceAll(text, removed, "");
    const char* const trimmed = "?!* ";
    const size_t first = text.find_first_not_of(trimmed);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(trimmed) - first + 1);
}

std::string LyricsAddress(const std::string& host, const std::string& artist, const std::string& song) {
    const std::string normalisedArtist = NormaliseLyricsField(artist.substr(0, artist.find('\0')));
    const std::string normalisedSong = NormaliseLyricsField(song.substr(0, song.find('\0')));
    std::string address = "http://" + host + "/" + FirstChars(normalisedArtist, 1, ProgramCharRules()) + "/" +
                          normalisedArtist + "/" + normalisedSong + "/printerfriendly.html";
    for (char& c : address)
        c = LowerAscii(c);
    return address;
}

void CLyricsNavigation::Store(const std::string& url) {
    m_strUrl = url;
    m_bDue = !url.empty();
}

bool CLyricsNavigation::NavigateIfDue() {
    if (!m_bDue) return false;
    // Cleared first: a browser that completes a document while navigating asks again at once.
    m_bDue = false;
    m_browser.Navigate(m_strUrl);
    return true;
}
