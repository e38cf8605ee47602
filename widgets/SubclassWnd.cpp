#include "widgets/SubclassWnd.h"

#include "framework/Debug.h"
#include "framework/Exception.h"
#include "framework/Wnd.h"

CSubclassWndMap& CSubclassWndMap::Instance() {
    // Never freed: hook objects with static lifetime may still unhook after other statics are gone.
    static auto* map = new CSubclassWndMap();
    return *map;
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND hWnd) const {
    auto it = m_map.find(hWnd);
    return it == m_map.end() ? nullptr : it->second;
}

void CSubclassWndMap::SetAt(HWND hWnd, CSubclassWnd* pHook) {
    if (pHook)
        m_map[hWnd] = pHook;
    else
        m_map.erase(hWnd);
}

CSubclassWnd::~CSubclassWnd() { Unhook(); }

bool CSubclassWnd::Hook(HWND hWnd) {
    if (!hWnd) {
        Unhook();
        return true;
    }
    if (m_hWnd || !::IsWindow(hWnd)) return false;
    // Each hook is its own entry in the window's subclass chain, so that a window object or another module
    // hooking between two of ours keeps its place in the newest-first order.
    if (!AddWindowHook(hWnd, &CSubclassWnd::SubclassProc, reinterpret_cast<UINT_PTR>(this),
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    CSubclassWndMap& map = CSubclassWndMap::Instance();
    m_hWnd = hWnd;
    m_pNext = map.Lookup(hWnd);
    map.SetAt(hWnd, this);
    m_pfnOldProc = &CallNextWindowHook;
    return true;
}

void CSubclassWnd::Unhook() {
    if (m_hWnd) {
        // The chain puts the window's own procedure back when its last hook goes.
        RemoveWindowHook(m_hWnd, &CSubclassWnd::SubclassProc, reinterpret_cast<UINT_PTR>(this));
        CSubclassWndMap& map = CSubclassWndMap::Instance();
        CSubclassWnd* newest = map.Lookup(m_hWnd);
        if (newest == this) {
            map.SetAt(m_hWnd, m_pNext);
        } else {
            for (CSubclassWnd* hook = newest; hook; hook = hook->m_pNext) {
                if (hook->m_pNext == this) {
                    hook->m_pNext = m_pNext;
                    break;
                }
            }
        }
    }
    m_pfnOldProc = nullptr;
    m_hWnd = nullptr;
    m_pNext = nullptr;
}

LRESULT CSubclassWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!::IsWindow(m_hWnd) || !m_pfnOldProc) return 0;
    return m_pfnOldProc(hWnd, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default() {
    const MSG& msg = *AfxGetCurrentMessage();
    return CSubclassWnd::WindowProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR refData) {
    CMessageScope scope(hWnd, message, wParam, lParam);
    CSubclassWndMap& map = CSubclassWndMap::Instance();
    LRESULT result = 0;
    try {
        if (message == WM_NCDESTROY) {
            // Every hook of ours lets go before the older procedures see the window's last message.
            while (CSubclassWnd* hook = map.Lookup(hWnd)) {
                hook->OnBeforeUnhook();
                hook->Unhook();
                hook->OnAfterUnhook();  // may delete the hook
            }
            result = CallNextWindowHook(hWnd, message, wParam, lParam);
        } else if (map.Lookup(hWnd)) {
            result = reinterpret_cast<CSubclassWnd*>(refData)->WindowProc(hWnd, message, wParam, lParam);
        } else {
            result = CallNextWindowHook(hWnd, message, wParam, lParam);
        }
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    } catch (const std::exception& e) {
        DebugOutput(e.what());
    }
    return result;
}
