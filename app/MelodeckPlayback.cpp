// Playback from the keyboard: the media keys, the Playback menu's keys, and picking up where the user
// left off at the last exit.
#include "app/MelodeckDlg.h"

#include "library/ResumePoint.h"
#include "res/resource.h"

#include <algorithm>

void CMelodeckDlg::ApplyMediaKeys() {
    if (m_nMediaKeys)
        m_mediaKeys.Register(m_hWnd);
    else
        m_mediaKeys.Unregister();
}

void CMelodeckDlg::OnMediaKeysOption() {
    m_nMediaKeys = m_nMediaKeys ? 0 : 1;
    m_settings.WriteInt(CMelodeckSettings::kMediaKeys, m_nMediaKeys);
    ApplyMediaKeys();
}

void CMelodeckDlg::OnResumeOption() {
    m_nResume = m_nResume ? 0 : 1;
    m_settings.WriteInt(CMelodeckSettings::kResume, m_nResume);
    if (!m_nResume) m_settings.WriteText(CMelodeckSettings::kResumePoint, std::string());
}

void CMelodeckDlg::OnMediaAction(CMediaKeys::Action action) {
    switch (action) {
    case CMediaKeys::Action::playPause: OnPlayPause(); break;
    case CMediaKeys::Action::next: OnNext(); break;
    case CMediaKeys::Action::previous: OnPrevious(); break;
    case CMediaKeys::Action::stop: OnStop(); break;
    case CMediaKeys::Action::none: break;
    }
}

// One key for both: pause what plays, go on with what is paused, otherwise start the next song.
void CMelodeckDlg::OnPlayPause() {
    const LONG mode = m_player.GetMode();
    if (mode == MCI_MODE_PLAY || mode == MCI_MODE_SEEK) {
        SetPauseChecked(true);
        OnPause();
    } else if (IsPauseChecked() && mode == MCI_MODE_PAUSE) {
        SetPauseChecked(false);
        OnPause();
    } else {
        OnPlay();
    }
}

void CMelodeckDlg::OnSeekBy(LONG step) {
    const LONG mode = m_player.GetMode();
    if (mode != MCI_MODE_PLAY && mode != MCI_MODE_PAUSE) return;
    LONG target = m_player.GetPosition() + step;
    const LONG length = m_player.GetLength();
    if (target < 0) target = 0;
    // Past the end would end the song: a step forward stops just short of it.
    if (length > 0 && target >= length) target = length > 1000 ? length - 1000 : 0;
    m_player.Seek(target);
}

void CMelodeckDlg::OnVolumeBy(int step) {
    const int position = std::max(0, std::min(1000, m_sliderVolume.GetPos() + step));
    m_sliderVolume.SetPos(position);
    OnVolumeReleased();
}

// The song that plays or is paused, whole, with where it stands; nothing when nothing is loaded.
void CMelodeckDlg::SaveResumePoint() {
    if (!m_nResume) return;
    ResumePoint point;
    const LONG mode = m_player.GetMode();
    if (!m_current.m_strPath.empty() && (mode == MCI_MODE_PLAY || mode == MCI_MODE_PAUSE)) {
        point.m_entry = m_current;
        point.m_nPositionMs = m_player.GetPosition();
        m_settings.WriteText(CMelodeckSettings::kResumePoint, FormatResumePoint(point));
    } else {
        m_settings.WriteText(CMelodeckSettings::kResumePoint, std::string());
    }
}

// Loads the remembered song paused at its position, with the banner showing it; Play goes on from
// there. A file that has gone is forgotten quietly.
void CMelodeckDlg::RestoreResumePoint() {
    if (!m_nResume) return;
    ResumePoint point;
    if (!ParseResumePoint(m_settings.ReadText(CMelodeckSettings::kResumePoint), point)) return;
    const DWORD attributes = ::GetFileAttributesA(point.m_entry.m_strPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_settings.WriteText(CMelodeckSettings::kResumePoint, std::string());
        return;
    }
    m_bQuietDeviceErrors = true;
    // Silent while it is put in place: the device can only stand paused at a position by playing.
    bool loaded = m_player.OpenFile(point.m_entry.m_strPath) == 0;
    if (loaded) {
        m_player.SetVolume(0);
        loaded = m_player.Play() == 0 && m_player.Pause() == 0 && m_player.Seek(point.m_nPositionMs) == 0;
        m_player.SetVolume(GetVolumePosition());
    }
    m_bQuietDeviceErrors = false;
    if (!loaded) {
        m_player.Close();
        m_settings.WriteText(CMelodeckSettings::kResumePoint, std::string());
        return;
    }
    m_current = point.m_entry;
    m_bAutoAdvance = true;
    SetPauseChecked(true);
    SetTrayPauseCheck(true);
    // The device's own reports of these steps may still be on their way: Play must find it paused now.
    OnDeviceMode(m_player.GetMode());
    m_banner.RemoveAll();
    m_banner.AddText(NowPlayingText(m_current), 0, 0x00FFFFFF);
}
