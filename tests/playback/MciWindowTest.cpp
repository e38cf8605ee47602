#include <gtest/gtest.h>

#include "library/MakeEntry.h"
#include "playback/MCIWnd.h"

#include <commctrl.h>
#include <digitalv.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/MediaFolder.h"
#include "support/TestMedia.h"

namespace {

constexpr DWORD kDeadlineMs = 10000;
constexpr const char kParentClass[] = "MelodeckMciTestParent";

struct Notice {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A plain top-level window standing in for the player window: it records the device's
// notifications and can react to them the way the player does.
class CTestParent {
public:
    CTestParent() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kParentClass;
        ::RegisterClassA(&windowClass);
        m_hWnd = ::CreateWindowExA(0, kParentClass, "Melodeck test", WS_OVERLAPPEDWINDOW, 50, 50, 400, 200,
                                   nullptr, nullptr, windowClass.hInstance, this);
    }
    ~CTestParent() {
        if (m_hWnd) ::DestroyWindow(m_hWnd);
    }
    CTestParent(const CTestParent&) = delete;
    CTestParent& operator=(const CTestParent&) = delete;

    std::vector<long> Modes() const { return Values(MCIWNDM_NOTIFYMODE); }
    std::vector<long> Errors() const { return Values(MCIWNDM_NOTIFYERROR); }
    void Clear() { m_notices.clear(); }

    HWND m_hWnd = nullptr;
    std::vector<Notice> m_notices;
    std::function<void(const Notice&)> m_onNotice;
    int m_nDepth = 0;
    int m_nMaxDepth = 0;

private:
    std::vector<long> Values(UINT message) const {
        std::vector<long> values;
        for (const Notice& notice : m_notices)
            if (notice.message == message) values.push_back(static_cast<long>(notice.lParam));
        return values;
    }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<CTestParent*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self && (message == MCIWNDM_NOTIFYMODE || message == MCIWNDM_NOTIFYERROR)) {
            Notice notice{message, wParam, lParam};
            self->m_notices.push_back(notice);
            self->m_nMaxDepth = std::max(self->m_nMaxDepth, ++self->m_nDepth);
            if (self->m_onNotice) self->m_onNotice(notice);
            --self->m_nDepth;
            return 0;
        }
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
};

void PumpFor(DWORD ms) {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDeadlineMs) {
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        PumpFor(10);
    }
    return true;
}

size_t Count(const std::vector<long>& values, long value) {
    return static_cast<size_t>(std::count(values.begin(), values.end(), value));
}

// True when the values hold the sequence in this order (other values may come between).
bool HasInOrder(const std::vector<long>& values, const std::vector<long>& sequence) {
    size_t next = 0;
    for (long value : values)
        if (next < sequence.size() && value == sequence[next]) ++next;
    return next == sequence.size();
}

long DeviceMode(UINT deviceId) {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_MODE;
    if (mciSendCommandA(deviceId, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms)))
        return -1;
    return static_cast<long>(parms.dwReturn);
}

class MciWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.m_hWnd);
        ASSERT_FALSE(m_media.Path().empty());
        RECT client{};
        ::GetClientRect(m_parent.m_hWnd, &client);
        m_rect = RECT{10, 10, client.right - 53, 100};
        ASSERT_TRUE(m_device.Create(m_parent.m_hWnd, m_rect, 1009));
    }

    std::string Mp3(const std::string& name, unsigned frames) {
        std::string path = m_media.PathOf(name);
        EXPECT_TRUE(WriteMp3File(path, frames));
        return path;
    }
    std::string Wav(const std::string& name, unsigned durationMs) {
        std::string path = m_media.PathOf(name);
        EXPECT_TRUE(WriteWavFile(path, durationMs));
        return path;
    }
    // Plays a long file and waits until the parent heard that it plays.
    void StartLongTrack() {
        ASSERT_EQ(m_device.OpenFile(Mp3("long.mp3", 400)), 0);
        m_device.Play();
        ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kPlaying) > 0; }));
        m_parent.Clear();
    }

    static constexpr long kStopped = 525;
    static constexpr long kPlaying = 526;
    static constexpr long kPaused = 529;

    CTestParent m_parent;
    CMediaFolder m_media{"melodeck-mci"};
    RECT m_rect{};
    CMCIWnd m_device;
};

TEST_F(MciWindowTest, IsAChildBarInTheGivenRectangle) {
    HWND hWnd = m_device.GetSafeHwnd();
    char className[64] = "";
    ::GetClassNameA(hWnd, className, sizeof className);
    EXPECT_STREQ(className, kMelodeckMciClassName);
    EXPECT_EQ(::GetParent(hWnd), m_parent.m_hWnd);
    EXPECT_EQ(::GetDlgCtrlID(hWnd), 1009);
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    EXPECT_EQ(style & CMCIWnd::kStyle, CMCIWnd::kStyle);
    RECT window{};
    ::GetWindowRect(hWnd, &window);
    ::MapWindowPoints(nullptr, m_parent.m_hWnd, reinterpret_cast<POINT*>(&window), 2);
    EXPECT_EQ(window.left, 10);
    EXPECT_EQ(window.top, 10);
    EXPECT_EQ(window.right, m_rect.right);
    // Audio has no picture: the window is its play bar.
    EXPECT_GT(window.bottom - window.top, 15);
    EXPECT_LT(window.bottom - window.top, 40);
}

TEST_F(MciWindowTest, ReportsNoDeviceAndNoErrorBeforeAnyFileIsOpen) {
    EXPECT_EQ(m_device.GetDeviceID(), 0u);
    EXPECT_EQ(m_device.GetPosition(), 0);
    EXPECT_FALSE(m_device.GetRepeat());
    EXPECT_EQ(m_device.GetError(), 0);
    EXPECT_EQ(m_device.GetVolume(), 1000);
    // Commands without a device do nothing and tell nothing.
    EXPECT_EQ(m_device.Stop(), 0);
    EXPECT_EQ(m_device.Pause(), 0);
    EXPECT_EQ(m_device.Resume(), 0);
    EXPECT_EQ(m_device.Close(), 0);
    EXPECT_EQ(m_device.Play(), 0);
    PumpFor(300);
    EXPECT_TRUE(m_parent.m_notices.empty());
}

TEST_F(MciWindowTest, RepeatIsOffUntilSet) {
    EXPECT_FALSE(m_device.GetRepeat());
    ::SendMessageA(m_device.GetSafeHwnd(), MCIWNDM_SETREPEAT, 0, TRUE);
    EXPECT_TRUE(m_device.GetRepeat());
    ::SendMessageA(m_device.GetSafeHwnd(), MCIWNDM_SETREPEAT, 0, FALSE);
    EXPECT_FALSE(m_device.GetRepeat());
}

struct TrackCase {
    const char* name;
    enum { Mp3, Wav, Fixture } kind;
    unsigned length; // frames or milliseconds
};
void PrintTo(const TrackCase& c, std::ostream* out) {
    *out << c.name;
}

class TrackEndTest : public MciWindowTest, public testing::WithParamInterface<TrackCase> {
protected:
    std::string MakeTrack() {
        switch (GetParam().kind) {
        case TrackCase::Mp3: return Mp3(GetParam().name, GetParam().length);
        case TrackCase::Wav: return Wav(GetParam().name, GetParam().length);
        case TrackCase::Fixture: break;
        }
        std::string path = m_media.PathOf(GetParam().name);
        EXPECT_TRUE(WriteMediaFile(path, MakeAbbaWaterlooMp3()));
        return path;
    }
};

TEST_P(TrackEndTest, PlaysAndReportsPlayingThenStoppedOnceAtTheEnd) {
    ASSERT_EQ(m_device.OpenFile(MakeTrack()), 0);
    EXPECT_NE(m_device.GetDeviceID(), 0u);
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] {
        return HasInOrder(m_parent.Modes(), {kPlaying, kStopped});
    })) << "modes heard: "
        << testing::PrintToString(m_parent.Modes());
    PumpFor(500);
    EXPECT_EQ(Count(m_parent.Modes(), kStopped), 1u) << testing::PrintToString(m_parent.Modes());
    EXPECT_EQ(m_parent.Modes().back(), kStopped);
    EXPECT_TRUE(m_parent.Errors().empty());
    for (const Notice& notice : m_parent.m_notices)
        EXPECT_EQ(notice.wParam, reinterpret_cast<WPARAM>(m_device.GetSafeHwnd()));
}

INSTANTIATE_TEST_SUITE_P(Files, TrackEndTest,
                         testing::Values(TrackCase{"short.mp3", TrackCase::Mp3, 20},
                                         TrackCase{"tone.wav", TrackCase::Wav, 300},
                                         // Over before the first reading: only its completion tells.
                                         TrackCase{"blip.wav", TrackCase::Wav, 5},
                                         TrackCase{"one-frame.mp3", TrackCase::Mp3, 1},
                                         TrackCase{"abba-waterloo.mp3", TrackCase::Fixture, 0}));

TEST_F(MciWindowTest, OpenFileKeepsTheVolume) {
    std::string mp3 = Mp3("a.mp3", 20);
    std::string wav = Wav("b.wav", 100);
    m_device.SetVolume(300);
    EXPECT_EQ(m_device.GetVolume(), 300);
    ASSERT_EQ(m_device.OpenFile(mp3), 0);
    EXPECT_EQ(m_device.GetVolume(), 300);
    ASSERT_EQ(m_device.OpenFile(wav), 0);
    EXPECT_EQ(m_device.GetVolume(), 300);
    m_device.SetVolume(700);
    EXPECT_EQ(m_device.GetVolume(), 700);
    ASSERT_EQ(m_device.OpenFile(mp3), 0);
    EXPECT_EQ(m_device.GetVolume(), 700);
    m_device.Close();
    EXPECT_EQ(m_device.GetVolume(), 700);
}

TEST_F(MciWindowTest, VolumeIsClampedToItsRange) {
    m_device.SetVolume(5000);
    EXPECT_EQ(m_device.GetVolume(), 1000);
    m_device.SetVolume(-20);
    EXPECT_EQ(m_device.GetVolume(), 0);
}

TEST_F(MciWindowTest, VolumeSetWhileAnMp3PlaysReachesTheDevice) {
    StartLongTrack();
    m_device.SetVolume(250);
    EXPECT_EQ(m_device.GetError(), 0);
    EXPECT_EQ(m_device.GetVolume(), 250);
    EXPECT_TRUE(m_parent.Errors().empty());

    MCI_DGV_STATUS_PARMSA status{};
    status.dwItem = MCI_DGV_STATUS_VOLUME;
    DWORD error = mciSendCommandA(m_device.GetDeviceID(), MCI_STATUS, MCI_STATUS_ITEM,
                                  reinterpret_cast<DWORD_PTR>(&status));
    if (error == MCIERR_UNRECOGNIZED_COMMAND || error == MCIERR_UNSUPPORTED_FUNCTION) {
        // Wine 8's MPEG device takes "setaudio volume" but cannot report it.
        RecordProperty("status_volume", "unsupported by this MPEG device");
    } else {
        ASSERT_EQ(error, 0u);
        EXPECT_NEAR(static_cast<long>(status.dwReturn), 250, 1);
    }
    EXPECT_EQ(DeviceMode(m_device.GetDeviceID()), kPlaying);
}

TEST_F(MciWindowTest, VolumeReadsBackThroughTheStringInterface) {
    StartLongTrack();
    m_device.SetVolume(400);
    std::string alias = "\"" + m_media.PathOf("long.mp3") + "\"";
    char result[64] = "";
    DWORD error = mciSendStringA(("status " + alias + " volume").c_str(), result, sizeof result, nullptr);
    if (error == MCIERR_UNRECOGNIZED_COMMAND || error == MCIERR_UNSUPPORTED_FUNCTION) {
        RecordProperty("status_volume", "unsupported by this MPEG device");
        EXPECT_EQ(m_device.GetVolume(), 400);
    } else {
        ASSERT_EQ(error, 0u);
        EXPECT_NEAR(std::atol(result), 400, 1);
    }
}

struct BadFileCase {
    const char* name;
    bool create;
};
void PrintTo(const BadFileCase& c, std::ostream* out) {
    *out << c.name;
}

class BadFileTest : public MciWindowTest, public testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, OpenFailsWithAnErrorNotificationAndAnErrorText) {
    std::string path = m_media.PathOf(GetParam().name);
    if (GetParam().create) {
        MediaBytes garbage(3000);
        for (size_t i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<uint8_t>(i * 7 + 3);
        ASSERT_TRUE(WriteMediaFile(path, garbage));
    }
    LONG result = m_device.OpenFile(path);
    EXPECT_NE(result, 0);
    ASSERT_EQ(m_parent.Errors().size(), 1u);
    EXPECT_EQ(m_parent.Errors()[0], result);
    char text[256] = "x";
    EXPECT_EQ(m_device.GetError(text, sizeof text), result);
    EXPECT_GT(std::string(text).size(), 5u);
    EXPECT_EQ(m_device.GetDeviceID(), 0u);
    // A short buffer gets a cut, terminated text.
    char shortText[4] = "abc";
    EXPECT_EQ(m_device.GetError(shortText, sizeof shortText), result);
    EXPECT_EQ(std::string(shortText), std::string(text).substr(0, 3));
}

INSTANTIATE_TEST_SUITE_P(Files, BadFileTest,
                         testing::Values(BadFileCase{"missing.mp3", false}, BadFileCase{"missing.wav", false},
                                         BadFileCase{"garbage.mp3", true}, BadFileCase{"garbage.wav", true}));

// The device went away behind the window's back, so the play sent straight to it fails: the window
// records that error and reports it as it reports its own.
TEST_F(MciWindowTest, APlayTheDeviceRefusesIsReportedWithItsErrorText) {
    ASSERT_EQ(m_device.OpenFile(Mp3("gone.mp3", 20)), 0);
    ASSERT_EQ(mciSendCommandA(m_device.GetDeviceID(), MCI_CLOSE, 0, 0), 0u);
    m_parent.Clear();
    LONG result = m_device.Play();
    EXPECT_NE(result, 0);
    EXPECT_EQ(m_parent.Errors(), std::vector<long>{result});
    char text[256] = "";
    EXPECT_EQ(m_device.GetError(text, sizeof text), result);
    EXPECT_GT(std::string(text).size(), 5u);
}

TEST_F(MciWindowTest, APlayingMp3IsScannedWithItsTag) {
    std::string path = m_media.PathOf("playing.mp3");
    Id3v1Fields tag{"Song", "Artist", "Album"};
    ASSERT_TRUE(WriteMp3File(path, 400, &tag));
    ASSERT_EQ(m_device.OpenFile(path), 0);
    ASSERT_EQ(m_device.Play(), 0);
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kPlaying) > 0; }));
    EXPECT_EQ(MakeEntry(path, "playing.mp3", ".mp3"),
              (MediaEntry{path, "", std::string("Artist\0", 7), std::string("Album\0", 6),
                          std::string("Song\0", 5)}));
    m_device.Stop();
}

TEST_F(MciWindowTest, AnErrorNotificationIsSentOnlyWhenTheStyleAsksForIt) {
    HWND hWnd = m_device.GetSafeHwnd();
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) & ~MCIWNDF_NOTIFYERROR);
    EXPECT_NE(m_device.OpenFile(m_media.PathOf("missing.mp3")), 0);
    EXPECT_TRUE(m_parent.Errors().empty());
    EXPECT_NE(m_device.GetError(), 0);
}

TEST_F(MciWindowTest, StopDuringPlayReportsStoppedOnce) {
    StartLongTrack();
    EXPECT_EQ(m_device.Stop(), 0);
    PumpFor(700);
    EXPECT_EQ(m_parent.Modes(), std::vector<long>{kStopped});
    EXPECT_EQ(DeviceMode(m_device.GetDeviceID()), kStopped);
    // A second stop changes nothing and says nothing.
    EXPECT_EQ(m_device.Stop(), 0);
    PumpFor(300);
    EXPECT_EQ(m_parent.Modes(), std::vector<long>{kStopped});
}

TEST_F(MciWindowTest, PauseAndResumeReportPausedThenPlaying) {
    StartLongTrack();
    EXPECT_EQ(m_device.Pause(), 0);
    ASSERT_TRUE(PumpUntil([&] { return !m_parent.Modes().empty(); }));
    PumpFor(300);
    EXPECT_EQ(m_parent.Modes(), std::vector<long>{kPaused});
    m_parent.Clear();
    EXPECT_EQ(m_device.Resume(), 0);
    ASSERT_TRUE(PumpUntil([&] { return !m_parent.Modes().empty(); }));
    PumpFor(300);
    EXPECT_EQ(m_parent.Modes(), std::vector<long>{kPlaying});
    EXPECT_EQ(m_device.Stop(), 0);
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kStopped) == 1; }));
}

TEST_F(MciWindowTest, CloseWhilePlayingReportsStoppedOnce) {
    StartLongTrack();
    EXPECT_EQ(m_device.Close(), 0);
    EXPECT_EQ(m_device.Close(), 0);
    EXPECT_EQ(m_device.GetDeviceID(), 0u);
    PumpFor(700);
    EXPECT_EQ(m_parent.Modes(), std::vector<long>{kStopped});
    EXPECT_TRUE(m_parent.Errors().empty());
}

std::string WindowText(HWND hWnd) {
    char text[MAX_PATH] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

TEST_F(MciWindowTest, ReplacingAPlayingTrackThatPlaysAtOnceReportsNoStop) {
    // The parent advances at every stop, as the player does; replacing the playing track with
    // the next one must not count as the end of a track, or the parent would skip an entry.
    std::string after = Mp3("after.mp3", 8);
    std::vector<std::string> endedNames;
    m_parent.m_onNotice = [&](const Notice& notice) {
        if (notice.message != MCIWNDM_NOTIFYMODE || notice.lParam != kStopped) return;
        endedNames.push_back(WindowText(reinterpret_cast<HWND>(notice.wParam)));
        if (endedNames.size() == 1 && m_device.OpenFile(after) == 0) m_device.Play();
    };
    StartLongTrack();
    ASSERT_EQ(m_device.OpenFile(Mp3("next.mp3", 20)), 0);
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] { return endedNames.size() == 2; })) << testing::PrintToString(endedNames);
    PumpFor(300);
    EXPECT_EQ(endedNames, (std::vector<std::string>{"next.mp3", "after.mp3"}));
    EXPECT_EQ(m_parent.Modes(), (std::vector<long>{kStopped, kPlaying, kStopped}));
}

TEST_F(MciWindowTest, TheParentMayStartTheNextTrackFromInsideTheStoppedNotification) {
    std::vector<std::string> tracks = {Mp3("one.mp3", 8), Wav("two.wav", 200), Mp3("three.mp3", 8)};
    size_t next = 1;
    int opened = 0;
    m_parent.m_onNotice = [&](const Notice& notice) {
        // What the player does at the end of a track: open the next entry and play it.
        if (notice.message != MCIWNDM_NOTIFYMODE || notice.lParam != kStopped || next >= tracks.size())
            return;
        if (m_device.OpenFile(tracks[next++]) == 0) {
            ++opened;
            m_device.Play();
        }
    };
    ASSERT_EQ(m_device.OpenFile(tracks[0]), 0);
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kStopped) == 3; }))
        << testing::PrintToString(m_parent.Modes());
    PumpFor(500);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(m_parent.Modes(),
              (std::vector<long>{kPlaying, kStopped, kPlaying, kStopped, kPlaying, kStopped}));
    EXPECT_EQ(m_parent.m_nMaxDepth, 1);
}

TEST_F(MciWindowTest, ChangesDuringAModalLoopInsideANotificationWaitForItsEnd) {
    std::string next = Mp3("next.mp3", 8);
    bool started = false;
    m_parent.m_onNotice = [&](const Notice& notice) {
        if (started || notice.message != MCIWNDM_NOTIFYMODE || notice.lParam != kStopped) return;
        started = true;
        ASSERT_EQ(m_device.OpenFile(next), 0);
        m_device.Play();
        // As a message box would: the next track starts and ends while this loop runs.
        PumpFor(1500);
    };
    ASSERT_EQ(m_device.OpenFile(Mp3("one.mp3", 8)), 0);
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kStopped) == 2; }))
        << testing::PrintToString(m_parent.Modes());
    EXPECT_EQ(m_parent.m_nMaxDepth, 1);
    EXPECT_EQ(m_parent.Modes(), (std::vector<long>{kPlaying, kStopped, kPlaying, kStopped}));
}

TEST_F(MciWindowTest, AFailingOpenInsideTheStoppedNotificationDoesNotRecurse) {
    std::string missing = m_media.PathOf("missing.mp3");
    int attempts = 0;
    m_parent.m_onNotice = [&](const Notice& notice) {
        if (notice.message == MCIWNDM_NOTIFYMODE && notice.lParam == kStopped) {
            ++attempts;
            m_device.OpenFile(missing);
            m_device.Play();
        }
    };
    ASSERT_EQ(m_device.OpenFile(Mp3("one.mp3", 8)), 0);
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] { return !m_parent.Errors().empty(); }));
    PumpFor(700);
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(m_parent.Errors().size(), 1u);
    EXPECT_LE(m_parent.m_nMaxDepth, 2);
}

TEST_F(MciWindowTest, TheParentMayDestroyTheDeviceFromInsideANotification) {
    m_parent.m_onNotice = [&](const Notice& notice) {
        if (notice.message == MCIWNDM_NOTIFYMODE && notice.lParam == kStopped)
            ::DestroyWindow(reinterpret_cast<HWND>(notice.wParam));
    };
    ASSERT_EQ(m_device.OpenFile(Mp3("one.mp3", 8)), 0);
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(m_device.GetSafeHwnd()); }));
    PumpFor(300);
    EXPECT_EQ(Count(m_parent.Modes(), kStopped), 1u);
}

HWND BarChild(HWND device, const char* className) {
    return ::FindWindowExA(device, nullptr, className, nullptr);
}

TEST_F(MciWindowTest, ThePlayBarButtonPlaysAndStopsAndIsReported) {
    ASSERT_EQ(m_device.OpenFile(Mp3("long.mp3", 400)), 0);
    HWND button = BarChild(m_device.GetSafeHwnd(), "Button");
    ASSERT_TRUE(button);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kPlaying) == 1; }));
    EXPECT_EQ(DeviceMode(m_device.GetDeviceID()), kPlaying);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kStopped) == 1; }));
    PumpFor(300);
    EXPECT_EQ(m_parent.Modes(), (std::vector<long>{kPlaying, kStopped}));
    EXPECT_EQ(DeviceMode(m_device.GetDeviceID()), kStopped);
}

TEST_F(MciWindowTest, TheSliderMovesTheStoppedPositionWithoutPlaying) {
    ASSERT_EQ(m_device.OpenFile(Mp3("long.mp3", 400)), 0);
    HWND slider = BarChild(m_device.GetSafeHwnd(), TRACKBAR_CLASSA);
    ASSERT_TRUE(slider);
    EXPECT_GT(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 5000);
    // As the trackbar does when the user lets go of its thumb.
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 4000);
    ::SendMessageA(m_device.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                   reinterpret_cast<LPARAM>(slider));
    EXPECT_NEAR(m_device.GetPosition(), 4000, 100);
    PumpFor(400);
    EXPECT_EQ(DeviceMode(m_device.GetDeviceID()), kStopped);
    EXPECT_TRUE(m_parent.Modes().empty());
    // Playing continues from there.
    m_device.Play();
    ASSERT_TRUE(PumpUntil([&] { return Count(m_parent.Modes(), kPlaying) == 1; }));
    EXPECT_GE(m_device.GetPosition(), 3900);
}

TEST_F(MciWindowTest, TheSlidersThumbFollowsThePlayingTrack) {
    StartLongTrack();
    HWND slider = BarChild(m_device.GetSafeHwnd(), TRACKBAR_CLASSA);
    ASSERT_TRUE(slider);
    auto thumbLeft = [&] {
        RECT thumb{};
        ::SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        return thumb.left;
    };
    const LONG start = thumbLeft();
    EXPECT_TRUE(PumpUntil([&] { return thumbLeft() >= start + 3; })) << "the thumb stays at " << thumbLeft();
}

TEST_F(MciWindowTest, SeekingWhilePlayingKeepsPlaying) {
    StartLongTrack();
    EXPECT_EQ(::SendMessageA(m_device.GetSafeHwnd(), MCI_SEEK, 0, 6000), 0);
    PumpFor(400);
    EXPECT_EQ(DeviceMode(m_device.GetDeviceID()), kPlaying);
    EXPECT_GE(m_device.GetPosition(), 6000);
    EXPECT_TRUE(m_parent.Modes().empty()) << testing::PrintToString(m_parent.Modes());
}

TEST_F(MciWindowTest, DestroyingTheWrapperClosesTheDeviceAndTheWindow) {
    auto device = std::make_unique<CMCIWnd>();
    ASSERT_TRUE(device->Create(m_parent.m_hWnd, m_rect, 1010));
    ASSERT_EQ(device->OpenFile(Mp3("a.mp3", 20)), 0);
    UINT id = device->GetDeviceID();
    HWND hWnd = device->GetSafeHwnd();
    ASSERT_NE(id, 0u);
    device.reset();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(DeviceMode(id), -1);
}

struct ShownMessage {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
std::vector<ShownMessage> g_shown;

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    g_shown.push_back({owner, text ? text : "", caption ? caption : "(null)", type});
    return IDOK;
}

TEST_F(MciWindowTest, AWindowThatCannotBeCreatedIsReportedAndEveryOperationDoesNothing) {
    g_shown.clear();
    auto previous = CMCIWnd::s_pfnMessageBox;
    CMCIWnd::s_pfnMessageBox = RecordMessageBox;
    CMCIWnd orphan;
    // A child window needs a parent window that exists.
    bool created = orphan.Create(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF1234)), m_rect, 1009);
    CMCIWnd::s_pfnMessageBox = previous;

    EXPECT_FALSE(created);
    EXPECT_EQ(orphan.GetSafeHwnd(), nullptr);
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].text, "Error, Creating MCI Control for Audio Playback");
    EXPECT_EQ(g_shown[0].caption, "test_playback_win");
    EXPECT_EQ(g_shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

    EXPECT_NE(orphan.OpenFile(Mp3("a.mp3", 5)), 0);
    orphan.Play();
    orphan.SetVolume(100);
    EXPECT_EQ(orphan.GetVolume(), 0);
    EXPECT_EQ(orphan.GetDeviceID(), 0u);
    EXPECT_EQ(orphan.Stop(), 0);
}

} // namespace
