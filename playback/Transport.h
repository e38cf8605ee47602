#pragma once
// The juke-box rule: what plays next when the user presses Play, Stop, Next, Previous or Pause, and
// when the device stops at the end of a track. The queue plays first, each entry leaving it as it
// starts; then the play list, in order or at random, its entries staying where they are.
//
// The player window is the controller; the device, the two lists and the window's own controls are
// reached through the interfaces below, so that the rule runs natively against scripted ones.
#include "library/MediaEntry.h"

#include <string>
#include <vector>

class ITransportDevice {
public:
    virtual ~ITransportDevice() = default;
    // 0 on success, otherwise the device's error (the device reports it to the user itself).
    virtual long OpenFile(const std::string& path) = 0;
    // Likewise: 0 on success, otherwise the error, which the device has reported.
    virtual long Play() = 0;
    virtual long Stop() = 0;
    virtual long Pause() = 0;
    virtual long Resume() = 0;
    virtual void SetVolume(long volume) = 0;
};

// The taking operations of a list window's collection.
class ITransportList {
public:
    virtual ~ITransportList() = default;
    virtual int TakeFront(MediaEntry& out) = 0;
    virtual int TakeAt(int index, MediaEntry& out) = 0;
    virtual int TakeRandom(MediaEntry& out) = 0;
    // A song of the other list starts: no row of this one is marked as playing any more.
    virtual void ClearPlaying() {}
};

// The player window's controls that the rule reads and sets.
class ITransportView {
public:
    virtual ~ITransportView() = default;
    virtual bool IsPauseChecked() const = 0;
    virtual void SetPauseChecked(bool checked) = 0;
    virtual int GetVolumePosition() const = 0;
    // A new track started: the banner shows the text plainly and the tray shows it in a balloon.
    virtual void ShowNowPlaying(const std::string& text) = 0;
    // Previous played a track again: the banner shows the text in bold on the button face.
    virtual void ShowReplaying(const std::string& text) = 0;
    // Tells of songs that could not be played, without a box in the way of the music: a line in the
    // banner and a balloon. stopped: nothing plays now (otherwise the song just announced does).
    virtual void ShowMessage(const std::string& text, bool stopped) = 0;
    virtual void SetTrayPauseCheck(bool checked) = 0;
    virtual int GetTrayPauseState() const = 0;
};

// "Artist - Song", each shown up to its first zero character (the one that ends a tag text); the song
// alone when the artist is empty.
std::string NowPlayingText(const MediaEntry& entry);
// How the device's error message names an entry: its file name, or its path when it has none (the
// loaders leave the file name empty).
std::string PlayBackErrorName(const MediaEntry& entry);
// What the user is told when songs could not be played: how many in a row, the last one's name and
// the device's reason; whether the player went on with another song or stopped.
std::string PlayBackFailureText(int failures, const std::string& name, const std::string& reason, bool stopped);

class CTransportController {
public:
    static constexpr long kModeStopped = 525;
    static constexpr long kModePlaying = 526;
    static constexpr long kModePaused = 529;
    // Songs that fail one after another before the player gives up (a drive that has gone, say).
    static constexpr int kMaxFailuresInARow = 5;

    CTransportController(ITransportDevice& device, ITransportList& queue, ITransportList& playList,
                         ITransportView& view)
        : m_device(device), m_queue(queue), m_playList(playList), m_view(view) {}
    virtual ~CTransportController() = default;

    // Starts the next entry now, replacing whatever plays; an entry that cannot be played is passed
    // over and the user told. While paused it resumes the paused song instead, and Pause goes off.
    void OnPlay();
    // Stops, and nothing starts when the device reports the stop.
    void OnStop();
    // Goes on to the next entry: stops a loaded song, whose stopped report then starts the next one;
    // with nothing loaded starts the next one itself. Pause goes off.
    void OnNext();
    // Plays again the play-list entry last picked, or the queue's second entry. Pause goes off.
    void OnPrevious();
    // The Pause button was clicked (its check has already changed).
    void OnPause();
    // The tray menu's Pause: toggles pause with the button and the menu item agreeing afterwards.
    void OnTrayPause();
    // The volume trackbar released the mouse: the device takes its position.
    void OnVolumeReleased();
    // The device changed its mode; a stop while auto-advance is on and not paused plays the next.
    void OnDeviceMode(long mode);
    // The device reported an error with its text: kept as the reason while a song is being started,
    // otherwise told to the user at once.
    void OnDeviceError(const std::string& text);

    MediaEntry m_current;         // the entry most recently started by Play, Next or the end of a track
    int m_nPlayPos = 0;           // one-based number of the play-list entry last picked; 0 = none
    bool m_bAutoAdvance = false;  // a stop of the device starts the next entry
    int m_nRandom = 0;            // greater than 0: the play list is played at random

private:
    // Starts the next entry that plays, passing over those that cannot be played, and tells the user
    // of them; gives up after kMaxFailuresInARow of them, or when one comes round again.
    void PlayNext();
    // Takes the next entry from the queue, else from the play list, into m_current; false when
    // neither has one.
    bool TakeNext();
    // Opens and plays the entry; 0 on success, otherwise the error (its reason in m_strReason).
    long Start(const MediaEntry& entry, bool setVolume);
    void NoteFailure(const MediaEntry& entry);
    void ReleasePause();

    long m_nDeviceMode = kModeStopped;  // as the device last reported it
    bool m_bStarting = false;           // a song is being opened and played: errors are its reason
    std::string m_strReason;            // the device's text for the failing start
    std::vector<std::string> m_failedPaths;  // the entries that failed one after another, this run
    std::string m_strFailedName;             // the last of them, and why
    std::string m_strFailedReason;

    ITransportDevice& m_device;
    ITransportList& m_queue;
    ITransportList& m_playList;
    ITransportView& m_view;
};
