// CTextFile and the M3U reader and writer against the Win32 file system (run under Wine): Windows paths,
// the system's error texts, and the real file dialog, driven from a second thread as a user would.
#include "library/TextFile.h"

#include "M3UTestSupport.h"
#include "library/M3UWriter.h"
#include "library/MP3PlayList.h"
#include "library/TextFileDialog.h"
#include "support/MediaFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Files = std::vector<std::pair<std::string, std::string>>;

// The system's text for an error code, as CFile reports it (without the trailing line end).
std::string SystemText(DWORD error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = "";
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

MediaEntry EntryAt(const std::string& path) {
    MediaEntry entry;
    entry.m_strPath = path;
    return entry;
}

class TextFileWinTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        // A Windows path with a drive letter, as the program's own paths are.
        ASSERT_EQ(m_folder.Path().substr(1, 2), ":\\") << m_folder.Path();
    }
    // The file dialog may move the working directory; later tests expect it where it was.
    void TearDown() override { SetCurrentDirectoryA(m_strStartDirectory.c_str()); }

    std::string m_strStartDirectory = CurrentDirectory();
    CMediaFolder m_folder{"melodeck-textfile-win"};
};

TEST_F(TextFileWinTest, AppendedTextReadsBackAsLines) {
    std::string path = m_folder.PathOf("list.m3u");
    CTextFile textFile("m3u", "\r\n", "");
    ASSERT_TRUE(textFile.AppendText(path, "#EXTM3U\r\nC:\\Music\\a.mp3\r\n"));
    ASSERT_TRUE(textFile.AppendText(path, "last.mp3"));
    Lines lines;
    ASSERT_TRUE(textFile.ReadLines(path, lines));
    EXPECT_EQ(lines, (Lines{"#EXTM3U", "C:\\Music\\a.mp3", "last.mp3"}));
    EXPECT_EQ(textFile.m_strFilePath, path);
    EXPECT_EQ(textFile.m_strFileName, "list.m3u");
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nC:\\Music\\a.mp3\r\nlast.mp3");
}

TEST_F(TextFileWinTest, ARelativeNameIsReadFromTheWorkingDirectoryAndReportedInFull) {
    WriteBytes(m_folder.PathOf("rel.m3u"), "#EXTM3U\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA(m_folder.Path().c_str()));
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName = "rel.m3u";
    Lines lines;
    ASSERT_TRUE(textFile.ReadLines(fileName, lines));
    EXPECT_EQ(textFile.m_strFilePath, m_folder.PathOf("rel.m3u"));
    EXPECT_EQ(textFile.m_strFileName, "rel.m3u");
    EXPECT_EQ(fileName, "rel.m3u");
}

TEST_F(TextFileWinTest, ReadFailuresCarryTheSystemsText) {
    CTextFile textFile("m3u", "\r\n", "");
    Lines lines;
    std::string missingFile = m_folder.PathOf("missing.m3u");
    EXPECT_FALSE(textFile.ReadLines(missingFile, lines));
    EXPECT_EQ(textFile.m_strError, SystemText(ERROR_FILE_NOT_FOUND));
    std::string missingFolder = m_folder.PathOf("none\\missing.m3u");
    EXPECT_FALSE(textFile.ReadLines(missingFolder, lines));
    EXPECT_EQ(textFile.m_strError, SystemText(ERROR_PATH_NOT_FOUND));
    EXPECT_LE(textFile.m_strError.size(), 255u);
}

TEST_F(TextFileWinTest, AReadOnlyFileIsNotAppendedTo) {
    std::string path = m_folder.PathOf("locked.m3u");
    WriteBytes(path, "#EXTM3U\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    CTextFile textFile("m3u", "\r\n", "");
    EXPECT_FALSE(textFile.AppendText(path, "C:\\a.mp3\r\n"));
    EXPECT_EQ(textFile.m_strError, SystemText(ERROR_ACCESS_DENIED));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\n");
}

TEST_F(TextFileWinTest, RelativeLinesJoinTheListsFolder) {
    ASSERT_TRUE(CreateDirectoryA(m_folder.PathOf("Lists").c_str(), nullptr));
    std::string path = m_folder.PathOf("Lists\\mix.m3u");
    WriteBytes(path, "#EXTM3U\r\na.mp3\r\n\r\nsub\\b.wav\r\nC:\\x\\c.mp3\r\n");
    CMP3PlayList reader;
    ASSERT_EQ(reader.Open(path), 5);
    EXPECT_EQ(reader.m_strDirectory, m_folder.PathOf("Lists"));
    std::string lists = m_folder.PathOf("Lists");
    EXPECT_EQ(
        LoadLikeTheLoader(path).files,
        (Files{{lists + "\\a.mp3", ".mp3"}, {lists + "\\sub\\b.wav", ".wav"}, {"C:\\x\\c.mp3", ".mp3"}}));
}

TEST_F(TextFileWinTest, AMissingListGivesMinusOneAndTheSystemsText) {
    CMP3PlayList reader;
    EXPECT_EQ(reader.Open(m_folder.PathOf("gone.m3u")), -1);
    EXPECT_EQ(reader.m_strError, SystemText(ERROR_FILE_NOT_FOUND));
}

TEST_F(TextFileWinTest, AWrittenListReadsBackUnchanged) {
    std::string path = m_folder.PathOf("out.m3u");
    CScriptedTextFile textFile(path);
    std::vector<MediaEntry> entries{EntryAt("C:\\Music\\a.mp3"), EntryAt("D:\\Other Music\\b.wma")};
    ASSERT_EQ(WriteM3U(entries, textFile), M3UWriteResult::kWritten);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nC:\\Music\\a.mp3\r\nD:\\Other Music\\b.wma\r\n");
    EXPECT_EQ(LoadLikeTheLoader(path).files,
              (Files{{"C:\\Music\\a.mp3", ".mp3"}, {"D:\\Other Music\\b.wma", ".wma"}}));
}

// The user at the file dialog: a second thread waits for a dialog of the test's thread, lets the
// test look at it and act on it, and answers any confirmation box after it with Yes.
class CDialogUser {
public:
    using Action = std::function<void(HWND dialog)>;

    explicit CDialogUser(Action action)
        : m_action(std::move(action)), m_nThreadId(GetCurrentThreadId()), m_thread([this] { Run(); }) {}
    ~CDialogUser() {
        m_bStop = true;
        m_thread.join();
    }
    CDialogUser(const CDialogUser&) = delete;
    CDialogUser& operator=(const CDialogUser&) = delete;

    std::atomic<bool> m_bFoundDialog{false};
    std::atomic<int> m_nConfirmations{0};

private:
    static HWND FindVisibleDialog(DWORD threadId) {
        HWND found = nullptr;
        EnumThreadWindows(
            threadId,
            [](HWND window, LPARAM param) -> BOOL {
                char className[16] = "";
                GetClassNameA(window, className, sizeof className);
                if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    void Run() {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        HWND handled = nullptr;
        while (!m_bStop && std::chrono::steady_clock::now() < deadline) {
            HWND dialog = FindVisibleDialog(m_nThreadId);
            if (dialog && dialog != handled) {
                handled = dialog;
                if (GetDlgItem(dialog, cmb1)) {
                    m_bFoundDialog = true;
                    m_action(dialog);
                } else {
                    // A confirmation box in front of the file dialog.
                    ++m_nConfirmations;
                    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    Action m_action;
    DWORD m_nThreadId;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length > 0 ? length : 0));
        items.push_back(text);
    }
    return items;
}

// Types name into the dialog's file name box and presses the button.
void Choose(HWND dialog, const std::string& name, int button = IDOK) {
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (!nameBox) nameBox = GetDlgItem(dialog, edt1);
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

TEST_F(TextFileWinTest, TheSaveDialogOffersTwoFileTypesAndAddsTheExtension) {
    std::vector<std::string> fileTypes;
    std::string target = m_folder.PathOf("chosen");
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName;
    bool chosen;
    {
        CDialogUser user([&](HWND dialog) {
            fileTypes = ComboItems(GetDlgItem(dialog, cmb1));
            Choose(dialog, target);
        });
        chosen = textFile.AskFileName(true, fileName, "");
    }
    ASSERT_TRUE(chosen);
    EXPECT_EQ(fileTypes, (std::vector<std::string>{"PlayList (*.m3u)", "All Files (*.*)"}));
    EXPECT_EQ(fileName, target + ".m3u");
}

TEST_F(TextFileWinTest, CancellingTheDialogChoosesNothing) {
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName;
    bool chosen;
    {
        CDialogUser user([&](HWND dialog) { Choose(dialog, "ignored", IDCANCEL); });
        chosen = textFile.AskFileName(false, fileName, "");
        EXPECT_TRUE(user.m_bFoundDialog);
    }
    EXPECT_FALSE(chosen);
    EXPECT_EQ(fileName, "");
}

TEST_F(TextFileWinTest, TheOpenDialogHidesTheReadOnlyBoxAndReadsTheChosenFile) {
    std::string path = m_folder.PathOf("pick.m3u");
    WriteBytes(path, "#EXTM3U\r\nC:\\a.mp3\r\n");
    bool readOnlyBoxShown = true;
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName;
    Lines lines;
    bool read;
    {
        CDialogUser user([&](HWND dialog) {
            HWND readOnlyBox = GetDlgItem(dialog, chx1);
            readOnlyBoxShown = readOnlyBox && IsWindowVisible(readOnlyBox);
            Choose(dialog, path);
        });
        read = textFile.ReadLines(fileName, lines);
    }
    ASSERT_TRUE(read);
    EXPECT_FALSE(readOnlyBoxShown);
    EXPECT_EQ(fileName, path);
    EXPECT_EQ(lines, (Lines{"#EXTM3U", "C:\\a.mp3"}));
}

TEST_F(TextFileWinTest, WritingOverAnExistingListAsksFirstAndKeepsItsLines) {
    std::string path = m_folder.PathOf("existing.m3u");
    WriteBytes(path, "#EXTM3U\r\nC:\\old.mp3\r\n");
    M3UWriteResult result;
    int confirmations;
    {
        CDialogUser user([&](HWND dialog) { Choose(dialog, path); });
        result = WriteM3U({EntryAt("C:\\new.mp3")});
        confirmations = user.m_nConfirmations;
    }
    EXPECT_EQ(result, M3UWriteResult::kWritten);
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nC:\\old.mp3\r\n#EXTM3U\r\nC:\\new.mp3\r\n");
}

TEST_F(TextFileWinTest, TheDialogIsOwnedByTheActiveWindowsTopOwner) {
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND tool = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "tool", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50,
                                main, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(main && tool);
    SetActiveWindow(tool);
    ASSERT_EQ(GetActiveWindow(), tool);
    HWND owner = nullptr;
    bool mainEnabled = true;
    CTextFile textFile("m3u", "\r\n", "");
    std::string fileName;
    {
        CDialogUser user([&](HWND dialog) {
            owner = GetWindow(dialog, GW_OWNER);
            mainEnabled = IsWindowEnabled(main);
            Choose(dialog, "x", IDCANCEL);
        });
        textFile.AskFileName(true, fileName, "");
    }
    EXPECT_EQ(owner, main);
    EXPECT_FALSE(mainEnabled);
    DestroyWindow(tool);
    DestroyWindow(main);
}

TEST(TextFileDialogTest, TheFilterReachesTheSystemZeroSeparatedAndEnded) {
    CTextFileDialog dialog(true, "m3u", CTextFile::FilterText("", "m3u"), OFN_HIDEREADONLY);
    const char* filter = dialog.m_ofn.lpstrFilter;
    ASSERT_NE(filter, nullptr);
    std::vector<std::string> parts;
    for (const char* part = filter; *part; part += std::strlen(part) + 1)
        parts.emplace_back(part);
    EXPECT_EQ(parts, (std::vector<std::string>{"PlayList (*.m3u)", "*.m3u", "All Files (*.*)", "*.*"}));
    EXPECT_STREQ(dialog.m_ofn.lpstrFile, "");
    EXPECT_STREQ(dialog.m_ofn.lpstrDefExt, "m3u");
    CTextFileDialog plain(false, "", "", 0);
    EXPECT_EQ(plain.m_ofn.lpstrFilter, nullptr);
    EXPECT_EQ(plain.m_ofn.lpstrDefExt, nullptr);
}

} // namespace
