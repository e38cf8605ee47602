#include "app/MediaKeys.h"

namespace {

#ifndef MOD_NOREPEAT
#define MOD_NOREPEAT 0x4000
#endif

// Hot-key ids are ours to choose below 0xC000; the action's number keeps the mapping trivial.
constexpr int kHotKeyBase = 0x4D00;

struct Key {
    CMediaKeys::Action action;
    UINT virtualKey;
};
constexpr Key kKeys[] = {
    {CMediaKeys::Action::playPause, VK_MEDIA_PLAY_PAUSE},
    {CMediaKeys::Action::next, VK_MEDIA_NEXT_TRACK},
    {CMediaKeys::Action::previous, VK_MEDIA_PREV_TRACK},
    {CMediaKeys::Action::stop, VK_MEDIA_STOP},
};

unsigned Bit(CMediaKeys::Action action) { return 1u << static_cast<unsigned>(action); }

}  // namespace

void CMediaKeys::Register(HWND target) {
    Unregister();
    m_hTarget = target;
    for (const Key& key : kKeys) {
        const int id = kHotKeyBase + static_cast<int>(key.action);
        if (::RegisterHotKey(target, id, MOD_NOREPEAT, key.virtualKey)) m_nGlobal |= Bit(key.action);
    }
}

void CMediaKeys::Unregister() {
    if (!m_hTarget) return;
    for (const Key& key : kKeys)
        if (m_nGlobal & Bit(key.action)) ::UnregisterHotKey(m_hTarget, kHotKeyBase + static_cast<int>(key.action));
    m_hTarget = nullptr;
    m_nGlobal = 0;
}

bool CMediaKeys::IsGlobal(Action action) const { return (m_nGlobal & Bit(action)) != 0; }

CMediaKeys::Action CMediaKeys::FromHotKey(WPARAM id) {
    for (const Key& key : kKeys)
        if (id == static_cast<WPARAM>(kHotKeyBase + static_cast<int>(key.action))) return key.action;
    return Action::none;
}

CMediaKeys::Action CMediaKeys::FromAppCommand(LPARAM lParam) {
    switch (GET_APPCOMMAND_LPARAM(lParam)) {
    case APPCOMMAND_MEDIA_PLAY_PAUSE:
    case APPCOMMAND_MEDIA_PLAY:
    case APPCOMMAND_MEDIA_PAUSE: return Action::playPause;
    case APPCOMMAND_MEDIA_NEXTTRACK: return Action::next;
    case APPCOMMAND_MEDIA_PREVIOUSTRACK: return Action::previous;
    case APPCOMMAND_MEDIA_STOP: return Action::stop;
    default: return Action::none;
    }
}

CMediaKeys::Action CMediaKeys::FromVirtualKey(WPARAM key) {
    for (const Key& entry : kKeys)
        if (key == entry.virtualKey) return entry.action;
    return Action::none;
}

// A key another program holds reaches only the window with the focus, as an ordinary key press; our
// list windows are top-level, so its WM_APPCOMMAND would never bubble up to the player.
CMediaKeys::Action CMediaKeys::FromFocusKey(const MSG& msg) const {
    if (!m_hTarget || msg.message != WM_KEYDOWN) return Action::none;
    Action action = FromVirtualKey(msg.wParam);
    return action == Action::none || IsGlobal(action) ? Action::none : action;
}
