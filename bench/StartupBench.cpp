// Start-up benchmark. Writes a 10,000-entry "Playlist.dat" beside a copy of Melodeck.exe and measures,
// in the same run and interleaved round by round:
//   floor:    reading and parsing that file (ReadSavedList) and putting its rows into a bare
//             three-column list view of this process in one batch (redraw off, the columns fitted once);
//   start-up: the real program started with that folder as working directory, timed from
//             CreateProcess until its "Play List" window's list shows every row, while a second thread
//             measures how long the player window takes to answer a message; then it is closed.
// The skin's cost: the program without saved lists started with and without the skin
// (MELODECK_NOSKIN=1), compared on the time until the player window is up and on memory.
// To show where the time goes: the program started without any saved list (the cost of starting at
// all), and the floor's rows put in the way the program's window takes them: in the reader's groups,
// each with its own redraw and column fitting.
// Memory, once the rows show: the working set, private bytes and GDI and USER object counts of the
// program with empty lists and with the saved list, each beside a floor program (this one, started
// with --hold) holding the same rows its cheapest way: the entries in memory and an owner-data list
// view that asks for their texts.
//
// Usage: StartupBench [rounds] [entries]
//        StartupBench --hold empty|rows|callback [saved list]   (the floor program: shows the rows,
//                         owner data or callback rows, until ended)
#include "bench/BenchFigures.h"
#include "bench/UnixProcess.h"
#include "bench/BenchListView.h"
#include "support/MelodeckProcess.h"
#include "framework/File.h"
#include "library/SavedList.h"
#include "support/MediaFolder.h"
#include "support/ResponseProbe.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifndef MELODECK_EXE_PATH
#error "MELODECK_EXE_PATH must name the program to start"
#endif

namespace {

using Clock = BenchClock;

void Pump(double seconds) {
    const Clock::time_point start = Clock::now();
    while (SecondsSince(start) < seconds) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

std::string Numbered(const char* word, size_t number, int digits) {
    char text[64];
    std::snprintf(text, sizeof(text), "%s %0*zu", word, digits, number);
    return text;
}

// Entries as a scan of a tagged collection makes them: texts from tags end in their zero character.
std::vector<MediaEntry> MakeTaggedEntries(size_t count) {
    std::vector<MediaEntry> entries;
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t album = i / 12;
        const size_t artist = album / 5;
        MediaEntry entry;
        entry.m_strPath = "C:\\Music\\" + Numbered("Artist", artist, 3) + "\\" + Numbered("Album", album, 4) +
                          "\\" + Numbered("Track", i, 5) + ".mp3";
        entry.m_strArtist = Numbered("Artist", artist, 3) + '\0';
        entry.m_strAlbum = Numbered("Album", album, 4) + '\0';
        entry.m_strSong = Numbered("Song", i, 5) + '\0';
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<MediaEntry> ReadEntries(const std::string& path) {
    std::vector<MediaEntry> entries;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return entries;
    ReadSavedList(file, [&](std::vector<MediaEntry>&& batch) {
        entries.insert(entries.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    });
    return entries;
}

// What a process holds, read from outside once its rows show.
struct MemoryFigures {
    double workingSetMb = 0;
    double privateMb = 0;
    double anonymousMb = 0;  // Linux's RssAnon of the process: Wine leaves private bytes at the swap use
    double gdiObjects = -1;  // -1: not counted (Wine does not)
    double userObjects = -1;
};

// The anonymous resident memory of the Unix process whose command line holds the text, read through
// drive Z:; 0 when none is found.
double AnonymousResidentMb(const std::string& needle) {
    const std::string folder = UnixProcFolder(needle);
    if (folder.empty()) return 0;
    double found = 0;
    std::ifstream status(folder + "\\status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0) found = std::atof(line.c_str() + 8) / 1024.0;
    return found;
}

MemoryFigures MemoryOf(HANDLE process, const std::string& needle) {
    MemoryFigures figures;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    auto* basic = reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters);
    if (::GetProcessMemoryInfo(process, basic, sizeof(counters))) {
        figures.workingSetMb = counters.WorkingSetSize / (1024.0 * 1024.0);
        figures.privateMb = counters.PrivateUsage / (1024.0 * 1024.0);
    }
    figures.anonymousMb = AnonymousResidentMb(needle);
    ::SetLastError(0);
    const DWORD gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi || ::GetLastError() == 0) figures.gdiObjects = gdi;
    ::SetLastError(0);
    const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS);
    if (user || ::GetLastError() == 0) figures.userObjects = user;
    return figures;
}

// Memory figures over the rounds.
struct MemoryFigure {
    Figure workingSet, privateBytes, anonymous, gdi, user;
    void Add(const MemoryFigures& figures) {
        workingSet.values.push_back(figures.workingSetMb);
        privateBytes.values.push_back(figures.privateMb);
        anonymous.values.push_back(figures.anonymousMb);
        gdi.values.push_back(figures.gdiObjects);
        user.values.push_back(figures.userObjects);
    }
};

void PrintMemory(const char* what, const MemoryFigure& figure) {
    auto count = [](const Figure& objects) {
        return objects.Median() < 0 ? std::string("n/a") : std::to_string(static_cast<int>(objects.Median()));
    };
    std::printf("  %-44s working set %5.1f MB  private %5.1f MB  anonymous %5.1f MB  GDI %s  USER %s\n", what,
                figure.workingSet.Median(), figure.privateBytes.Median(), figure.anonymous.Median(),
                count(figure.gdi).c_str(), count(figure.user).c_str());
}

// Settles a process that shows its rows before its memory is read: it has painted and answers.
MemoryFigures SettledMemoryOf(HANDLE process, HWND window, const std::string& needle) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Pump(0.5);
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return MemoryOf(process, needle);
}

// The floor program: the saved list's entries in memory, shown by an owner-data list view.
int HoldRows(const std::string& how, const char* savedList) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::vector<MediaEntry> entries = savedList ? ReadEntries(savedList) : std::vector<MediaEntry>();
    const auto kind = how == "callback" ? CBenchListView::Rows::callback : CBenchListView::Rows::ownerData;
    CBenchListView view(600, 100, 500, 300, kind, &entries);
    if (!view.IsValid()) return 1;
    view.SetRedraw(false);
    view.AppendRows(entries, 0, entries.size());
    view.FitColumns();
    view.SetRedraw(true);
    view.Invalidate();
    view.Paint();
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}

// Starts the floor program holding the saved list's rows (none for an empty path) and reads its memory
// once they show; then ends it.
bool MeasureFloorProgram(const std::string& savedList, int rows, MemoryFigures& figures,
                         const char* how = "rows") {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    // The word after --hold tells the two floor programs' Unix processes apart.
    const std::string needle = savedList.empty() ? "--hold empty" : std::string("--hold ") + how;
    std::string commandLine = "\"" + std::string(self) + "\" " + needle;
    if (!savedList.empty()) commandLine += " \"" + savedList + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    bool shown = false;
    const Clock::time_point start = Clock::now();
    while (!shown && SecondsSince(start) < 60 && ::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        for (HWND hWnd : TopLevelWindowsOf(info.dwProcessId, true)) {
            HWND list = ::FindWindowExA(hWnd, nullptr, WC_LISTVIEWA, nullptr);
            DWORD_PTR count = 0;
            if (list && ::SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) &&
                static_cast<int>(count) >= rows) {
                figures = SettledMemoryOf(info.hProcess, list, needle);
                shown = true;
            }
        }
        if (!shown) ::Sleep(2);
    }
    ::TerminateProcess(info.hProcess, 0);
    ::WaitForSingleObject(info.hProcess, 5000);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return shown;
}

struct StartResult {
    bool ok = false;
    double playerSeconds = 0;  // the player window is up
    double listSeconds = 0;    // the visible play list window shows every row
    double closeSeconds = 0;   // from WM_CLOSE to the end of the process (the lists are saved)
    double longestAnswerMs = 0;
    MemoryFigures memory;  // once the rows show
    std::string failure;
};

// Starts the program in folder and waits until its player window is up and its visible "Play List"
// window shows rows rows.
StartResult StartProgram(const std::string& folder, int rows) {
    StartResult result;
    const std::string program = folder + "\\Melodeck.exe";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const Clock::time_point start = Clock::now();
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info)) {
        result.failure = "CreateProcess failed";
        return result;
    }
    HWND player = nullptr;
    HWND list = nullptr;
    std::unique_ptr<CResponseProbe> probe;
    while (SecondsSince(start) < 60) {
        if (::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
            result.failure = "the program ended by itself";
            break;
        }
        if (!player || !list) {
            for (HWND hWnd : TopLevelWindowsOf(info.dwProcessId, true)) {
                if (!player && ::GetDlgItem(hWnd, 1003)) {  // the Play button marks the player window
                    player = hWnd;
                    result.playerSeconds = SecondsSince(start);
                    probe = std::make_unique<CResponseProbe>(player);
                }
                char caption[64] = {};
                ::GetWindowTextA(hWnd, caption, sizeof(caption));
                if (!list && std::string(caption) == "Play List") list = ::GetDlgItem(hWnd, 1002);
            }
        }
        if (player && list) {
            DWORD_PTR count = 0;
            if (::SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) &&
                static_cast<int>(count) >= rows) {
                result.listSeconds = SecondsSince(start);
                result.ok = true;
                if (probe) {
                    probe->Stop();
                    result.longestAnswerMs = probe->LongestMs();
                }
                result.memory = SettledMemoryOf(info.hProcess, list, program);
                break;
            }
        }
        ::Sleep(2);
    }
    if (probe) {
        probe->Stop();
        result.longestAnswerMs = probe->LongestMs();
    }
    if (!result.ok && result.failure.empty()) result.failure = "the rows did not appear within 60 s";
    const Clock::time_point closing = Clock::now();
    if (player) ::PostMessageA(player, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) {
        ::TerminateProcess(info.hProcess, 1);
        ::WaitForSingleObject(info.hProcess, 5000);
        result.ok = false;
        result.failure = "the program did not end after WM_CLOSE";
    }
    result.closeSeconds = SecondsSince(closing);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--hold") return HoldRows(argv[2], argc > 3 ? argv[3] : nullptr);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const size_t entryCount = argc > 2 ? static_cast<size_t>(std::max(1, std::atoi(argv[2]))) : 10000;
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    // Two program folders: one with the saved play list, one without (the cost of starting at all).
    CMediaFolder withList("melodeck-startbench");
    CMediaFolder withoutList("melodeck-startbench-empty");
    if (withList.Path().empty() || withoutList.Path().empty()) {
        std::printf("StartupBench: no temporary folder\n");
        return 1;
    }
    for (const CMediaFolder* folder : {&withList, &withoutList}) {
        if (!::CopyFileA(MELODECK_EXE_PATH, folder->PathOf("Melodeck.exe").c_str(), FALSE)) {
            std::printf("StartupBench: could not copy %s\n", MELODECK_EXE_PATH);
            return 1;
        }
    }
    const std::string savedList = withList.PathOf("Playlist.dat");
    const std::vector<MediaEntry> written = MakeTaggedEntries(entryCount);
    std::string error;
    if (!WriteSavedList(savedList, written, &error)) {
        std::printf("StartupBench: could not write %s: %s\n", savedList.c_str(), error.c_str());
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ::GetFileAttributesExA(savedList.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("Start-up benchmark: \"Playlist.dat\" of %zu entries, %lu bytes; %d rounds\n", entryCount,
                static_cast<unsigned long>(attributes.nFileSizeLow), rounds);
    if (ReadEntries(savedList) != written) {
        std::printf("StartupBench: the saved list does not read back\n");
        return 1;
    }

    CBenchListView bare(600, 100, 500, 300);
    if (!bare.IsValid()) {
        std::printf("StartupBench: the bare list view could not be created\n");
        return 1;
    }
    const int rows = static_cast<int>(entryCount);

    // The program's window takes the saved entries in the reader's groups, each group with its redraw
    // switched off and on and the three columns fitted again; the same here on the bare list view.
    auto groupedRows = [&](size_t groupSize, bool fitEachGroup) {
        bare.DeleteAllRows();
        Pump(0.05);
        const Clock::time_point begin = Clock::now();
        CFile file;
        file.Open(savedList, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
        ReadSavedList(file, [&](std::vector<MediaEntry>&& batch) {
            bare.SetRedraw(false);
            bare.AppendRows(batch, 0, batch.size());
            if (fitEachGroup) bare.FitColumns();
            bare.SetRedraw(true);
            bare.Invalidate();
            bare.Paint();
        }, groupSize);
        if (!fitEachGroup) {
            bare.FitColumns();
            bare.Paint();
        }
        return SecondsSince(begin);
    };

    Figure floor, floorRows, floorFit, paint, startup, player, close, answer, empty, emptyClose, readOnly;
    Figure grouped, groupedFitOnce, bigGroupsFitOnce, skinnedPlayer, plainPlayer;
    MemoryFigure memoryPlain;
    MemoryFigure memoryFull, memoryEmpty, floorMemoryFull, floorMemoryEmpty, callbackMemory;
    PrintRule();
    for (int round = 1; round <= rounds; ++round) {
        // Floor: parse, then all rows in one batch and one fitting.
        bare.DeleteAllRows();
        Pump(0.3);
        Clock::time_point start = Clock::now();
        std::vector<MediaEntry> entries = ReadEntries(savedList);
        bare.SetRedraw(false);
        bare.AppendRows(entries, 0, entries.size());
        const double rowsSeconds = SecondsSince(start);
        bare.FitColumns();
        bare.SetRedraw(true);
        const double floorSeconds = SecondsSince(start);
        floorRows.values.push_back(rowsSeconds);
        floorFit.values.push_back(floorSeconds - rowsSeconds);
        start = Clock::now();
        bare.Invalidate();
        bare.Paint();
        paint.values.push_back(SecondsSince(start));
        if (bare.GetRowCount() != rows) {
            std::printf("the floor put %d rows in\n", bare.GetRowCount());
            return 1;
        }
        floor.values.push_back(floorSeconds);

        Pump(0.5);
        StartResult started = StartProgram(withList.Path(), rows);
        if (!started.ok) {
            std::printf("round %d: start-up failed: %s\n", round, started.failure.c_str());
            return 1;
        }
        startup.values.push_back(started.listSeconds);
        player.values.push_back(started.playerSeconds);
        close.values.push_back(started.closeSeconds);
        answer.values.push_back(started.longestAnswerMs);
        memoryFull.Add(started.memory);
        std::printf("round %d: floor %.3f s | start-up %.3f s (player up at %.3f s) | ratio %.2f | longest "
                    "answer of the player %.1f ms | close %.3f s\n",
                    round, floorSeconds, started.listSeconds, started.playerSeconds,
                    started.listSeconds / floorSeconds, started.longestAnswerMs, started.closeSeconds);

        Pump(0.5);
        StartResult bareStart = StartProgram(withoutList.Path(), 0);
        if (bareStart.ok) {
            empty.values.push_back(bareStart.listSeconds);
            emptyClose.values.push_back(bareStart.closeSeconds);
            memoryEmpty.Add(bareStart.memory);
        } else {
            std::printf("round %d: start-up without saved lists failed: %s\n", round, bareStart.failure.c_str());
        }

        // The same start with the skin left out: what painting every control ourselves costs.
        Pump(0.5);
        ::SetEnvironmentVariableA("MELODECK_NOSKIN", "1");
        StartResult plainStart = StartProgram(withoutList.Path(), 0);
        ::SetEnvironmentVariableA("MELODECK_NOSKIN", nullptr);
        if (bareStart.ok && plainStart.ok) {
            skinnedPlayer.values.push_back(bareStart.playerSeconds);
            plainPlayer.values.push_back(plainStart.playerSeconds);
            memoryPlain.Add(plainStart.memory);
            std::printf("round %d: player up at %.3f s skinned, %.3f s without the skin\n", round,
                        bareStart.playerSeconds, plainStart.playerSeconds);
        }

        MemoryFigures held;
        if (MeasureFloorProgram(savedList, rows, held)) floorMemoryFull.Add(held);
        if (MeasureFloorProgram("", 0, held)) floorMemoryEmpty.Add(held);
        if (MeasureFloorProgram(savedList, rows, held, "callback")) callbackMemory.Add(held);
        std::printf("round %d: working set, empty lists %.1f MB, %d entries %.1f MB | floor program %.1f MB, "
                    "%.1f MB\n",
                    round, bareStart.memory.workingSetMb, rows, started.memory.workingSetMb,
                    floorMemoryEmpty.workingSet.values.empty() ? 0 : floorMemoryEmpty.workingSet.values.back(),
                    floorMemoryFull.workingSet.values.empty() ? 0 : floorMemoryFull.workingSet.values.back());

        Pump(0.3);
        start = Clock::now();
        const size_t parsed = ReadEntries(savedList).size();
        readOnly.values.push_back(SecondsSince(start));
        if (parsed != entryCount) std::printf("the reader gave %zu entries\n", parsed);
        Pump(0.3);
        grouped.values.push_back(groupedRows(kSavedListBatchSize, true));
        Pump(0.3);
        groupedFitOnce.values.push_back(groupedRows(kSavedListBatchSize, false));
        Pump(0.3);
        bigGroupsFitOnce.values.push_back(groupedRows(2048, false));
    }

    const double ratio = startup.Best() / floor.Best();
    PrintRule();
    std::printf("floor (ReadSavedList + %d rows in one batch, one fitting): best %.3f s, median %.3f s\n", rows,
                floor.Best(), floor.Median());
    std::printf("start-up (CreateProcess until the play list shows %d rows): best %.3f s, median %.3f s\n",
                rows, startup.Best(), startup.Median());
    std::printf("ratio start-up/floor: %.2f best to best, %.2f median to median (target at most 1.0): %s\n",
                ratio, startup.Median() / floor.Median(), ratio <= 1.0 ? "met" : "MISSED");
    std::printf("under 2 seconds: %s (best %.3f s, worst %.3f s)\n", startup.Best() < 2.0 ? "yes" : "NO",
                startup.Best(), startup.Worst());
    std::printf("longest answer of the player window during the load: %.1f ms (worst of %d starts; "
                "target under 100 ms: %s)\n",
                answer.Worst(), rounds, answer.Worst() < 100 ? "met" : "MISSED");
    PrintRule();
    std::printf("memory once the rows show:\n");
    PrintMemory("program, empty lists", memoryEmpty);
    PrintMemory("floor program, empty list", floorMemoryEmpty);
    PrintMemory("program, saved list", memoryFull);
    PrintMemory("floor program, the same rows (owner data)", floorMemoryFull);
    PrintMemory("bare program, the same rows as callback texts", callbackMemory);
    const double added = memoryFull.workingSet.Median() - memoryEmpty.workingSet.Median();
    std::printf("the %d entries add %.1f MB of working set (%.1f MB anonymous) to the program, %.1f MB to the "
                "floor program (target under 5 MB: %s)\n",
                rows, added, memoryFull.anonymous.Median() - memoryEmpty.anonymous.Median(),
                floorMemoryFull.workingSet.Median() - floorMemoryEmpty.workingSet.Median(),
                added < 5 ? "met" : "MISSED");
    if (!plainPlayer.values.empty()) {
        const double skinRatio = skinnedPlayer.Median() / plainPlayer.Median();
        const double skinMemory = memoryEmpty.workingSet.Median() - memoryPlain.workingSet.Median();
        std::printf("the skin: player up at %.3f s median (best %.3f s), without it %.3f s (best %.3f s): ratio "
                    "%.2f (target at most 1.2: %s)\n",
                    skinnedPlayer.Median(), skinnedPlayer.Best(), plainPlayer.Median(), plainPlayer.Best(),
                    skinRatio, skinRatio <= 1.2 ? "met" : "MISSED");
        PrintMemory("program, empty lists, without the skin", memoryPlain);
        std::printf("the skin adds %.1f MB of working set (%.1f MB anonymous) (target under 2 MB: %s)\n",
                    skinMemory, memoryEmpty.anonymous.Median() - memoryPlain.anonymous.Median(),
                    skinMemory < 2 ? "met" : "MISSED");
    }
    PrintRule();
    std::printf("parts:\n");
    PrintFigure("program started without saved lists, until its play list is up", empty, floor.Best());
    PrintFigure("player window up, after CreateProcess (with the saved list)", player, floor.Best());
    PrintFigure("ReadSavedList alone", readOnly, floor.Best());
    PrintFigure("floor's rows alone (redraw off, no fitting)", floorRows, floor.Best());
    PrintFigure("floor's one fitting of the three columns", floorFit, floor.Best());
    PrintFigure("floor's paint of the filled list (not in the floor)", paint, 0);
    PrintFigure("reader's groups of 256, redraw off/on + paint per group, fit each group", grouped,
                floor.Best());
    PrintFigure("reader's groups of 256, redraw off/on + paint per group, fit at the end", groupedFitOnce,
                floor.Best());
    PrintFigure("groups of 2048, redraw off/on + paint per group, fit at the end", bigGroupsFitOnce,
                floor.Best());
    PrintFigure("close (WM_CLOSE until the process ends, 10,000 entries saved)", close, 0);
    PrintFigure("close without saved lists", emptyClose, 0);
    return 0;
}
