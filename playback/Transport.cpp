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

void CTransportController::OnPlay() {
    try {
        PlayNext();
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage(255));
    }
}

void CTransportController::PlayNext() {
    if (m_view.IsPauseChecked()) m_device.Stop();
    m_bAutoAdvance = true;

    if (m_queue.TakeFront(m_current) == 1) {
        if (m_current.m_strPath.empty()) {
            m_view.ShowMessage(m_current.m_strPath);
            return;
        }
    } else {
        m_nPlayPos = m_nRandom > 0 ? m_playList.TakeRandom(m_current) : m_playList.TakeAt(m_nPlayPos, m_current);
        if (m_nPlayPos <= 0) {
            m_nPlayPos = 0;  // an empty play list, or the pick failed
            return;
        }
        if (m_current.m_strPath.empty()) return;
    }

    if (m_device.OpenFile(m_current.m_strPath) != 0) return;
    m_device.SetVolume(m_view.GetVolumePosition());
    if (m_device.Play() != 0) return;
    m_view.ShowNowPlaying(NowPlayingText(m_current));
}

void CTransportController::OnStop() {
    m_bAutoAdvance = false;
    m_device.Stop();
}

void CTransportController::OnNext() {
    if (m_view.IsPauseChecked()) m_device.Stop();
    m_bAutoAdvance = true;
    m_device.Stop();
}

void CTransportController::OnPrevious() {
    if (m_view.IsPauseChecked()) m_device.Stop();

    MediaEntry entry;
    if (m_queue.TakeAt(1, entry) == 0) {
        // With nothing picked yet the position before the first entry names no entry: nothing plays.
        int picked = m_playList.TakeAt(m_nPlayPos - 1, entry);
        m_nPlayPos = picked > 0 ? picked : 0;
        if (picked <= 0) return;
    }
    if (entry.m_strPath.empty()) return;
    if (m_device.OpenFile(entry.m_strPath) != 0) return;
    if (m_device.Play() != 0) return;
    m_view.ShowReplaying(NowPlayingText(entry));
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
    if (mode == kModeStopped && !m_view.IsPauseChecked() && m_bAutoAdvance) OnPlay();
}
