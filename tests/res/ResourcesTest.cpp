// The other resources as the code relies on them: menus whose commands reach their handlers, the
// keyboard table, the strings, skin bitmaps of the sizes and shapes the skin draws, the icon, the
// manifest and the version block.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ResourceTestSupport.h"
#include "res/resource.h"

namespace {

// Menus

struct MenuItem {
    UINT id;          // 0 for separators and popups
    const char* text; // nullptr: separator
    std::vector<MenuItem> popup;
};

struct MenuExpectation {
    const char* name;
    int id;
    std::vector<MenuItem> items;
};

std::ostream& operator<<(std::ostream& os, const MenuExpectation& menu) {
    return os << menu.name;
}

const MenuItem kSeparator = {0, nullptr, {}};

const MenuExpectation kMenus[] = {
    {"Main",
     IDR_MAINMENU,
     {{0,
       "&File",
       {{ID_LIST_ADDDIRECTORY, "&Add Folder...", {}},
        {ID_LIST_LOADDIRECTORY, "L&oad Folder...", {}},
        kSeparator,
        {ID_LIST_ADDPLAYLIST, "Add &Play List...", {}},
        {ID_LIST_LOADPLAYLIST, "&Load Play List...", {}},
        kSeparator,
        {ID_FILE_EXIT, "&Exit", {}}}},
      {0, "&Create", {{ID_CREATE_XML, "&Create XML", {}}, {ID_CREATE_PLAYLIST, "&Create Play List", {}}}},
      {0, "&View", {{ID_VIEW_PLAYLIST, "&Play List", {}}, {ID_VIEW_QUEUE, "&Queue", {}}}},
      {0,
       "P&layback",
       {{ID_PLAYBACK_PLAYPAUSE, "Play/&Pause\tSpace", {}},
        kSeparator,
        {ID_PLAYBACK_FORWARD, "Seek &Forward\tCtrl+Right", {}},
        {ID_PLAYBACK_BACK, "Seek &Back\tCtrl+Left", {}},
        kSeparator,
        {ID_PLAYBACK_VOLUMEUP, "Volume &Up\tCtrl+Up", {}},
        {ID_PLAYBACK_VOLUMEDOWN, "Volume &Down\tCtrl+Down", {}}}},
      {0,
       "&Options",
       {{ID_OPTIONS_RANDOM, "&Random", {}},
        kSeparator,
        {ID_OPTIONS_COMPACT, "&Compact View", {}},
        {ID_OPTIONS_TRAY, "&Minimize To Tray", {}},
        {ID_OPTIONS_ONTOP, "&Always On Top", {}},
        {ID_OPTIONS_FONT, "&Font", {}},
        kSeparator,
        {ID_OPTIONS_MEDIAKEYS, "M&edia Keys", {}},
        {ID_OPTIONS_RESUME, "Resume &Where I Left Off", {}}}}}},
    // The queue window deletes position 0 and relies on the other thirteen following it.
    {"ListClick",
     IDR_LISTMENU,
     {{0,
       "ListClick",
       {{ID_LIST_ADDTOQUEUE, "Add to &Queue", {}},
        {ID_LIST_REMOVE, "&Remove", {}},
        {ID_LIST_REMOVEALL, "&Remove All", {}},
        kSeparator,
        {ID_LIST_ADDDIRECTORY, "&Add Directory", {}},
        {ID_LIST_LOADDIRECTORY, "Load &Directory", {}},
        kSeparator,
        {ID_LIST_ADDPLAYLIST, "Add &Play List", {}},
        {ID_LIST_LOADPLAYLIST, "&Load Play List", {}},
        kSeparator,
        {ID_LIST_FIND, "&Find\tCtrl+F", {}},
        kSeparator,
        {ID_LIST_LYRICS, "L&yrics", {}},
        {ID_LIST_PROPERTIES, "&Properties", {}}}}}},
    // The tray shows popup 0 and sets the Pause check on 32800 by command.
    {"Tray",
     IDR_TRAYMENU,
     {{0,
       "TrayOptions",
       {{ID_TRAY_EXIT, "&Exit", {}},
        kSeparator,
        {ID_TRAY_PLAY, "&Play", {}},
        {ID_TRAY_PAUSE, "P&ause", {}},
        {ID_TRAY_STOP, "&Stop", {}},
        {ID_TRAY_NEXT, "&Next", {}},
        {ID_TRAY_PREVIOUS, "P&revious", {}},
        kSeparator,
        {0,
         "&Open",
         {{ID_ADD_DIRECTORY_TRAY, "&Add Directory", {}},
          {ID_LOAD_DIRECTORY_TRAY, "Load &Directory", {}},
          kSeparator,
          {ID_ADD_PLAYLIST_TRAY, "Add &Play List", {}},
          {ID_LOAD_PLAYLIST_TRAY, "&Load Play List", {}}}}}}}},
};

void ExpectMenu(HMENU menu, const std::vector<MenuItem>& items, const std::string& path) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size())) << path;
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& want = items[i];
        std::string where = path + "/" + std::to_string(i);
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) << where;
        if (!want.text) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << where;
            continue;
        }
        EXPECT_STREQ(text, want.text) << where;
        if (want.popup.empty()) {
            EXPECT_EQ(info.hSubMenu, nullptr) << where;
            EXPECT_EQ(info.wID, want.id) << where;
        } else {
            ASSERT_NE(info.hSubMenu, nullptr) << where;
            ExpectMenu(info.hSubMenu, want.popup, where + " " + want.text);
        }
    }
}

class MenuResourceTest : public ResourcesTest, public testing::WithParamInterface<MenuExpectation> {};

TEST_P(MenuResourceTest, HasEveryItemWithItsTextAndCommand) {
    MenuPtr menu(LoadMenuA(Module(), MAKEINTRESOURCEA(GetParam().id)));
    ASSERT_TRUE(menu);
    ExpectMenu(menu.get(), GetParam().items, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuResourceTest, testing::ValuesIn(kMenus),
                         [](const testing::TestParamInfo<MenuExpectation>& info) { return info.param.name; });

TEST_F(ResourcesTest, AcceleratorMapsCtrlFToFind) {
    AccelPtr table(LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_ACCELERATOR)));
    ASSERT_TRUE(table);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table.get(), entries, 4), 1);
    EXPECT_EQ(entries[0].key, 'F');
    EXPECT_EQ(entries[0].cmd, ID_LIST_FIND);
    EXPECT_EQ(entries[0].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL);
}

// Strings

TEST_F(ResourcesTest, SystemMenuAboutTextIsString101) {
    char text[128] = {};
    ASSERT_GT(LoadStringA(Module(), IDS_ABOUTBOX, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "&About Melodeck...");
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(param)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

// The program's name comes from its file name; a title string in the resources would override it.
TEST_F(ResourcesTest, String101IsTheOnlyString) {
    std::vector<ULONG_PTR> blocks;
    EnumResourceNamesA(Module(), MAKEINTRESOURCEA(6), CollectName, reinterpret_cast<LONG_PTR>(&blocks));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], ULONG_PTR(IDS_ABOUTBOX / 16 + 1));
    char text[128];
    for (UINT id = (IDS_ABOUTBOX / 16) * 16; id < (IDS_ABOUTBOX / 16) * 16 + 16; ++id) {
        if (id != IDS_ABOUTBOX) {
            EXPECT_EQ(LoadStringA(Module(), id, text, sizeof(text)), 0) << id;
        }
    }
}

// Skin bitmaps

// Which outer corners of an image are cut round (transparent), by the part it plays.
enum class Shape { LeftCap, RightCap, Square, Round, Up, Down, Left, Right };

struct BitmapExpectation {
    int id;
    int width;
    Shape shape;
};

std::ostream& operator<<(std::ostream& os, const BitmapExpectation& bitmap) {
    return os << bitmap.id;
}

// clang-format off
const BitmapExpectation kBitmaps[] = {
    {IDB_ARROW_NORMAL, 21, Shape::Round},       {IDB_ARROW_DISABLED, 21, Shape::Round},
    {IDB_ARROW_HOT, 21, Shape::Round},          {IDB_LEFT_HOT, 10, Shape::LeftCap},
    {IDB_MIDDLE_HOT, 3, Shape::Square},         {IDB_RIGHT_HOT, 10, Shape::RightCap},
    {IDB_RIGHT_NORMAL, 10, Shape::RightCap},    {IDB_MIDDLE_NORMAL, 3, Shape::Square},
    {IDB_LEFT_NORMAL, 10, Shape::LeftCap},      {IDB_RIGHT_DISABLED, 10, Shape::RightCap},
    {IDB_MIDDLE_DISABLED, 3, Shape::Square},    {IDB_LEFT_DISABLED, 10, Shape::LeftCap},
    {IDB_JOINR_HOT, 6, Shape::Square},          {IDB_JOINR_NORMAL, 6, Shape::Square},
    {IDB_JOINL_DISABLED, 6, Shape::Square},     {IDB_JOINR_DISABLED, 6, Shape::Square},
    {IDB_JOINL_HOT, 6, Shape::Square},          {IDB_JOINL_NORMAL, 6, Shape::Square},
    {IDB_SQ_UP_HOT, 21, Shape::Up},             {IDB_SQ_LEFT_NORMAL, 21, Shape::Left},
    {IDB_SQ_RIGHT_NORMAL, 21, Shape::Right},    {IDB_SQ_UP_NORMAL, 21, Shape::Up},
    {IDB_SQ_DOWN_DISABLED, 21, Shape::Down},    {IDB_SQ_LEFT_DISABLED, 21, Shape::Left},
    {IDB_SQ_RIGHT_DISABLED, 21, Shape::Right},  {IDB_SQ_UP_DISABLED, 21, Shape::Up},
    {IDB_SQ_DOWN_HOT, 21, Shape::Down},         {IDB_SQ_LEFT_HOT, 21, Shape::Left},
    {IDB_SQ_RIGHT_HOT, 21, Shape::Right},       {IDB_SQ_DOWN_NORMAL, 21, Shape::Down},
};
// clang-format on

constexpr int kBitmapHeight = 21;
constexpr COLORREF kTransparent = RGB(255, 0, 0); // the skin's transparent colour

// The pixels of a bitmap resource as top-down rows of COLORREF, read from its DIB section.
struct Pixels {
    int width = 0, height = 0, bitsPerPixel = 0;
    std::vector<COLORREF> data;
    COLORREF At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

Pixels LoadPixels(int id) {
    Pixels out;
    GdiPtr bitmap(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return out;
    DIBSECTION dib = {};
    if (GetObjectA(bitmap.get(), sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits) return out;
    out.width = dib.dsBm.bmWidth;
    out.height = dib.dsBm.bmHeight;
    out.bitsPerPixel = dib.dsBm.bmBitsPixel;
    if (out.bitsPerPixel != 24) return out;
    const auto* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
    bool bottomUp = dib.dsBmih.biHeight > 0;
    for (int y = 0; y < out.height; ++y) {
        const BYTE* row =
            bits + static_cast<size_t>(bottomUp ? out.height - 1 - y : y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < out.width; ++x)
            out.data.push_back(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
    }
    return out;
}

class SkinBitmapTest : public ResourcesTest, public testing::WithParamInterface<BitmapExpectation> {};

TEST_P(SkinBitmapTest, IsAnUncompressed24BitImageOfItsSize) {
    std::string bytes = ResourceBytes(GetParam().id, MAKEINTRESOURCEA(2)); // RT_BITMAP
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof(header));
    EXPECT_EQ(header.biWidth, GetParam().width);
    EXPECT_EQ(std::abs(header.biHeight), kBitmapHeight);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

    GdiPtr loaded(LoadBitmapA(Module(), MAKEINTRESOURCEA(GetParam().id)));
    ASSERT_TRUE(loaded);
    BITMAP info = {};
    ASSERT_NE(GetObjectA(loaded.get(), sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, GetParam().width);
    EXPECT_EQ(info.bmHeight, kBitmapHeight);
}

// Rounded ends are keyed out with red; a joined or middle part must have no red at all, or the
// transport bar would show holes where two buttons meet.
TEST_P(SkinBitmapTest, IsTransparentOnlyOutsideItsRoundedEnds) {
    Pixels px = LoadPixels(GetParam().id);
    ASSERT_EQ(px.bitsPerPixel, 24);
    ASSERT_EQ(px.height, kBitmapHeight);
    int r = px.width - 1, b = px.height - 1;
    bool topLeft = false, topRight = false, bottomLeft = false, bottomRight = false;
    switch (GetParam().shape) {
    case Shape::LeftCap: topLeft = bottomLeft = true; break;
    case Shape::RightCap: topRight = bottomRight = true; break;
    case Shape::Square: break;
    case Shape::Round: topLeft = topRight = bottomLeft = bottomRight = true; break;
    case Shape::Up: topLeft = topRight = true; break;
    case Shape::Down: bottomLeft = bottomRight = true; break;
    case Shape::Left: topLeft = bottomLeft = true; break;
    case Shape::Right: topRight = bottomRight = true; break;
    }
    EXPECT_EQ(px.At(0, 0) == kTransparent, topLeft);
    EXPECT_EQ(px.At(r, 0) == kTransparent, topRight);
    EXPECT_EQ(px.At(0, b) == kTransparent, bottomLeft);
    EXPECT_EQ(px.At(r, b) == kTransparent, bottomRight);
    // The middle row and column are solid through and through.
    for (int x = 0; x < px.width; ++x)
        EXPECT_NE(px.At(x, b / 2), kTransparent) << "x " << x;
    for (int y = 0; y < px.height; ++y)
        EXPECT_NE(px.At(r / 2, y), kTransparent) << "y " << y;
    if (GetParam().shape == Shape::Square) {
        for (COLORREF c : px.data)
            ASSERT_NE(c, kTransparent);
    }
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, SkinBitmapTest, testing::ValuesIn(kBitmaps),
                         [](const testing::TestParamInfo<BitmapExpectation>& info) {
                             return "Id" + std::to_string(info.param.id);
                         });

int Luminance(COLORREF c) {
    return 299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c);
}

bool IsSqueezedArrow(const BitmapExpectation& bitmap) {
    return bitmap.shape == Shape::Up || bitmap.shape == Shape::Down || bitmap.shape == Shape::Left ||
           bitmap.shape == Shape::Right;
}

std::vector<BitmapExpectation> SqueezedArrows() {
    std::vector<BitmapExpectation> arrows;
    for (const BitmapExpectation& bitmap : kBitmaps) {
        if (IsSqueezedArrow(bitmap)) arrows.push_back(bitmap);
    }
    return arrows;
}

class SqueezedArrowTest : public SkinBitmapTest {};

// The glyph is a triangle: its mass lies towards its base, away from where it points.
TEST_P(SqueezedArrowTest, GlyphPointsTowardsItsEnd) {
    Shape shape = GetParam().shape;
    Pixels px = LoadPixels(GetParam().id);
    ASSERT_EQ(px.bitsPerPixel, 24);
    int lightest = 0, darkest = 1000 * 255;
    for (int y = 4; y <= 16; ++y) {
        for (int x = 4; x <= 16; ++x) {
            lightest = std::max(lightest, Luminance(px.At(x, y)));
            darkest = std::min(darkest, Luminance(px.At(x, y)));
        }
    }
    ASSERT_GT(lightest - darkest, 10 * 1000) << "no visible glyph";
    double sumX = 0, sumY = 0, count = 0;
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 4; y <= 16; ++y) {
        for (int x = 4; x <= 16; ++x) {
            if (Luminance(px.At(x, y)) * 2 > lightest + darkest) continue;
            sumX += x, sumY += y, ++count;
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
            maxY = std::max(maxY, y);
        }
    }
    double dx = sumX / count - (minX + maxX) / 2.0, dy = sumY / count - (minY + maxY) / 2.0;
    switch (shape) {
    case Shape::Up: EXPECT_GT(dy, 0.2); break;
    case Shape::Down: EXPECT_LT(dy, -0.2); break;
    case Shape::Left: EXPECT_GT(dx, 0.2); break;
    default: EXPECT_LT(dx, -0.2); break;
    }
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, SqueezedArrowTest, testing::ValuesIn(SqueezedArrows()),
                         [](const testing::TestParamInfo<BitmapExpectation>& info) {
                             return "Id" + std::to_string(info.param.id);
                         });

// Each set the player registers (hot, normal/pressed, disabled) must show three different images,
// or hot tracking and disabling would be invisible.
TEST_F(ResourcesTest, EachSkinSetHasDistinctStates) {
    const int kSets[][3] = {
        {IDB_ARROW_HOT, IDB_ARROW_NORMAL, IDB_ARROW_DISABLED},
        {IDB_LEFT_HOT, IDB_LEFT_NORMAL, IDB_LEFT_DISABLED},
        {IDB_MIDDLE_HOT, IDB_MIDDLE_NORMAL, IDB_MIDDLE_DISABLED},
        {IDB_RIGHT_HOT, IDB_RIGHT_NORMAL, IDB_RIGHT_DISABLED},
        {IDB_JOINL_HOT, IDB_JOINL_NORMAL, IDB_JOINL_DISABLED},
        {IDB_JOINR_HOT, IDB_JOINR_NORMAL, IDB_JOINR_DISABLED},
        {IDB_SQ_UP_HOT, IDB_SQ_UP_NORMAL, IDB_SQ_UP_DISABLED},
        {IDB_SQ_DOWN_HOT, IDB_SQ_DOWN_NORMAL, IDB_SQ_DOWN_DISABLED},
        {IDB_SQ_LEFT_HOT, IDB_SQ_LEFT_NORMAL, IDB_SQ_LEFT_DISABLED},
        {IDB_SQ_RIGHT_HOT, IDB_SQ_RIGHT_NORMAL, IDB_SQ_RIGHT_DISABLED},
    };
    for (const auto& set : kSets) {
        Pixels hot = LoadPixels(set[0]), normal = LoadPixels(set[1]), disabled = LoadPixels(set[2]);
        ASSERT_FALSE(hot.data.empty() || normal.data.empty() || disabled.data.empty()) << set[0];
        EXPECT_NE(hot.data, normal.data) << set[0] << " / " << set[1];
        EXPECT_NE(normal.data, disabled.data) << set[1] << " / " << set[2];
        EXPECT_NE(hot.data, disabled.data) << set[0] << " / " << set[2];
    }
}

// Icon

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ResourcesTest, IconHasThreeSizesWithAlpha) {
    std::string group = ResourceBytes(IDR_MAINFRAME, MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, sizeof(count));
    ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof(entry), sizeof(entry));
        SCOPED_TRACE(testing::Message() << "icon " << int(entry.width));
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitCount, 32);
        sizes.insert(entry.width);

        std::string image = ResourceBytes(entry.id, MAKEINTRESOURCEA(3)); // RT_ICON
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof(header));
        ASSERT_EQ(header.biBitCount, 32);
        ASSERT_EQ(header.biWidth, entry.width);
        size_t n = entry.width;
        ASSERT_GE(image.size(), sizeof(header) + n * n * 4);
        auto alpha = [&](size_t x, size_t yFromBottom) {
            return static_cast<BYTE>(image[sizeof(header) + (yFromBottom * n + x) * 4 + 3]);
        };
        // Transparent outside the rounded tile, opaque in its middle.
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(n - 1, n - 1), 0);
        EXPECT_EQ(alpha(n / 2, n / 2), 255);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

TEST_F(ResourcesTest, IconLoadsAtEachSize) {
    for (int size : {16, 32, 48}) {
        IconPtr icon(static_cast<HICON>(
            LoadImageA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(icon) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        GdiPtr colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bm = {};
        ASSERT_NE(GetObjectA(info.hbmColor, sizeof(bm), &bm), 0);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
    }
}

// Manifest and version

TEST_F(ResourcesTest, ManifestAsksForCommonControls6AsInvoker) {
    std::string manifest = ResourceBytes(1, MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

TEST_F(ResourcesTest, VersionBlockNamesTheProduct) {
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    char* product = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(product, "Melodeck");
}

} // namespace
