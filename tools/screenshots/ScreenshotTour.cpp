// Screenshot tour: starts a copy of Melodeck.exe with its play list filled from a demo folder of small
// tagged MP3s, plays the first song, queues a few others, and saves pictures of the player (the song
// half-way, its row marked in the play list) with its docked list windows, the Find window, the tag
// editor and the About box as 24-bit .bmp files. tools/run.sh runs it when there is no display and turns
// the pictures into the PNG files the README shows.
//
// Usage: ScreenshotTour OUTPUT-FOLDER
#include "library/MakeEntry.h"
#include "library/SavedList.h"
#include "res/resource.h"
#include "support/MelodeckProcess.h"
#include "support/RemoteList.h"
#include "support/TestMedia.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <vfw.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 20000;
// Only for the last paint of a window that is already up: the tour waits for everything else.
constexpr DWORD kSettleMs = 600;
constexpr unsigned kFramesPerSong = 40; // about a second of silence each
// The song that plays in the pictures (the first row) lasts a minute and is shown at 0:24.
constexpr unsigned kFramesPlaying = 2300;
constexpr LONG kShownPositionMs = 24000;
constexpr int kDevice = 1010;
// The banner scrolls its text in from the right: this long after the start it shows the artist.
constexpr DWORD kBannerInMs = 11000;
// A few songs from different albums, as a listener would queue them.
constexpr size_t kQueueRows[] = {4, 7, 10};
constexpr int kQueued = static_cast<int>(sizeof(kQueueRows) / sizeof(kQueueRows[0]));

const Id3v1Fields kSongs[] = {
    // song, artist, album
    {"Northern Tide", "The Lantern Keepers", "Harbour Lights"},
    {"Salt and Cedar", "The Lantern Keepers", "Harbour Lights"},
    {"Low Water", "The Lantern Keepers", "Harbour Lights"},
    {"Quiet Orbit", "Mira Solberg", "Paper Satellites"},
    {"Glass Weather", "Mira Solberg", "Paper Satellites"},
    {"Static Bloom", "Mira Solberg", "Paper Satellites"},
    {"Mile Marker Nine", "Copperline", "Dust Roads"},
    {"Tin Roof Rain", "Copperline", "Dust Roads"},
    {"Two Lane Lullaby", "Copperline", "Dust Roads"},
    {"Late Bus Home", "Velvet Arcade", "Neon Afternoons"},
    {"Polaroid Summer", "Velvet Arcade", "Neon Afternoons"},
    {"Arcade Lights", "Velvet Arcade", "Neon Afternoons"},
};

bool Fail(const std::string& what) {
    std::fprintf(stderr, "ScreenshotTour: %s\n", what.c_str());
    return false;
}

// The demo's music lives in a folder of its own, so that the tag editor shows a plain path.
std::string MusicFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "Melodeck Demo";
}

std::string SongPath(const Id3v1Fields& song) {
    return MusicFolder() + "\\" + song.artist + " - " + song.song + ".mp3";
}

// The MP3s, and the saved lists beside the program that fill both windows at start.
bool MakeDemo(const std::string& folder) {
    ::CreateDirectoryA(MusicFolder().c_str(), nullptr);
    std::vector<MediaEntry> entries;
    for (const Id3v1Fields& song : kSongs) {
        const std::string path = SongPath(song);
        const unsigned frames = entries.empty() ? kFramesPlaying : kFramesPerSong;
        if (!WriteMp3File(path, frames, &song)) return Fail("could not write " + path);
        entries.push_back(MakeEntry(path, path.substr(path.rfind('\\') + 1), "mp3"));
    }
    std::string error;
    if (!WriteSavedList(folder + "\\Playlist.dat", entries, &error)) return Fail("Playlist.dat: " + error);
    return true;
}

void RemoveMusic() {
    for (const Id3v1Fields& song : kSongs)
        ::DeleteFileA(SongPath(song).c_str());
    ::RemoveDirectoryA(MusicFolder().c_str());
}

// The tray's balloons sit where the desktop's tray is, over the player's menu under Wine: the pictures
// show the windows without them.
void HideBalloons() {
    ::EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof(name));
            if (::IsWindowVisible(window) && std::string(name) == TOOLTIPS_CLASSA) ::ShowWindow(window, SW_HIDE);
            return TRUE;
        },
        0);
}

int RowCount(HWND window) {
    HWND list = ::GetDlgItem(window, IDC_LIST);
    return list ? static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

// Lets the program finish what it has queued, then gives its last paint a moment to reach the screen.
void Settle(HWND window) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kWaitMs, &ignored);
    ::Sleep(kSettleMs);
}

// The screen inside the rectangle, from the desktop's DC, saved as a bottom-up 24-bit .bmp file.
bool SaveScreen(const RECT& area, const std::string& path) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return Fail("empty rectangle for " + path);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);

    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap =
        ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        copied = ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
        ::SelectObject(memory, old);
        ::GdiFlush();
    }
    bool saved = false;
    if (copied) {
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof(file) + sizeof(header);
        file.bfSize = file.bfOffBits + header.biSizeImage;
        if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
            saved = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                    std::fwrite(&header, sizeof(header), 1, out) == 1 &&
                    std::fwrite(bits, header.biSizeImage, 1, out) == 1;
            saved = (std::fclose(out) == 0) && saved;
        }
    }
    if (bitmap) ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (!saved) return Fail("could not save " + path);
    std::printf("ScreenshotTour: %s (%d x %d)\n", path.c_str(), width, height);
    return true;
}

bool SaveWindow(HWND window, const std::string& path) {
    Settle(window);
    RECT area;
    ::GetWindowRect(window, &area);
    return SaveScreen(area, path);
}

bool Tour(CMelodeckProcess& program, const std::string& out) {
    if (!program.Start(kWaitMs)) return Fail("the player window did not show");
    HWND player = program.Player();
    HWND queue = program.FindTopLevel("Queue", kWaitMs);
    HWND playList = program.FindTopLevel("Play List", kWaitMs);
    if (!queue || !playList) return Fail("the list windows did not show");
    constexpr int songs = static_cast<int>(sizeof(kSongs) / sizeof(kSongs[0]));
    if (!WaitFor([&] { return RowCount(playList) == songs; }, kWaitMs))
        return Fail("the play list did not fill: " + std::to_string(RowCount(playList)) + " rows");

    // The first song plays (its row is marked) and stands at 0:24; then a few songs from other albums go
    // to the queue, as a listener would queue them, and the selection is let go.
    HWND device = ::GetDlgItem(player, kDevice);
    ::PostMessageA(player, WM_COMMAND, MAKEWPARAM(IDC_PLAY, BN_CLICKED), 0);
    if (!WaitFor([&] { return ::SendMessageA(device, MCIWNDM_GETMODEA, 0, 0) == MCI_MODE_PLAY; }, kWaitMs))
        return Fail("the first song did not play");
    ::SendMessageA(device, MCI_SEEK, 0, kShownPositionMs);
    HWND rows = ::GetDlgItem(playList, IDC_LIST);
    for (size_t row : kQueueRows)
        if (!SetRowSelected(rows, program.ProcessId(), static_cast<int>(row), true)) return Fail("could not select");
    ::PostMessageA(playList, WM_COMMAND, ID_LIST_ADDTOQUEUE, 0);
    if (!WaitFor([&] { return RowCount(queue) == kQueued; }, kWaitMs)) return Fail("the queue did not fill");
    SetRowSelected(rows, program.ProcessId(), -1, false);
    ::Sleep(kBannerInMs);
    HideBalloons();

    // No hot buttons: the pointer goes to the screen's far corner, away from every window.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ::SetForegroundWindow(player);
    Settle(player);
    RECT all, part;
    ::GetWindowRect(player, &all);
    for (HWND window : {queue, playList}) {
        ::GetWindowRect(window, &part);
        ::UnionRect(&all, &all, &part);
    }
    if (!SaveScreen(all, out + "\\player.bmp")) return false;

    ::SendMessageA(playList, WM_COMMAND, ID_LIST_FIND, 0);
    HWND find = program.FindTopLevel("Find in Play List", kWaitMs);
    if (!find) return Fail("the Find window did not show");
    ::SetWindowTextA(::GetDlgItem(find, IDC_FINDTEXT), "Copperline");
    if (!SaveWindow(find, out + "\\find.bmp")) return false;
    ::PostMessageA(find, WM_COMMAND, IDCANCEL, 0);
    if (!WaitFor([&] { return !::IsWindowVisible(find); }, kWaitMs)) return Fail("the Find window stayed");

    // The tag editor is modal: the command is posted, so this thread is free while it is open.
    const int row = 7; // "Tin Roof Rain", one of the queued songs
    if (!SetRowSelected(rows, program.ProcessId(), row, true)) return Fail("could not select a row");
    ::PostMessageA(playList, WM_COMMAND, ID_LIST_PROPERTIES, 0);
    HWND editor = program.FindTopLevel("Edit MP3 Tag", kWaitMs);
    if (!editor) return Fail("the tag editor did not show");
    if (!SaveWindow(editor, out + "\\tag-editor.bmp")) return false;
    ::PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    if (!WaitFor([&] { return !::IsWindow(editor); }, kWaitMs)) return Fail("the tag editor stayed");

    ::PostMessageA(player, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = program.FindTopLevel("About Melodeck", kWaitMs);
    if (!about) return Fail("the About box did not show");
    if (!SaveWindow(about, out + "\\about.bmp")) return false;
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    if (!WaitFor([&] { return !::IsWindow(about); }, kWaitMs)) return Fail("the About box stayed");

    if (!program.Close(kWaitMs)) return Fail("the program did not end");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: ScreenshotTour OUTPUT-FOLDER\n");
        return 2;
    }
    std::string out = argv[1];
    while (out.size() > 3 && (out.back() == '\\' || out.back() == '/'))
        out.pop_back();
    ::CreateDirectoryA(out.c_str(), nullptr);

    bool done = false;
    {
        CMelodeckProcess program; // its folder, removed at the end, holds the program copy and saved lists
        done = MakeDemo(program.Folder()) && Tour(program, out);
    }
    RemoveMusic();
    return done ? 0 : 1;
}
