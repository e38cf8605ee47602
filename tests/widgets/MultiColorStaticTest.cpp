// The multi-colour static under Wine: its segment rules (with and without a window) and its painting.
#include "widgets/MultiColorStatic.h"

#include "BannerTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kYellow = 0x0000FFFF;
constexpr uint32_t kMint = 0x00C0F0D0;

uint32_t ButtonFace() {
    return ::GetSysColor(COLOR_BTNFACE);
}

TextSegment Segment(const std::string& text, uint32_t style = 0, uint32_t background = kWhite) {
    return MakeTextSegment(text, style, background, ButtonFace());
}

std::vector<std::string> Texts(const CMultiColorStatic& control) {
    std::vector<std::string> texts;
    for (int i = 0; i < control.GetSegmentCount(); ++i)
        texts.push_back(control.GetSegment(i).m_strText);
    return texts;
}

using Strings = std::vector<std::string>;

int RowsWith(const CCapture& capture, uint32_t colour) {
    int rows = 0;
    for (int y = 0; y < capture.nHeight; ++y)
        for (int x = 0; x < capture.nWidth; ++x)
            if (capture.At(x, y) == colour) {
                ++rows;
                break;
            }
    return rows;
}

// ---- Segment rules, without a window (as the player's scratch holder uses them).

TEST(MultiColorSegments, SetSegmentAppendsAtTheCountAndReplacesBelowIt) {
    CMultiColorStatic line;
    EXPECT_TRUE(line.SetSegment(0, Segment("a")));
    EXPECT_TRUE(line.SetSegment(1, Segment("b")));
    EXPECT_EQ(Texts(line), (Strings{"a", "b"}));

    EXPECT_TRUE(line.SetSegment(0, Segment("c", kRed, kYellow)));
    EXPECT_EQ(Texts(line), (Strings{"c", "b"}));
    EXPECT_EQ(line.GetSegment(0), Segment("c", kRed, kYellow));
}

struct RefusedSet {
    const char* szName;
    int nIndex;
    const char* szText;
};

void PrintTo(const RefusedSet& refused, std::ostream* out) {
    *out << refused.szName;
}

class MultiColorRefusedSet : public testing::TestWithParam<RefusedSet> {};

TEST_P(MultiColorRefusedSet, ReturnsFalseAndLeavesTheLineAsItWas) {
    CMultiColorStatic line;
    ASSERT_TRUE(line.AddSegment(Segment("a")));
    ASSERT_TRUE(line.AddSegment(Segment("b", kBlue)));
    EXPECT_FALSE(line.SetSegment(GetParam().nIndex, Segment(GetParam().szText, kRed)));
    EXPECT_EQ(Texts(line), (Strings{"a", "b"}));
    EXPECT_EQ(line.GetSegment(1), Segment("b", kBlue));
}

INSTANTIATE_TEST_SUITE_P(Cases, MultiColorRefusedSet,
                         testing::Values(RefusedSet{"NegativeIndex", -1, "x"},
                                         RefusedSet{"MostNegativeIndex", INT_MIN, "x"},
                                         RefusedSet{"IndexPastTheCount", 3, "x"},
                                         RefusedSet{"EmptyTextReplacing", 0, ""},
                                         RefusedSet{"EmptyTextAppending", 2, ""}),
                         [](const testing::TestParamInfo<RefusedSet>& info) { return info.param.szName; });

TEST(MultiColorSegments, GetSegmentOutsideTheLineIsEmptyOnTheButtonFace) {
    CMultiColorStatic line;
    line.AddSegment(Segment("a", kRed, kYellow));
    for (int index : {-1, 1, 100}) {
        TextSegment segment = line.GetSegment(index);
        EXPECT_EQ(segment.m_strText, "") << index;
        EXPECT_EQ(segment.m_nStyle, 0u) << index;
        EXPECT_EQ(segment.m_crBackground, ButtonFace()) << index;
    }
}

TEST(MultiColorSegments, AddTextBuildsTheSegmentWithTheButtonFaceForMinusOne) {
    CMultiColorStatic line;
    EXPECT_TRUE(line.AddText("Abba - Waterloo", kSegmentBold, static_cast<uint32_t>(-1)));
    EXPECT_TRUE(line.AddText("white", 0, kWhite));
    EXPECT_FALSE(line.AddText("", 0, kWhite));
    ASSERT_EQ(line.GetSegmentCount(), 2);
    EXPECT_EQ(line.GetSegment(0).m_crBackground, ButtonFace());
    EXPECT_EQ(line.GetSegment(0).m_nStyle, kSegmentBold);
    EXPECT_EQ(line.GetSegment(1).m_crBackground, kWhite);
}

TEST(MultiColorSegments, RemoveSegmentKeepsTheOrderAndRefusesIndicesOutside) {
    CMultiColorStatic line;
    for (const char* text : {"a", "b", "c"})
        line.AddSegment(Segment(text));
    EXPECT_FALSE(line.RemoveSegment(-1));
    EXPECT_FALSE(line.RemoveSegment(3));
    EXPECT_TRUE(line.RemoveSegment(1));
    EXPECT_EQ(Texts(line), (Strings{"a", "c"}));
    line.RemoveAll();
    EXPECT_EQ(line.GetSegmentCount(), 0);
    EXPECT_FALSE(line.RemoveSegment(0));
}

TEST(MultiColorSegments, ScratchHolderKeepsExactlyTheLastSegmentSetAtZero) {
    CMultiColorStatic scratch;
    TextSegment first = CMultiColorStatic::BuildSegment("Abba - Waterloo", kSegmentBold, kSegmentNoColour);
    TextSegment second = CMultiColorStatic::BuildSegment("Queen - Innuendo", kSegmentBold, kSegmentNoColour);
    EXPECT_TRUE(scratch.SetSegment(0, first));
    EXPECT_TRUE(scratch.SetSegment(0, second));
    ASSERT_EQ(scratch.GetSegmentCount(), 1);
    EXPECT_EQ(scratch.GetSegment(0), second);
    EXPECT_EQ(scratch.GetSegment(0).m_crBackground, ButtonFace());
}

TEST(MultiColorSegments, SegmentsAreCopiesNotShared) {
    CMultiColorStatic line;
    TextSegment segment = Segment("a");
    line.AddSegment(segment);
    segment.m_strText = "changed";
    EXPECT_EQ(line.GetSegment(0).m_strText, "a");
    TextSegment out = line.GetSegment(0);
    out.m_strText = "also changed";
    EXPECT_EQ(line.GetSegment(0).m_strText, "a");
}

// ---- With a window.

class MultiColorWindow : public testing::Test {
protected:
    CTestParent m_parent;
    CMultiColorStatic m_line;
    HWND m_hStatic = nullptr;

    void SetUp() override {
        ASSERT_TRUE(m_parent.Create());
        m_hStatic = m_parent.CreateStatic(20, 30, 400, 30);
        ASSERT_NE(m_hStatic, nullptr);
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    void Subclass() {
        ASSERT_TRUE(m_line.SubclassWindow(m_hStatic));
        ::UpdateWindow(m_parent);
    }
    CCapture Painted() {
        ::UpdateWindow(m_hStatic);
        return CaptureClient(m_hStatic);
    }
    bool HasUpdate() const { return ::GetUpdateRect(m_hStatic, nullptr, FALSE) != FALSE; }
};

TEST_F(MultiColorWindow, SubclassingAddsTheNotifyStyleAndFillsTheBackgroundAtOnce) {
    ASSERT_EQ(::GetWindowLongA(m_hStatic, GWL_STYLE) & SS_NOTIFY, 0);
    ::UpdateWindow(m_parent);
    m_line.SetBackgroundColor(kMint);
    ASSERT_TRUE(m_line.SubclassWindow(m_hStatic));
    // No message dispatched yet: the fill was done by the subclassing itself.
    CCapture capture = CaptureClient(m_hStatic);
    EXPECT_EQ(capture.Count(kMint), capture.nWidth * capture.nHeight);
    EXPECT_NE(::GetWindowLongA(m_hStatic, GWL_STYLE) & SS_NOTIFY, 0);
}

TEST_F(MultiColorWindow, ChangesInvalidateTheControlAndRefusedOnesDoNot) {
    Subclass();
    ASSERT_FALSE(HasUpdate());
    EXPECT_FALSE(m_line.SetSegment(5, Segment("a")));
    EXPECT_FALSE(HasUpdate());
    EXPECT_TRUE(m_line.AddText("a", kRed, kWhite));
    EXPECT_TRUE(HasUpdate());
    ::UpdateWindow(m_hStatic);
    EXPECT_FALSE(m_line.RemoveSegment(1));
    EXPECT_FALSE(HasUpdate());
    EXPECT_TRUE(m_line.RemoveSegment(0));
    EXPECT_TRUE(HasUpdate());
    ::UpdateWindow(m_hStatic);
    m_line.RemoveAll();
    EXPECT_TRUE(HasUpdate());
}

TEST_F(MultiColorWindow, DrawsEachSegmentInItsColoursLeftToRight) {
    Subclass();
    m_line.AddText("Red", kRed, kYellow);
    m_line.AddText("Blue", kBlue, kWhite);
    CCapture capture = Painted();

    ASSERT_GT(capture.Count(kRed), 20);
    ASSERT_GT(capture.Count(kBlue), 20);
    EXPECT_GT(capture.Count(kYellow), 20);
    EXPECT_GT(capture.Count(kWhite), 20);
    // The first segment's text and background lie wholly left of the second's.
    EXPECT_LT(capture.LastColumnWith(kRed), capture.FirstColumnWith(kBlue));
    EXPECT_LT(capture.LastColumnWith(kYellow), capture.FirstColumnWith(kWhite));
    EXPECT_EQ(capture.FirstColumnWith(kYellow), 0);
    // The opaque backgrounds cover only the text; the rest is the control's background.
    EXPECT_EQ(capture.At(capture.nWidth - 1, 0), ButtonFace());
    EXPECT_EQ(capture.At(capture.nWidth - 1, capture.nHeight - 1), ButtonFace());
}

TEST_F(MultiColorWindow, FontFillsTheClientHeight) {
    Subclass();
    m_line.AddText("Hg", kBlack, kWhite);
    CCapture capture = Painted();
    // The white background is one text cell high: the whole client height.
    EXPECT_EQ(capture.CountInColumns(kWhite, 0, 1) + capture.CountInColumns(kBlack, 0, 1), capture.nHeight);
    EXPECT_GT(RowsWith(capture, kBlack), capture.nHeight * 6 / 10);

    // Without fitting, the dialog's small font is used and its cell is shorter than the control.
    m_line.SetFitFontToHeight(false);
    CCapture small = Painted();
    EXPECT_LT(small.CountInColumns(kWhite, 0, 1) + small.CountInColumns(kBlack, 0, 1),
              capture.nHeight * 3 / 4);
    EXPECT_LT(RowsWith(small, kBlack), capture.nHeight / 2);
}

TEST_F(MultiColorWindow, BoldDrawsHeavierThanRegular) {
    Subclass();
    // Ink as darkness summed over the text's own box (off the control's face): smoothed glyph edges are
    // grey, not black.
    auto ink = [](const CCapture& capture) {
        const uint32_t face = ButtonFace();
        long sum = 0;
        for (uint32_t pixel : capture.pixels)
            if (pixel != face)
                sum += 765 - static_cast<int>((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF));
        return sum;
    };
    m_line.AddText("Waterloo", kBlack, kWhite);
    long regular = ink(Painted());
    m_line.SetSegment(0, Segment("Waterloo", kBlack | kSegmentBold));
    long bold = ink(Painted());
    EXPECT_GT(bold, regular * 5 / 4);
}

TEST_F(MultiColorWindow, UnderlineDrawsALineUnderTheWholeText) {
    Subclass();
    m_line.AddText("Waterloo", kBlack | kSegmentUnderline, kWhite);
    CCapture capture = Painted();
    int textWidth = capture.LastColumnWith(kWhite) + 1;
    ASSERT_GT(textWidth, 40);
    int longestRow = 0;
    for (int y = 0; y < capture.nHeight; ++y) {
        int run = 0;
        for (int x = 0; x < textWidth; ++x)
            run += capture.At(x, y) == kBlack;
        if (run > longestRow) longestRow = run;
    }
    EXPECT_GT(longestRow, textWidth * 8 / 10);
}

TEST_F(MultiColorWindow, ItalicLeansTheText) {
    Subclass();
    m_line.AddText("I", kBlack, kWhite);
    CCapture upright = Painted();
    m_line.SetSegment(0, Segment("I", kBlack | kSegmentItalic));
    CCapture italic = Painted();
    // The stroke of an upright I stands in the same columns top and bottom; an italic one does not.
    auto inkColumns = [](const CCapture& capture, int y) {
        for (int x = 0; x < capture.nWidth; ++x)
            if (capture.At(x, y) == kBlack) return x;
        return -1;
    };
    int top = upright.nHeight / 3, bottom = upright.nHeight * 2 / 3;
    ASSERT_GE(inkColumns(upright, top), 0);
    EXPECT_EQ(inkColumns(upright, top), inkColumns(upright, bottom));
    ASSERT_GE(inkColumns(italic, top), 0);
    EXPECT_GT(inkColumns(italic, top), inkColumns(italic, bottom));
}

TEST_F(MultiColorWindow, ButtonFaceSegmentsBlendWithTheControlBackground) {
    m_line.SetBackgroundColor(kMint);
    Subclass();
    m_line.AddText("Abba", kBlack, kSegmentNoColour);
    m_line.AddText("Waterloo", kBlack, kWhite);
    CCapture capture = Painted();
    EXPECT_EQ(capture.Count(ButtonFace()), 0);
    EXPECT_GT(capture.Count(kBlack), 20);
    EXPECT_EQ(capture.At(0, 0), kMint);
    EXPECT_LT(capture.LastColumnWith(kMint), capture.nWidth);
    EXPECT_EQ(capture.At(capture.nWidth - 1, 0), kMint);
    EXPECT_GT(capture.Count(kWhite), 20);
}

TEST_F(MultiColorWindow, TextEndsAtATerminatingZeroCharacter) {
    Subclass();
    m_line.AddText(std::string("Abba\0", 5), kBlack, kWhite);
    CCapture withZero = Painted();
    m_line.SetSegment(0, Segment("Abba", kBlack));
    CCapture plain = Painted();
    EXPECT_EQ(withZero.pixels, plain.pixels);
}

TEST_F(MultiColorWindow, EraseBackgroundDrawsNothingAndReportsErased) {
    Subclass();
    m_line.AddText("Abba", kBlack, kWhite);
    ::UpdateWindow(m_hStatic);
    CCapture before = CaptureClient(m_hStatic);
    HDC dc = ::GetDC(m_hStatic);
    EXPECT_NE(::SendMessageA(m_hStatic, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    ::ReleaseDC(m_hStatic, dc);
    EXPECT_EQ(CaptureClient(m_hStatic).pixels, before.pixels);
}

TEST_F(MultiColorWindow, SizeChangeRepaintsTheNewClientArea) {
    Subclass();
    m_line.SetBackgroundColor(kMint);
    ::SetWindowPos(m_hStatic, nullptr, 0, 0, 480, 40, SWP_NOMOVE | SWP_NOZORDER);
    ::InvalidateRect(m_hStatic, nullptr, FALSE);
    CCapture capture = Painted();
    ASSERT_EQ(capture.nWidth, 480);
    EXPECT_EQ(capture.Count(kMint), 480 * 40);
}

TEST_F(MultiColorWindow, KeepsItsSegmentsAfterTheWindowIsGone) {
    Subclass();
    m_line.AddText("Abba", kRed, kWhite);
    ASSERT_TRUE(m_line.DestroyWindow());
    EXPECT_EQ(m_line.m_hWnd, nullptr);
    EXPECT_EQ(m_line.GetSegmentCount(), 1);
    EXPECT_TRUE(m_line.AddText("Waterloo", kRed, kWhite));
    EXPECT_EQ(Texts(m_line), (Strings{"Abba", "Waterloo"}));
}

TEST_F(MultiColorWindow, ASecondWindowAfterTheFirstIsGoneStillPaints) {
    Subclass();
    m_line.SetBackgroundColor(kMint);
    ASSERT_TRUE(m_line.DestroyWindow());
    m_hStatic = m_parent.CreateStatic(20, 30, 400, 30);
    Subclass();
    m_line.AddText("Abba", kRed, kWhite);
    CCapture capture = Painted();
    EXPECT_GT(capture.Count(kRed), 10);
    EXPECT_GT(capture.Count(kMint), 1000);
}

} // namespace
