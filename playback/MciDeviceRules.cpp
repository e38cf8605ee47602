#include "playback/MciDeviceRules.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string UntilZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr long kWaveOutMax = 0xFFFF;

} // namespace

std::string FileNameOfPath(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOfPath(const std::string& path) {
    std::string name = FileNameOfPath(path);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return std::string();
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), LowerAscii);
    return extension;
}

MciDeviceKind DeviceKindForPath(const std::string& path) {
    std::string extension = ExtensionOfPath(path);
    if (extension == "mp3" || extension == "wma") return MciDeviceKind::MpegVideo;
    if (extension == "wav") return MciDeviceKind::WaveAudio;
    if (extension == "cda") return MciDeviceKind::CdAudio;
    return MciDeviceKind::ByExtension;
}

const char* DeviceTypeName(MciDeviceKind kind) {
    switch (kind) {
    case MciDeviceKind::MpegVideo: return "mpegvideo";
    case MciDeviceKind::WaveAudio: return "waveaudio";
    case MciDeviceKind::CdAudio: return "cdaudio";
    case MciDeviceKind::ByExtension: break;
    }
    return nullptr;
}

VolumeRoute InitialVolumeRoute(MciDeviceKind kind) {
    // The wave device has no volume command; the others are tried first and fall back when they
    // turn out to have none.
    return kind == MciDeviceKind::WaveAudio ? VolumeRoute::WaveOut : VolumeRoute::Device;
}

long ClampVolume(long volume) {
    return std::clamp(volume, kVolumeMin, kVolumeNormal);
}

uint16_t VolumeToWaveOutLevel(long volume) {
    long clamped = ClampVolume(volume);
    return static_cast<uint16_t>((clamped * kWaveOutMax + kVolumeNormal / 2) / kVolumeNormal);
}

long WaveOutLevelToVolume(uint16_t level) {
    return (static_cast<long>(level) * kVolumeNormal + kWaveOutMax / 2) / kWaveOutMax;
}

uint32_t VolumeToWaveOut(long volume) {
    uint32_t level = VolumeToWaveOutLevel(volume);
    return level | (level << 16);
}

long WaveOutToVolume(uint32_t packed) {
    uint16_t left = static_cast<uint16_t>(packed & 0xFFFF);
    uint16_t right = static_cast<uint16_t>(packed >> 16);
    return WaveOutLevelToVolume(std::max(left, right));
}

bool CommandAppliesInMode(MciCommand command, long mode) {
    switch (command) {
    case MciCommand::Play: return mode != kMciModeNotReady && mode != kMciModeOpen;
    case MciCommand::Stop:
        return mode == kMciModePlay || mode == kMciModePause || mode == kMciModeSeek ||
               mode == kMciModeRecord;
    case MciCommand::Pause: return mode == kMciModePlay || mode == kMciModeSeek || mode == kMciModeRecord;
    case MciCommand::Resume: return mode == kMciModePause;
    }
    return false;
}

SeekPlan SeekPlanForMode(long mode) {
    if (mode == kMciModePlay || mode == kMciModeSeek) return SeekPlan::PlayFrom;
    if (mode == kMciModePause) return SeekPlan::PauseAt;
    return SeekPlan::MoveTo;
}

long PlayStartPosition(long position, long length, bool endReached) {
    if (endReached || position < 0) return 0;
    if (length > 0 && position >= length) return 0;
    return position;
}

std::string FormatTime(long milliseconds) {
    long seconds = milliseconds > 0 ? milliseconds / 1000 : 0;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

std::string FormatBarStatus(long position, long length, bool showPos, long mode, bool showMode) {
    std::string text;
    if (showPos) text = FormatTime(position) + " / " + FormatTime(length);
    std::string modeText = showMode ? ModeName(mode) : "";
    if (!modeText.empty()) text += (text.empty() ? "" : "  ") + modeText;
    return text;
}

std::string BarName(const std::string& path) {
    return FileNameOfPath(UntilZero(path));
}

const char* ModeName(long mode) {
    switch (mode) {
    case kMciModeNotReady: return "not ready";
    case kMciModeStop: return "stopped";
    case kMciModePlay: return "playing";
    case kMciModeRecord: return "recording";
    case kMciModeSeek: return "seeking";
    case kMciModePause: return "paused";
    case kMciModeOpen: return "open";
    default: return "";
    }
}

BarLayout ComputeBarLayout(int width, int height, bool withText) {
    constexpr int kMargin = 2; // inside the hairline frame
    constexpr int kGap = 4;
    constexpr int kMinSlider = 40;
    constexpr int kMaxText = 220;
    width = std::max(width, 0);
    height = std::min(std::max(height, 0), kBarHeight);
    int inner = std::max(width - kMargin, 0);

    BarLayout layout;
    int top = std::min(kMargin, height);
    int side = std::max(height - 2 * kMargin, 0);
    int buttonLeft = std::min(kMargin, inner);
    layout.button = {buttonLeft, top, std::min(buttonLeft + side, inner), top + side};

    int sliderLeft = std::min(layout.button.right + kGap, inner);
    int textWidth = 0;
    if (withText) {
        // The text takes up to two fifths of the bar, never squeezing the slider below its minimum.
        textWidth = std::min(width * 2 / 5, kMaxText);
        textWidth = std::max(std::min(textWidth, inner - sliderLeft - kMinSlider - kGap), 0);
    }
    int barTop = std::min(1, height);
    int barBottom = std::max(height - 1, barTop);
    layout.slider = {sliderLeft, barTop, textWidth > 0 ? inner - textWidth - kGap : inner, barBottom};
    layout.text = {inner - textWidth, barTop, inner, barBottom};
    return layout;
}

int ThumbPixel(long position, long length, int width) {
    if (length <= 0 || width <= 0) return 0;
    long long clamped = std::min(std::max(position, 0L), length);
    return static_cast<int>(clamped * width / length);
}
