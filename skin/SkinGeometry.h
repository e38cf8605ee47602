#pragma once
// The arithmetic of the skinned control base, apart from GDI: frame types and widths, corner radii, the
// frame's state, shaded edge colours, scroll-bar layout and when a bar is worth drawing.
#include "skin/SkinColorCache.h"

namespace skin {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// Feature bits of a skin object: which messages reach it and how its frame looks.
enum : unsigned {
    kFeatureFrameMask = 0x03,
    kFeaturePaint = 0x04,
    kFeatureNonClient = 0x08,
    kFeatureEraseBkgnd = 0x10,
    kFeatureCustomDraw = 0x20,
    kFeatureCtlColor = 0x40,
    kFeatureDrawItem = 0x80,
    kFeatureNoDefNcPaint = 0x200,
    kFeatureDrawItemAfter = 0x800,
};
enum FrameType { kFrameNone = 0, kFrameSunken = 1, kFrameRaised = 2, kFrameFlat = 3 };
enum FrameState { kStateHot = 0, kStateNormal = 1, kStatePressed = 2, kStateDisabled = 3 };

// The colour slot of a control's background.
int BkColorSlot(unsigned features);  // kSlotParentBkgnd means: ask the parent
// Pixels of the non-client band: a drop-down list (parent is the desktop) has 2.
int BorderWidth(unsigned features, bool parentIsDesktop);
// How far the client rectangle shrinks on each side inside that band.
int NcInset(int borderWidth);
int CornerRadius(int width, int height);
// A flat frame too small for its corners is drawn as a thin sunken edge.
FrameType EffectiveFrameType(unsigned features, int width, int height);
FrameState FrameStateFor(bool disabled, bool cursorInside, bool otherHasCapture);

// Shades for edges drawn in one colour instead of system colours.
Color Darken(Color color, double factor);
Color Lighten(Color color, double factor);
// Between two colours, weight 0..1 towards the second (for the pixels of a rounded corner).
Color Blend(Color from, Color to, double weight);

// Scroll bars laid out inside a window rectangle with origin (0,0).
struct ScrollBarLayout {
    bool hasVert = false, hasHorz = false;
    Rect vert, horz, corner;          // empty when absent
    Rect arrows[4];                   // up, down (vertical); left, right (horizontal)
};
ScrollBarLayout LayoutScrollBars(const Rect& window, int border, bool hasVert, bool hasHorz, bool leftScrollBar,
                                 int barWidth, int barHeight, int arrowLength);
// Whether a bar's arrows and thumb can be used, from its range and the lengths in pixels.
bool IsScrollBarUsable(bool enabled, bool thumb, int minimum, int maximum, unsigned page, int barLength,
                       int arrowLength, int systemThumb, bool nt);

}  // namespace skin
