#include "lists/FindRules.h"

#include <utility>

std::string AsciiCaseFold(const std::string& text) {
    std::string folded = text;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

size_t FindInField(const std::string& field, const std::string& text, const CharRules& rules, CaseFold fold) {
    const std::string haystack = fold ? fold(DisplayText(field)) : DisplayText(field);
    const std::string needle = fold ? fold(DisplayText(text)) : DisplayText(text);
    if (rules.form == CharForm::singleByte) return haystack.find(needle);
    // Walk character by character so that a match can only start, and end, where a character does.
    for (size_t at = 0; at + needle.size() <= haystack.size(); at += CharLengthAt(haystack, at, rules)) {
        if (haystack.compare(at, needle.size(), needle) != 0) continue;
        const size_t end = at + needle.size();
        if (end == haystack.size() ||
            WholeCharsLength(haystack.substr(at), needle.size(), rules) == needle.size())
            return at;
    }
    return std::string::npos;
}

const std::string* SearchedField(const MediaEntry& entry, int findBy) {
    switch (findBy) {
    case findByArtist: return &entry.m_strArtist;
    case findByAlbum: return &entry.m_strAlbum;
    case findBySong: return &entry.m_strSong;
    case findByFileName: return &entry.m_strFileName;
    }
    return nullptr;
}

void CFindRules::SetItems(std::vector<MediaEntry> items) {
    m_items = std::move(items);
    m_nNextRow = 0;
}

int CFindRules::FindNext(const std::string& text, int findBy) {
    // A row beyond the snapshot (it shrank) starts over; one equal to the count finds nothing.
    if (m_nNextRow < 0 || m_nNextRow > GetCount()) m_nNextRow = 0;
    for (int row = m_nNextRow; row < GetCount(); ++row) {
        const std::string* field = SearchedField(m_items[static_cast<size_t>(row)], findBy);
        if (field && FindInField(*field, text, m_rules, m_pfnFold) != std::string::npos) {
            m_nNextRow = row + 1;
            return row;
        }
    }
    return -1;
}
