#pragma once
// CMelodeckLyrics: the lyrics window. Shows the printer-friendly lyrics page of one song, its address as
// the caption; without an HTML engine, the address with a button that opens it in the system's browser.
#include "framework/HtmlDialog.h"
#include "library/MediaEntry.h"
#include "lyrics/LyricsAddress.h"

#include <string>

class CMelodeckLyrics : public CDHtmlDialog, private ILyricsBrowser {
public:
    // host: the lyrics site; by default the one the settings name.
    explicit CMelodeckLyrics(const std::string& host = std::string());

    // What the owners do: create the window owned by parent unless it is open, show it in its normal
    // state, look the entry up. False when the window cannot be created.
    bool Open(CWnd* parent, const MediaEntry& entry);
    // Stores the entry's address and shows it as the caption; the browser gets it once, soon after.
    void LookUp(MediaEntry entry);

    bool OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::string m_strUrl;

protected:
    void OnDocumentComplete(const std::string& url) override;

private:
    std::string m_strHost;
    CLyricsNavigation m_navigation{*this};

    void Navigate(const std::string& url) override { CDHtmlDialog::Navigate(url); }
    LRESULT OnNavigateDue();
    HRESULT OnButtonOK();
    HRESULT OnButtonCancel();
};
