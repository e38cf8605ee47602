#include "playback/Transport.h"

#include "framework/Debug.h"
#include "framework/Exception.h"

std::string NowPlayingText(const MediaEntry& entry) {
    // An untagged file has no artist: its name alone, not a dangling " - ".
    const std::string artist = DisplayText(entry.m_strArtist);
    return artist.empty() ? DisplayText(entry.m_strSong) : artist + " - " + DisplayText(entry.m_strSong);
}

std::string PlayBackErrorName(const MediaEntry& entry) {
    std::string name = DisplayText(entry.m_strFileName);
    return name.empty() ? DisplayText(entry.m_strPath) : name;
}

std::string PlayBackFailureText(int failures, const std::string& name, const std::string& reason, bool stopped) {
    std::string which = name.empty() ? std::string("an entry without a file") : name;
    if (!reason.empty()) which += ": " + reason;
    if (failures <= 1) return (stopped ? "Could not play " : "Skipped ") + which;
    std::string count = std::to_string(failures);
    return (stopped ? "Stopped: " + count + " songs in a row could not be played"
                    : "Skipped " + count + " songs that could not be played") +
           "; the last was " + which;
}

void CTransportController::OnPlay() {
    try {
        if (m_view.IsPauseChecked()) {
            ReleasePause();
            // The paused song goes on where it was; another starts only when none is loaded.
            if (m_nDeviceMode == kModePaused || m_nDeviceMode == kModePlaying) {
                m_bAutoAdvance = true;
                m_device.Resume();
                return;
            }
        }
        m_failedPaths.clear();
        PlayNext();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage(255));
    }
}

void CTransportController::PlayNext() {
    m_bAutoAdvance = true;
    while (TakeNext()) {
        bool again = false;
        for (const std::string& path : m_failedPaths) again = again || (!path.empty() && path == m_current.m_strPath);
        if (again) break;  // every entry left has failed already
        if (Start(m_current, true) == 0) {
            m_view.ShowNowPlaying(NowPlayingText(m_current));
            if (!m_failedPaths.empty())
                m_view.ShowMessage(PlayBackFailureText(static_cast<int>(m_failedPaths.size()), m_strFailedName,
                                                       m_strFailedReason, false),
                                   false);
            m_failedPaths.clear();
            return;
        }
        NoteFailure(m_current);
        if (static_cast<int>(m_failedPaths.size()) >= kMaxFailuresInARow) break;
    }
    if (m_failedPaths.empty()) return;  // both lists empty: nothing to play, nothing to say
    // Stopped once, for good: a stop the device may still report starts nothing.
    m_bAutoAdvance = false;
    m_view.ShowMessage(PlayBackFailureText(static_cast<int>(m_failedPaths.size()), m_strFailedName,
                                           m_strFailedReason, true),
                       true);
    m_failedPaths.clear();
}

bool CTransportController::TakeNext() {
    if (m_queue.TakeFront(m_current) == 1) {
        m_playList.ClearPlaying();
        return true;
    }
    m_nPlayPos = m_nRandom > 0 ? m_playList.TakeRandom(m_current) : m_playList.TakeAt(m_nPlayPos, m_current);
    if (m_nPlayPos > 0) return true;
    m_nPlayPos = 0;  // an empty play list, or the pick failed
    return false;
}

long CTransportController::Start(const MediaEntry& entry, bool setVolume) {
    m_strReason.clear();
    if (entry.m_strPath.empty()) return -1;
    // The device reports a failure to us while the command runs; a throw must not leave this set.
    struct Starting {
        bool& flag;
        explicit Starting(bool& f) : flag(f) { flag = true; }
        ~Starting() { flag = false; }
    } starting(m_bStarting);
    long error = m_device.OpenFile(entry.m_strPath);
    if (error != 0) return error;
    if (setVolume) m_device.SetVolume(m_view.GetVolumePosition());
    return m_device.Play();
}

void CTransportController::NoteFailure(const MediaEntry& entry) {
    m_failedPaths.push_back(entry.m_strPath);
    m_strFailedName = PlayBackErrorName(entry);
    m_strFailedReason = m_strReason;
}

void CTransportController::ReleasePause() {
    if (!m_view.IsPauseChecked()) return;
    m_view.SetPauseChecked(false);
    m_view.SetTrayPauseCheck(false);
}

void CTransportController::OnStop() {
    m_bAutoAdvance = false;
    m_device.Stop();
}

void CTransportController::OnNext() {
    ReleasePause();
    m_bAutoAdvance = true;
    // A loaded song reports its stop, and that starts the next; with none loaded nothing would.
    if (m_nDeviceMode != kModeStopped)
        m_device.Stop();
    else
        OnPlay();
}

void CTransportController::OnPrevious() {
    try {
        ReleasePause();
        MediaEntry entry;
        if (m_queue.TakeAt(1, entry) != 0) {
            m_playList.ClearPlaying();
        } else {
            // With nothing picked yet the position before the first entry names no entry: nothing plays.
            int picked = m_playList.TakeAt(m_nPlayPos - 1, entry);
            m_nPlayPos = picked > 0 ? picked : 0;
            if (picked <= 0) return;
        }
        if (entry.m_strPath.empty()) return;
        if (Start(entry, false) == 0) {
            m_view.ShowReplaying(NowPlayingText(entry));
            return;
        }
        // The song that played is closed by now: the juke box goes on as after any bad song.
        m_failedPaths.clear();
        NoteFailure(entry);
        if (m_bAutoAdvance) {
            PlayNext();
            return;
        }
        m_view.ShowMessage(PlayBackFailureText(1, m_strFailedName, m_strFailedReason, true), true);
        m_failedPaths.clear();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage(255));
    }
}

void CTransportController::OnPause() {
    bool paused = m_view.IsPauseChecked();
    if (paused)
        m_device.Pause();
    else
        m_device.Resume();
    m_view.SetTrayPauseCheck(paused);
}

void CTransportController::OnTrayPause() {
    int state = m_view.GetTrayPauseState();
    if (state != 0) m_view.SetTrayPauseCheck(true);
    m_view.SetPauseChecked(state == 0);
    OnPause();
}

void CTransportController::OnVolumeReleased() { m_device.SetVolume(m_view.GetVolumePosition()); }

void CTransportController::OnDeviceMode(long mode) {
    m_nDeviceMode = mode;
    if (mode == kModeStopped && !m_view.IsPauseChecked() && m_bAutoAdvance) OnPlay();
}

void CTransportController::OnDeviceError(const std::string& text) {
    if (m_bStarting) {
        m_strReason = DisplayText(text);
        return;
    }
    // The device's own doing (its play bar, a seek): the song plays on, or has stopped by itself.
    std::string name = PlayBackErrorName(m_current);
    m_view.ShowMessage((name.empty() ? std::string() : name + ": ") + DisplayText(text),
                       m_nDeviceMode == kModeStopped);
}
