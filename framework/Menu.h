#pragma once
// A menu handle with its lifetime: a loaded menu is destroyed with the object unless detached.
#include <windows.h>

#include <string>

class CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }

    bool LoadMenu(HINSTANCE instance, UINT id) {
        DestroyMenu();
        m_hMenu = ::LoadMenuA(instance, MAKEINTRESOURCEA(id));
        return m_hMenu != nullptr;
    }
    bool Attach(HMENU menu) {
        if (m_hMenu) return false;
        m_hMenu = menu;
        return true;
    }
    HMENU Detach() {
        HMENU menu = m_hMenu;
        m_hMenu = nullptr;
        return menu;
    }
    void DestroyMenu() {
        if (m_hMenu) ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
    }
    HMENU GetSubMenu(int position) const { return m_hMenu ? ::GetSubMenu(m_hMenu, position) : nullptr; }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
};

// Text of a menu item (by command or by position).
inline std::string GetMenuItemText(HMENU menu, UINT item, UINT flags) {
    char text[256] = {};
    int length = ::GetMenuStringA(menu, item, text, sizeof(text), flags);
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}
