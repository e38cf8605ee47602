#pragma once
// The layout of the program's windows as kept between runs: window places and column widths as
// settings texts, and the rule that brings a saved place back onto a screen that still exists.
#include "widgets/StickyDragManager.h"

#include <string>
#include <vector>

// "x,y,w,h" of a window rectangle.
std::string FormatPlacement(const StickyRect& rect);
// False for anything but four numbers with a positive, plausible size.
bool ParsePlacement(const std::string& text, StickyRect* rect);

// Column widths as "w1,w2,...".
std::string FormatWidths(const std::vector<int>& widths);
// Exactly count widths of 0 to kMaxColumnWidth pixels; empty when the text is anything else.
std::vector<int> ParseWidths(const std::string& text, size_t count);
constexpr int kMaxColumnWidth = 4000;

// The rectangle itself when enough of its caption band lies on one of the work areas to grab it;
// otherwise moved (same size) inside the work area it overlaps most, or the first (the primary) when it
// overlaps none. The work areas are those of the monitors present now.
StickyRect KeepOnScreen(const StickyRect& rect, const std::vector<StickyRect>& workAreas);
