// The windows around the player: the list windows coming back with it from the tray, the compact view
// standing in for it, and the layout of all three kept across restarts.
#include "app/MelodeckDlg.h"

#include "widgets/WindowLayout.h"

#include <commctrl.h>

#include <array>
#include <vector>

namespace {

constexpr int kColumns = 3;

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* areas = reinterpret_cast<std::vector<StickyRect>*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(monitor, &info)) return TRUE;
    // The primary monitor first: a window on no monitor at all goes there.
    const StickyRect area = CStickyDesktop::ToSticky(info.rcWork);
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        areas->insert(areas->begin(), area);
    else
        areas->push_back(area);
    return TRUE;
}

std::vector<StickyRect> WorkAreas() {
    std::vector<StickyRect> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

struct ListLayout {
    CPlayList* list;
    const char* windowKey;
    const char* columnsKey;
};

std::array<ListLayout, 2> ListLayouts(CPlayList& queue, CPlayList& playList) {
    return {ListLayout{&queue, CMelodeckSettings::kQueueWindow, CMelodeckSettings::kQueueColumns},
            ListLayout{&playList, CMelodeckSettings::kPlayListWindow, CMelodeckSettings::kPlayListColumns}};
}

StickyRect WindowRectOf(const CWnd& window) { return CStickyDesktop::ToSticky(window.GetWindowRect()); }

}  // namespace

// The list windows go with the player however it was minimised (the system hides owned windows only on
// some ways there); their View checks stay as they are.
void CMelodeckDlg::OnToTray() {
    m_wndQueue.ShowWindow(SW_HIDE);
    m_wndPlayList.ShowWindow(SW_HIDE);
}

// Minimising hid the list windows with the player; they come back as they were, in their places.
void CMelodeckDlg::OnBackFromTray() {
    if (m_bQueueShown) m_wndQueue.ShowWindow(SW_SHOWNA);
    if (m_bPlayListShown) m_wndPlayList.ShowWindow(SW_SHOWNA);
    if (m_dlgCompact.IsWindowVisible()) m_dlgCompact.ShowWindow(SW_HIDE);
    m_bCompact = 0;
}

// One button for both: while a song is under way (playing or paused) it pauses or resumes, otherwise
// it plays.
void CMelodeckDlg::OnRestoreFromCompact() {
    if (m_bInTray || !IsWindowVisible()) {
        m_trayIcon.RestoreFromTray(m_hWnd);
    } else {
        m_dlgCompact.ShowWindow(SW_HIDE);
        m_bCompact = 0;
    }
}

// A saved place on a monitor that is gone comes back onto the screen; the list windows move with the
// player, so a docked group stays docked.
bool CMelodeckDlg::RestoreLayout() {
    bool placed = false;
    const std::vector<StickyRect> areas = WorkAreas();
    StickyRect saved;
    int dx = 0, dy = 0;
    if (ParsePlacement(m_settings.ReadText(CMelodeckSettings::kPlayerWindow), &saved)) {
        const StickyRect now = WindowRectOf(*this);
        // The player's size comes from its template and font; only its place is kept.
        saved.right = saved.left + (now.right - now.left);
        saved.bottom = saved.top + (now.bottom - now.top);
        const StickyRect place = KeepOnScreen(saved, areas);
        dx = place.left - saved.left;
        dy = place.top - saved.top;
        SetWindowPos(nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const ListLayout& layout : ListLayouts(m_wndQueue, m_wndPlayList)) {
        if (ParsePlacement(m_settings.ReadText(layout.windowKey), &saved)) {
            saved.Offset(dx, dy);
            const StickyRect place = KeepOnScreen(saved, areas);
            layout.list->SetWindowPos(nullptr, place.left, place.top, place.right - place.left,
                                      place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
            placed = true;
        }
        const std::vector<int> widths = ParseWidths(m_settings.ReadText(layout.columnsKey), kColumns);
        for (size_t column = 0; column < widths.size(); ++column)
            layout.list->m_list.SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(widths[column], 0));
    }
    return placed;
}

void CMelodeckDlg::SaveLayout() {
    if (m_rcPlayer.right > m_rcPlayer.left)
        m_settings.WriteText(CMelodeckSettings::kPlayerWindow, FormatPlacement(CStickyDesktop::ToSticky(m_rcPlayer)));
    for (const ListLayout& layout : ListLayouts(m_wndQueue, m_wndPlayList)) {
        if (!layout.list->IsWindow() || ::IsIconic(layout.list->m_hWnd)) continue;
        m_settings.WriteText(layout.windowKey, FormatPlacement(WindowRectOf(*layout.list)));
        std::vector<int> widths;
        for (int column = 0; column < kColumns; ++column)
            widths.push_back(static_cast<int>(layout.list->m_list.SendMessage(LVM_GETCOLUMNWIDTH, column, 0)));
        m_settings.WriteText(layout.columnsKey, FormatWidths(widths));
    }
}

bool CMelodeckDlg::DestroyWindow() {
    if (m_hWnd) SaveLayout();
    return CDialog::DestroyWindow();
}
