#pragma once
// CMultiColorStatic: a static control that paints one line of text segments, each with its own text
// colour, background colour and font style. Without a window it is a plain holder of segments.
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "widgets/TextSegment.h"

#include <string>
#include <vector>

class CMultiColorStatic : public CStatic {
public:
    CMultiColorStatic();
    ~CMultiColorStatic() override;

    // Replaces the segment at index, or appends at index == count. False, changing nothing, for an
    // index out of 0..count or an empty text.
    virtual bool SetSegment(int index, const TextSegment& segment);
    // A copy; outside 0..count-1 an empty segment with style 0 on the button face.
    virtual TextSegment GetSegment(int index) const;
    // Builds a segment (background kSegmentNoColour means the button face) and appends it.
    virtual bool AddText(const std::string& text, uint32_t style, uint32_t background = kSegmentNoColour);
    virtual bool AddSegment(const TextSegment& segment);
    virtual bool RemoveSegment(int index);
    virtual void RemoveAll();

    int GetSegmentCount() const { return static_cast<int>(m_segments.size()); }

    COLORREF GetBackgroundColor() const { return m_crBackground; }
    // The fill colour of the control; segments on the button face are drawn in it too.
    void SetBackgroundColor(COLORREF colour);
    bool GetFitFontToHeight() const { return m_bFitFontToHeight; }
    void SetFitFontToHeight(bool fit);

    // A segment as AddText builds it: a background of kSegmentNoColour becomes the button face now.
    static TextSegment BuildSegment(const std::string& text, uint32_t style, uint32_t background);

protected:
    std::vector<TextSegment> m_segments;
    COLORREF m_crBackground;
    CBrush m_brBackground;
    CFont m_font; // the font of the segment being painted
    RECT m_rcClient{};
    bool m_bFitFontToHeight = true;

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    LRESULT OnPaint();
    // Paints the whole line into a paint DC; the banner draws from its scroll position instead.
    virtual void PaintLine(HDC dc);
    virtual LRESULT OnSize();
    LRESULT OnEraseBkgnd() { return TRUE; } // paint fills the background itself
    virtual LRESULT OnDestroy();

    // Draws every segment left to right from x, each clipped to the rectangle from x to the client's
    // right and bottom edges; returns the total width drawn (text widths plus overhangs).
    int DrawSegments(HDC dc, int x);
    void FillBackground(HDC dc);
    // Creates the segment's font from the control's font and selects it, deleting the previous one.
    void SelectSegmentFont(HDC dc, const TextSegment& segment);
    HBRUSH BackgroundBrush();
    void InvalidateIfWindow() const;
};
