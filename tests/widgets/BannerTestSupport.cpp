#include "BannerTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

const char kParentClass[] = "MelodeckBannerTestParent";

bool RegisterParentClass() {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kParentClass;
        return ::RegisterClassA(&wc) != 0;
    }();
    return registered;
}

} // namespace

CTestParent::~CTestParent() {
    if (IsWindow()) DestroyWindow();
}

bool CTestParent::Create(int width, int height) {
    if (!RegisterParentClass()) return false;
    RECT rect{50, 50, 50 + width, 50 + height};
    if (!CreateEx(WS_EX_TOPMOST, kParentClass, "Banner test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                  nullptr, 0))
        return false;
    ::UpdateWindow(m_hWnd);
    return true;
}

HWND CTestParent::CreateStatic(int x, int y, int width, int height, int id) const {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_WORDELLIPSIS, x, y,
                                  width, height, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (hWnd)
        ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
    return hWnd;
}

LRESULT CTestParent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
        m_received.push_back(Received{message, wParam, static_cast<short>(LOWORD(lParam)),
                                      static_cast<short>(HIWORD(lParam))});
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double NowSeconds() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const double end = NowSeconds() + timeoutMs / 1000.0;
    for (;;) {
        PumpPending();
        if (condition()) return true;
        double left = end - NowSeconds();
        if (left <= 0) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 0.05 ? static_cast<DWORD>(left * 1000.0) + 1 : 50,
                                    QS_ALLINPUT);
    }
}

void PumpMessages(DWORD milliseconds) {
    const double end = NowSeconds() + milliseconds / 1000.0;
    for (;;) {
        PumpPending();
        double left = end - NowSeconds();
        if (left <= 0) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left * 1000.0) + 1, QS_ALLINPUT);
    }
}

CCapture CaptureClient(HWND hWnd) {
    CCapture capture;
    RECT client{};
    ::GetClientRect(hWnd, &client);
    capture.nWidth = client.right - client.left;
    capture.nHeight = client.bottom - client.top;
    if (capture.nWidth <= 0 || capture.nHeight <= 0) return capture;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.nWidth;
    info.bmiHeader.biHeight = -capture.nHeight; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDC = ::GetDC(hWnd);
    HDC memoryDC = ::CreateCompatibleDC(windowDC);
    HBITMAP bitmap = ::CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memoryDC && bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memoryDC, bitmap);
        ::BitBlt(memoryDC, 0, 0, capture.nWidth, capture.nHeight, windowDC, 0, 0, SRCCOPY);
        ::GdiFlush();
        const auto* source = static_cast<const uint32_t*>(bits);
        capture.pixels.resize(static_cast<size_t>(capture.nWidth) * capture.nHeight);
        for (size_t i = 0; i < capture.pixels.size(); ++i) {
            uint32_t bgra = source[i]; // 0x00RRGGBB in memory order B, G, R
            capture.pixels[i] = ((bgra & 0xFF) << 16) | (bgra & 0xFF00) | ((bgra >> 16) & 0xFF);
        }
        ::SelectObject(memoryDC, old);
    }
    if (bitmap) ::DeleteObject(bitmap);
    if (memoryDC) ::DeleteDC(memoryDC);
    ::ReleaseDC(hWnd, windowDC);
    return capture;
}

int CCapture::Count(uint32_t colour) const {
    return CountInColumns(colour, 0, nWidth);
}

int CCapture::CountInColumns(uint32_t colour, int fromX, int toX) const {
    int count = 0;
    for (int y = 0; y < nHeight; ++y)
        for (int x = fromX < 0 ? 0 : fromX; x < toX && x < nWidth; ++x)
            if (At(x, y) == colour) ++count;
    return count;
}

int CCapture::FirstColumnWith(uint32_t colour) const {
    for (int x = 0; x < nWidth; ++x)
        for (int y = 0; y < nHeight; ++y)
            if (At(x, y) == colour) return x;
    return -1;
}

int CCapture::LastColumnWith(uint32_t colour) const {
    for (int x = nWidth - 1; x >= 0; --x)
        for (int y = 0; y < nHeight; ++y)
            if (At(x, y) == colour) return x;
    return -1;
}

std::vector<int> CCapture::InkProfile(uint32_t background) const {
    std::vector<int> profile(static_cast<size_t>(nWidth), 0);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            if (At(x, y) != background) ++profile[static_cast<size_t>(x)];
    return profile;
}

int BestLeftShift(const std::vector<int>& earlier, const std::vector<int>& later, int maxShift) {
    const int width = static_cast<int>(later.size());
    int best = INT_MIN;
    double bestScore = 0;
    for (int d = -maxShift; d <= maxShift; ++d) {
        long long difference = 0;
        int overlap = 0;
        for (int x = 0; x < width; ++x) {
            int source = x + d;
            if (source < 0 || source >= static_cast<int>(earlier.size())) continue;
            difference += std::llabs(static_cast<long long>(later[static_cast<size_t>(x)]) -
                                     earlier[static_cast<size_t>(source)]);
            ++overlap;
        }
        if (overlap < width / 2) continue;
        double score = static_cast<double>(difference) / overlap;
        if (best == INT_MIN || score < bestScore) {
            best = d;
            bestScore = score;
        }
    }
    return best;
}
