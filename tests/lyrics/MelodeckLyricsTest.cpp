// The lyrics window under Wine, which has no HTML engine: the window shows the address and hands it to
// the system's browser. Wine's browser helper is pointed at a script of the test's own.
#include "framework/App.h"
#include "lyrics/MelodeckLyrics.h"
#include "support/MediaFolder.h"
#include "support/MelodeckProcess.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

std::string ItemText(HWND dialog, int id) {
    char text[1024] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Wine's path of a file as the Unix side sees it; empty when not running under Wine.
std::string UnixPath(const std::string& path) {
    using Convert = char*(CDECL*)(LPCWSTR);
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = {};
    if (!convert || !::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return {};
    char* unixPath = convert(wide);
    std::string result = unixPath ? unixPath : "";
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

// Names the programs Wine's browser helper tries, and puts the user's setting back afterwards.
class CWineBrowserSetting {
public:
    explicit CWineBrowserSetting(const std::string& browsers) {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &m_hKey, nullptr);
        char previous[1024] = {};
        DWORD size = sizeof(previous);
        m_bHadValue = ::RegQueryValueExA(m_hKey, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                                         &size) == ERROR_SUCCESS;
        m_strPrevious = previous;
        Set(browsers);
    }
    ~CWineBrowserSetting() {
        if (m_bHadValue)
            Set(m_strPrevious);
        else
            ::RegDeleteValueA(m_hKey, kValue);
        ::RegCloseKey(m_hKey);
    }

private:
    static constexpr const char* kValue = "Browsers";
    void Set(const std::string& value) {
        ::RegSetValueExA(m_hKey, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    }
    HKEY m_hKey = nullptr;
    bool m_bHadValue = false;
    std::string m_strPrevious;
};

class MelodeckLyricsTest : public testing::Test {
protected:
    void SetUp() override {
        if (CDHtmlDialog::IsHtmlEngineAvailable()) GTEST_SKIP() << "an HTML engine is installed";
        ASSERT_FALSE(m_folder.Path().empty());
    }
    void TearDown() override { m_lyrics.DestroyWindow(); }

    static MediaEntry Entry(const std::string& artist, const std::string& song) {
        MediaEntry entry;
        entry.m_strArtist = artist;
        entry.m_strSong = song;
        return entry;
    }
    bool Shows(const std::string& url) {
        return WaitFor([&] { return ItemText(m_lyrics, CDHtmlDialog::kIdAddress) == url; }, 10000);
    }
    void Click(int id) { ::SendMessageA(m_lyrics.GetDlgItem(id), BM_CLICK, 0, 0); }

    CMediaFolder m_folder{"melodeck-lyrics"};
    CMelodeckLyrics m_lyrics{"Lyrics.Example.COM"};
};

TEST_F(MelodeckLyricsTest, ShowsTheAddressAsCaptionAndTextAndOkCancelAndCloseBoxHideIt) {
    const std::string first = "http://lyrics.example.com/a/abba/waterloo/printerfriendly.html";
    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("ABBA", "Waterloo")));
    EXPECT_EQ(m_lyrics.GetWindowText(), first);
    EXPECT_TRUE(Shows(first));
    EXPECT_TRUE(::IsWindowEnabled(m_lyrics.GetDlgItem(CDHtmlDialog::kIdOpenInBrowser)));
    Click(IDOK);
    EXPECT_FALSE(m_lyrics.IsWindowVisible());

    // Already open (hidden): the same window, a new address.
    const HWND window = m_lyrics.m_hWnd;
    const std::string second = "http://lyrics.example.com/q/queen/bohemian-rhapsody/printerfriendly.html";
    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("Queen", "Bohemian Rhapsody")));
    EXPECT_EQ(m_lyrics.m_hWnd, window);
    EXPECT_TRUE(m_lyrics.IsWindowVisible());
    EXPECT_EQ(m_lyrics.GetWindowText(), second);
    EXPECT_TRUE(Shows(second));
    Click(IDCANCEL);
    EXPECT_FALSE(m_lyrics.IsWindowVisible());

    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("Queen", "Bohemian Rhapsody")));
    m_lyrics.SendMessage(WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !m_lyrics.IsWindowVisible(); }, 10000));
    EXPECT_TRUE(m_lyrics.IsWindow());
}

TEST_F(MelodeckLyricsTest, OpenInBrowserHandsTheExactAddressToTheSystemBrowser) {
    const std::string script = m_folder.PathOf("browser.sh");
    std::ofstream(script, std::ios::binary) << "printf '%s' \"$1\" > \"$0.url\"\n";
    const std::string unixScript = UnixPath(script);
    if (unixScript.empty()) GTEST_SKIP() << "not running under Wine";
    CWineBrowserSetting browser("/bin/sh \"" + unixScript + "\"");

    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("Simon & Garfunkel", "Mrs. Robinson")));
    const std::string url =
        "http://lyrics.example.com/s/simon-&-garfunkel/mrs.-robinson/printerfriendly.html";
    ASSERT_TRUE(Shows(url));
    Click(CDHtmlDialog::kIdOpenInBrowser);
    EXPECT_TRUE(WaitFor([&] { return !ReadFile(script + ".url").empty(); }, 30000));
    EXPECT_EQ(ReadFile(script + ".url"), url);
}

// A message box of the program's owned by the window, closed as soon as it shows; its text, or empty when
// none came within the limit.
std::string CloseBoxOwnedBy(HWND owner, const std::function<void()>& action, DWORD limitMs) {
    std::atomic<bool> stop{false};
    std::string text;
    std::thread closer([&] {
        const DWORD start = ::GetTickCount();
        while (!stop && ::GetTickCount() - start < limitMs) {
            HWND box = ::FindWindowExA(nullptr, nullptr, "#32770", AfxGetAppName().c_str());
            if (box && ::GetWindow(box, GW_OWNER) == owner && ::IsWindowVisible(box)) {
                text = ItemText(box, 0xFFFF);
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(20);
        }
    });
    action();
    WaitFor([&] { return !text.empty(); }, limitMs);
    stop = true;
    closer.join();
    return text;
}

bool BrowserHelperRunning() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry))
        running = running || lstrcmpiA(entry.szExeFile, "winebrowser.exe") == 0;
    ::CloseHandle(snapshot);
    return running;
}

// Browsers that hand the address to an instance already running end at once, some with a non-zero code;
// so does Wine's helper when it finds no browser. Neither is a browser that could not be started.
TEST_F(MelodeckLyricsTest, AStartedBrowserThatEndsWithAFailureCodeIsNotReported) {
    CWineBrowserSetting browser("/nonexistent/melodeck-no-browser");
    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("ABBA", "SOS")));
    ASSERT_TRUE(Shows("http://lyrics.example.com/a/abba/sos/printerfriendly.html"));
    const std::string text = CloseBoxOwnedBy(
        m_lyrics.m_hWnd,
        [&] {
            Click(CDHtmlDialog::kIdOpenInBrowser);
            WaitFor([] { return !BrowserHelperRunning(); }, 30000);
        },
        5000);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(m_lyrics.IsWindowVisible());
}

TEST_F(MelodeckLyricsTest, ABrowserThatCannotBeStartedIsToldToTheUser) {
    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("ABBA", "SOS")));
    const std::string text = CloseBoxOwnedBy(
        m_lyrics.m_hWnd, [&] { m_lyrics.OpenInSystemBrowser("melodeck-no-such-scheme://lyrics/sos"); },
        60000);
    EXPECT_NE(text.find("The address could not be opened in a web browser"), std::string::npos) << text;
    EXPECT_TRUE(m_lyrics.IsWindowVisible());
}

// The hosted browser shows pages in its current document mode, asked for per user under the program
// file's name; a value already there is left alone.
TEST_F(MelodeckLyricsTest, TheCurrentDocumentModeIsAskedForUnderTheProgramsName) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
    const char* key =
        "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
    auto read = [&] {
        DWORD value = 0, size = sizeof value;
        const LONG result =
            ::RegGetValueA(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size);
        return result == ERROR_SUCCESS ? value : 0;
    };
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name.c_str());
    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("ABBA", "SOS")));
    EXPECT_EQ(read(), 11001u);
    m_lyrics.DestroyWindow();
    const DWORD chosen = 8000;
    ::RegSetKeyValueA(HKEY_CURRENT_USER, key, name.c_str(), REG_DWORD, &chosen, sizeof chosen);
    ASSERT_TRUE(m_lyrics.Open(nullptr, Entry("ABBA", "SOS")));
    EXPECT_EQ(read(), chosen);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name.c_str());
}

} // namespace
