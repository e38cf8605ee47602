#include "lists/FindRules.h"

#include <utility>

CaseFoldTable AsciiCaseFold() {
    CaseFoldTable fold{};
    for (size_t c = 0; c < fold.size(); ++c)
        fold[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return fold;
}

namespace {

bool IsLead(LeadBytePredicate isLeadByte, unsigned char byte) { return isLeadByte && isLeadByte(byte); }

// Whether needle starts at haystack[at]; a two-byte character matches only itself, byte for byte.
bool MatchesAt(const std::string& haystack, size_t at, const std::string& needle, LeadBytePredicate isLeadByte,
               const CaseFoldTable& fold) {
    for (size_t i = 0; i < needle.size(); ++i) {
        const auto found = static_cast<unsigned char>(haystack[at + i]);
        const auto wanted = static_cast<unsigned char>(needle[i]);
        if (IsLead(isLeadByte, found) && i + 1 < needle.size()) {
            if (found != wanted || haystack[at + i + 1] != needle[i + 1]) return false;
            ++i;
        } else if (fold[found] != fold[wanted]) {
            return false;
        }
    }
    return true;
}

}  // namespace

size_t FindInField(const std::string& field, const std::string& text, LeadBytePredicate isLeadByte,
                   const CaseFoldTable& fold) {
    const std::string haystack = DisplayText(field);
    const std::string needle = DisplayText(text);
    // Walk character by character so that a match can only start where a character does.
    for (size_t at = 0; at + needle.size() <= haystack.size();) {
        if (MatchesAt(haystack, at, needle, isLeadByte, fold)) return at;
        at += (IsLead(isLeadByte, static_cast<unsigned char>(haystack[at])) && at + 1 < haystack.size()) ? 2 : 1;
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
        if (field && FindInField(*field, text, m_pfnIsLeadByte, m_fold) != std::string::npos) {
            m_nNextRow = row + 1;
            return row;
        }
    }
    return -1;
}
