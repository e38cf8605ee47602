#pragma once
// The keyboard's media keys (Play/Pause, Next, Previous, Stop). Each is registered as a global hot key,
// so that it works while the player sits in the tray or another program has the focus; a key that
// another program holds still works while a Melodeck window has the focus. The volume keys stay the
// system's.
#include <windows.h>

class CMediaKeys {
public:
    enum class Action { none, playPause, next, previous, stop };

    CMediaKeys() = default;
    ~CMediaKeys() { Unregister(); }
    CMediaKeys(const CMediaKeys&) = delete;
    CMediaKeys& operator=(const CMediaKeys&) = delete;

    // Registers every key it can for target's WM_HOTKEY; the others are left to HandlesKey.
    void Register(HWND target);
    void Unregister();
    bool IsOn() const { return m_hTarget != nullptr; }
    // True when the key was granted as a global hot key.
    bool IsGlobal(Action action) const;

    static Action FromHotKey(WPARAM id);
    static Action FromAppCommand(LPARAM lParam);
    static Action FromVirtualKey(WPARAM key);
    // A key press in one of our windows that no hot key will deliver: the caller acts on it.
    Action FromFocusKey(const MSG& msg) const;

private:
    HWND m_hTarget = nullptr;
    unsigned m_nGlobal = 0;  // one bit per action granted as a hot key
};
