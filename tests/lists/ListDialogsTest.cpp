// The find dialog and the tag editor from their templates, driven through their controls, with every
// message box read and closed from a second thread.
#include "framework/App.h"
#include "framework/CodePage.h"
#include "library/MakeEntry.h"
#include "lists/FindDlg.h"
#include "lists/TagEditorDlg.h"
#include "res/resource.h"
#include "support/MediaFolder.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Keeps the text of every box of ours captioned with the application's name, and closes it.
class CBoxCloser {
public:
    CBoxCloser()
        : m_thread([this] {
              for (; !m_bStop; ::Sleep(20)) {
                  for (HWND box = nullptr; (box = ::FindWindowExA(nullptr, box, "#32770", nullptr));) {
                      DWORD process = 0;
                      char text[512] = {};
                      ::GetWindowThreadProcessId(box, &process);
                      ::GetWindowTextA(box, text, sizeof(text));
                      if (process != ::GetCurrentProcessId() || AfxGetAppName() != text) continue;
                      ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                      std::lock_guard<std::mutex> lock(m_lock);
                      m_boxes.push_back(text);
                      ::SendMessageA(box, WM_COMMAND, IDOK, 0);
                  }
              }
          }) {}
    ~CBoxCloser() {
        m_bStop = true;
        m_thread.join();
    }
    std::vector<std::string> Boxes() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_boxes;
    }

private:
    std::atomic<bool> m_bStop{false};
    std::mutex m_lock;
    std::vector<std::string> m_boxes;
    std::thread m_thread;
};

// Stands in for the list window: records the rows the find dialog asks it to select.
class CRowRecorder : public CWnd {
public:
    std::vector<LPARAM> m_rows;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != CMelodeckSearch::SelectRowMessage()) return CWnd::WindowProc(message, wParam, lParam);
        m_rows.push_back(lParam);
        return 0;
    }
};

class ListDialogsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "Owner", WS_POPUP, RECT{0, 0, 200, 100}, nullptr, 0));
    }
    void TearDown() override { m_owner.DestroyWindow(); }
    CRowRecorder m_owner;
    CMediaFolder m_folder;
    CBoxCloser m_boxes;
};

MediaEntry Artist(const std::string& artist) {
    MediaEntry entry;
    entry.m_strArtist = artist;
    return entry;
}

// Rows 0 and 2 hold the artist; once the list is emptied no row at all is sent.
TEST_F(ListDialogsTest, FindSelectsMatchingRowsOneAfterAnotherThenItemNotFound) {
    CMelodeckSearch find;
    ASSERT_TRUE(find.Open(&m_owner, {Artist("Abba"), Artist("Queen"), Artist("Abba")}));
    EXPECT_EQ("Find in Play List", find.GetWindowText());
    ::SetDlgItemTextA(find, IDC_FINDTEXT, "Abba");  // typing restarts the search: type once, press thrice
    for (int press = 0; press < 3; ++press) find.SendMessage(WM_COMMAND, IDOK);
    ASSERT_TRUE(find.Open(&m_owner, {}));  // still open: only the snapshot is renewed
    find.SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ((std::vector<LPARAM>{0, 2}), m_owner.m_rows);
    EXPECT_EQ((std::vector<std::string>{"Item Not Found", "Item Not Found"}), m_boxes.Boxes());
    find.DestroyWindow();
}

TEST_F(ListDialogsTest, TagEditorOkWithANewAlbumChangesExactlyItsThirtyBytes) {
    const std::string path = m_folder.PathOf("song.mp3");
    Id3v1Fields tag{"Waterloo", "Abba", "Gold"};
    ASSERT_TRUE(WriteMp3File(path, 3, &tag));
    MediaBytes before = ReadMediaFile(path);
    auto tagText = [](const char* text) { return std::string(text) + '\0'; };
    MediaEntry entry{path, "", tagText("Abba"), tagText("Gold"), tagText("Waterloo")};
    CPropertiesDlg dialog(entry, &m_owner);
    ASSERT_TRUE(dialog.Create(IDD_PROPERTIES, &m_owner));
    ::SetDlgItemTextA(dialog, IDC_ALBUM, "Live");
    dialog.SendMessage(WM_COMMAND, IDOK);
    ASSERT_TRUE(dialog.SaveTag(entry));
    dialog.DestroyWindow();

    const size_t album = before.size() - kId3v1Bytes + 63;
    std::fill_n(before.begin() + album, 30, 0);
    std::copy_n("Live", 4, before.begin() + album);
    EXPECT_EQ(before, ReadMediaFile(path));
    EXPECT_EQ((MediaEntry{path, "", "Abba", "Live", "Waterloo"}), entry);
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

// A version 1 tag holds bytes of the legacy code page: read into the program's UTF-8, written back in
// the legacy code page, and a text it cannot hold is refused with nothing written.
TEST_F(ListDialogsTest, TagEditorKeepsTheTagInItsLegacyCodePage) {
    if (LegacyCodePage() != 1252) GTEST_SKIP() << "needs Windows-1252 as the legacy code page";
    const std::string path = m_folder.PathOf("motorhead.mp3");
    Id3v1Fields tag{"Ace of Spades", "Mot\xF6rhead", "Ace of Spades"};
    ASSERT_TRUE(WriteMp3File(path, 2, &tag));
    MediaEntry entry = MakeEntry(path, "motorhead.mp3", ".mp3");
    EXPECT_EQ("Mot\xC3\xB6rhead", DisplayText(entry.m_strArtist));
    CPropertiesDlg dialog(entry, &m_owner);
    ASSERT_TRUE(dialog.Create(IDD_PROPERTIES, &m_owner));
    wchar_t shown[64] = {};
    ::GetDlgItemTextW(dialog, IDC_ARTIST, shown, 64);
    EXPECT_STREQ(L"Mot\u00F6rhead", shown);
    ::SetDlgItemTextW(dialog, IDC_ALBUM, L"Overkill \u00E9dition");
    dialog.SendMessage(WM_COMMAND, IDOK);
    ASSERT_TRUE(dialog.SaveTag(entry));
    dialog.DestroyWindow();
    MediaBytes bytes = ReadMediaFile(path);
    const std::string block(bytes.end() - kId3v1Bytes, bytes.end());
    EXPECT_EQ(std::string("Mot\xF6rhead\0", 10), block.substr(33, 10));
    EXPECT_EQ(std::string("Overkill \xE9"
                          "dition\0",
                          17),
              block.substr(63, 17));

    CPropertiesDlg japanese(entry, &m_owner);
    japanese.m_strArtist = "\xE6\x97\xA5\xE6\x9C\xAC";
    EXPECT_FALSE(japanese.SaveTag(entry));
    EXPECT_EQ(bytes, ReadMediaFile(path));
    ASSERT_EQ(1u, m_boxes.Boxes().size());
    EXPECT_EQ(0u, m_boxes.Boxes()[0].rfind("Error Writting to disk\n\n", 0));
}

TEST_F(ListDialogsTest, TagEditorOnAFileItCannotEditSaysSoAndChangesNothing) {
    Id3v1Fields tag{"Song", "Artist", "Album"};
    const std::string playing = m_folder.PathOf("playing.mp3"), readOnly = m_folder.PathOf("ro.mp3");
    ASSERT_TRUE(WriteMp3File(playing, 2, &tag) && WriteMp3File(readOnly, 2, &tag));
    ASSERT_TRUE(WriteMp3File(m_folder.PathOf("bare.mp3"), 2) && WriteWavFile(m_folder.PathOf("a.wav"), 100));
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    // The playback device holds the file it plays open.
    HANDLE device = ::CreateFileA(playing.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    size_t boxes = 0;
    for (const char* name : {"playing.mp3", "ro.mp3", "bare.mp3", "a.wav", "gone.mp3"}) {
        const std::string path = m_folder.PathOf(name);
        MediaBytes before = ReadMediaFile(path);
        MediaEntry entry{path, "", "Artist", "Album", "Song"}, unchanged = entry;
        CPropertiesDlg dialog(entry, &m_owner);
        dialog.m_strAlbum = "Live";
        EXPECT_FALSE(dialog.SaveTag(entry)) << name;
        std::vector<std::string> shown = m_boxes.Boxes();
        ASSERT_EQ(boxes += 2, shown.size()) << name;
        EXPECT_EQ(0u, shown[boxes - 2].rfind("Error Writting to disk\n\n", 0)) << shown[boxes - 2];
        EXPECT_GT(shown[boxes - 2].size(), 24u) << name;  // with the reason
        EXPECT_EQ("Error Opening File", shown[boxes - 1]) << name;
        EXPECT_EQ(before, ReadMediaFile(path)) << name;
        EXPECT_EQ(unchanged, entry) << name;
    }
    ::CloseHandle(device);
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
