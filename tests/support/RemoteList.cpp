#include "support/RemoteList.h"

#include "support/MelodeckProcess.h"

#include <commctrl.h>

bool SetRowSelected(HWND list, DWORD processId, int row, bool selected) {
    CRemoteMemory remote(processId, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    if (!remote.IsValid() || !remote.Write(&item, sizeof(item))) return false;
    return ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.Address()) != 0;
}

namespace {

constexpr int kBoxText = 0xFFFF;  // the static that holds a message box's text

HWND BoxText(HWND box, const std::string& caption) {
    char name[16] = {};
    char title[256] = {};
    ::GetClassNameA(box, name, sizeof(name));
    ::GetWindowTextA(box, title, sizeof(title));
    if (std::string(name) != "#32770" || caption != title || ::GetDlgItem(box, 1003)) return nullptr;
    return ::GetDlgItem(box, kBoxText);
}

}  // namespace

std::string CloseNextMessageBox(DWORD processId, const std::string& caption, DWORD timeoutMs) {
    std::string text;
    WaitFor(
        [&] {
            for (HWND box : TopLevelWindowsOf(processId, true)) {
                HWND textControl = BoxText(box, caption);
                if (!textControl) continue;
                char buffer[1024] = {};
                ::GetWindowTextA(textControl, buffer, sizeof(buffer));
                text = buffer;
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return true;
            }
            return false;
        },
        timeoutMs);
    if (!text.empty()) {
        // Gone before the next one is looked for.
        WaitFor([&] {
            for (HWND box : TopLevelWindowsOf(processId, true)) {
                char buffer[1024] = {};
                HWND textControl = BoxText(box, caption);
                if (textControl && ::GetWindowTextA(textControl, buffer, sizeof(buffer)) && text == buffer) return false;
            }
            return true;
        }, 5000);
    }
    return text;
}
