#pragma once
// The juke-box rule: what plays next when the user presses Play, Stop, Next, Previous or Pause, and
// when the device stops at the end of a track. The queue plays first, each entry leaving it as it
// starts; then the play list, in order or at random, its entries staying where they are.
//
// The player window is the controller; the device, the two lists and the window's own controls are
// reached through the interfaces below, so that the rule runs natively against scripted ones.
#include "library/MediaEntry.h"

#include <string>

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
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void SetTrayPauseCheck(bool checked) = 0;
    virtual int GetTrayPauseState() const = 0;
};

// "Artist - Song", each shown up to its first zero character (the one that ends a tag text); the song
// alone when the artist is empty.
std::string NowPlayingText(const MediaEntry& entry);
// How the device's error message names an entry: its file name, or its path when it has none (the
// loaders leave the file name empty).
std::string PlayBackErrorName(const MediaEntry& entry);

class CTransportController {
public:
    static constexpr long kModeStopped = 525;

    CTransportController(ITransportDevice& device, ITransportList& queue, ITransportList& playList,
                         ITransportView& view)
        : m_device(device), m_queue(queue), m_playList(playList), m_view(view) {}
    virtual ~CTransportController() = default;

    // Starts the next entry now, replacing whatever plays.
    void OnPlay();
    // Stops, and nothing starts when the device reports the stop.
    void OnStop();
    // Stops; the device's stopped report then starts the next entry (unless paused).
    void OnNext();
    // Plays again the play-list entry last picked, or the queue's second entry; changes nothing else.
    void OnPrevious();
    // The Pause button was clicked (its check has already changed).
    void OnPause();
    // The tray menu's Pause: toggles pause with the button and the menu item agreeing afterwards.
    void OnTrayPause();
    // The volume trackbar released the mouse: the device takes its position.
    void OnVolumeReleased();
    // The device changed its mode; a stop while auto-advance is on and not paused plays the next.
    void OnDeviceMode(long mode);

    MediaEntry m_current;         // the entry most recently started by Play, Next or the end of a track
    int m_nPlayPos = 0;           // one-based number of the play-list entry last picked; 0 = none
    bool m_bAutoAdvance = false;  // a stop of the device starts the next entry
    int m_nRandom = 0;            // greater than 0: the play list is played at random

private:
    void PlayNext();

    ITransportDevice& m_device;
    ITransportList& m_queue;
    ITransportList& m_playList;
    ITransportView& m_view;
};
