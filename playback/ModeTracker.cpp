#include "playback/ModeTracker.h"

void CModeTracker::NoteOwnCommand(bool mayStop) {
    m_bOwnStop = m_bOwnStop || mayStop;
    m_bEndReached = false;
}

void CModeTracker::Observe(long mode) {
    if (mode != m_nObserved) {
        // A resumed track can end before the first reading after the resume.
        bool playEnded =
            (m_nObserved == kMciModePlay || m_nObserved == kMciModePause) && mode == kMciModeStop;
        m_nObserved = mode;
        if (playEnded && !m_bOwnStop) {
            NaturalEnd();
        } else if (playEnded && m_nBalance < 0) {
            m_nBalance = 0; // the notice that came early belonged to the play we stopped
        }
        Queue(mode);
    }
    // The first reading after a command of ours shows its outcome; later stops are not its doing.
    m_bOwnStop = false;
}

void CModeTracker::PlayCompleted() {
    if (m_nBalance > 0) {
        --m_nBalance;
    } else if (m_nObserved == kMciModeStop) {
        // The play started and ended between two readings: report both changes.
        Queue(kMciModePlay);
        Queue(kMciModeStop);
        m_bEndReached = true;
    } else if (m_nBalance == 0) {
        // The device still reads as playing; the coming stop is this play's end.
        --m_nBalance;
    }
}

void CModeTracker::NaturalEnd() {
    m_bEndReached = true;
    if (m_nBalance < 1) ++m_nBalance;
}

void CModeTracker::Queue(long mode) {
    long last = m_reports.empty() ? m_nReported : m_reports.back();
    if (mode != last) m_reports.push_back(mode);
}

bool CModeTracker::NextReport(long* mode) {
    if (m_reports.empty()) return false;
    *mode = m_reports.front();
    m_reports.pop_front();
    m_nReported = *mode;
    return true;
}
