// Idle cost benchmark. Measures the processor time (utime + stime, from /proc) that a process uses
// over a 10-second window, for, in the same run and interleaved round by round:
//   floor:   this program started again as a bare window program: with nothing running; with a
//            periodic 50 ms multimedia timer whose callback posts a message that repaints a 300 x 20
//            static (what the banner does); and with that timer while it plays the same WAV by MCI
//            command strings;
//   program: the real Melodeck with empty lists, and playing a generated 60-second WAV from its play
//            list (Play pressed), its banner scrolling.
//
// Usage: IdleBench [rounds] [seconds]        IdleBench --bare MARK timer|none [WAV]   (the floor)
#include "bench/BenchFigures.h"
#include "bench/UnixProcess.h"
#include "library/SavedList.h"
#include "support/MelodeckProcess.h"
#include "support/TestMedia.h"

#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#ifndef MELODECK_EXE_PATH
#error "MELODECK_EXE_PATH must name the program to start"
#endif

namespace {

constexpr UINT kBareTick = WM_APP + 1;
constexpr int kPlayButton = 1003;
constexpr int kListControl = 1002;
constexpr unsigned kToneMs = 60000;

// ---- The floor program.

int g_nOffset = 0;
HWND g_hStatic = nullptr;

LRESULT CALLBACK BareProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kBareTick: {
        char text[64];
        ++g_nOffset;
        std::snprintf(text, sizeof(text), "%*sBare program, tick %d", g_nOffset % 20, "", g_nOffset);
        ::SetWindowTextA(g_hStatic, text);
        ::UpdateWindow(g_hStatic);
        return 0;
    }
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void CALLBACK BareTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    ::PostMessageA(reinterpret_cast<HWND>(user), kBareTick, 0, 0);
}

int RunBare(bool withTimer, const char* wavPath) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MelodeckIdleBenchBare";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowA(wc.lpszClassName, "Bare program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 50,
                                340, 80, nullptr, nullptr, wc.hInstance, nullptr);
    g_hStatic = ::CreateWindowA("STATIC", "Bare program", WS_CHILD | WS_VISIBLE, 10, 10, 300, 20, hWnd, nullptr,
                                wc.hInstance, nullptr);
    UINT timer = withTimer ? ::timeSetEvent(50, 100, &BareTimer, reinterpret_cast<DWORD_PTR>(hWnd),
                                            TIME_PERIODIC | TIME_CALLBACK_FUNCTION)
                           : 0;
    if (wavPath) {
        const std::string open = std::string("open \"") + wavPath + "\" type waveaudio alias tone";
        ::mciSendStringA(open.c_str(), nullptr, 0, nullptr);
        ::mciSendStringA("play tone", nullptr, 0, nullptr);
    }
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (timer) ::timeKillEvent(timer);
    if (wavPath) ::mciSendStringA("close tone", nullptr, 0, nullptr);
    return 0;
}

// ---- Measuring.

double CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / 1e7;
}

// The /proc stat file of the first process whose command line holds the text, through drive Z:.
std::string FindUnixStat(const std::string& needle) {
    std::string folder = UnixProcFolder(needle);
    return folder.empty() ? folder : folder + "\\stat";
}

// utime + stime in seconds from a /proc stat file; -1 when it cannot be read.
double UnixCpuSeconds(const std::string& statPath) {
    std::ifstream stat(statPath);
    std::string line;
    if (statPath.empty() || !std::getline(stat, line) || line.rfind(')') == std::string::npos) return -1;
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::strtoull(field.c_str(), nullptr, 10);
        if (i == 15) stime = std::strtoull(field.c_str(), nullptr, 10);
    }
    return static_cast<double>(utime + stime) / 100.0; // clock ticks of 10 ms
}

// A process's processor time: from /proc when its Unix process is found (what the figures mean),
// else from GetProcessTimes.
struct CpuSource {
    HANDLE process;
    std::string statPath;
    double Seconds() const { return statPath.empty() ? CpuSeconds(process) : UnixCpuSeconds(statPath); }
};

using Sample = double; // percent of one processor; -1 when unknown


// The time used over the window, as a percentage of one processor.
// Waits on the process itself: this program stays quiet meanwhile, as Wine's server serves both.
Sample Measure(const CpuSource& source, double seconds) {
    ::WaitForSingleObject(source.process, 2000); // start-up settles
    double cpu0 = source.Seconds();
    ::WaitForSingleObject(source.process, static_cast<DWORD>(seconds * 1000));
    double cpu1 = source.Seconds();
    return cpu0 < 0 || cpu1 < 0 ? -1 : 100.0 * (cpu1 - cpu0) / seconds;
}

Sample MeasureBare(bool withTimer, const std::string& wavPath, double seconds) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    // A word of its own on the command line finds its Unix process.
    const std::string mark = "run" + std::to_string(::GetTickCount());
    std::string commandLine = std::string("\"") + self + "\" --bare " + mark + (withTimer ? " timer" : " none");
    if (!wavPath.empty()) commandLine += " \"" + wavPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    ::WaitForInputIdle(info.hProcess, 10000);
    Sample sample = Measure(CpuSource{info.hProcess, FindUnixStat(mark)}, seconds);
    ::TerminateProcess(info.hProcess, 0);
    ::WaitForSingleObject(info.hProcess, 10000);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return sample;
}

HANDLE OpenForTimes(DWORD processId) {
    return ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, processId);
}

BOOL CALLBACK FindToneBar(HWND hWnd, LPARAM lParam) {
    char text[256] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    if (std::strstr(text, "tone")) *reinterpret_cast<HWND*>(lParam) = hWnd;
    return TRUE;
}

Sample MeasureMelodeck(bool playing, double seconds, bool skinned = true) {
    CMelodeckProcess program;
    // Without the skin, for comparison: every control then painted by the platform.
    ::SetEnvironmentVariableA("MELODECK_NOSKIN", skinned ? nullptr : "1");
    if (playing) {
        const std::string tone = program.PathIn("tone.wav");
        std::string error;
        if (!WriteWavFile(tone, kToneMs) ||
            !WriteSavedList(program.PathIn("Playlist.dat"), {{tone, "tone.wav", "Idle Bench", "Tones", "A"}},
                            &error))
            return -1;
    }
    const bool started = program.Start();
    ::SetEnvironmentVariableA("MELODECK_NOSKIN", nullptr);
    if (!started) return -1;
    HWND player = program.Player();
    if (playing) {
        // Play once the saved play list has been read; the device window then carries the file's name.
        HWND list = ::GetDlgItem(program.FindTopLevel("Play List"), kListControl);
        WaitFor([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 20000);
        ::PostMessageA(player, WM_COMMAND, MAKEWPARAM(kPlayButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(player, kPlayButton)));
        HWND bar = nullptr;
        WaitFor(
            [&] {
                ::EnumChildWindows(player, &FindToneBar, reinterpret_cast<LPARAM>(&bar));
                return bar != nullptr;
            },
            20000);
        if (!bar) std::printf("  (the tone did not start playing)\n");
    }
    HANDLE process = OpenForTimes(program.ProcessId());
    Sample sample = process ? Measure(CpuSource{process, FindUnixStat(program.Folder())}, seconds) : -1;
    if (process) ::CloseHandle(process);
    program.Close();
    return sample;
}

void PrintPercent(const char* what, const Figure& figure, double floor) {
    std::printf("  %-56s best %5.2f %%  median %5.2f %%", what, figure.Best(), figure.Median());
    if (floor > 0) std::printf("  (%.1f x floor)", figure.Median() / floor);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::strcmp(argv[1], "--bare") == 0)
        return RunBare(std::strcmp(argv[3], "timer") == 0, argc > 4 ? argv[4] : nullptr);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const double seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 10.0;

    std::printf("Processor time over %.0f s, as a percentage of one processor (%d rounds)\n", seconds, rounds);
    // The floor of playing plays the same tone through the same device, by command strings.
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string tone = std::string(temp) + "melodeck-idlebench-" + std::to_string(::GetCurrentProcessId()) + ".wav";
    if (!WriteWavFile(tone, kToneMs)) std::printf("  (could not write %s)\n", tone.c_str());
    Figure bareIdle, bareTimer, barePlaying, idle, playing, plainIdle;
    for (int round = 0; round < rounds; ++round) {
        bareIdle.values.push_back(MeasureBare(false, std::string(), seconds));
        bareTimer.values.push_back(MeasureBare(true, std::string(), seconds));
        barePlaying.values.push_back(MeasureBare(true, tone, seconds));
        idle.values.push_back(MeasureMelodeck(false, seconds));
        playing.values.push_back(MeasureMelodeck(true, seconds));
        plainIdle.values.push_back(MeasureMelodeck(false, seconds, false));
        std::printf("  round %d: bare %.2f %%, with the timer %.2f %%, and playing %.2f %%; Melodeck idle %.2f %%, "
                    "playing %.2f %%, idle without the skin %.2f %%\n",
                    round + 1, bareIdle.values.back(), bareTimer.values.back(), barePlaying.values.back(),
                    idle.values.back(), playing.values.back(), plainIdle.values.back());
        std::fflush(stdout);
    }
    PrintRule();
    PrintPercent("floor: bare window program, no timer", bareIdle, 0);
    PrintPercent("floor: bare program, 50 ms multimedia timer repainting", bareTimer, 0);
    PrintPercent("floor: the same, playing the WAV through MCI", barePlaying, 0);
    PrintPercent("Melodeck idle, empty lists", idle, bareTimer.Median());
    PrintPercent("Melodeck playing the WAV, banner scrolling", playing, barePlaying.Median());
    PrintPercent("Melodeck idle without the skin (MELODECK_NOSKIN=1)", plainIdle, bareTimer.Median());
    PrintRule();
    ::DeleteFileA(tone.c_str());
    return 0;
}
