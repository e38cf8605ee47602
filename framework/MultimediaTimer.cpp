#include "framework/MultimediaTimer.h"

#include <mmsystem.h>

#include <mutex>

namespace {

// Long enough to cost nothing, within the longest delay timeSetEvent accepts everywhere.
constexpr UINT kKeepAlivePeriodMs = 60000;

std::mutex g_mutex;
int g_nHolders = 0;
UINT g_nKeepAliveId = 0;

void CALLBACK KeepAlive(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

} // namespace

void CTimerThreadHold::Acquire() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!m_bHeld) {
        m_bHeld = true;
        ++g_nHolders;
    }
    if (!g_nKeepAliveId)
        g_nKeepAliveId = ::timeSetEvent(kKeepAlivePeriodMs, kKeepAlivePeriodMs, &KeepAlive, 0,
                                        TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
}

void CTimerThreadHold::Release() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!m_bHeld) return;
    m_bHeld = false;
    if (--g_nHolders == 0 && g_nKeepAliveId) {
        ::timeKillEvent(g_nKeepAliveId);
        g_nKeepAliveId = 0;
    }
}

bool CTimerThreadHold::KeepAliveRunning() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_nKeepAliveId != 0;
}
