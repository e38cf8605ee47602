#pragma once
// TextSegment: one piece of a multi-colour line, copied in and out of the controls whole.
#include <cstdint>
#include <string>
#include <utility>

// Style word: text colour in the low 24 bits (0x00BBGGRR), then three font flags.
constexpr uint32_t kSegmentColourMask = 0x00FFFFFF;
constexpr uint32_t kSegmentBold = 0x01000000;
constexpr uint32_t kSegmentItalic = 0x02000000;
constexpr uint32_t kSegmentUnderline = 0x04000000;

// A background given as this value means "no colour of its own": the button face is used instead.
constexpr uint32_t kSegmentNoColour = 0xFFFFFFFF;

struct TextSegment {
    std::string m_strText;
    uint32_t m_nStyle = 0;
    uint32_t m_crBackground = 0; // 0x00BBGGRR

    uint32_t TextColour() const { return m_nStyle & kSegmentColourMask; }
    bool IsBold() const { return (m_nStyle & kSegmentBold) != 0; }
    bool IsItalic() const { return (m_nStyle & kSegmentItalic) != 0; }
    bool IsUnderline() const { return (m_nStyle & kSegmentUnderline) != 0; }

    bool operator==(const TextSegment& other) const {
        return m_strText == other.m_strText && m_nStyle == other.m_nStyle &&
               m_crBackground == other.m_crBackground;
    }
    bool operator!=(const TextSegment& other) const { return !(*this == other); }
};

// Builds a segment the way the controls do: a background of kSegmentNoColour (-1) becomes the
// button-face colour at this moment. The colour is a parameter so that the rule runs without a system.
inline TextSegment MakeTextSegment(std::string text, uint32_t style, uint32_t background,
                                   uint32_t buttonFace) {
    TextSegment segment;
    segment.m_strText = std::move(text);
    segment.m_nStyle = style;
    segment.m_crBackground = background == kSegmentNoColour ? buttonFace : background;
    return segment;
}
