#include "skin/SkinGeometry.h"

#include <algorithm>
#include <cmath>

namespace skin {

int BkColorSlot(unsigned features) {
    switch (features & kFeatureFrameMask) {
    case kFrameRaised: return kSlotBtnFace;
    case kFrameFlat: return kSlotParentBkgnd;
    default: return kSlotWindow;
    }
}

int BorderWidth(unsigned features, bool parentIsDesktop) {
    if (parentIsDesktop) return 2;
    return features & kFeatureFrameMask ? 3 : 0;
}

int NcInset(int borderWidth) { return borderWidth >= 2 ? borderWidth - 2 : 0; }

int CornerRadius(int width, int height) { return std::max(0, std::min({height / 2, width / 2, 4})); }

FrameType EffectiveFrameType(unsigned features, int width, int height) {
    auto type = static_cast<FrameType>(features & kFeatureFrameMask);
    if (type == kFrameFlat && (width < 4 || height < 4)) return kFrameSunken;
    return type;
}

FrameState FrameStateFor(bool disabled, bool cursorInside, bool otherHasCapture) {
    if (disabled) return kStateDisabled;
    return cursorInside && !otherHasCapture ? kStateHot : kStateNormal;
}

static Color MapChannels(Color color, int (*channel)(int, double), double factor) {
    Color result = 0;
    for (int shift = 0; shift < 24; shift += 8)
        result |= static_cast<Color>(channel((color >> shift) & 0xFF, factor)) << shift;
    return result;
}

Color Darken(Color color, double factor) {
    return MapChannels(
        color, [](int c, double f) { return std::min(255, static_cast<int>(std::floor(f * c)) + (c & 1)); },
        factor);
}

Color Lighten(Color color, double factor) {
    return MapChannels(
        color, [](int c, double f) { return std::min(255, c + static_cast<int>(std::lround(f * 252))); },
        factor);
}

Color Blend(Color from, Color to, double weight) {
    weight = std::clamp(weight, 0.0, 1.0);
    Color result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        result |= static_cast<Color>(std::lround(a + (b - a) * weight)) << shift;
    }
    return result;
}

ScrollBarLayout LayoutScrollBars(const Rect& window, int border, bool hasVert, bool hasHorz, bool leftScrollBar,
                                 int barWidth, int barHeight, int arrowLength) {
    ScrollBarLayout layout;
    layout.hasVert = hasVert;
    layout.hasHorz = hasHorz;
    Rect inner{window.left + border, window.top + border, window.right - border, window.bottom - border};
    if (hasVert) {
        layout.vert = inner;
        if (leftScrollBar)
            layout.vert.right = inner.left + barWidth;
        else
            layout.vert.left = inner.right - barWidth;
        if (hasHorz) layout.vert.bottom -= barHeight;
        // Arrows share a bar that is shorter than two of them.
        int arrow = std::min(arrowLength, layout.vert.Height() / 2);
        layout.arrows[0] = {layout.vert.left, layout.vert.top, layout.vert.right, layout.vert.top + arrow};
        layout.arrows[1] = {layout.vert.left, layout.vert.bottom - arrow, layout.vert.right, layout.vert.bottom};
    }
    if (hasHorz) {
        layout.horz = inner;
        layout.horz.top = inner.bottom - barHeight;
        if (hasVert && leftScrollBar) layout.horz.left = layout.vert.right;
        if (hasVert && !leftScrollBar) layout.horz.right = layout.vert.left;
        int arrow = std::min(arrowLength, layout.horz.Width() / 2);
        layout.arrows[2] = {layout.horz.left, layout.horz.top, layout.horz.left + arrow, layout.horz.bottom};
        layout.arrows[3] = {layout.horz.right - arrow, layout.horz.top, layout.horz.right, layout.horz.bottom};
    }
    if (hasVert && hasHorz)
        layout.corner = {layout.vert.left, layout.horz.top, layout.vert.right, layout.horz.bottom};
    return layout;
}

bool IsScrollBarUsable(bool enabled, bool thumb, int minimum, int maximum, unsigned page, int barLength,
                       int arrowLength, int systemThumb, bool nt) {
    if (!enabled) return false;
    if (thumb) return true;
    long long range = static_cast<long long>(maximum) - minimum + 1;
    if (range <= 0) return false;
    int track = barLength - 2 * arrowLength;
    if (track <= 0) return true;
    long long thumbLength = page == 0 ? systemThumb : static_cast<long long>(page) * track / range;
    thumbLength = std::max<long long>(thumbLength, nt ? 8 : arrowLength / 2);
    return track > thumbLength;
}

}  // namespace skin
