#pragma once
// CDHtmlDialog: a dialog from a template whose client area is the system's web browser control, hosted
// as an in-place OLE object. It reports completed documents, looks elements up by id, sets their inner
// HTML and routes element clicks by id to handlers.
// Without a working HTML engine (Wine without Gecko: the control navigates, but no document ever comes)
// the same window shows the address it was asked for, a button that opens it in the system's browser,
// and OK and Cancel.
#include "framework/Dialog.h"

#include <ole2.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct IWebBrowser2;
struct IHTMLElement;
class CHtmlHostSite;
class CHtmlEventSink;

class CDHtmlDialog : public CDialog {
public:
    // Controls of the window without an engine.
    static constexpr int kIdAddress = 0x7F01;
    static constexpr int kIdOpenInBrowser = 0x7F02;

    explicit CDHtmlDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDHtmlDialog() override;

    // DOCHOSTUIFLAG_* values given to the browser in place of the defaults; set before creation.
    void SetHostFlags(DWORD flags) { m_dwHostFlags = flags; }
    DWORD GetHostFlags() const { return m_dwHostFlags; }

    // False when the system has no HTML engine: creating an HTML document fails at once there, while
    // the browser control itself pretends to work.
    static bool IsHtmlEngineAvailable();
    bool HasBrowser() const { return m_pBrowser != nullptr; }

    // Loads the address in the browser; without one, shows it.
    void Navigate(const std::string& url);
    // The element of the current document with the id, added to (release it); null when there is none.
    IHTMLElement* GetElement(const std::string& id) const;
    // False when the current document has no such element.
    bool SetElementHtml(const std::string& id, const std::u16string& html) const;
    // A click on the element with the id calls the handler; what it returns goes back to the browser.
    void AddClickHandler(const std::string& id, std::function<HRESULT()> handler) {
        m_clickHandlers.emplace_back(id, std::move(handler));
    }

    // Opens the address with the system's browser (ShellExecuteEx). A browser that cannot be started is
    // told to the user; how the started program ends is its own affair.
    void OpenInSystemBrowser(const std::string& url);

    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The top-level document has completed. Overrides call the base first, which wires element clicks.
    virtual void OnDocumentComplete(const std::string& url);

private:
    friend class CHtmlHostSite;

    DWORD m_dwHostFlags;
    IWebBrowser2* m_pBrowser = nullptr;
    IOleObject* m_pOleObject = nullptr;
    CHtmlHostSite* m_pSite = nullptr;
    CHtmlEventSink* m_pBrowserSink = nullptr;
    CHtmlEventSink* m_pDocumentSink = nullptr;
    IConnectionPoint* m_pBrowserPoint = nullptr;
    IConnectionPoint* m_pDocumentPoint = nullptr;
    DWORD m_dwBrowserCookie = 0;
    DWORD m_dwDocumentCookie = 0;
    bool m_bOleInitialized = false;
    std::string m_strFallbackUrl;
    std::vector<std::pair<std::string, std::function<HRESULT()>>> m_clickHandlers;

    bool CreateBrowser();
    void CreateFallback();
    void ReleaseBrowser();
    void DisconnectDocument();
    void OnBrowserEvent(DISPID id, DISPPARAMS* params);
    HRESULT OnDocumentEvent(DISPID id, DISPPARAMS* params, VARIANT* result);
    LRESULT OnSize(int width, int height);
    // The browser, or the controls that stand in for it, over the client area.
    void Layout(int width, int height);
    LRESULT OnDestroy();
    void OnOpenInBrowser();
};
