// Folder scan benchmark. Makes a tree of 10,000 small files (seven in ten tagged MP3s) and measures,
// in the same run and interleaved round by round:
//   floor: a bare walk of the tree that opens each MP3 and reads its last 128 bytes;
//   scan:  a play list window of this process loading the tree (LoadDirectory), timed until the
//          window holds every music file with its row, while a second thread measures how long the
//          window takes to answer a message.
// Then the parts of the scan one at a time, to show where its time goes: the loading routine without
// any window, the tag reads with the entries' exclusive read-write open against a cheaper one, and the
// rows alone (in the routine's groups, and in a bare list view).
// Machines shared with other work are noisy: each figure is given as the best and the median of the
// rounds, and the verdict uses the best.
//
// Usage: ScanBench [rounds] [files] [parts]    (parts 0: the floor and the scan only)
#include "bench/BenchFigures.h"
#include "bench/BenchListView.h"
#include "framework/Directory.h"
#include "library/MP3TagFile.h"
#include "library/MP3Thread.h"
#include "library/MakeEntry.h"
#include "lists/PlayList.h"
#include "support/MediaFolder.h"
#include "support/MusicTree.h"
#include "support/ResponseProbe.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = BenchClock;

bool EndsWithNoCase(const std::string& text, const char* tail) {
    const size_t length = std::char_traits<char>::length(tail);
    if (text.size() < length) return false;
    return ::lstrcmpiA(text.c_str() + text.size() - length, tail) == 0;
}

struct FloorResult {
    size_t files = 0;
    size_t music = 0;
    size_t tags = 0;
};

// The least any scan must do: see every name, open every MP3 and read its tag block.
void FloorWalk(const std::string& folder, FloorResult& result) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            FloorWalk(path, result);
            continue;
        }
        ++result.files;
        if (EndsWithNoCase(name, ".wav")) ++result.music;
        if (!EndsWithNoCase(name, ".mp3")) continue;
        ++result.music;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        char block[128];
        DWORD got = 0;
        LARGE_INTEGER offset;
        offset.QuadPart = -128;
        if (::SetFilePointerEx(file, offset, nullptr, FILE_END) &&
            ::ReadFile(file, block, sizeof(block), &got, nullptr) && got == sizeof(block) && block[0] == 'T' &&
            block[1] == 'A' && block[2] == 'G')
            ++result.tags;
        ::CloseHandle(file);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

// Handles this thread's messages until done() holds or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, double timeoutSeconds) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (SecondsSince(start) > timeoutSeconds) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void Pump(double seconds) {
    PumpUntil([] { return false; }, seconds);
}

// A loading routine's target that only counts, for timing the routine without any window.
class CCountingTarget : public ILoaderTarget {
public:
    bool AddEntries(std::vector<MediaEntry>&& entries, bool) override {
        m_nEntries += entries.size();
        return true;
    }
    bool AddScannedEntries(std::vector<MediaEntry>&& entries) override {
        m_nEntries += entries.size();
        return true;
    }
    size_t m_nEntries = 0;
};

// A loading routine on a thread of its own at the given priority, as the window starts one.
struct RoutineThread {
    ILoaderTarget* target;
    std::string folder;
    double seconds = 0;
};

DWORD WINAPI RunRoutine(void* param) {
    auto* routine = static_cast<RoutineThread*>(param);
    const Clock::time_point start = Clock::now();
    {
        CMP3Thread worker(*routine->target);
        worker.ScanDirectory(routine->folder);
    }
    routine->seconds = SecondsSince(start);
    return 0;
}

HANDLE StartRoutine(RoutineThread& routine, int priority) {
    HANDLE thread = ::CreateThread(nullptr, 0, &RunRoutine, &routine, CREATE_SUSPENDED, nullptr);
    if (!thread) return nullptr;
    ::SetThreadPriority(thread, priority);
    ::ResumeThread(thread);
    return thread;
}

double TimeRoutineAlone(const std::string& folder, int priority, size_t& entries) {
    CCountingTarget target;
    RoutineThread routine{&target, folder};
    HANDLE thread = StartRoutine(routine, priority);
    if (!thread) return 0;
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    entries = target.m_nEntries;
    return routine.seconds;
}

struct FoundFile {
    std::string path;
    std::string name;
    std::string extension;
};

// Every music file's path, name and extension, as the scan finds them.
void CollectMusic(const std::string& folder, std::vector<FoundFile>& files) {
    ForEachInDirectory(folder, [&](const std::string& name, bool isDirectory) {
        const std::string path = folder + "\\" + name;
        if (isDirectory) {
            CollectMusic(path, files);
        } else {
            const std::string extension = ExtensionOfName(name);
            if (IsMusicExtension(extension)) files.push_back({path, name, extension});
        }
        return true;
    });
}

// Reads every MP3's tag block through CMP3TagFile opened with the given mode.
double TimeTagFileReads(const std::vector<FoundFile>& files, unsigned openFlags) {
    const Clock::time_point start = Clock::now();
    for (const FoundFile& file : files) {
        if (file.extension != ".mp3") continue;
        CMP3TagFile tagFile;
        if (tagFile.Open(file.path, openFlags)) tagFile.ReadTag();
    }
    return SecondsSince(start);
}

// The temporary folder cannot go while it is the working directory.
void LeaveWorkingFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    ::SetCurrentDirectoryA(temp);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const size_t fileCount = argc > 2 ? static_cast<size_t>(std::max(10, std::atoi(argv[2]))) : 10000;
    const bool withParts = argc > 3 ? std::atoi(argv[3]) != 0 : true;
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    CMediaFolder work("melodeck-scanbench");
    if (work.Path().empty()) {
        std::printf("ScanBench: no temporary folder\n");
        return 1;
    }
    // The play list window reads and writes its saved file in the working directory: an empty one.
    ::SetCurrentDirectoryA(work.Path().c_str());
    const std::string root = work.PathOf("Music");
    ::CreateDirectoryA(root.c_str(), nullptr);

    CMusicTree tree(root);
    Clock::time_point start = Clock::now();
    if (!tree.Write(fileCount)) {
        std::printf("ScanBench: could not write the tree in %s\n", root.c_str());
        return 1;
    }
    const size_t music = tree.MusicCount();
    const int musicRows = static_cast<int>(music);
    std::printf("Scan benchmark: %zu files (%zu tagged MP3, %zu untagged MP3, %zu WAV, %zu other) in %zu "
                "folders, written in %.2f s; %d rounds\n",
                fileCount, tree.TaggedMp3Count(), tree.UntaggedMp3Count(), tree.WavCount(), tree.OtherCount(),
                tree.FolderCount(), SecondsSince(start), rounds);

    CPlayList list;
    if (!list.Create(CPlayList::kPlayListId, nullptr)) {
        std::printf("ScanBench: the play list window could not be created\n");
        return 1;
    }
    list.MoveWindow(50, 50, 500, 300, true);
    list.ShowWindow(SW_SHOW);
    Pump(0.2);
    auto allRowsIn = [&] { return list.GetCount() >= musicRows && list.m_list.GetItemCount() >= musicRows; };

    std::vector<FoundFile> files;
    CollectMusic(root, files);
    std::vector<MediaEntry> entries;
    entries.reserve(files.size());
    for (const FoundFile& file : files) entries.push_back(MakeEntry(file.path, file.name, file.extension));

    // A bare list view whose rows hold their texts.
    std::vector<MediaEntry> shown;
    CBenchListView bare(580, 50, 500, 300);
    if (!bare.IsValid()) {
        std::printf("ScanBench: a bare list view could not be created\n");
        return 1;
    }

    // The scan's parts, each on its own, in the routine's groups.
    auto inGroups = [&](const std::function<void(size_t first, size_t last)>& addGroup, size_t count,
                        size_t group) {
        const Clock::time_point begin = Clock::now();
        for (size_t i = 0; i < count; i += group) addGroup(i, std::min(count, i + group));
        return SecondsSince(begin);
    };
    auto playListRows = [&](bool paint, size_t group) {
        list.RemoveAll();
        Pump(0.05);
        return inGroups(
            [&](size_t first, size_t last) {
                list.AddScannedEntries(
                    std::vector<MediaEntry>(entries.begin() + static_cast<std::ptrdiff_t>(first),
                                            entries.begin() + static_cast<std::ptrdiff_t>(last)));
                if (paint) ::UpdateWindow(list.m_list.m_hWnd);
            },
            entries.size(), group);
    };
    auto bareRows = [&](CBenchListView& view, bool toggleRedraw, bool paint, size_t count) {
        shown = entries;
        view.DeleteAllRows();
        Pump(0.05);
        return inGroups(
            [&](size_t first, size_t last) {
                if (toggleRedraw) view.SetRedraw(false);
                view.AppendRows(entries, first, last);
                if (toggleRedraw) {
                    view.SetRedraw(true);
                    view.Invalidate();
                }
                if (paint) view.Paint();
            },
            count, 512);
    };
    struct Part {
        Part(const char* partName, bool relativeToFloor, std::function<double()> fnRun)
            : name(partName), relative(relativeToFloor), run(std::move(fnRun)) {}
        const char* name;
        bool relative;
        std::function<double()> run;
        Figure figure;
    };
    std::vector<Part> parts = {
        {"loading routine alone (no window), idle-priority thread", true,
         [&] {
             size_t counted = 0;
             return TimeRoutineAlone(root, THREAD_PRIORITY_IDLE, counted);
         }},
        {"tag reads: CMP3TagFile, read-write exclusive (as MakeEntry)", false,
         [&] { return TimeTagFileReads(files, CFile::modeReadWrite | CFile::shareExclusive | CFile::typeBinary); }},
        {"tag reads: CMP3TagFile, read-only shared", false,
         [&] { return TimeTagFileReads(files, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary); }},
        {"rows: CPlayList::AddScannedEntries, groups of 512, no paint", true, [&] { return playListRows(false, 512); }},
        {"rows: CPlayList::AddScannedEntries, groups of 512, a paint per group", true,
         [&] { return playListRows(true, 512); }},
        {"rows: bare list view, texts, redraw off/on + a paint per group of 512", true,
         [&] { return bareRows(bare, true, true, entries.size()); }},
    };

    Figure floor, scan, answer;
    PrintRule();
    for (int round = 1; round <= rounds; ++round) {
        Pump(0.3);
        FloorResult walked;
        start = Clock::now();
        FloorWalk(root, walked);
        const double floorSeconds = SecondsSince(start);
        if (walked.files != fileCount || walked.music != music || walked.tags != tree.TaggedMp3Count()) {
            std::printf("the floor walk saw %zu files, %zu music, %zu tags\n", walked.files, walked.music,
                        walked.tags);
            return 1;
        }

        Pump(0.3);
        start = Clock::now();
        list.LoadDirectory(root, true);
        double scanSeconds = 0;
        {
            CResponseProbe probe(list.m_hWnd);
            if (!PumpUntil(allRowsIn, 300)) {
                std::printf("the scan did not complete: %d entries, %d rows of %zu\n", list.GetCount(),
                            list.m_list.GetItemCount(), music);
                return 1;
            }
            scanSeconds = SecondsSince(start);
            probe.Stop();
            answer.values.push_back(probe.LongestMs());
        }
        floor.values.push_back(floorSeconds);
        scan.values.push_back(scanSeconds);
        std::printf("round %d: floor %.3f s (%.0f files/s) | scan %.3f s (%.0f files/s) | ratio %.2f | "
                    "longest answer %.1f ms\n",
                    round, floorSeconds, fileCount / floorSeconds, scanSeconds, fileCount / scanSeconds,
                    scanSeconds / floorSeconds, answer.values.back());

        // The drawing a part leaves behind (the X server's) must not be charged to the next one.
        for (Part& part : parts) {
            if (!withParts) break;
            Pump(0.5);
            part.figure.values.push_back(part.run());
        }
    }

    const double best = scan.Best() / floor.Best();
    PrintRule();
    std::printf("floor (bare walk, each MP3's last 128 bytes read): best %.3f s (%.0f files/s), median %.3f s\n",
                floor.Best(), fileCount / floor.Best(), floor.Median());
    std::printf("scan (LoadDirectory until %zu rows are in):         best %.3f s (%.0f files/s), median %.3f s\n",
                music, scan.Best(), fileCount / scan.Best(), scan.Median());
    std::printf("ratio scan/floor: %.2f best to best, %.2f median to median (target at most 1.5): %s\n", best,
                scan.Median() / floor.Median(), best <= 1.5 ? "met" : "MISSED");
    std::printf("longest answer of the window during a scan: %.1f ms (median of the rounds' longest %.1f ms)\n",
                answer.Worst(), answer.Median());
    auto finish = [&] {
        list.DestroyWindow();
        LeaveWorkingFolder();
        return 0;
    };
    if (!withParts) return finish();
    PrintRule();
    std::printf("parts of the scan (%zu music files, %zu of them MP3):\n", music,
                tree.TaggedMp3Count() + tree.UntaggedMp3Count());
    for (const Part& part : parts) PrintFigure(part.name, part.figure, part.relative ? floor.Best() : 0);

    return finish();
}
