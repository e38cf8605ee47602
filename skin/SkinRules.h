#pragma once
// Which skin a window gets, decided from its class name and style alone: the factory's table, the
// button kinds, the standard classes, and the Windows version class. No GDI here.
#include <cstdint>

namespace skin {

enum class SkinKind {
    None,
    Button, // by button style, see ButtonSkinFor
    Static,
    Edit,
    Combobox,
    Combolbox,
    Listbox,
    Scrollbar,
    Toolbar,
    Updown,
    Progress,
    Trackbar,
    Listview,
    Treeview,
    Tabcontrol,
    Animate,
    Richedit,
    Datetimepick,
    Monthcal,
    IPaddress,
    Pager,
    Comboboxex,
    Header,
    Dialog,
    Tooltip,
    Other,
};

struct SkinClass {
    SkinKind kind = SkinKind::None;
    uint32_t features = 0;
};

// The factory's table: names compare ignoring case; a few framework names match as substrings.
SkinClass SkinClassFor(const char* className);

enum class ButtonKind { None, Push, Check, Radio, Group };
struct ButtonSkin {
    ButtonKind kind = ButtonKind::None;
    uint32_t features = 0;
};
ButtonSkin ButtonSkinFor(uint32_t style);

// The classes the platform draws that are worth skinning even as top-level windows.
bool IsStandardClass(const char* className);

// 0 = 95, 1 = 98, 2 = Me, 3 = NT 4, 4 = 2000, 5 = XP, 6 = later NT, -1 unknown (or NT 3.x).
int WindowsVersionClass(unsigned platformId, unsigned major, unsigned minor);

} // namespace skin
