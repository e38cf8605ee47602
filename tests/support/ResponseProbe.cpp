#include "support/ResponseProbe.h"

#include <chrono>

CResponseProbe::CResponseProbe(HWND target, DWORD intervalMs, DWORD timeoutMs)
    : m_thread([this, target, intervalMs, timeoutMs] { Run(target, intervalMs, timeoutMs); }) {}

CResponseProbe::~CResponseProbe() { Stop(); }

void CResponseProbe::Stop() {
    m_bStop = true;
    if (m_thread.joinable()) m_thread.join();
}

void CResponseProbe::Run(HWND target, DWORD intervalMs, DWORD timeoutMs) {
    using Clock = std::chrono::steady_clock;
    while (!m_bStop && ::IsWindow(target)) {
        DWORD_PTR result = 0;
        const Clock::time_point start = Clock::now();
        const LRESULT answered =
            ::SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
        const long long waitedUs =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        ++m_nProbes;
        if (!answered) {
            // A window destroyed meanwhile is no slow answer.
            if (!::IsWindow(target)) break;
            ++m_nUnanswered;
        }
        if (waitedUs > m_longestUs) m_longestUs = waitedUs;
        ::Sleep(intervalMs);
    }
}
