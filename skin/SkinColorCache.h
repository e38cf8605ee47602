#pragma once
// The caching rules of the skin's shared colours and drawing objects, apart from GDI: colour slots that
// fall back to system colours, objects cached by colour, and bitmap sets found by key with a fallback.
// The Win32 store (CSkinGlobals) supplies the system colours and creates and deletes the handles.
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

namespace skin {

using Color = std::uint32_t;  // 0x00BBGGRR
constexpr Color kNoColor = 0xFFFFFFFF;
// Black is stored as the nearest non-zero colour, so that 0 never stands for "unset" by mistake.
constexpr Color kBlack = 0x000001;

constexpr int kSlotWindow = 5;
constexpr int kSlotWindowText = 8;
constexpr int kSlotBtnFace = 15;
constexpr int kSlotBtnShadow = 16;
constexpr int kSlotGrayText = 17;
constexpr int kSlotBtnText = 18;
constexpr int kSlotBtnHighlight = 20;
constexpr int kSlot3DDkShadow = 21;
constexpr int kSlotParentBkgnd = 255;

inline Color NonBlack(Color color) { return color == 0 ? kBlack : color; }

// One owned object per colour. Handle is copyable and null-comparable; the deleter frees one.
template <class Handle>
class CColorObjectCache {
public:
    using Deleter = std::function<void(Handle)>;
    explicit CColorObjectCache(Deleter deleter) : m_deleter(std::move(deleter)) { m_objects.reserve(17); }
    ~CColorObjectCache() { Clear(); }
    CColorObjectCache(const CColorObjectCache&) = delete;
    CColorObjectCache& operator=(const CColorObjectCache&) = delete;

    // The cached object, or a new one from create (which may fail and give null: nothing is cached then).
    // A cached object that isUsable rejects is deleted and replaced.
    template <class Create, class Usable>
    Handle Get(Color color, Create create, Usable isUsable) {
        auto it = m_objects.find(color);
        if (it != m_objects.end()) {
            if (isUsable(it->second)) return it->second;
            m_deleter(it->second);
            m_objects.erase(it);
        }
        Handle object = create(color);
        if (object) m_objects.emplace(color, object);
        return object;
    }
    template <class Create>
    Handle Get(Color color, Create create) {
        return Get(color, create, [](Handle) { return true; });
    }
    void Drop(Color color) {
        auto it = m_objects.find(color);
        if (it == m_objects.end()) return;
        m_deleter(it->second);
        m_objects.erase(it);
    }
    void Clear() {
        for (auto& entry : m_objects) m_deleter(entry.second);
        m_objects.clear();
    }
    size_t GetCount() const { return m_objects.size(); }

private:
    Deleter m_deleter;
    std::unordered_map<Color, Handle> m_objects;
};

// Colour slots: system-colour indices plus the parent's background (255, read as button face).
class CColorSlots {
public:
    // systemColor reads the platform's colour of an index.
    explicit CColorSlots(std::function<Color(int)> systemColor) : m_systemColor(std::move(systemColor)) {
        m_colors.reserve(17);
    }
    // The stored colour, else the system colour, stored from then on.
    Color Get(int slot) {
        auto it = m_colors.find(slot);
        if (it != m_colors.end()) return it->second;
        Color color = NonBlack(m_systemColor(slot == kSlotParentBkgnd ? kSlotBtnFace : slot));
        m_colors.emplace(slot, color);
        return color;
    }
    // Stores a colour (kNoColor: back to the system colour). Returns the colour it replaces when that
    // differs, so that its objects can be dropped; kNoColor otherwise.
    Color Set(Color color, int slot) {
        auto it = m_colors.find(slot);
        Color old = it == m_colors.end() ? kNoColor : it->second;
        if (color == kNoColor) {
            if (it != m_colors.end()) m_colors.erase(it);
        } else {
            m_colors[slot] = NonBlack(color);
        }
        Color now = color == kNoColor ? kNoColor : NonBlack(color);
        return old != now ? old : kNoColor;
    }
    void Clear() { m_colors.clear(); }

private:
    std::function<Color(int)> m_systemColor;
    std::unordered_map<int, Color> m_colors;
};

// Images of a bitmap set by state: 0 hot, 1 normal, 2 pressed, 3 disabled. Image 0 stands in for any
// empty state; a set without image 0 counts as absent. Returns the index to draw, or -1.
inline int PickSkinImage(const bool present[4], int state) {
    if (!present[0]) return -1;
    return state >= 0 && state < 4 && present[state] ? state : 0;
}

// Sets by key (0 to 27). Set has IsEmpty() (no image 0).
template <class Set>
class CKeyedSets {
public:
    static constexpr int kMaxKey = 27;
    void Put(int key, std::unique_ptr<Set> set) { m_sets[key] = std::move(set); }
    void Remove(int key) { m_sets.erase(key); }
    // The set of the key, else of the fallback key (-1: none); null when neither has a usable one.
    Set* Find(int key, int fallback) const {
        Set* set = Lookup(key);
        if (!set && fallback != -1) set = Lookup(fallback);
        return set;
    }
    void Clear() {
        for (int key = 0; key <= kMaxKey; ++key) m_sets.erase(key);
    }
    size_t GetCount() const { return m_sets.size(); }

private:
    Set* Lookup(int key) const {
        auto it = m_sets.find(key);
        return it == m_sets.end() || !it->second || it->second->IsEmpty() ? nullptr : it->second.get();
    }
    std::unordered_map<int, std::unique_ptr<Set>> m_sets;
};

}  // namespace skin
