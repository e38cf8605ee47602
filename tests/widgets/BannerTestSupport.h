#pragma once
// Windows and pixel helpers for the banner tests: a parent that records the mouse messages it gets, a
// static child to subclass, message pumping, and captures of a window's client pixels.
#include "framework/Wnd.h"

#include <cstdint>
#include <functional>
#include <vector>

// A top-level window at (50, 50) that records mouse messages posted to it.
class CTestParent : public CWnd {
public:
    struct Received {
        UINT nMessage;
        WPARAM wParam;
        int x;
        int y;
    };
    std::vector<Received> m_received;

    // Destroys its window while it is still whole, taking the children with it.
    ~CTestParent() override;

    bool Create(int width = 520, int height = 140);
    // A visible static child with the given client-area placement; the font is the GUI font.
    HWND CreateStatic(int x, int y, int width, int height, int id = 1009) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Dispatches this thread's messages for about the given time.
void PumpMessages(DWORD milliseconds);
// Dispatches whatever is waiting, without waiting.
void PumpPending();
// Dispatches messages until the condition holds; false when it did not within the time-out.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 30000);
double NowSeconds();

// The client pixels of a window as 0x00BBGGRR colours, row by row.
struct CCapture {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * nWidth + x]; }
    int Count(uint32_t colour) const;
    int CountInColumns(uint32_t colour, int fromX, int toX) const; // [fromX, toX)
    // Leftmost and rightmost columns holding the colour; -1 when absent.
    int FirstColumnWith(uint32_t colour) const;
    int LastColumnWith(uint32_t colour) const;
    // Per column, the number of pixels that differ from the background.
    std::vector<int> InkProfile(uint32_t background) const;
};

CCapture CaptureClient(HWND hWnd);

// The shift d (within +-maxShift) for which later[x] best matches earlier[x + d]: d > 0 means the
// picture moved left by d pixels.
int BestLeftShift(const std::vector<int>& earlier, const std::vector<int>& later, int maxShift);
