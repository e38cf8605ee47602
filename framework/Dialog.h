#pragma once
// Dialogs from .rc templates, modal or modeless, with data exchange between controls and members.
#include "framework/Wnd.h"

#include <string>

class CDialog;

// One pass of data exchange: into the controls, or (m_bSaveAndValidate) out of them into members.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    // The control with the id; a missing control fails the exchange.
    HWND PrepareCtrl(int id);
    [[noreturn]] void Fail();
};

// Binds a control wrapper to the dialog's control (once) so that it sees the control's messages.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
// Index of the checked radio button in the group that starts at id (-1 when none); controls of the
// group that are not radio buttons (a group box) are skipped.
void DDX_Radio(CDataExchange* pDX, int id, int& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Runs the dialog modally: the owner is disabled and our own loop runs until EndDialog.
    INT_PTR DoModal();
    // Creates the dialog modeless (a template id of 0 keeps the one given at construction).
    bool Create(UINT templateId = 0, CWnd* parent = nullptr);
    // Modal: ends the loop with the result. Modeless: hides the window, as the platform does.
    void EndDialog(INT_PTR result);
    bool IsModal() const { return m_bModal; }

    bool UpdateData(bool saveAndValidate = true);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX) {}

    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool PreTranslateMessage(MSG* msg) override;

    // Gives keyboard navigation to whichever of our windows a message is for; true when consumed.
    static bool PreTranslateForAnyWindow(MSG* msg);

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    bool m_bModal = false;
    bool m_bContinueModal = false;
    INT_PTR m_nModalResult = -1;

    void RunModalLoop();
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
