#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/Debug.h"
#include "framework/Exception.h"

#include <cstdlib>

namespace {
// Thrown by CDataExchange::Fail and caught by UpdateData.
struct DataExchangeFailure {};
}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = m_pDlgWnd->GetDlgItem(id);
    if (!control) {
        DebugOutputF("Dialog data exchange: no control %d", id);
        Fail();
    }
    return control;
}

void CDataExchange::Fail() { throw DataExchangeFailure{}; }

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND hWnd = pDX->PrepareCtrl(id);
    if (!control.SubclassWindow(hWnd)) pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        int length = ::GetWindowTextLengthA(control);
        std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        int copied = ::GetWindowTextA(control, &text[0], static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        value = text;
    } else {
        ::SetWindowTextA(control, value.c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        char text[64] = {};
        ::GetWindowTextA(control, text, sizeof(text));
        char* end = nullptr;
        long number = std::strtol(text, &end, 10);
        if (end == text) pDX->Fail();
        value = static_cast<int>(number);
    } else {
        ::SetWindowTextA(control, std::to_string(value).c_str());
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (HWND item = control; item; item = ::GetWindow(item, GW_HWNDNEXT)) {
        if (item != control && (::GetWindowLongPtrA(item, GWL_STYLE) & WS_GROUP)) break;
        if (!(::SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(item, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const DataExchangeFailure&) {
        return false;
    }
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(UINT id, UINT code, HWND control) {
    if (code != BN_CLICKED && control) return false;
    switch (id) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    }
    return false;
}

bool CDialog::PreTranslateMessage(MSG* msg) { return ::IsDialogMessageA(m_hWnd, msg) != FALSE; }

bool CDialog::PreTranslateForAnyWindow(MSG* msg) {
    if (!msg->hwnd) return false;
    if (CWinApp* app = AfxGetApp(); app && app->PreTranslateMessage(msg)) return true;
    HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
    CWnd* pWnd = FromHandlePermanent(root);
    return pWnd && pWnd->PreTranslateMessage(msg);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* pDialog = reinterpret_cast<CDialog*>(lParam);
    try {
        return pDialog->OnInitDialog() ? TRUE : FALSE;
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    } catch (const std::exception& e) {
        DebugOutput(e.what());
    }
    return TRUE;
}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd) return false;
    if (templateId) m_nIDTemplate = templateId;
    if (parent) m_pParentWnd = parent;
    m_bModal = false;
    HookWindowCreate(this);
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                     m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    UnhookWindowCreate();
    if (!hWnd && m_hWnd) Detach();
    return hWnd != nullptr && m_hWnd == hWnd;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main != this && main->IsWindow()) owner = main->m_hWnd;
    }
    if (owner) owner = ::GetAncestor(owner, GA_ROOT);

    m_bModal = true;
    m_bContinueModal = true;
    m_nModalResult = -1;
    HookWindowCreate(this);
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    UnhookWindowCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        m_bModal = false;
        return -1;
    }

    bool ownerDisabled = owner && ::IsWindowEnabled(owner) && !::EnableWindow(owner, FALSE);
    if (m_bContinueModal) ShowWindow(SW_SHOWNORMAL);
    RunModalLoop();
    if (ownerDisabled) ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::EndDialog(INT_PTR result) {
    if (m_bModal) {
        m_nModalResult = result;
        m_bContinueModal = false;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ShowWindow(SW_HIDE);
    }
}

void CDialog::RunModalLoop() {
    MSG msg;
    while (m_bContinueModal && m_hWnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT for the outer loop
            break;
        }
        if (got == -1) break;
        if (!PreTranslateForAnyWindow(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}
