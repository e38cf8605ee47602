#pragma once
// Subclass chains: several hooks on one window, each added and removed on its own, in any order, newest
// first. It does what comctl32's SetWindowSubclass family does, with the chain kept in this process:
// under Wine comctl32 keeps it in a window property, and reading that costs a server round trip on
// every message, some forty times the cost of the message itself.
#include <windows.h>

using WindowHookProc = LRESULT(CALLBACK*)(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);

// Adds a hook on top of the window's chain; a hook already there (same procedure and id) keeps its place
// and takes the new data. False when the window is not this process's. The chain keeps the window's
// character set: hooks of a Unicode window (IsWindowUnicode) receive its messages in Unicode.
bool AddWindowHook(HWND hWnd, WindowHookProc proc, UINT_PTR id, DWORD_PTR data);
// Removes one hook, wherever it sits. The window's own procedure comes back when the last hook goes,
// unless another module hooked the window above the chain; the chain then stays, passing messages on.
bool RemoveWindowHook(HWND hWnd, WindowHookProc proc, UINT_PTR id);
// Inside a hook: passes the message to the next older hook, or to the window's own procedure.
LRESULT CALLBACK CallNextWindowHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
