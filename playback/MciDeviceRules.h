#pragma once
// Decisions of the playback device window that need no Win32: which MCI device plays a file, how the
// volume scale maps onto the wave-out scale, which commands make sense in which mode, how the play
// bar is laid out and what its texts say.
#include <cstdint>
#include <string>

// MCI modes as the devices report them.
constexpr long kMciModeNotReady = 524;
constexpr long kMciModeStop = 525;
constexpr long kMciModePlay = 526;
constexpr long kMciModeRecord = 527;
constexpr long kMciModeSeek = 528;
constexpr long kMciModePause = 529;
constexpr long kMciModeOpen = 530;

// Volume of the device window: 0 (silent) to 1000 (the normal level).
constexpr long kVolumeMin = 0;
constexpr long kVolumeNormal = 1000;

enum class MciDeviceKind {
    MpegVideo,  // "mpegvideo": MP3 and WMA
    WaveAudio,  // "waveaudio": WAV
    CdAudio,    // "cdaudio": CD audio track files
    ByExtension // no type given: MCI picks the device from the file's extension
};

// Where a volume change goes: the device's own "setaudio volume", the wave-out volume for devices
// without a volume command, or nowhere (the value is only remembered).
enum class VolumeRoute { Device, WaveOut, Remembered };

// The part of the path after its last separator ('\\' or '/').
std::string FileNameOfPath(const std::string& path);
// The extension of the file name without its dot, lower case; empty when there is none.
std::string ExtensionOfPath(const std::string& path);
MciDeviceKind DeviceKindForPath(const std::string& path);
// The MCI device type name to open, or null for ByExtension.
const char* DeviceTypeName(MciDeviceKind kind);
VolumeRoute InitialVolumeRoute(MciDeviceKind kind);

long ClampVolume(long volume);
// One channel of the wave-out volume (0..0xFFFF) for a device volume, rounded; and back.
uint16_t VolumeToWaveOutLevel(long volume);
long WaveOutLevelToVolume(uint16_t level);
// Both channels packed as waveOutSetVolume takes them (left in the low word).
uint32_t VolumeToWaveOut(long volume);
// The louder channel decides, so that a balance setting does not read as a lower volume.
long WaveOutToVolume(uint32_t packed);

// Commands the window accepts as messages. A command that would do nothing in the current mode is
// not sent to the device, so that it cannot fail with an out-of-sequence error.
enum class MciCommand { Play, Stop, Pause, Resume };
bool CommandAppliesInMode(MciCommand command, long mode);

// What moving the position slider does in a mode: keep playing from there, keep paused there, or
// just move the position.
enum class SeekPlan { PlayFrom, PauseAt, MoveTo };
SeekPlan SeekPlanForMode(long mode);

// Where the play bar starts playing: at the position, or from the start once the end was reached.
long PlayStartPosition(long position, long length, bool endReached);

// "m:ss" (or "h:mm:ss" from an hour on) of a time in milliseconds; negative times show as 0:00.
std::string FormatTime(long milliseconds);
// The status part of the bar's text: position and length when shown, then the mode when shown.
std::string FormatBarStatus(long position, long length, bool showPos, long mode, bool showMode);
// The name part of the bar's text: the file name of the path, up to any zero character.
std::string BarName(const std::string& path);
// A word for a mode ("playing", "stopped", ...); empty for an unknown mode.
const char* ModeName(long mode);

// The play bar: a square button on the left, the position slider, then the text area (if any).
struct BarRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
struct BarLayout {
    BarRect button;
    BarRect slider;
    BarRect text;
};
constexpr int kBarHeight = 26;
BarLayout ComputeBarLayout(int width, int height, bool withText);
// How far along a channel of the width the slider's thumb stands for the position: 0 to width,
// 0 while the length is unknown.
int ThumbPixel(long position, long length, int width);
