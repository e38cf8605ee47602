// The dialog templates as the windows built on them rely on: each creates, with its caption, frame,
// size and font, and holds exactly its controls, in tab order, with their ids, classes, key styles and
// places. A wrong id or style here shows no error; a window just misbehaves.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "ResourceTestSupport.h"
#include "res/resource.h"

namespace {

// The header of a DLGTEMPLATEEX, read field by field as the dialog manager does.
struct TemplateHeader {
    DWORD style = 0;
    DWORD exStyle = 0;
    int itemCount = 0;
    int cx = 0, cy = 0;
    int menuId = 0; // 0 when the template names no menu
    std::string caption;
    int pointSize = 0;
    std::string face;
};

bool ReadTemplate(int id, TemplateHeader& out) {
    std::string bytes = ResourceBytes(id, MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (bytes.size() < 26) return false;
    const WORD* p = reinterpret_cast<const WORD*>(bytes.data());
    const WORD* end = p + bytes.size() / sizeof(WORD);
    if (p[0] != 1 || p[1] != 0xFFFF) return false; // DIALOGEX signature
    auto dword = [](const WORD* at) { return DWORD(at[0]) | (DWORD(at[1]) << 16); };
    out.exStyle = dword(p + 4);
    out.style = dword(p + 6);
    out.itemCount = p[8];
    out.cx = static_cast<short>(p[11]);
    out.cy = static_cast<short>(p[12]);
    p += 13;
    auto text = [&](std::string& s) {
        const wchar_t* start = reinterpret_cast<const wchar_t*>(p);
        while (p < end && *p)
            ++p;
        if (p >= end) return false;
        s = Narrow(start);
        ++p;
        return true;
    };
    std::string ignored;
    if (*p == 0xFFFF) {
        out.menuId = p[1];
        p += 2;
    } else if (!text(ignored)) {
        return false;
    }
    if (*p == 0xFFFF) {
        p += 2;
    } else if (!text(ignored)) {
        return false;
    }
    if (!text(out.caption)) return false;
    if (out.style & DS_SETFONT) {
        if (end - p < 3) return false;
        out.pointSize = p[0];
        p += 3; // point size, weight, italic and character set
        if (!text(out.face)) return false;
    }
    return true;
}

struct ControlExpectation {
    int id;
    const char* className;
    const char* text; // nullptr: not checked
    DWORD styleMask;
    DWORD style;
    int x, y, w, h; // dialog units; w == 0: the control sizes itself
    bool bordered;
};

struct DialogExpectation {
    const char* name;
    int id;
    const char* caption;
    int cx, cy;
    const char* face;
    int menuId;
    DWORD style;                       // bits that must be set
    DWORD exStyle;                     // bits that must be set
    std::vector<ControlExpectation> controls; // in tab order
};

std::ostream& operator<<(std::ostream& os, const DialogExpectation& wanted) {
    return os << wanted.name;
}

constexpr DWORD kButtonKind = BS_TYPEMASK | WS_TABSTOP | WS_GROUP;
constexpr DWORD kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// clang-format off
const DialogExpectation kDialogs[] = {
    {"About", IDD_ABOUTBOX, "About Melodeck", 235, 55, "MS Shell Dlg", 0, kFrame | DS_MODALFRAME, 0,
     {{-1, "Static", nullptr, SS_TYPEMASK, SS_ICON, 11, 17, 0, 0, false},
      {-1, "Static", nullptr, SS_TYPEMASK, SS_LEFT, 40, 10, 119, 8, false},
      {-1, "Static", nullptr, SS_TYPEMASK, SS_LEFT, 40, 25, 119, 8, false},
      {IDOK, "Button", "OK", BS_TYPEMASK, BS_DEFPUSHBUTTON, 178, 7, 50, 16, false}}},
    {"Player", IDD_MELODECK_DIALOG, "Melodeck", 259, 74, "Microsoft Sans Serif", IDR_MAINMENU,
     kFrame | WS_MINIMIZEBOX, WS_EX_APPWINDOW,
     // No default button: Enter acts on the focused button.
     {{IDC_PREVIOUS, "Button", "P&revious", kButtonKind, BS_PUSHBUTTON | WS_TABSTOP, 6, 54, 36, 14, false},
      {IDC_PLAY, "Button", "&Play", kButtonKind, BS_PUSHBUTTON | WS_TABSTOP, 42, 54, 32, 14, false},
      {IDC_STOP, "Button", "&Stop", kButtonKind, BS_PUSHBUTTON | WS_TABSTOP, 74, 54, 32, 14, false},
      {IDC_NEXT, "Button", "&Next", kButtonKind, BS_PUSHBUTTON | WS_TABSTOP, 106, 54, 32, 14, false},
      {IDC_PAUSE, "Button", "Pa&use", kButtonKind | BS_PUSHLIKE, BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP,
       147, 54, 39, 14, false},
      {IDC_VOLUME, "msctls_trackbar32", "", TBS_VERT | TBS_NOTICKS | WS_TABSTOP, TBS_NOTICKS | WS_TABSTOP, 192,
       53, 61, 15, false},
      {IDC_LYRICS, "Button", "L&yrics", kButtonKind, BS_PUSHBUTTON | WS_TABSTOP, 226, 9, 27, 14, false},
      {IDC_BANNER, "Static", "", SS_TYPEMASK | SS_ELLIPSISMASK, SS_LEFT | SS_WORDELLIPSIS, 6, 25, 247, 22,
       false}}},
    {"PlayList", IDD_PLAYLIST, "Play List", 272, 110, "MS Shell Dlg", 0, kFrame | WS_THICKFRAME,
     WS_EX_TOOLWINDOW,
     {{IDC_LIST, "SysListView32", nullptr, LVS_TYPEMASK | WS_TABSTOP, LVS_REPORT | WS_TABSTOP, 2, 0, 269, 109,
       true}}},
    {"Properties", IDD_PROPERTIES, "Edit MP3 Tag", 200, 130, "MS Shell Dlg", 0, kFrame | DS_MODALFRAME, 0,
     {{IDOK, "Button", "OK", BS_TYPEMASK, BS_DEFPUSHBUTTON, 143, 7, 50, 14, false},
      {IDCANCEL, "Button", "Cancel", BS_TYPEMASK, BS_PUSHBUTTON, 143, 24, 50, 14, false},
      {-1, "Static", "&Artist:", SS_TYPEMASK, SS_LEFT, 7, 7, 62, 8, false},
      {IDC_ARTIST, "Edit", "", ES_AUTOHSCROLL | ES_READONLY | ES_MULTILINE, ES_AUTOHSCROLL, 7, 18, 112, 14, true},
      {-1, "Static", "&Album:", SS_TYPEMASK, SS_LEFT, 7, 34, 23, 8, false},
      {IDC_ALBUM, "Edit", "", ES_AUTOHSCROLL | ES_READONLY | ES_MULTILINE, ES_AUTOHSCROLL, 7, 44, 110, 14, true},
      {-1, "Static", "&Song:", SS_TYPEMASK, SS_LEFT, 7, 60, 20, 8, false},
      {IDC_SONG, "Edit", "", ES_AUTOHSCROLL | ES_READONLY | ES_MULTILINE, ES_AUTOHSCROLL, 7, 70, 110, 14, true},
      {IDC_PATH, "Edit", "", ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_READONLY,
       ES_CENTER | ES_MULTILINE | ES_READONLY, 7, 87, 186, 36, true}}},
    // A small player: the song that plays and the three buttons it needs most.
    {"Compact", IDD_COMPACT, "Melodeck", 140, 44, "MS Shell Dlg", 0, kFrame | DS_MODALFRAME,
     WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE,
     {{IDC_BANNER, "Static", "", SS_TYPEMASK | SS_NOTIFY, SS_LEFT | SS_NOTIFY, 4, 5, 132, 16, false},
      {IDC_PREVIOUS, "Button", "P&revious", BS_TYPEMASK, BS_PUSHBUTTON, 4, 25, 40, 14, false},
      {IDC_PLAY, "Button", "&Play/Pause", BS_TYPEMASK, BS_DEFPUSHBUTTON, 46, 25, 48, 14, false},
      {IDC_NEXT, "Button", "&Next", BS_TYPEMASK, BS_PUSHBUTTON, 96, 25, 40, 14, false}}},
    // The radio group is read from the group box 1017 up to OK, the next control that starts a group.
    {"Find", IDD_FIND, "Find", 230, 65, "MS Shell Dlg", 0, kFrame | DS_MODALFRAME, 0,
     {{-1, "Static", "&Find:", SS_TYPEMASK, SS_LEFT, 7, 7, 26, 8, false},
      {IDC_FINDTEXT, "Edit", "", ES_AUTOHSCROLL | ES_MULTILINE, ES_AUTOHSCROLL, 7, 18, 216, 14, true},
      {IDC_FINDBY, "Button", "Find &By", BS_TYPEMASK | WS_GROUP, BS_GROUPBOX | WS_GROUP, 7, 34, 163, 24, false},
      {IDC_FIND_ARTIST, "Button", "&Artist", BS_TYPEMASK | WS_GROUP, BS_AUTORADIOBUTTON, 17, 42, 33, 10, false},
      {IDC_FIND_ALBUM, "Button", "Al&bum", BS_TYPEMASK | WS_GROUP, BS_AUTORADIOBUTTON, 51, 42, 35, 10, false},
      {IDC_FIND_SONG, "Button", "&Song", BS_TYPEMASK | WS_GROUP, BS_AUTORADIOBUTTON, 87, 42, 32, 10, false},
      {IDC_FIND_FILENAME, "Button", "&File Name", BS_TYPEMASK | WS_GROUP, BS_AUTORADIOBUTTON, 120, 42, 47, 10,
       false},
      {IDOK, "Button", "OK", BS_TYPEMASK | WS_GROUP, BS_DEFPUSHBUTTON | WS_GROUP, 173, 38, 50, 14, false}}},
    {"Lyrics", IDD_LYRICS, "Lyrics", 323, 316, "MS Shell Dlg", 0, kFrame | WS_THICKFRAME, WS_EX_CLIENTEDGE, {}},
};
// clang-format on

class DialogTemplateTest : public ResourcesTest, public testing::WithParamInterface<DialogExpectation> {};

TEST_P(DialogTemplateTest, HeaderHasCaptionFrameSizeFontAndMenu) {
    const DialogExpectation& wanted = GetParam();
    TemplateHeader header;
    ASSERT_TRUE(ReadTemplate(wanted.id, header)) << "template " << wanted.id << " missing or not DIALOGEX";
    EXPECT_EQ(header.caption, wanted.caption);
    EXPECT_EQ(header.style & wanted.style, wanted.style);
    EXPECT_EQ(header.exStyle & wanted.exStyle, wanted.exStyle);
    // Created hidden and top-level: the list windows and the compact view are shown only on demand.
    EXPECT_EQ(header.style & (WS_VISIBLE | WS_CHILD), 0u);
    EXPECT_EQ(header.cx, wanted.cx);
    EXPECT_EQ(header.cy, wanted.cy);
    EXPECT_EQ(header.menuId, wanted.menuId);
    EXPECT_EQ(header.pointSize, 8);
    EXPECT_EQ(header.face, wanted.face);
    EXPECT_EQ(header.itemCount, static_cast<int>(wanted.controls.size()));
}

std::string BaseClassName(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    std::string s = name;
    size_t bang = s.find('!'); // a versioned class of Common Controls 6 may carry its version
    return bang == std::string::npos ? s : s.substr(bang + 1);
}

std::string WindowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

TEST_P(DialogTemplateTest, CreatesWithItsControlsInTabOrder) {
    const DialogExpectation& wanted = GetParam();
    WindowPtr dialog(CreateDialogParamA(Module(), MAKEINTRESOURCEA(wanted.id), nullptr, QuietDialogProc, 0));
    ASSERT_TRUE(dialog) << "CreateDialogParam failed, error " << GetLastError();
    HWND hwnd = dialog.get();

    RECT client = {}, expected = {0, 0, wanted.cx, wanted.cy};
    GetClientRect(hwnd, &client);
    MapDialogRect(hwnd, &expected);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);

    // The dialog font is the one named in the template, at 8 points.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA logFont = {};
    ASSERT_NE(GetObjectA(font, sizeof(logFont), &logFont), 0);
    EXPECT_STREQ(logFont.lfFaceName, wanted.face);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(logFont.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    std::vector<HWND> children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), wanted.controls.size());

    for (size_t i = 0; i < children.size(); ++i) {
        const ControlExpectation& want = wanted.controls[i];
        HWND child = children[i];
        SCOPED_TRACE(testing::Message() << wanted.name << " control #" << i << " (id " << want.id << ")");
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        EXPECT_EQ(lstrcmpiA(BaseClassName(child).c_str(), want.className), 0) << BaseClassName(child);
        if (want.text) {
            EXPECT_EQ(WindowText(child), want.text);
        }
        DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
        EXPECT_EQ(style & want.styleMask, want.style) << std::hex << style;
        if (want.bordered) {
            // The dialog manager may turn an edit's border into a client edge.
            EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE)) << std::hex << style;
        }
        if (want.w > 0) {
            // The dialog manager converts position and size separately, so a rounded size adds on.
            RECT place = {want.x, want.y, want.w, want.h}, actual = {};
            MapDialogRect(hwnd, &place);
            place.right += place.left;
            place.bottom += place.top;
            GetWindowRect(child, &actual);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, place.left);
            EXPECT_EQ(actual.top, place.top);
            EXPECT_EQ(actual.right, place.right);
            EXPECT_EQ(actual.bottom, place.bottom);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogTemplateTest, testing::ValuesIn(kDialogs),
                         [](const testing::TestParamInfo<DialogExpectation>& info) { return info.param.name; });

TEST_F(ResourcesTest, AboutBoxShowsTheProgramIcon) {
    WindowPtr dialog(
        CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, QuietDialogProc, 0));
    ASSERT_TRUE(dialog);
    HWND iconStatic = GetWindow(dialog.get(), GW_CHILD);
    ASSERT_NE(iconStatic, nullptr);
    EXPECT_NE(SendMessageA(iconStatic, STM_GETICON, 0, 0), 0);
}

TEST_F(ResourcesTest, PlayerTemplateCarriesTheMainMenu) {
    WindowPtr dialog(
        CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_MELODECK_DIALOG), nullptr, QuietDialogProc, 0));
    ASSERT_TRUE(dialog);
    HMENU menu = GetMenu(dialog.get());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 5);
}

// The list view and trackbar of the templates must come from the side-by-side Common Controls 6 that
// the manifest asks for, not from the system's version 5 library.
TEST_F(ResourcesTest, TemplatesGetCommonControls6) {
    WindowPtr dialog(
        CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_PLAYLIST), nullptr, QuietDialogProc, 0));
    ASSERT_TRUE(dialog);
    HWND list = GetDlgItem(dialog.get(), IDC_LIST);
    ASSERT_NE(list, nullptr);
    // The module that holds the control's window procedure (read as Unicode, the class's own kind).
    auto procedure = reinterpret_cast<LPCSTR>(GetWindowLongPtrW(list, GWLP_WNDPROC));
    HMODULE owner = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   procedure, &owner));
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(owner, path, MAX_PATH), 0u);
    std::string lower = path;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(lower.find("common-controls"), std::string::npos) << path;
}

} // namespace
