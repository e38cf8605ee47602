#pragma once
// The find dialog's search over a snapshot of a list's entries: which field is searched, how a text is
// found in it, and where the next press starts. No windows here: the dialog is a thin adapter.
#include "framework/CodePage.h"
#include "library/MediaEntry.h"

#include <string>
#include <vector>

// The field choice, by the position of the checked radio button; any other value searches nothing.
enum FindBy { findByArtist = 0, findByAlbum = 1, findBySong = 2, findByFileName = 3 };

// Maps a text to the form compared, so that upper and lower case meet. The program folds whole
// characters with the user's locale; the portable default folds the ASCII letters.
using CaseFold = std::string (*)(const std::string&);
std::string AsciiCaseFold(const std::string& text);

// Position of text in field, both up to their first zero character and folded; std::string::npos when
// absent. Without regard to case, and multibyte-aware: a match never starts or ends inside a character.
// An empty text is found at 0.
size_t FindInField(const std::string& field, const std::string& text, const CharRules& rules = CharRules{},
                   CaseFold fold = AsciiCaseFold);

// The field of an entry that the choice searches; null for a choice outside 0 to 3.
const std::string* SearchedField(const MediaEntry& entry, int findBy);

class CFindRules {
public:
    explicit CFindRules(const CharRules& rules = CharRules{}, CaseFold fold = AsciiCaseFold)
        : m_rules(rules), m_pfnFold(fold) {}

    // A fresh snapshot, in row order; the next search starts at the first row.
    void SetItems(std::vector<MediaEntry> items);
    // After the text or the field choice changed: the next search starts at the first row.
    void Restart() { m_nNextRow = 0; }

    // One press: the first row from the next row on whose chosen field holds text, after which the next
    // press starts one row further. -1 when no row matches ("Item Not Found"); the next row then stays,
    // so that, with no wrap-around, every later press fails too until a restart.
    int FindNext(const std::string& text, int findBy);

    int GetNextRow() const { return m_nNextRow; }
    int GetCount() const { return static_cast<int>(m_items.size()); }

private:
    int m_nNextRow = 0;
    std::vector<MediaEntry> m_items;
    CharRules m_rules;
    CaseFold m_pfnFold;
};
