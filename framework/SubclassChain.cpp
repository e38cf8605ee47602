#include "framework/SubclassChain.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

struct Hook {
    WindowHookProc proc;
    UINT_PTR id;
    DWORD_PTR data;
    bool removed = false;
};
using HookPtr = std::shared_ptr<Hook>;

struct Chain {
    WNDPROC original = nullptr;  // the procedure the chain replaced
    bool unicode = false;        // the window's character set, which the chain keeps
    std::vector<HookPtr> hooks;  // oldest first
};

std::mutex g_lock;
std::unordered_map<HWND, Chain>& Chains() {
    static auto* chains = new std::unordered_map<HWND, Chain>();  // outlives static window objects
    return *chains;
}

// One message on its way down a chain: the hooks as they stood when it arrived, and how far it got.
// A hook removed meanwhile is skipped; one added meanwhile sees the next message.
struct Dispatch {
    HWND hWnd;
    WNDPROC original;
    bool unicode;
    std::vector<HookPtr> hooks;
    size_t next;  // hooks[next - 1] is the next to call; 0: the original procedure
};
thread_local std::vector<Dispatch*> t_dispatches;

// Messages reach a hook in the window's character set, and the window's own procedure in the same.
LRESULT CallOriginal(WNDPROC original, bool unicode, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (unicode)
        return original ? ::CallWindowProcW(original, hWnd, message, wParam, lParam)
                        : ::DefWindowProcW(hWnd, message, wParam, lParam);
    return original ? ::CallWindowProcA(original, hWnd, message, wParam, lParam)
                    : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT PassOn(Dispatch& dispatch, UINT message, WPARAM wParam, LPARAM lParam) {
    while (dispatch.next > 0) {
        const Hook& hook = *dispatch.hooks[--dispatch.next];
        if (!hook.removed) return hook.proc(dispatch.hWnd, message, wParam, lParam, hook.id, hook.data);
    }
    return CallOriginal(dispatch.original, dispatch.unicode, dispatch.hWnd, message, wParam, lParam);
}

LRESULT CALLBACK ChainProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ChainProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The chain is the window's procedure: reads it in the window's own character set.
bool ChainIsProcedure(HWND hWnd, bool unicode) {
    return unicode ? reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &ChainProcW
                   : reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &ChainProcA;
}

void RestoreOriginal(HWND hWnd, const Chain& chain) {
    if (chain.unicode)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.original));
    else
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.original));
}

LRESULT ChainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode) {
    Dispatch dispatch{hWnd, nullptr, unicode, {}, 0};
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = Chains().find(hWnd);
        if (it != Chains().end()) {
            dispatch.original = it->second.original;
            dispatch.hooks = it->second.hooks;
        }
    }
    dispatch.next = dispatch.hooks.size();
    t_dispatches.push_back(&dispatch);
    LRESULT result = PassOn(dispatch, message, wParam, lParam);
    t_dispatches.pop_back();

    if (message == WM_NCDESTROY) {
        // The window is gone: so is its chain, whatever hooks forgot to go.
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = Chains().find(hWnd);
        if (it != Chains().end()) {
            for (HookPtr& hook : it->second.hooks) hook->removed = true;
            if (ChainIsProcedure(hWnd, it->second.unicode)) RestoreOriginal(hWnd, it->second);
            Chains().erase(it);
        }
    }
    return result;
}

LRESULT CALLBACK ChainProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ChainProc(hWnd, message, wParam, lParam, false);
}

LRESULT CALLBACK ChainProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ChainProc(hWnd, message, wParam, lParam, true);
}

}  // namespace

bool AddWindowHook(HWND hWnd, WindowHookProc proc, UINT_PTR id, DWORD_PTR data) {
    if (!proc || !::IsWindow(hWnd)) return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    if (processId != ::GetCurrentProcessId()) return false;

    std::lock_guard<std::mutex> lock(g_lock);
    auto it = Chains().find(hWnd);
    if (it == Chains().end()) {
        // An ANSI procedure on a Unicode window would make it an ANSI one, changing the texts its own
        // procedure and later hooks receive: the chain takes the window's character set.
        Chain chain;
        chain.unicode = ::IsWindowUnicode(hWnd) != FALSE;
        chain.original = reinterpret_cast<WNDPROC>(
            chain.unicode ? ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProcW))
                          : ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProcA)));
        if (!chain.original) return false;
        it = Chains().emplace(hWnd, std::move(chain)).first;
    }
    for (HookPtr& hook : it->second.hooks) {
        if (hook->proc == proc && hook->id == id) {
            hook->data = data;
            return true;
        }
    }
    it->second.hooks.push_back(std::make_shared<Hook>(Hook{proc, id, data}));
    return true;
}

bool RemoveWindowHook(HWND hWnd, WindowHookProc proc, UINT_PTR id) {
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = Chains().find(hWnd);
    if (it == Chains().end()) return false;
    std::vector<HookPtr>& hooks = it->second.hooks;
    for (auto hook = hooks.begin(); hook != hooks.end(); ++hook) {
        if ((*hook)->proc != proc || (*hook)->id != id) continue;
        (*hook)->removed = true;
        hooks.erase(hook);
        // Only a chain that is still the window's procedure can hand the window its own one back.
        if (hooks.empty() && ::IsWindow(hWnd) && ChainIsProcedure(hWnd, it->second.unicode)) {
            RestoreOriginal(hWnd, it->second);
            Chains().erase(it);
        }
        return true;
    }
    return false;
}

LRESULT CALLBACK CallNextWindowHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    for (auto it = t_dispatches.rbegin(); it != t_dispatches.rend(); ++it)
        if ((*it)->hWnd == hWnd) return PassOn(**it, message, wParam, lParam);
    // Not inside a hook of this window: straight to its own procedure.
    WNDPROC original = nullptr;
    bool unicode = ::IsWindowUnicode(hWnd) != FALSE;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = Chains().find(hWnd);
        if (it != Chains().end()) {
            original = it->second.original;
            unicode = it->second.unicode;
        }
    }
    return CallOriginal(original, unicode, hWnd, message, wParam, lParam);
}
