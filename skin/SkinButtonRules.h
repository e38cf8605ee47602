#pragma once
// The portable rules of button skins: text flags from the button style, where text, images and the
// check or radio glyph go, the push face's shape and colour, and which bitmap keys make its caps.
#include "skin/SkinGeometry.h"

#include <cstdint>

namespace skin {

// Button styles read by the skins (the platform's BS_ values).
enum : uint32_t {
    kBsTypeMask = 0x0F,
    kBsLeftText = 0x20,
    kBsIcon = 0x40,
    kBsBitmap = 0x80,
    kBsLeft = 0x100,
    kBsRight = 0x200,
    kBsCenter = 0x300,
    kBsTop = 0x400,
    kBsBottom = 0x800,
    kBsVCenter = 0xC00,
    kBsMultiLine = 0x2000,
};
// Text flags with the platform's DT_ values.
enum : unsigned {
    kDtLeft = 0,
    kDtTop = 0,
    kDtCenter = 1,
    kDtRight = 2,
    kDtVCenter = 4,
    kDtBottom = 8,
    kDtHorizontalMask = 3,
    kDtVerticalMask = 0xC,
    kDtSingleLine = 0x20,
};
// Type bits the application gives the transport buttons: a side joined to its neighbour.
enum : uint32_t { kTypeJoinedLeft = 0x01, kTypeJoinedRight = 0x02 };
// Bitmap keys of push buttons: caps and middle, and the caps of joined sides.
enum : int { kKeyLeft = 0, kKeyRight = 1, kKeyMiddle = 2, kKeyJoinedLeft = 3, kKeyJoinedRight = 4 };

// Text flags from the style; plain push buttons (kinds 0 and 1) centre their text by default.
unsigned ButtonTextFlags(uint32_t style);
// A measured text (or image) of width x height placed in the area as the flags say: it starts at the
// area's top-left and moves to the centre, right or bottom when smaller; never beyond the area.
Rect PlaceInArea(const Rect& area, int width, int height, unsigned flags);

// The check or radio glyph box in a client rectangle: a 16 x 16 cell at the left (right with
// BS_LEFTTEXT), centred vertically unless BS_TOP or BS_BOTTOM stands alone; shrunk to 13 x 13 for a
// check box and 12 x 12 for a radio button.
Rect GlyphBox(const Rect& client, uint32_t style, bool radio);
// The client area beside the glyph box, 3 pixels away from it.
Rect GlyphTextArea(const Rect& client, const Rect& box, uint32_t style);

// The face colour of a hot or pressed push button: 13 added to each channel.
Color LightenFace(Color color);
// The face colour of a pressed push button whose artwork has no pressed image of its own: each
// channel brought down to the percentage given.
Color ShadeFace(Color color, int percent);
// Corner radius of the built-in push face; 0 for small buttons.
int PushFaceRadius(int width, int height);
// Corners of the push face that stay rounded (kCorner* flags of the rounded edge routine): joined
// sides are square.
int PushFaceCorners(uint32_t type);
int LeftCapKey(uint32_t type);
int RightCapKey(uint32_t type, bool hasJoinedRightSet);

// Push state: pressed wins over hot; disabled over everything.
FrameState PushState(bool disabled, bool pushed, bool hot);
// Radius of a group box's frame.
int GroupFrameRadius(int frameWidth, int frameHeight);

} // namespace skin
