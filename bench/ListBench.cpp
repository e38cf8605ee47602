// List window benchmark: a play list window of this process holding 10,000 entries in shuffled order,
// timed on the user-interface thread while it is shown:
//   sort:  a click on each column header (LVN_COLUMNCLICK), until the rows are painted again;
//   find:  one OK press of the find window whose text only the last row holds, so that it searches every
//          entry before it selects that row; and the Find command itself, which hands over the snapshot.
//   queue: 5,000 selected rows added to a shown queue window by one Add to Queue (Ctrl+A, Enter), until
//          painted, with the longest wait of a window message sent meanwhile from another thread.
// Target: each under 100 ms; adding to the queue under 0.5 s. For comparison, the bare list view's floor: rewriting every row's three
// texts with redraw off.
//
// Usage: ListBench [rounds] [entries]
#include "bench/BenchFigures.h"
#include "bench/BenchListView.h"
#include "lists/PlayList.h"
#include "res/resource.h"
#include "support/MediaFolder.h"
#include "support/ResponseProbe.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string Numbered(const char* word, size_t number) {
    char text[64];
    std::snprintf(text, sizeof(text), "%s %05zu", word, number);
    return text;
}

// Tag texts as a scan makes them (ending in their zero character), in an order no column sorts.
std::vector<MediaEntry> MakeShuffledEntries(size_t count, const std::string& lastArtist) {
    std::vector<MediaEntry> entries;
    entries.reserve(count);
    std::mt19937 random(1);
    for (size_t i = 0; i < count; ++i) {
        MediaEntry entry;
        entry.m_strPath = "C:\\Music\\" + Numbered("Track", i) + ".mp3";
        entry.m_strArtist = Numbered("Artist", random() % (count / 8 + 1)) + '\0';
        entry.m_strAlbum = Numbered("Album", random() % (count / 2 + 1)) + '\0';
        entry.m_strSong = Numbered("Song", random() % count) + '\0';
        entries.push_back(std::move(entry));
    }
    entries.back().m_strArtist = lastArtist + '\0';  // sorts after every other artist
    std::shuffle(entries.begin(), entries.end(), random);
    return entries;
}

double ClickColumn(CPlayList& list, int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list.m_list.m_hWnd;
    click.hdr.idFrom = IDC_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    const BenchClock::time_point start = BenchClock::now();
    list.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
    ::UpdateWindow(list.m_hWnd);
    ::UpdateWindow(list.m_list.m_hWnd);
    return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const size_t count = argc > 2 ? static_cast<size_t>(std::max(10, std::atoi(argv[2]))) : 10000;
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CMediaFolder work("melodeck-listbench");
    // The window reads and writes its saved file in the working directory: an empty one.
    if (work.Path().empty() || !::SetCurrentDirectoryA(work.Path().c_str())) {
        std::printf("ListBench: no temporary folder\n");
        return 1;
    }

    const std::string lastArtist = "Zz Last Artist";
    const std::vector<MediaEntry> entries = MakeShuffledEntries(count, lastArtist);
    CPlayList list;
    if (!list.Create(CPlayList::kPlayListId, nullptr)) {
        std::printf("ListBench: the play list window could not be created\n");
        return 1;
    }
    list.MoveWindow(50, 50, 500, 300, true);
    list.ShowWindow(SW_SHOW);
    list.AddEntries(entries);
    Pump();
    std::printf("List benchmark: %zu entries in a shown play list window; %d rounds\n", count, rounds);
    PrintRule();

    CBenchListView bare(580, 50, 500, 300);
    bare.AppendRows(entries, 0, entries.size());
    Figure floor;
    Figure sorts[3];
    for (int round = 0; round < rounds; ++round) {
        for (int column = 0; column < 3; ++column) sorts[column].values.push_back(ClickColumn(list, column));
        const BenchClock::time_point start = BenchClock::now();
        bare.SetRedraw(false);
        for (size_t row = 0; row < entries.size(); ++row) {
            const MediaEntry& entry = entries[(row + static_cast<size_t>(round) + 1) % entries.size()];
            ListView_SetItemText(bare.List(), static_cast<int>(row), 0, const_cast<char*>(entry.m_strArtist.c_str()));
            ListView_SetItemText(bare.List(), static_cast<int>(row), 1, const_cast<char*>(entry.m_strAlbum.c_str()));
            ListView_SetItemText(bare.List(), static_cast<int>(row), 2, const_cast<char*>(entry.m_strSong.c_str()));
        }
        bare.SetRedraw(true);
        bare.Invalidate();
        bare.Paint();
        floor.values.push_back(SecondsSince(start));
        Pump();
    }
    PrintFigure("floor: every row's three texts set again in a bare list view", floor, 0);
    const char* names[3] = {"sort by Artist (header click, until painted)", "sort by Album (header click, until painted)",
                            "sort by Song (header click, until painted)"};
    for (int column = 0; column < 3; ++column) PrintFigure(names[column], sorts[column], floor.Best());

    // Sorted by artist, the only row with the last artist is the last row.
    ClickColumn(list, 0);
    Figure opening;
    Figure presses;
    int found = -1;
    for (int round = 0; round < rounds; ++round) {
        BenchClock::time_point start = BenchClock::now();
        list.SendMessage(WM_COMMAND, ID_LIST_FIND);
        opening.values.push_back(SecondsSince(start));
        HWND find = list.m_dlgFind.m_hWnd;
        ::SetDlgItemTextA(find, IDC_FINDTEXT, lastArtist.c_str());  // a new text searches from the top
        list.m_list.SetItemState(-1, 0, LVIS_SELECTED);
        start = BenchClock::now();
        ::SendMessageA(find, WM_COMMAND, IDOK, 0);
        ::UpdateWindow(list.m_list.m_hWnd);
        presses.values.push_back(SecondsSince(start));
        found = list.m_list.GetNextItem(-1, LVNI_SELECTED);
        Pump();
    }
    PrintFigure("Find command (the window shown, the snapshot handed over)", opening, 0);
    PrintFigure("one Find press through every entry to the last row", presses, 0);
    if (found != static_cast<int>(count) - 1) std::printf("  (the press selected row %d, not the last)\n", found);

    CPlayList queue;
    if (!queue.Create(CPlayList::kQueueId, nullptr)) {
        std::printf("ListBench: the queue window could not be created\n");
        return 1;
    }
    queue.MoveWindow(50, 380, 500, 200, true);
    queue.ShowWindow(SW_SHOW);
    list.m_pQueue = &queue;
    const int queued = static_cast<int>(std::min<size_t>(5000, count));
    Figure adding;
    double longestAnswerMs = 0;
    for (int round = 0; round < rounds; ++round) {
        queue.RemoveAll();
        list.m_list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row = 0; row < queued; ++row) list.m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        Pump();
        CResponseProbe probe(queue.m_hWnd, 5);
        const BenchClock::time_point start = BenchClock::now();
        list.SendMessage(WM_COMMAND, ID_LIST_ADDTOQUEUE);
        ::UpdateWindow(queue.m_list.m_hWnd);
        adding.values.push_back(SecondsSince(start));
        // The probe's thread may be waiting on this one: it is stopped while this thread answers.
        std::atomic<bool> stopped{false};
        std::thread stopper([&] {
            ::Sleep(100);
            probe.Stop();
            stopped = true;
        });
        while (!stopped) {
            Pump();
            ::Sleep(2);
        }
        stopper.join();
        longestAnswerMs = std::max(longestAnswerMs, probe.LongestMs());
        if (queue.GetCount() != queued) std::printf("  (the queue holds %d rows, not %d)\n", queue.GetCount(), queued);
    }
    char what[96];
    std::snprintf(what, sizeof what, "Add to Queue with %d rows selected (until painted)", queued);
    PrintFigure(what, adding, 0);
    std::printf("  longest answer of the queue window meanwhile: %.1f ms (target 100 ms)\n", longestAnswerMs);
    PrintRule();
    const double worst = std::max({sorts[0].Median(), sorts[1].Median(), sorts[2].Median(), presses.Median()});
    std::printf("Slowest median %.1f ms: %s the 100 ms target\n", worst * 1000, worst < 0.1 ? "within" : "OVER");
    std::printf("Adding to the queue, median %.1f ms: %s the 500 ms target; longest answer %.1f ms: %s 100 ms\n",
                adding.Median() * 1000, adding.Median() < 0.5 ? "within" : "OVER", longestAnswerMs,
                longestAnswerMs < 100 ? "within" : "OVER");
    queue.DestroyWindow();
    list.DestroyWindow();
    return 0;
}
