#include "lists/FindDlg.h"

#include "res/resource.h"

namespace {
// Upper and lower case meet in every script the user's locale knows, a whole character at a time.
std::string LocaleCaseFold(const std::string& text) {
    std::u16string wide = AnsiToWide(text);
    if (!wide.empty()) ::CharLowerBuffW(reinterpret_cast<LPWSTR>(&wide[0]), static_cast<DWORD>(wide.size()));
    return WideToAnsi(wide);
}
}  // namespace

CMelodeckSearch::CMelodeckSearch() : CDialog(IDD_FIND), m_search(ProgramCharRules(), &LocaleCaseFold) {}

UINT CMelodeckSearch::SelectRowMessage() {
    static const CRegisteredMessage message("{79B89405-B6A4-4a8b-BD52-EBBF5EF22159}");
    return message;
}

bool CMelodeckSearch::Open(CWnd* parent, std::vector<MediaEntry> items) {
    if (IsWindowVisible()) {
        SetItems(std::move(items));
        return true;
    }
    if (!IsWindow() && !Create(IDD_FIND, parent)) return false;
    ShowWindow(SW_SHOWNORMAL);
    SetItems(std::move(items));
    SetWindowText("Find in Play List");
    return true;
}

void CMelodeckSearch::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_FINDTEXT, m_strFindText);
    DDX_Radio(pDX, IDC_FINDBY, m_nFindBy);
}

bool CMelodeckSearch::OnCommand(UINT id, UINT code, HWND control) {
    // A new text or field choice searches from the top again; the controls are read only on OK.
    if ((id == IDC_FINDTEXT && code == EN_CHANGE) ||
        (id >= IDC_FIND_ARTIST && id <= IDC_FIND_FILENAME && code == BN_CLICKED)) {
        m_search.Restart();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CMelodeckSearch::OnOK() {
    if (!UpdateData(true)) return;
    int row = m_search.FindNext(m_strFindText, m_nFindBy);
    if (row < 0) {
        MessageBox("Item Not Found");
        return;
    }
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    ::SendMessageA(parent, SelectRowMessage(), 0, row);
}
