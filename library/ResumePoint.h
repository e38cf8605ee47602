#pragma once
// Where the user left off: the whole entry that was playing or paused (a queue entry has already left
// its list, so a row number would not find it again) and the position in it. Kept as one line of text
// in the INI file, which cannot hold zero characters or line breaks: those are escaped.
#include "library/MediaEntry.h"

#include <string>

struct ResumePoint {
    MediaEntry m_entry;
    long m_nPositionMs = 0;
};

std::string FormatResumePoint(const ResumePoint& point);
// False, with point untouched, for a text that is not a whole record (an empty or damaged value).
bool ParseResumePoint(const std::string& text, ResumePoint& point);
