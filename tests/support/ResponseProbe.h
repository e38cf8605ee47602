#pragma once
// Measures how long a window takes to answer: a thread of its own sends the window WM_NULL again and
// again, a moment apart, and keeps the longest wait. The window may belong to this process (another
// thread) or to another one.
#include <windows.h>

#include <atomic>
#include <thread>

class CResponseProbe {
public:
    // Starts probing at once.
    explicit CResponseProbe(HWND target, DWORD intervalMs = 10, DWORD timeoutMs = 10000);
    ~CResponseProbe();
    CResponseProbe(const CResponseProbe&) = delete;
    CResponseProbe& operator=(const CResponseProbe&) = delete;

    // Ends probing; the figures stay.
    void Stop();

    // The longest answer so far, in milliseconds. An unanswered message counts as its full time-out.
    double LongestMs() const { return m_longestUs.load() / 1000.0; }
    size_t ProbeCount() const { return m_nProbes.load(); }
    size_t UnansweredCount() const { return m_nUnanswered.load(); }

private:
    void Run(HWND target, DWORD intervalMs, DWORD timeoutMs);

    std::atomic<bool> m_bStop{false};
    std::atomic<long long> m_longestUs{0};
    std::atomic<size_t> m_nProbes{0};
    std::atomic<size_t> m_nUnanswered{0};
    std::thread m_thread;
};
