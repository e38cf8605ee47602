#include "skin/SkinRules.h"

#include <cctype>
#include <cstring>
#include <set>
#include <string>

namespace skin {
namespace {

bool EqualNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

bool ContainsNoCase(const char* text, const char* part) {
    std::string haystack(text), needle(part);
    for (char& c : haystack) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : needle) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return haystack.find(needle) != std::string::npos;
}

struct Row {
    const char* name;
    SkinKind kind;
    uint32_t features;
};

// In order; the first match wins.
const Row kTable[] = {
    {"Button", SkinKind::Button, 0},
    {"Static", SkinKind::Static, 0x48},
    {"Edit", SkinKind::Edit, 0x59},
    {"ComboBox", SkinKind::Combobox, 0x21D},
    {"ComboLBox", SkinKind::Combolbox, 0x49},
    {"ListBox", SkinKind::Listbox, 0x49},
    {"ScrollBar", SkinKind::Scrollbar, 0x00},
    {"toolbarwindow32", SkinKind::Toolbar, 0x10},
    {"msctls_updown32", SkinKind::Updown, 0x1E},
    {"msctls_progress32", SkinKind::Progress, 0x1D},
    {"msctls_trackbar32", SkinKind::Trackbar, 0x64},
    {"SysListView32", SkinKind::Listview, 0x29},
    {"SysTreeView32", SkinKind::Treeview, 0x39},
    {"SysTabControl32", SkinKind::Tabcontrol, 0x1E},
    {"SysAnimate32", SkinKind::Animate, 0x19},
    {"Richedit", SkinKind::Richedit, 0x59},
    {"RichEdit20W", SkinKind::Richedit, 0x59},
    {"SysDateTimePick32", SkinKind::Datetimepick, 0x31D},
    {"SysMonthCal32", SkinKind::Monthcal, 0x19},
    {"SysIPAddress32", SkinKind::IPaddress, 0x1D},
    {"SysPager", SkinKind::Pager, 0x19},
    {"ComboBoxEx32", SkinKind::Comboboxex, 0x21D},
    {"SysHeader32", SkinKind::Header, 0x1E},
    {"#32770", SkinKind::Dialog, 0x3C},
    {"tooltips_class32", SkinKind::Tooltip, 0x00},
    {"ThumbnailVwExtWnd32", SkinKind::Other, 0x10},
    {"Link Window", SkinKind::Static, 0x48},
};

const char* const kStandard[] = {
    "Button", "Static", "Edit", "ComboBox", "ComboLBox", "ListBox", "ScrollBar", "toolbarwindow32",
    "msctls_updown32", "msctls_progress32", "msctls_trackbar32", "msctls_hotkey32", "SHELLDLL_DefView",
    "msctls_statusbar32", "SysAnimate32", "Richedit", "RichEdit20W", "SysDateTimePick32", "SysMonthCal32",
    "ReBarWindow32", "tooltips_class32", "ThumbnailVwExtWnd32", "Internet Explorer_Server",
    "Shell DocObject View", "Shell Embedding"};

} // namespace

SkinClass SkinClassFor(const char* className) {
    if (!className) return {};
    // Framework windows and menus are never skinned, whatever the rest of the name says.
    if (ContainsNoCase(className, "AfxControlBar") || ContainsNoCase(className, "MfcView") ||
        ContainsNoCase(className, "MfcSplitter") || EqualNoCase(className, "#32768"))
        return {};
    for (const Row& row : kTable)
        if (EqualNoCase(className, row.name)) return {row.kind, row.features};
    return {};
}

ButtonSkin ButtonSkinFor(uint32_t style) {
    // BS_PUSHLIKE: a check box or radio button drawn as a push button that stays in while checked.
    const uint32_t kind = style & 0xF;
    if ((style & 0x1000) && (kind == 2 || kind == 3 || kind == 4 || kind == 5 || kind == 6 || kind == 9))
        return {ButtonKind::Push, 0x06};
    switch (kind) {
    case 0: // push, default push
    case 1:
        return {ButtonKind::Push, 0x06};
    case 8: // user button, owner drawn: the owner draws first
    case 11:
        return {ButtonKind::Push, 0x806};
    case 2:
    case 3:
    case 5:
    case 6:
        return {ButtonKind::Check, 0x44};
    case 4:
    case 9:
        return {ButtonKind::Radio, 0x44};
    case 7:
        return {ButtonKind::Group, 0x44};
    default:
        return {};
    }
}

bool IsStandardClass(const char* className) {
    static const std::set<std::string> names(std::begin(kStandard), std::end(kStandard));
    return className && names.count(className) != 0;
}

int WindowsVersionClass(unsigned platformId, unsigned major, unsigned minor) {
    if (platformId == 1) { // the 9x family
        if (minor == 0) return 0;
        if (minor == 10) return 1;
        if (minor == 90) return 2;
        return -1;
    }
    if (platformId == 2) { // NT
        if (major == 4) return 3;
        if (major == 5) return minor == 0 ? 4 : 5;
        if (major > 5) return 6;
    }
    return -1;
}

} // namespace skin
