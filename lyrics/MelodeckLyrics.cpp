#include "lyrics/MelodeckLyrics.h"

#include "framework/CodePage.h"
#include "res/resource.h"
#include "settings/MelodeckSettings.h"

#include <mshtmhst.h>

namespace {
// Posted by LookUp: the stored address reaches the browser from the message loop, never from LookUp.
constexpr UINT kMsgNavigateDue = WM_APP + IDD_LYRICS;
} // namespace

CMelodeckLyrics::CMelodeckLyrics(const std::string& host)
    : CDHtmlDialog(IDD_LYRICS), m_strHost(host.empty() ? CMelodeckSettings().ReadLyricsHost() : host) {
    SetHostFlags(DOCHOSTUIFLAG_FLAT_SCROLLBAR);
    AddClickHandler("ButtonOK", [this] { return OnButtonOK(); });
    AddClickHandler("ButtonCancel", [this] { return OnButtonCancel(); });
}

bool CMelodeckLyrics::Open(CWnd* parent, const MediaEntry& entry) {
    if (!m_hWnd && !Create(IDD_LYRICS, parent)) return false;
    ShowWindow(SW_SHOWNORMAL);
    LookUp(entry);
    return true;
}

void CMelodeckLyrics::LookUp(MediaEntry entry) {
    m_strUrl = LyricsAddress(m_strHost, entry.m_strArtist, entry.m_strSong);
    m_navigation.Store(m_strUrl);
    if (!m_hWnd) return;
    SetWindowText(m_strUrl);
    PostMessage(kMsgNavigateDue);
}

bool CMelodeckLyrics::OnInitDialog() {
    const bool result = CDHtmlDialog::OnInitDialog();
    // A window made again after its first one was destroyed shows the address it had.
    if (!m_strUrl.empty()) {
        SetWindowText(m_strUrl);
        m_navigation.Store(m_strUrl);
        m_navigation.NavigateIfDue();
    }
    return result;
}

LRESULT CMelodeckLyrics::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgNavigateDue: return OnNavigateDue();
    }
    return CDHtmlDialog::WindowProc(message, wParam, lParam);
}

LRESULT CMelodeckLyrics::OnNavigateDue() {
    m_navigation.NavigateIfDue();
    return 0;
}

void CMelodeckLyrics::OnDocumentComplete(const std::string& url) {
    CDHtmlDialog::OnDocumentComplete(url);
    m_navigation.NavigateIfDue();
    // The site's "not found" page has a place for the address that was asked for.
    SetElementHtml("errorText", AnsiToWide("<TABLE><TR><TD width=20></TD><TD></TD><TD></TD><TD></TD></TR>"
                                           "</TABLE>" +
                                           m_strUrl));
}

HRESULT CMelodeckLyrics::OnButtonOK() {
    OnOK();
    return S_OK;
}

HRESULT CMelodeckLyrics::OnButtonCancel() {
    OnCancel();
    return S_OK;
}
