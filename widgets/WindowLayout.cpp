#include "widgets/WindowLayout.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// Beyond these a value is damage, not a place on any desktop.
constexpr long kMaxCoordinate = 100000;
constexpr long kMaxSize = 20000;
// A window can be dragged back when this much of its caption band is on a screen.
constexpr int kCaptionBand = 20;
constexpr int kMinGrabWidth = 40;

// Whole decimal numbers separated by commas, nothing else; false on any other character or overflow.
bool ParseNumbers(const std::string& text, std::vector<long>* numbers) {
    numbers->clear();
    size_t at = 0;
    for (;;) {
        const size_t end = text.find(',', at);
        const std::string item = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (item.empty() || item.size() > 9) return false;
        size_t digits = item[0] == '-' ? 1 : 0;
        if (digits == item.size()) return false;
        for (size_t i = digits; i < item.size(); ++i)
            if (item[i] < '0' || item[i] > '9') return false;
        numbers->push_back(std::strtol(item.c_str(), nullptr, 10));
        if (end == std::string::npos) return true;
        at = end + 1;
    }
}

long long OverlapArea(const StickyRect& a, const StickyRect& b) {
    const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Keeps a span of the given length inside [low, high), starting at low when it does not fit.
int Clamp(int start, int length, int low, int high) {
    if (length >= high - low) return low;
    return std::min(std::max(start, low), high - length);
}

}  // namespace

std::string FormatPlacement(const StickyRect& rect) {
    char text[64];
    std::snprintf(text, sizeof(text), "%d,%d,%d,%d", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    return text;
}

bool ParsePlacement(const std::string& text, StickyRect* rect) {
    std::vector<long> n;
    if (!ParseNumbers(text, &n) || n.size() != 4) return false;
    if (std::labs(n[0]) > kMaxCoordinate || std::labs(n[1]) > kMaxCoordinate) return false;
    if (n[2] <= 0 || n[3] <= 0 || n[2] > kMaxSize || n[3] > kMaxSize) return false;
    const int x = static_cast<int>(n[0]), y = static_cast<int>(n[1]);
    *rect = StickyRect{x, y, x + static_cast<int>(n[2]), y + static_cast<int>(n[3])};
    return true;
}

std::string FormatWidths(const std::vector<int>& widths) {
    std::ostringstream text;
    for (size_t i = 0; i < widths.size(); ++i) text << (i ? "," : "") << widths[i];
    return text.str();
}

std::vector<int> ParseWidths(const std::string& text, size_t count) {
    std::vector<long> n;
    if (!ParseNumbers(text, &n) || n.size() != count) return {};
    std::vector<int> widths;
    for (long width : n) {
        if (width < 0 || width > kMaxColumnWidth) return {};
        widths.push_back(static_cast<int>(width));
    }
    return widths;
}

StickyRect KeepOnScreen(const StickyRect& rect, const std::vector<StickyRect>& workAreas) {
    if (workAreas.empty()) return rect;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const StickyRect caption{rect.left, rect.top, rect.right, rect.top + std::min(height, kCaptionBand)};
    for (const StickyRect& area : workAreas) {
        const int shown = std::min(caption.right, area.right) - std::max(caption.left, area.left);
        if (caption.top >= area.top && caption.top < area.bottom && shown >= std::min(width, kMinGrabWidth))
            return rect;
    }
    const StickyRect* best = &workAreas.front();
    for (const StickyRect& area : workAreas)
        if (OverlapArea(rect, area) > OverlapArea(rect, *best)) best = &area;
    const int left = Clamp(rect.left, width, best->left, best->right);
    const int top = Clamp(rect.top, height, best->top, best->bottom);
    return StickyRect{left, top, left + width, top + height};
}
