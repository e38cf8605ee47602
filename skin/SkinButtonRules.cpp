#include "skin/SkinButtonRules.h"

#include <algorithm>

namespace skin {

namespace {
constexpr int kGlyphCell = 16;

bool IsPlainPush(uint32_t style) {
    uint32_t kind = style & kBsTypeMask;
    // A push-like check box or radio button looks and reads like a push button.
    return kind == 0 || kind == 1 || (style & 0x1000) != 0;
}
} // namespace

unsigned ButtonTextFlags(uint32_t style) {
    unsigned flags = 0;
    switch (style & kBsVCenter) {
    case kBsTop: flags |= kDtTop; break;
    case kBsBottom: flags |= kDtBottom; break;
    default: flags |= kDtVCenter; break;
    }
    switch (style & kBsCenter) {
    case kBsCenter: flags |= kDtCenter; break;
    case kBsRight: flags |= kDtRight; break;
    case 0: flags |= IsPlainPush(style) ? kDtCenter : kDtLeft; break;
    default: break;
    }
    if (!(style & kBsMultiLine)) flags |= kDtSingleLine;
    return flags;
}

Rect PlaceInArea(const Rect& area, int width, int height, unsigned flags) {
    int x = area.left, y = area.top;
    if (width < area.Width()) {
        if ((flags & kDtHorizontalMask) == kDtCenter)
            x += (area.Width() - width) / 2;
        else if ((flags & kDtHorizontalMask) == kDtRight)
            x = area.right - width;
    }
    if (height < area.Height()) {
        if ((flags & kDtVerticalMask) == kDtVCenter)
            y += (area.Height() - height) / 2;
        else if ((flags & kDtVerticalMask) == kDtBottom)
            y = area.bottom - height;
    }
    return {x, y, std::min(x + width, area.right), std::min(y + height, area.bottom)};
}

Rect GlyphBox(const Rect& client, uint32_t style, bool radio) {
    int left = style & kBsLeftText ? client.right - kGlyphCell : client.left;
    int top = client.top + (client.Height() - kGlyphCell) / 2;
    if ((style & kBsVCenter) == kBsTop)
        top = client.top;
    else if ((style & kBsVCenter) == kBsBottom)
        top = client.bottom - kGlyphCell;
    Rect cell{left, top, left + kGlyphCell, top + kGlyphCell};
    if (radio) return {cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    return {cell.left + 1, cell.top + 1, cell.right - 2, cell.bottom - 2};
}

Rect GlyphTextArea(const Rect& client, const Rect& box, uint32_t style) {
    constexpr int kGap = 3;
    if (style & kBsLeftText)
        return {client.left, client.top, std::max(client.left, box.left - kGap), client.bottom};
    return {std::min(client.right, box.right + kGap), client.top, client.right, client.bottom};
}

Color LightenFace(Color color) {
    Color result = 0;
    for (int shift = 0; shift < 24; shift += 8)
        result |= static_cast<Color>(std::min(255u, ((color >> shift) & 0xFF) + 13)) << shift;
    return result;
}

Color ShadeFace(Color color, int percent) {
    Color result = 0;
    for (int shift = 0; shift < 24; shift += 8)
        result |= static_cast<Color>(((color >> shift) & 0xFF) * static_cast<unsigned>(percent) / 100) << shift;
    return result;
}

int PushFaceRadius(int width, int height) {
    return std::max(0, std::min(width, height) / 2 - 4);
}

int PushFaceCorners(uint32_t type) {
    int corners = 15; // top-left 1, top-right 2, bottom-left 4, bottom-right 8
    if (type & kTypeJoinedLeft) corners &= ~(1 | 4);
    if (type & kTypeJoinedRight) corners &= ~(2 | 8);
    return corners;
}

int LeftCapKey(uint32_t type) {
    return type & kTypeJoinedLeft ? kKeyJoinedLeft : kKeyLeft;
}

int RightCapKey(uint32_t type, bool hasJoinedRightSet) {
    return type & kTypeJoinedRight && hasJoinedRightSet ? kKeyJoinedRight : kKeyRight;
}

FrameState PushState(bool disabled, bool pushed, bool hot) {
    if (disabled) return kStateDisabled;
    if (pushed) return kStatePressed;
    return hot ? kStateHot : kStateNormal;
}

int GroupFrameRadius(int frameWidth, int frameHeight) {
    return std::max(0, std::min({frameHeight, frameWidth / 2, 9}));
}

} // namespace skin
