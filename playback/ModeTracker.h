#pragma once
// Decides which mode changes the device window reports to its parent. The parent hears of every
// change of mode once, whatever caused it; a device that is not open counts as stopped.
//
// The window reads the device's mode on a timer, after each of its own commands, before each of its
// own commands, and when a play's completion notice arrives. A play can end between two readings;
// a very short one can even start and end unseen. The completion notice of a play that ended by
// itself is matched against the ends seen by reading, so that every natural end is reported once.
#include <deque>

#include "playback/MciDeviceRules.h"

class CModeTracker {
public:
    // A command of ours is about to run; mayStop tells whether it can stop the device (stop, close,
    // open, seek), so that a stop read next is its doing and not the end of the track. Read the mode
    // first, so that an end before the command is not taken for the command's doing.
    void NoteOwnCommand(bool mayStop);
    // A reading of the device's mode (kMciModeStop when no device is open).
    void Observe(long mode);
    // The completion notice of a play arrived; call after reading the mode once more.
    void PlayCompleted();

    // The next change to report, in order; false when there is none.
    bool NextReport(long* mode);
    bool HasReports() const { return !m_reports.empty(); }
    // The mode last read.
    long ObservedMode() const { return m_nObserved; }
    // The last stop was the end of the track (nothing of ours moved the position since).
    bool EndReached() const { return m_bEndReached; }

private:
    void Queue(long mode);
    void NaturalEnd();

    long m_nObserved = kMciModeStop;
    long m_nReported = kMciModeStop; // as the parent knows it once the queue is sent
    std::deque<long> m_reports;
    // Natural ends read minus completion notices received, kept within -1..1: positive while an end
    // waits for its notice, negative while a notice came before the mode read as stopped.
    int m_nBalance = 0;
    bool m_bOwnStop = false; // a command of ours that may stop the device ran since the last reading
    bool m_bEndReached = false;
};
