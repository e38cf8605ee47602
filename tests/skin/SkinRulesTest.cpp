#include "skin/SkinColorCache.h"
#include "skin/SkinGeometry.h"
#include "skin/SkinRules.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace skin;

namespace {
// Fake objects: the colour itself as the handle, deletions recorded.
struct Objects {
    std::vector<Color> deleted;
    CColorObjectCache<Color> cache{[this](Color c) { deleted.push_back(c); }};
    Color Get(Color c) { return cache.Get(c, [](Color color) { return color | 0x1000000; }); }
};
}  // namespace

TEST(SkinColors, UnsetSlotsFollowSystemColoursAndBlackIsNeverZero) {
    std::map<int, Color> system{{kSlotBtnFace, 0xC0C0C0}, {kSlotWindowText, 0}};
    int reads = 0;
    CColorSlots slots([&](int index) { ++reads; return system[index]; });
    EXPECT_EQ(slots.Get(kSlotParentBkgnd), 0xC0C0C0u);
    EXPECT_EQ(slots.Get(kSlotWindowText), kBlack);
    system[kSlotWindowText] = 0x123456;  // stored on first read
    EXPECT_EQ(slots.Get(kSlotWindowText), kBlack);
    EXPECT_EQ(reads, 2);
    slots.Set(0, kSlotBtnFace);
    EXPECT_EQ(slots.Get(kSlotBtnFace), kBlack);
    slots.Set(kNoColor, kSlotWindowText);
    EXPECT_EQ(slots.Get(kSlotWindowText), 0x123456u);
}

TEST(SkinColors, NewColourReportsTheOldOneSameColourKeepsIt) {
    CColorSlots slots([](int) { return Color{0x808080}; });
    EXPECT_EQ(slots.Set(0x0000FF, 5), kNoColor);
    EXPECT_EQ(slots.Set(0x0000FF, 5), kNoColor);
    EXPECT_EQ(slots.Set(0x00FF00, 5), 0x0000FFu);
    EXPECT_EQ(slots.Set(kNoColor, 5), 0x00FF00u);
}

TEST(SkinColors, ObjectsAreCachedByColourAndDroppedOnce) {
    Objects objects;
    Color red = objects.Get(0xFF);
    EXPECT_EQ(objects.Get(0xFF), red);
    objects.Get(0xFF00);
    EXPECT_EQ(objects.cache.GetCount(), 2u);
    objects.cache.Drop(0xFF);
    objects.cache.Drop(0xFF);
    EXPECT_EQ(objects.deleted, std::vector<Color>{red});
    // An object that no longer reads back as ours is replaced.
    objects.cache.Get(0xFF00, [](Color c) { return c + 7; }, [](Color) { return false; });
    EXPECT_EQ(objects.deleted.size(), 2u);
    objects.cache.Clear();
    EXPECT_EQ(objects.deleted.size(), 3u);
    EXPECT_EQ(objects.cache.Get(0x1, [](Color) { return Color{0}; }), 0u);  // failed creation: not cached
    EXPECT_EQ(objects.cache.GetCount(), 0u);
}

namespace {
struct FakeSet {
    bool empty;
    bool IsEmpty() const { return empty; }
};
}  // namespace

TEST(SkinBitmaps, StatesFallBackToImageZeroAndKeysToTheFallbackKey) {
    bool noNormal[4] = {true, false, false, true};
    EXPECT_EQ(PickSkinImage(noNormal, 1), 0);
    EXPECT_EQ(PickSkinImage(noNormal, 3), 3);
    bool noHot[4] = {false, true, true, true};
    EXPECT_EQ(PickSkinImage(noHot, 1), -1);

    CKeyedSets<FakeSet> sets;
    sets.Put(10, std::make_unique<FakeSet>(FakeSet{false}));
    sets.Put(19, std::make_unique<FakeSet>(FakeSet{true}));
    FakeSet* replacement = new FakeSet{false};
    sets.Put(16, std::make_unique<FakeSet>(FakeSet{false}));
    sets.Put(16, std::unique_ptr<FakeSet>(replacement));
    EXPECT_EQ(sets.Find(16, 10), replacement);
    EXPECT_EQ(sets.Find(19, 10), sets.Find(10, -1));  // an empty set counts as absent
    EXPECT_EQ(sets.Find(19, -1), nullptr);
    sets.Clear();
    EXPECT_EQ(sets.GetCount(), 0u);
}

TEST(SkinGeometry, FrameTypeWidthRadiusAndState) {
    EXPECT_EQ(EffectiveFrameType(0x59, 50, 20), kFrameSunken);
    EXPECT_EQ(EffectiveFrameType(0x1E, 50, 20), kFrameRaised);
    EXPECT_EQ(EffectiveFrameType(0x3F, 50, 20), kFrameFlat);
    EXPECT_EQ(EffectiveFrameType(0x3F, 50, 3), kFrameSunken);
    EXPECT_EQ(BorderWidth(0x49, false), 3);
    EXPECT_EQ(BorderWidth(0x49, true), 2);
    EXPECT_EQ(BorderWidth(0x40, false), 0);
    EXPECT_EQ(NcInset(3), 1);
    EXPECT_EQ(NcInset(2), 0);
    EXPECT_EQ(CornerRadius(100, 30), 4);
    EXPECT_EQ(CornerRadius(100, 5), 2);
    EXPECT_EQ(BkColorSlot(0x1E), kSlotBtnFace);
    EXPECT_EQ(BkColorSlot(0x3C), kSlotWindow);
    EXPECT_EQ(BkColorSlot(0x3B), kSlotParentBkgnd);
    EXPECT_EQ(FrameStateFor(true, true, false), kStateDisabled);
    EXPECT_EQ(FrameStateFor(false, true, false), kStateHot);
    EXPECT_EQ(FrameStateFor(false, true, true), kStateNormal);
}

TEST(SkinGeometry, EdgeShades) {
    EXPECT_EQ(Darken(0xFF8001, 0.75), 0xC06001u);  // 255 -> 191+1, 128 -> 96, 1 -> 0+1
    EXPECT_EQ(Lighten(0xF00010, 0.25), 0xFF3F4Fu);  // capped at 255
    EXPECT_EQ(Blend(0x000000, 0xFFFFFF, 0.5), 0x808080u);
}

TEST(SkinGeometry, ScrollBarsSitInsideTheBandAndShareShortBars) {
    ScrollBarLayout both = LayoutScrollBars({0, 0, 100, 80}, 3, true, true, false, 16, 16, 16);
    EXPECT_EQ(both.vert, (Rect{81, 3, 97, 61}));
    EXPECT_EQ(both.horz, (Rect{3, 61, 81, 77}));
    EXPECT_EQ(both.corner, (Rect{81, 61, 97, 77}));
    EXPECT_EQ(both.arrows[1], (Rect{81, 45, 97, 61}));
    ScrollBarLayout left = LayoutScrollBars({0, 0, 100, 26}, 3, true, false, true, 16, 16, 16);
    EXPECT_EQ(left.vert, (Rect{3, 3, 19, 23}));
    EXPECT_EQ(left.arrows[0], (Rect{3, 3, 19, 13}));

    EXPECT_FALSE(IsScrollBarUsable(false, true, 0, 10, 0, 200, 16, 16, true));
    EXPECT_TRUE(IsScrollBarUsable(true, true, 0, -1, 0, 200, 16, 16, true));
    EXPECT_FALSE(IsScrollBarUsable(true, false, 0, -1, 0, 200, 16, 16, true));
    EXPECT_TRUE(IsScrollBarUsable(true, false, 0, 99, 10, 200, 16, 16, true));
    EXPECT_FALSE(IsScrollBarUsable(true, false, 0, 99, 100, 200, 16, 16, true));  // thumb fills the track
    EXPECT_TRUE(IsScrollBarUsable(true, false, 0, 99, 100, 30, 16, 16, true));    // no track at all
}

TEST(SkinFactory, ClassNamesPickTheSkinAndItsFeatures) {
    using skin::SkinClassFor;
    using skin::SkinKind;
    EXPECT_EQ(SkinClassFor("combobox").kind, SkinKind::Combobox);
    EXPECT_EQ(SkinClassFor("combobox").features, 0x21Du);
    EXPECT_EQ(SkinClassFor("ComboBoxEx32").kind, SkinKind::Comboboxex);
    EXPECT_EQ(SkinClassFor("SYSLISTVIEW32").features, 0x29u);
    EXPECT_EQ(SkinClassFor("RichEdit20W").kind, SkinKind::Richedit);
    EXPECT_EQ(SkinClassFor("#32770").features, 0x3Cu);
    EXPECT_EQ(SkinClassFor("Link Window").kind, SkinKind::Static);
    // Classes the platform keeps: named ones, framework windows by part of their name, menus, unknowns.
    for (const char* name : {"msctls_hotkey32", "ReBarWindow32", "MDIClient", "Internet Explorer_Server",
                             "AfxControlBar42", "xMfcViewx", "#32768", "MelodeckBanner", ""})
        EXPECT_EQ(SkinClassFor(name).kind, SkinKind::None) << name;
}

TEST(SkinFactory, ButtonStylesAndStandardClasses) {
    using skin::ButtonKind;
    EXPECT_EQ(skin::ButtonSkinFor(0x10000 | 1).kind, ButtonKind::Push); // the style's low four bits decide
    EXPECT_EQ(skin::ButtonSkinFor(11).features, 0x806u);
    EXPECT_EQ(skin::ButtonSkinFor(6).kind, ButtonKind::Check);
    EXPECT_EQ(skin::ButtonSkinFor(0x1000 | 3).kind, ButtonKind::Push); // push-like check box
    EXPECT_EQ(skin::ButtonSkinFor(0x1000 | 7).kind, ButtonKind::Group);
    EXPECT_EQ(skin::ButtonSkinFor(9).kind, ButtonKind::Radio);
    EXPECT_EQ(skin::ButtonSkinFor(7).kind, ButtonKind::Group);
    for (unsigned kind : {10u, 12u, 13u, 14u, 15u}) EXPECT_EQ(skin::ButtonSkinFor(kind).kind, ButtonKind::None);
    EXPECT_TRUE(skin::IsStandardClass("tooltips_class32"));
    EXPECT_FALSE(skin::IsStandardClass("button")); // by content, exactly
    EXPECT_FALSE(skin::IsStandardClass("#32770"));
    EXPECT_EQ(skin::WindowsVersionClass(1, 4, 90), 2);
    EXPECT_EQ(skin::WindowsVersionClass(2, 5, 1), 5);
    EXPECT_EQ(skin::WindowsVersionClass(2, 10, 0), 6);
    EXPECT_EQ(skin::WindowsVersionClass(2, 3, 51), -1);
}
