// Hook chains on one window, mixed with framework window objects, and the one-shot delayed redraw.
#include "framework/Wnd.h"
#include "widgets/DelayRedraw.h"
#include "widgets/SubclassWnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 7;
constexpr UINT kNested = WM_APP + 8;
std::vector<std::string> g_log;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) g_log.push_back("own");
    if (message == kNested) g_log.push_back("own-nested");
    if (message == WM_NCDESTROY) g_log.push_back("own-ncdestroy");
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreatePlain() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "MelodeckHookTarget";
        return ::RegisterClassA(&wc) != 0;
    }();
    if (!registered) return nullptr;
    return ::CreateWindowExA(0, "MelodeckHookTarget", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

class CLogHook : public CSubclassWnd {
public:
    explicit CLogHook(std::string name) : m_strName(std::move(name)) {}
    std::string m_strName;
    bool m_bNestFirst = false;  // sends another message to the window before passing the probe on

    LRESULT WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kProbe) return CSubclassWnd::WindowProc(hWnd, message, wParam, lParam);
        g_log.push_back(m_strName);
        if (m_bNestFirst) ::SendMessageA(hWnd, kNested, 0, 0);
        return Default();
    }
    void OnBeforeUnhook() override { g_log.push_back(m_strName + "-before"); }
    void OnAfterUnhook() override { g_log.push_back(m_strName + "-after"); }
};

class CLogWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) g_log.push_back("cwnd");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::vector<std::string> Probe(HWND hWnd) {
    g_log.clear();
    ::SendMessageA(hWnd, kProbe, 0, 0);
    return g_log;
}

using Log = std::vector<std::string>;

class HookChain : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        m_hWnd = CreatePlain();
        ASSERT_TRUE(m_hWnd);
        m_pfnOwn = ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
    }
    void TearDown() override {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd = nullptr;
    LONG_PTR m_pfnOwn = 0;
    CLogHook m_hooks[3] = {CLogHook("a"), CLogHook("b"), CLogHook("c")};
};

TEST_P(HookChain, AnyHookRemovedLeavesTheOthersInOrderAndTheLastRestoresTheProcedure) {
    for (CLogHook& hook : m_hooks) ASSERT_TRUE(hook.Hook(m_hWnd));
    m_hooks[2].m_bNestFirst = true;
    EXPECT_EQ(Probe(m_hWnd), (Log{"c", "own-nested", "b", "a", "own"})) << "Default passes the outer message";
    m_hooks[2].m_bNestFirst = false;

    const int removed = GetParam();
    ASSERT_TRUE(m_hooks[removed].Hook(nullptr));
    EXPECT_FALSE(m_hooks[removed].IsHooked());
    Log expected;
    for (int i = 2; i >= 0; --i)
        if (i != removed) expected.push_back(m_hooks[i].m_strName);
    expected.push_back("own");
    EXPECT_EQ(Probe(m_hWnd), expected);

    for (CLogHook& hook : m_hooks) hook.Hook(nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC), m_pfnOwn);
    EXPECT_EQ(Probe(m_hWnd), Log{"own"});
}

TEST_P(HookChain, MixesWithAWindowObjectNewestFirstAndEachLeavesOnlyItself) {
    // The window object subclasses before the first, second or third hook.
    CLogWnd wnd;
    Log expected{"own"};
    for (int i = 0; i < 3; ++i) {
        if (i == GetParam()) {
            ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
            expected.insert(expected.begin(), "cwnd");
        }
        ASSERT_TRUE(m_hooks[i].Hook(m_hWnd));
        expected.insert(expected.begin(), m_hooks[i].m_strName);
    }
    EXPECT_EQ(Probe(m_hWnd), expected);

    EXPECT_EQ(wnd.UnsubclassWindow(), m_hWnd);
    EXPECT_EQ(Probe(m_hWnd), (Log{"c", "b", "a", "own"}));
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    EXPECT_EQ(Probe(m_hWnd), (Log{"cwnd", "c", "b", "a", "own"}));

    g_log.clear();
    ASSERT_TRUE(::DestroyWindow(m_hWnd));
    EXPECT_EQ(g_log.back(), "own-ncdestroy");
    EXPECT_EQ(g_log.size(), 7u) << "two notifications for each hook, then the window's own procedure";
    for (CLogHook& hook : m_hooks) {
        EXPECT_FALSE(hook.IsHooked());
        EXPECT_EQ(hook.m_pNext, nullptr);
    }
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachPosition, HookChain, testing::Values(0, 1, 2));

TEST(HookChainDestroyed, UnhooksNewestFirstBeforeTheWindowSeesItsLastMessage) {
    HWND hWnd = CreatePlain();
    ASSERT_TRUE(hWnd);
    CLogHook a("a"), b("b"), c("c");
    for (CLogHook* hook : {&a, &b, &c}) ASSERT_TRUE(hook->Hook(hWnd));
    g_log.clear();
    ASSERT_TRUE(::DestroyWindow(hWnd));
    EXPECT_EQ(g_log, (Log{"c-before", "c-after", "b-before", "b-after", "a-before", "a-after", "own-ncdestroy"}));
    EXPECT_FALSE(a.IsHooked() || b.IsHooked() || c.IsHooked());
    EXPECT_TRUE(a.Hook(CreatePlain())) << "an unhooked object can hook another window";
    ::DestroyWindow(a.m_hWnd);
}

TEST(HookChainRefusals, HookingTwiceOrADestroyedWindowFails) {
    HWND hWnd = CreatePlain();
    ASSERT_TRUE(hWnd);
    CLogHook hook("a");
    ASSERT_TRUE(hook.Hook(hWnd));
    EXPECT_FALSE(hook.Hook(hWnd));
    EXPECT_EQ(hook.m_hWnd, hWnd);
    ::DestroyWindow(hWnd);
    EXPECT_FALSE(hook.Hook(hWnd)) << "a destroyed handle";
    EXPECT_FALSE(hook.IsHooked());
    EXPECT_EQ(hook.SendMessage(kProbe), 0);
}

// A hook on a Unicode window (a message box's controls are) keeps it Unicode: its texts arrive in UTF-16
// at the hook and at the window's own procedure, and the procedure comes back as it was.
TEST(HookChainCharacterSet, AUnicodeWindowStaysUnicodeWithTextsInUtf16) {
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(hWnd);
    ASSERT_TRUE(::IsWindowUnicode(hWnd));
    const LONG_PTR own = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
    struct CTextHook : CSubclassWnd {
        std::wstring m_strSeen;
        LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_SETTEXT) m_strSeen = reinterpret_cast<const wchar_t*>(lParam);
            return CSubclassWnd::WindowProc(window, message, wParam, lParam);
        }
    } hook;
    ASSERT_TRUE(hook.Hook(hWnd));
    EXPECT_TRUE(::IsWindowUnicode(hWnd));
    ::SetWindowTextW(hWnd, L"Caf\u00E9 \u4E2D");
    EXPECT_EQ(hook.m_strSeen, L"Caf\u00E9 \u4E2D");
    wchar_t text[16] = {};
    ::GetWindowTextW(hWnd, text, 16);
    EXPECT_EQ(std::wstring(text), L"Caf\u00E9 \u4E2D");
    hook.Hook(nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), own);
    EXPECT_TRUE(::IsWindowUnicode(hWnd));
    ::DestroyWindow(hWnd);
}

int ThreadWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND, LPARAM param) {
        ++*reinterpret_cast<int*>(param);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Dispatches this thread's messages until the condition holds, waiting for messages in between.
bool PumpUntil(const std::function<bool()>& done, DWORD limit = 20000) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (!done()) {
        if (::GetTickCount() - start > limit) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    return true;
}

TEST(DelayRedraw, RefusesANonPositiveDelayOrANonWindowAndCreatesNothing) {
    HWND gone = CreatePlain();
    ::DestroyWindow(gone);
    HWND target = CreatePlain();
    const int before = ThreadWindows();
    EXPECT_FALSE(DelayRedraw(target, 0));
    EXPECT_FALSE(DelayRedraw(target, -5));
    EXPECT_FALSE(DelayRedraw(gone, 100));
    EXPECT_FALSE(DelayRedraw(nullptr, 100));
    EXPECT_EQ(ThreadWindows(), before);
    ::DestroyWindow(target);
}

class CPaintWatch : public CSubclassWnd {
public:
    bool m_bPainted = false;
    bool m_bFramePainted = false;
    LRESULT WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) m_bPainted = true;
        if (message == WM_NCPAINT && wParam == 0 && lParam == 0) m_bFramePainted = true;
        return CSubclassWnd::WindowProc(hWnd, message, wParam, lParam);
    }
};

TEST(DelayRedraw, RepaintsTheTargetOnceAfterTheDelayAndGoes) {
    HWND target = ::CreateWindowExA(0, "STATIC", "target", WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 40, 120, 40,
                                    nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(target);
    ::UpdateWindow(target);
    CPaintWatch watch;
    ASSERT_TRUE(watch.Hook(target));
    const int before = ThreadWindows();
    ASSERT_TRUE(DelayRedraw(target, 50));
    EXPECT_EQ(ThreadWindows(), before + 1);
    EXPECT_TRUE(PumpUntil([&] { return watch.m_bPainted && watch.m_bFramePainted && ThreadWindows() == before; }))
        << "painted " << watch.m_bPainted << ", frame " << watch.m_bFramePainted;
    ::DestroyWindow(target);
}

}  // namespace
