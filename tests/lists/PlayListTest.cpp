// The list window's collection with a real list control: rows and entries stay in step, also while
// worker threads add entries and the user-interface thread removes and sorts.
#include "lists/PlayList.h"
#include "support/MediaFolder.h"
#include "support/WorkingFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

MediaEntry Entry(const std::string& artist, const std::string& album, const std::string& song) {
    MediaEntry entry;
    entry.m_strPath = "C:\\Music\\" + song + ".mp3";
    entry.m_strArtist = artist;
    entry.m_strAlbum = album;
    entry.m_strSong = song;
    return entry;
}

std::string Shown(const std::string& text) { return text.substr(0, text.find('\0')); }

class PlayListWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_workingFolder.Entered());
        ASSERT_TRUE(m_list.Create(CPlayList::kPlayListId, nullptr));
        m_list.ShowWindow(SW_SHOW);
    }
    void TearDown() override { m_list.DestroyWindow(); }

    // Rows and entries agree one for one.
    void ExpectInStep() {
        std::vector<MediaEntry> entries = m_list.GetEntries();
        ASSERT_EQ(static_cast<int>(entries.size()), m_list.m_list.GetItemCount());
        for (size_t row = 0; row < entries.size(); ++row) {
            int r = static_cast<int>(row);
            ASSERT_EQ(Shown(entries[row].m_strArtist), m_list.m_list.GetItemText(r, 0)) << "row " << row;
            ASSERT_EQ(Shown(entries[row].m_strAlbum), m_list.m_list.GetItemText(r, 1)) << "row " << row;
            ASSERT_EQ(Shown(entries[row].m_strSong), m_list.m_list.GetItemText(r, 2)) << "row " << row;
        }
    }

    void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    CMediaFolder m_folder;
    CWorkingFolder m_workingFolder{m_folder.Path()};  // the saved lists are read and written here
    CPlayList m_list;
};

TEST_F(PlayListWindowTest, RowsShowTagTextsUpToTheirZeroCharacter) {
    m_list.AddEntry(Entry(std::string("Abba\0", 5), std::string("Gold\0", 5), std::string("Waterloo\0", 9)));
    ExpectInStep();
    EXPECT_EQ("Abba", m_list.m_list.GetItemText(0, 0));
    EXPECT_EQ(3, [&] {
        HWND header = reinterpret_cast<HWND>(m_list.m_list.SendMessage(LVM_GETHEADER));
        return static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    }());
}

// The columns fitted after each add are as wide as the control's own sizing makes them.
class ColumnFitTest : public PlayListWindowTest {
protected:
    void ExpectAsTheControlSizes() {
        for (int column = 0; column < 3; ++column) {
            int fitted = m_list.m_list.GetColumnWidth(column);
            m_list.m_list.SetColumnWidth(column, LVSCW_AUTOSIZE);
            EXPECT_EQ(m_list.m_list.GetColumnWidth(column), fitted) << "column " << column;
            m_list.m_list.SetColumnWidth(column, fitted);
        }
    }
};

TEST_F(ColumnFitTest, AfterAddsOneByOneAndInGroups) {
    m_list.AddEntry(Entry("a", "", std::string("Waterloo\0", 9)));
    ExpectInStep();
    ExpectAsTheControlSizes();
    m_list.AddEntry(Entry("A much longer artist name", "Gold", "Song"));
    ExpectAsTheControlSizes();
    std::vector<MediaEntry> group;
    for (int i = 0; i < 300; ++i) group.push_back(Entry("artist " + std::to_string(i % 7), "album", std::string(i % 40, 'W')));
    m_list.AddEntries(group);
    ExpectAsTheControlSizes();
    m_list.AddEntry(Entry("x", "y", "z"));
    ExpectAsTheControlSizes();
}

TEST_F(ColumnFitTest, AfterRemovalsAndASort) {
    m_list.AddEntry(Entry("The widest artist of them all", "b", "c"));
    m_list.AddEntry(Entry("short", "b", "c"));
    m_list.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    m_list.RemoveSelected();
    m_list.AddEntry(Entry("mid", "b", "c"));
    ExpectAsTheControlSizes();
    m_list.SortByColumn(0);
    m_list.AddEntry(Entry("another", "b", "c"));
    ExpectAsTheControlSizes();
    m_list.RemoveAll();
    m_list.AddEntry(Entry("n", "", ""));
    ExpectAsTheControlSizes();
}

// The widths come from one table of character widths per font: every character and pairs that
// kerning would close up must sum to the control's own measure.
TEST_F(ColumnFitTest, TextsOfEveryCharacter) {
    for (int first = 1; first < 256; first += 15) {
        std::string texts[3];
        for (int c = first; c < first + 15 && c < 256; ++c) texts[c % 3] += std::string(3, static_cast<char>(c));
        m_list.AddEntry(Entry(texts[0] + "AVAVAV", texts[1] + "ToToTo", texts[2] + "LTLYff"));
        ExpectAsTheControlSizes();
    }
}

TEST_F(ColumnFitTest, AfterTheFontChanges) {
    m_list.AddEntry(Entry("Abba", "Gold", "Waterloo"));
    LOGFONTA description{};
    description.lfHeight = -30;
    description.lfWeight = FW_BOLD;
    std::strcpy(description.lfFaceName, "Tahoma");
    HFONT large = ::CreateFontIndirectA(&description);
    m_list.m_list.SetFont(large, true);
    m_list.AddEntry(Entry("Queen", "Jazz", "Mustapha"));
    ExpectAsTheControlSizes();
    m_list.m_list.SetFont(nullptr, false);
    ::DeleteObject(large);
}

TEST_F(PlayListWindowTest, TypingFindsTheNextRowByArtist) {
    for (const char* artist : {"Abba", "Beatles", "blur", "Coldplay"})
        m_list.AddEntry(Entry(artist, "a", "s"));
    ::SetFocus(m_list.m_list.m_hWnd);
    m_list.m_list.SendMessage(WM_CHAR, 'B', 1);
    m_list.m_list.SendMessage(WM_CHAR, 'l', 1);
    EXPECT_EQ(2, m_list.m_list.GetNextItem(-1, LVNI_FOCUSED)) << "case is ignored";
    m_list.m_list.SendMessage(WM_CHAR, 'x', 1);
    EXPECT_EQ(2, m_list.m_list.GetNextItem(-1, LVNI_FOCUSED)) << "no artist starts so: the focus stays";
}

TEST_F(PlayListWindowTest, TakeAtMarksTheRowPlayingAndLeavesTheSelection) {
    for (int i = 0; i < 3; ++i) m_list.AddEntry(Entry("a", "b", "s" + std::to_string(i)));
    m_list.m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    MediaEntry out;
    EXPECT_EQ(3, m_list.TakeAt(2, out));
    EXPECT_EQ("s2", out.m_strSong);
    EXPECT_EQ(2, m_list.GetPlayingIndex());
    EXPECT_EQ(0u, m_list.m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED, m_list.m_list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(1, m_list.TakeAt(3, out)) << "past the end wraps to the first entry";
    EXPECT_EQ(0, m_list.TakeAt(-1, out)) << "a negative index picks nothing";
}

// In the locale's order without regard to case (an accented letter sorts with its base letter), then
// reversed by a second click, with the header's arrow showing the direction.
TEST_F(PlayListWindowTest, ClickingAColumnHeaderSortsByThatColumnAndAgainReverses) {
    for (const char* artist : {"beta", "Alpha", "\xE1gua", "alpha"}) m_list.AddEntry(Entry(artist, "x", "1"));
    NMLISTVIEW click{};
    click.hdr.hwndFrom = m_list.m_list.m_hWnd;
    click.hdr.idFrom = 1002;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 0;
    HWND header = reinterpret_cast<HWND>(m_list.m_list.SendMessage(LVM_GETHEADER));
    auto arrow = [&] {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        ::SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    };
    for (const auto& [order, direction] : {std::pair{std::vector<std::string>{"\xE1gua", "Alpha", "alpha", "beta"}, HDF_SORTUP},
                                           {{"beta", "Alpha", "alpha", "\xE1gua"}, HDF_SORTDOWN}}) {
        m_list.SendMessage(WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&click));
        ExpectInStep();
        for (int row = 0; row < 4; ++row) EXPECT_EQ(order[row], m_list.m_list.GetItemText(row, 0)) << row;
        EXPECT_EQ(direction, arrow());
    }
}

TEST_F(PlayListWindowTest, ResizingKeepsTheListThreePixelsInside) {
    RECT frame{0, 0, 200, 100};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(m_list.m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(m_list.m_hWnd, GWL_EXSTYLE)));
    m_list.MoveWindow(10, 10, frame.right - frame.left, frame.bottom - frame.top);
    RECT client = m_list.GetClientRect();
    RECT list = m_list.m_list.GetWindowRect();
    m_list.ScreenToClient(&list);
    EXPECT_EQ(3, list.left);
    EXPECT_EQ(3, list.top);
    EXPECT_EQ(client.right - 6, list.right - list.left);
    EXPECT_EQ(client.bottom - 6, list.bottom - list.top);
}

// Several workers add while this (user-interface) thread removes selected rows: every worker's
// entries keep their order, and rows and entries agree at every moment this thread looks.
TEST_F(PlayListWindowTest, WorkersAddingWhileTheUserRemovesKeepOrderAndStep) {
    const int workers = 4;
    const int perWorker = 150;
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([w, target = std::shared_ptr<ILoaderTarget>(m_list.MakeLoaderTarget())] {
            for (int i = 0; i < perWorker; ++i) {
                MediaEntry entry = Entry("w" + std::to_string(w), std::to_string(i), "song");
                if (i % 50 == 49)
                    target->AddEntries({entry}, true);
                else
                    target->AddScannedEntries({entry});
            }
        });
    }
    int removed = 0;
    const DWORD start = ::GetTickCount();
    while (m_list.GetCount() + removed < workers * perWorker && ::GetTickCount() - start < 30000) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        Pump();
        if (HasFatalFailure()) continue;
        int count = m_list.m_list.GetItemCount();
        if (count > 10) {
            m_list.m_list.SetItemState(count / 2, LVIS_SELECTED, LVIS_SELECTED);
            m_list.RemoveSelected();
            ++removed;
        }
        ExpectInStep();
    }
    for (auto& thread : threads) thread.join();
    ExpectInStep();
    std::vector<MediaEntry> entries = m_list.GetEntries();
    EXPECT_EQ(workers * perWorker - removed, static_cast<int>(entries.size()));
    std::vector<int> last(workers, -1);
    for (const MediaEntry& entry : entries) {
        int w = std::stoi(entry.m_strArtist.substr(1));
        int i = std::stoi(entry.m_strAlbum);
        EXPECT_LT(last[w], i) << "worker " << w << " entries out of order";
        last[w] = i;
    }
}

// "Remove All" supersedes the loads running: nothing they bring afterwards shows, while sorting as
// they arrive keeps rows and entries in step; a load started after it arrives.
TEST_F(PlayListWindowTest, RemoveAllDropsWhatEarlierLoadsStillBring) {
    const int workers = 3;
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([w, target = std::shared_ptr<ILoaderTarget>(m_list.MakeLoaderTarget())] {
            for (int group = 0; group < 20; ++group) {
                std::vector<MediaEntry> entries;
                for (int i = 0; i < 20; ++i) entries.push_back(Entry(std::to_string((group * 7 + i + w) % 13), "", "x"));
                target->AddScannedEntries(std::move(entries));
            }
        });
    }
    for (int round = 0; m_list.GetCount() < 100 && round < 3000; ++round) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
        m_list.SortByColumn(round % 3);
        ExpectInStep();
    }
    m_list.RemoveAll();
    auto later = m_list.MakeLoaderTarget();
    EXPECT_TRUE(later->AddScannedEntries({Entry("later", "", "y")}));
    for (auto& thread : threads) thread.join();
    Pump();
    ExpectInStep();
    ASSERT_EQ(1, m_list.GetCount());
    EXPECT_EQ("later", m_list.GetEntryAt(0).m_strArtist);
}

// The items of the context menu the window tracks, read by a second thread while the menu is open
// (menus belong to their process, so only a thread of this one can read them), then closed.
std::vector<std::string> ContextMenuOf(CPlayList& window) {
    std::vector<std::string> items;
    std::thread reader([&] {
        HWND popup = nullptr;
        for (int wait = 0; wait < 500 && !popup; ++wait, ::Sleep(20)) {
            for (HWND found = nullptr; (found = ::FindWindowExA(nullptr, found, "#32768", nullptr));) {
                DWORD process = 0;
                ::GetWindowThreadProcessId(found, &process);
                if (process == ::GetCurrentProcessId() && ::IsWindowVisible(found)) popup = found;
            }
        }
        if (!popup) return;
        auto menu = reinterpret_cast<HMENU>(::SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
        for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
            char text[64] = {};
            ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
            items.push_back(text[0] ? text : "-");
        }
        ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    window.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.m_hWnd), MAKELPARAM(60, 60));
    reader.join();
    return items;
}

TEST_F(PlayListWindowTest, TheQueuesContextMenuStartsWithRemoveThePlayListsHasAllFourteen) {
    CPlayList queue;
    ASSERT_TRUE(queue.Create(CPlayList::kQueueId, nullptr));
    queue.ShowWindow(SW_SHOW);
    const std::vector<std::string> all{"Add to &Queue", "&Remove", "&Remove All", "-", "&Add Directory",
                                       "Load &Directory", "-", "Add &Play List", "&Load Play List", "-",
                                       "&Find\tCtrl+F", "-", "L&yrics", "&Properties"};
    EXPECT_EQ(all, ContextMenuOf(m_list));
    EXPECT_EQ(std::vector<std::string>(all.begin() + 1, all.end()), ContextMenuOf(queue));
    queue.DestroyWindow();
}

// Ctrl+A selects every row, Delete removes the selected ones; the queue's Enter adds nowhere.
TEST_F(PlayListWindowTest, CtrlASelectsAllAndDeleteRemovesThem) {
    for (int i = 0; i < 3; ++i) m_list.AddEntry(Entry("a", "b", "s" + std::to_string(i)));
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    m_list.m_list.SendMessage(WM_KEYDOWN, 'A');
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(3u, m_list.m_list.SendMessage(LVM_GETSELECTEDCOUNT));
    m_list.m_list.SetItemState(1, 0, LVIS_SELECTED);
    m_list.m_list.SendMessage(WM_KEYDOWN, VK_DELETE);
    ExpectInStep();
    ASSERT_EQ(1, m_list.GetCount());
    EXPECT_EQ("s1", m_list.GetEntryAt(0).m_strSong);
}

TEST_F(PlayListWindowTest, AddingToADestroyedWindowFailsQuietly) {
    HWND target = m_list.m_hWnd;
    auto loaderTarget = m_list.MakeLoaderTarget();
    m_list.DestroyWindow();
    bool added = true;
    std::thread worker([&] { added = loaderTarget->AddEntries({Entry("a", "b", "c")}, true); });
    worker.join();
    EXPECT_FALSE(added);
    EXPECT_EQ(-1, CPlayList::GetRowCountOf(target));
}

}  // namespace
