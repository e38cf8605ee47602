#include "widgets/MultiColorStatic.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

// BeginPaint/EndPaint, with the DC's own font put back before the font we made for it is deleted.
class CPaintScope {
public:
    explicit CPaintScope(HWND hWnd) : m_hWnd(hWnd) {
        m_hDC = ::BeginPaint(hWnd, &m_ps);
        if (m_hDC) m_hOldFont = ::GetCurrentObject(m_hDC, OBJ_FONT);
    }
    ~CPaintScope() {
        if (m_hDC && m_hOldFont) ::SelectObject(m_hDC, m_hOldFont);
        ::EndPaint(m_hWnd, &m_ps);
    }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;
    HDC GetDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC = nullptr;
    HGDIOBJ m_hOldFont = nullptr;
};

// The part of a text that is displayed: up to a terminating zero character a tag field may carry.
int DisplayLength(const std::string& text) {
    size_t length = ::strnlen(text.c_str(), text.size());
    return length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

int ClampToInt(int64_t value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

CMultiColorStatic::CMultiColorStatic() : m_crBackground(::GetSysColor(COLOR_BTNFACE)) {
    m_brBackground.CreateSolidBrush(m_crBackground);
}

CMultiColorStatic::~CMultiColorStatic() = default;

TextSegment CMultiColorStatic::BuildSegment(const std::string& text, uint32_t style, uint32_t background) {
    return MakeTextSegment(text, style, background, ::GetSysColor(COLOR_BTNFACE));
}

bool CMultiColorStatic::SetSegment(int index, const TextSegment& segment) {
    if (index < 0 || static_cast<size_t>(index) > m_segments.size() || segment.m_strText.empty())
        return false;
    if (static_cast<size_t>(index) < m_segments.size())
        m_segments[static_cast<size_t>(index)] = segment;
    else
        m_segments.push_back(segment);
    InvalidateIfWindow();
    return true;
}

TextSegment CMultiColorStatic::GetSegment(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_segments.size())
        return MakeTextSegment(std::string(), 0, kSegmentNoColour, ::GetSysColor(COLOR_BTNFACE));
    return m_segments[static_cast<size_t>(index)];
}

bool CMultiColorStatic::AddText(const std::string& text, uint32_t style, uint32_t background) {
    return AddSegment(BuildSegment(text, style, background));
}

bool CMultiColorStatic::AddSegment(const TextSegment& segment) {
    return SetSegment(GetSegmentCount(), segment);
}

bool CMultiColorStatic::RemoveSegment(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_segments.size()) return false;
    m_segments.erase(m_segments.begin() + index);
    InvalidateIfWindow();
    return true;
}

void CMultiColorStatic::RemoveAll() {
    while (!m_segments.empty())
        m_segments.pop_back();
    InvalidateIfWindow();
}

void CMultiColorStatic::SetBackgroundColor(COLORREF colour) {
    m_crBackground = colour;
    m_brBackground.CreateSolidBrush(colour);
    InvalidateIfWindow();
}

void CMultiColorStatic::SetFitFontToHeight(bool fit) {
    m_bFitFontToHeight = fit;
    InvalidateIfWindow();
}

void CMultiColorStatic::InvalidateIfWindow() const {
    if (IsWindow()) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

HBRUSH CMultiColorStatic::BackgroundBrush() {
    // Destroying the window deleted the brush; a later window gets a new one.
    if (m_brBackground.IsNull()) m_brBackground.CreateSolidBrush(m_crBackground);
    return m_brBackground;
}

void CMultiColorStatic::PreSubclassWindow() {
    m_rcClient = GetClientRect();
    // Fill at once so that the static's own drawing never shows before our first paint.
    if (HDC dc = ::GetDC(m_hWnd)) {
        ::FillRect(dc, &m_rcClient, BackgroundBrush());
        ::ReleaseDC(m_hWnd, dc);
    }
    // A static without this style is transparent to the mouse.
    ModifyStyle(0, SS_NOTIFY);
}

LRESULT CMultiColorStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: return OnPaint();
    case WM_ERASEBKGND: return OnEraseBkgnd();
    case WM_SIZE: return OnSize();
    case WM_DESTROY: return OnDestroy();
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

LRESULT CMultiColorStatic::OnPaint() {
    CPaintScope paint(m_hWnd);
    if (paint.GetDC()) PaintLine(paint.GetDC());
    return 0;
}

void CMultiColorStatic::PaintLine(HDC dc) {
    FillBackground(dc);
    DrawSegments(dc, m_rcClient.left);
}

LRESULT CMultiColorStatic::OnSize() {
    LRESULT result = Default();
    m_rcClient = GetClientRect();
    return result;
}

LRESULT CMultiColorStatic::OnDestroy() {
    LRESULT result = Default();
    m_font.DeleteObject();
    m_brBackground.DeleteObject();
    return result;
}

void CMultiColorStatic::FillBackground(HDC dc) {
    ::FillRect(dc, &m_rcClient, BackgroundBrush());
}

void CMultiColorStatic::SelectSegmentFont(HDC dc, const TextSegment& segment) {
    LOGFONTA description{};
    HFONT controlFont = m_hWnd ? GetFont() : nullptr;
    if (!controlFont || ::GetObjectA(controlFont, sizeof(description), &description) != sizeof(description)) {
        description = LOGFONTA{};
        description.lfPitchAndFamily = FF_SWISS;
        description.lfWidth = 0;
    }
    if (m_bFitFontToHeight) description.lfHeight = m_rcClient.bottom - m_rcClient.top;
    description.lfWeight = segment.IsBold() ? FW_HEAVY : FW_NORMAL;
    description.lfItalic = segment.IsItalic() ? TRUE : FALSE;
    description.lfUnderline = segment.IsUnderline() ? TRUE : FALSE;
    description.lfQuality = PROOF_QUALITY;

    HFONT font = ::CreateFontIndirectA(&description);
    if (!font) return; // keep drawing with the previous font
    ::SelectObject(dc, font);
    m_font.Attach(font); // the previous segment's font, no longer selected, goes
}

int CMultiColorStatic::DrawSegments(HDC dc, int x) {
    const COLORREF buttonFace = ::GetSysColor(COLOR_BTNFACE);
    int64_t left = x;
    int64_t total = 0;
    ::SetBkMode(dc, OPAQUE);
    for (const TextSegment& segment : m_segments) {
        SelectSegmentFont(dc, segment);
        // A segment on the button face blends with the control's own background.
        COLORREF background = segment.m_crBackground == buttonFace ? m_crBackground : segment.m_crBackground;
        ::SetBkColor(dc, background);
        ::SetTextColor(dc, segment.TextColour());

        const int length = DisplayLength(segment.m_strText);
        if (left < m_rcClient.right) {
            RECT rect{ClampToInt(left), m_rcClient.top, m_rcClient.right, m_rcClient.bottom};
            ::DrawTextA(dc, segment.m_strText.c_str(), length, &rect,
                        DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
        SIZE extent{};
        TEXTMETRICA metrics{};
        ::GetTextExtentPoint32A(dc, segment.m_strText.c_str(), length, &extent);
        ::GetTextMetricsA(dc, &metrics);
        const int64_t width = static_cast<int64_t>(extent.cx) + metrics.tmOverhang;
        left += width;
        total += width;
    }
    return ClampToInt(total);
}
