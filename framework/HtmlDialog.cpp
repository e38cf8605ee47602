#include "framework/HtmlDialog.h"

#include "framework/App.h"
#include "framework/CodePage.h"
#include "framework/Debug.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmdid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <shellapi.h>

namespace {

// MinGW's libuuid carries neither.
const CLSID kClsidHtmlDocument = {
    0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};
const IID kDiidHtmlDocumentEvents2 = {
    0x3050f613, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

// The hosted browser's document mode for this program: the current one (IE11 edge mode, 11001) instead
// of the oldest, which the control uses for a program that names none.
constexpr DWORD kBrowserEmulation = 11001;
constexpr const char* kBrowserEmulationKey =
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

template <class T> void SafeRelease(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

std::wstring Wide(const std::string& text) {
    const std::u16string wide = AnsiToWide(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string Ansi(const wchar_t* text) {
    if (!text) return {};
    const std::wstring wide(text);
    return WideToAnsi(std::u16string(wide.begin(), wide.end()));
}

// A BSTR owned for one call.
class CBstr {
public:
    explicit CBstr(const std::wstring& text) : m_bstr(::SysAllocStringLen(text.data(), UINT(text.size()))) {}
    CBstr() = default;
    ~CBstr() { ::SysFreeString(m_bstr); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    operator BSTR() const { return m_bstr; }
    BSTR* operator&() { return &m_bstr; }

private:
    BSTR m_bstr = nullptr;
};

std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length && text ? std::string(text, length) : "Error " + std::to_string(error);
    if (text) ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
        result.pop_back();
    return result;
}

// Per user, before the first browser of the process reads it; a value the user or an administrator
// has set stays as it is.
void RequestCurrentDocumentMode() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (::RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND)
        ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kBrowserEmulation),
                         sizeof kBrowserEmulation);
    ::RegCloseKey(key);
}

} // namespace

// The browser's container: client site, in-place site and frame, and the host UI handler that hands
// the browser our flags. It outlives the dialog only as long as the browser holds it; m_pDialog is then null.
class CHtmlHostSite final : public IOleClientSite,
                            public IOleInPlaceSite,
                            public IOleInPlaceFrame,
                            public IDocHostUIHandler {
public:
    explicit CHtmlHostSite(CDHtmlDialog* dialog) : m_pDialog(dialog) {}
    CDHtmlDialog* m_pDialog;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *object = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDocHostUIHandler)
            *object = static_cast<IDocHostUIHandler*>(this);
        else
            return *object = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG refs = --m_nRefs;
        if (refs == 0) delete this;
        return refs;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        return *moniker = nullptr, E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        return *container = nullptr, E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the in-place site and the frame alike
    STDMETHODIMP GetWindow(HWND* hWnd) override {
        *hWnd = m_pDialog ? m_pDialog->m_hWnd : nullptr;
        return *hWnd ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_pDialog ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!m_pDialog) return E_FAIL;
        *frame = this;
        AddRef();
        *document = nullptr;
        *position = *clip = m_pDialog->GetClientRect();
        info->fMDIApp = FALSE;
        info->hwndFrame = m_pDialog->m_hWnd;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT position) override {
        IOleInPlaceObject* inPlace = nullptr;
        if (m_pDialog && m_pDialog->m_pOleObject &&
            SUCCEEDED(m_pDialog->m_pOleObject->QueryInterface(IID_IOleInPlaceObject,
                                                              reinterpret_cast<void**>(&inPlace)))) {
            inPlace->SetObjectRects(position, position);
            inPlace->Release();
        }
        return S_OK;
    }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no toolbars, menus or status line of the browser's.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info) return E_POINTER;
        info->dwFlags = m_pDialog ? m_pDialog->m_dwHostFlags : 0;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override { return *key = nullptr, S_FALSE; }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override {
        return *target = nullptr, E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** external) override { return *external = nullptr, S_FALSE; }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override { return *out = nullptr, S_FALSE; }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        return *out = nullptr, S_FALSE;
    }

private:
    ULONG m_nRefs = 1;
};

// An event interface of the browser or its document: every call goes to the handler until Detach.
class CHtmlEventSink final : public IDispatch {
public:
    using Handler = std::function<HRESULT(DISPID, DISPPARAMS*, VARIANT*)>;
    CHtmlEventSink(REFIID events, Handler handler) : m_events(events), m_handler(std::move(handler)) {}
    void Detach() { m_handler = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != m_events)
            return *object = nullptr, E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG refs = --m_nRefs;
        if (refs == 0) delete this;
        return refs;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return *info = nullptr, E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        return m_handler ? m_handler(id, params, result) : S_OK;
    }

private:
    IID m_events;
    Handler m_handler;
    ULONG m_nRefs = 1;
};

CDHtmlDialog::CDHtmlDialog(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_dwHostFlags(DOCHOSTUIFLAG_NO3DBORDER) {}

CDHtmlDialog::~CDHtmlDialog() {
    ReleaseBrowser();
    if (m_bOleInitialized) ::OleUninitialize();
}

bool CDHtmlDialog::IsHtmlEngineAvailable() {
    // Callable before any window of ours has set up COM on this thread.
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IUnknown* document = nullptr;
    const HRESULT hr = ::CoCreateInstance(kClsidHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&document));
    SafeRelease(document);
    if (SUCCEEDED(init)) ::CoUninitialize();
    return SUCCEEDED(hr);
}

bool CDHtmlDialog::OnInitDialog() {
    // In-place activation needs OLE on this thread; a thread already in COM's free-threaded mode refuses.
    m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    RequestCurrentDocumentMode();
    if (!CreateBrowser()) CreateFallback();
    return CDialog::OnInitDialog();
}

bool CDHtmlDialog::CreateBrowser() {
    if (!IsHtmlEngineAvailable()) return false;
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_pOleObject))))
        return false;
    m_pSite = new CHtmlHostSite(this);
    RECT rect = GetClientRect();
    if (FAILED(m_pOleObject->SetClientSite(m_pSite)) ||
        FAILED(m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0, m_hWnd, &rect)) ||
        FAILED(m_pOleObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowser)))) {
        ReleaseBrowser();
        return false;
    }
    // Script errors of the site's pages are the site's business: no message boxes about them.
    m_pBrowser->put_Silent(VARIANT_TRUE);
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(m_pBrowser->QueryInterface(IID_IConnectionPointContainer,
                                             reinterpret_cast<void**>(&container)))) {
        if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_pBrowserPoint))) {
            m_pBrowserSink =
                new CHtmlEventSink(DIID_DWebBrowserEvents2, [this](DISPID id, DISPPARAMS* params, VARIANT*) {
                    OnBrowserEvent(id, params);
                    return S_OK;
                });
            if (FAILED(m_pBrowserPoint->Advise(m_pBrowserSink, &m_dwBrowserCookie))) m_dwBrowserCookie = 0;
        }
        container->Release();
    }
    return true;
}

void CDHtmlDialog::CreateFallback() {
    const HINSTANCE instance = AfxGetInstanceHandle();
    struct Control {
        const char* className;
        const char* text;
        DWORD style;
        int id;
    };
    const Control controls[] = {
        {"EDIT", "", WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, kIdAddress},
        {"BUTTON", "&Open in Browser", WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, kIdOpenInBrowser},
        {"BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK},
        {"BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL},
    };
    for (const Control& control : controls) {
        HWND hWnd = ::CreateWindowExA(
            0, control.className, control.text, WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0, m_hWnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()), FALSE);
    }
    SendMessage(DM_SETDEFID, IDOK);
    const RECT client = GetClientRect();
    Layout(client.right, client.bottom);
}

void CDHtmlDialog::ReleaseBrowser() {
    DisconnectDocument();
    if (m_pBrowserPoint && m_dwBrowserCookie) m_pBrowserPoint->Unadvise(m_dwBrowserCookie);
    m_dwBrowserCookie = 0;
    SafeRelease(m_pBrowserPoint);
    if (m_pBrowserSink) m_pBrowserSink->Detach();
    SafeRelease(m_pBrowserSink);
    SafeRelease(m_pBrowser);
    if (m_pOleObject) {
        m_pOleObject->Close(OLECLOSE_NOSAVE);
        m_pOleObject->SetClientSite(nullptr);
    }
    SafeRelease(m_pOleObject);
    if (m_pSite) m_pSite->m_pDialog = nullptr;
    SafeRelease(m_pSite);
}

void CDHtmlDialog::DisconnectDocument() {
    if (m_pDocumentPoint && m_dwDocumentCookie) m_pDocumentPoint->Unadvise(m_dwDocumentCookie);
    m_dwDocumentCookie = 0;
    SafeRelease(m_pDocumentPoint);
    if (m_pDocumentSink) m_pDocumentSink->Detach();
    SafeRelease(m_pDocumentSink);
}

void CDHtmlDialog::Navigate(const std::string& url) {
    if (m_pBrowser) {
        CBstr address(Wide(url));
        VARIANT empty;
        ::VariantInit(&empty);
        const HRESULT hr = m_pBrowser->Navigate(address, &empty, &empty, &empty, &empty);
        if (FAILED(hr)) DebugOutputF("Browser navigation failed: 0x%08lX", static_cast<unsigned long>(hr));
        return;
    }
    m_strFallbackUrl = url;
    ::SetDlgItemTextA(m_hWnd, kIdAddress, url.c_str());
    ::EnableWindow(GetDlgItem(kIdOpenInBrowser), !url.empty());
}

IHTMLElement* CDHtmlDialog::GetElement(const std::string& id) const {
    if (!m_pBrowser) return nullptr;
    IDispatch* dispatch = nullptr;
    IHTMLDocument3* document = nullptr;
    IHTMLElement* element = nullptr;
    if (SUCCEEDED(m_pBrowser->get_Document(&dispatch)) && dispatch &&
        SUCCEEDED(dispatch->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(&document)))) {
        CBstr name(Wide(id));
        if (FAILED(document->getElementById(name, &element))) element = nullptr;
    }
    SafeRelease(document);
    SafeRelease(dispatch);
    return element;
}

bool CDHtmlDialog::SetElementHtml(const std::string& id, const std::u16string& html) const {
    IHTMLElement* element = GetElement(id);
    if (!element) return false;
    CBstr text(std::wstring(html.begin(), html.end()));
    const bool done = SUCCEEDED(element->put_innerHTML(text));
    element->Release();
    return done;
}

void CDHtmlDialog::OnBrowserEvent(DISPID id, DISPPARAMS* params) {
    if (id != DISPID_DOCUMENTCOMPLETE || !params || params->cArgs < 2) return;
    // Arguments come last first: the completed frame's browser, then its address.
    const VARIANT& frame = params->rgvarg[1];
    const VARIANT& address = params->rgvarg[0];
    IUnknown* completed = nullptr;
    IUnknown* ours = nullptr;
    if (frame.vt == VT_DISPATCH && frame.pdispVal)
        frame.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&completed));
    m_pBrowser->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ours));
    const bool topLevel = completed && completed == ours;
    SafeRelease(completed);
    SafeRelease(ours);
    if (!topLevel) return;
    std::string url;
    if (address.vt == (VT_BYREF | VT_VARIANT) && address.pvarVal && address.pvarVal->vt == VT_BSTR)
        url = Ansi(address.pvarVal->bstrVal);
    OnDocumentComplete(url);
}

void CDHtmlDialog::OnDocumentComplete(const std::string&) {
    DisconnectDocument();
    IDispatch* document = nullptr;
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(m_pBrowser->get_Document(&document)) && document &&
        SUCCEEDED(
            document->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(kDiidHtmlDocumentEvents2, &m_pDocumentPoint))) {
        m_pDocumentSink = new CHtmlEventSink(kDiidHtmlDocumentEvents2,
                                             [this](DISPID id, DISPPARAMS* params, VARIANT* result) {
                                                 return OnDocumentEvent(id, params, result);
                                             });
        if (FAILED(m_pDocumentPoint->Advise(m_pDocumentSink, &m_dwDocumentCookie))) m_dwDocumentCookie = 0;
    }
    SafeRelease(container);
    SafeRelease(document);
}

HRESULT CDHtmlDialog::OnDocumentEvent(DISPID id, DISPPARAMS* params, VARIANT* result) {
    if (id != DISPID_HTMLDOCUMENTEVENTS2_ONCLICK || !params || params->cArgs < 1 ||
        params->rgvarg[0].vt != VT_DISPATCH || !params->rgvarg[0].pdispVal)
        return S_OK;
    IHTMLEventObj* event = nullptr;
    IHTMLElement* source = nullptr;
    CBstr elementId;
    if (SUCCEEDED(params->rgvarg[0].pdispVal->QueryInterface(IID_IHTMLEventObj,
                                                             reinterpret_cast<void**>(&event))) &&
        SUCCEEDED(event->get_srcElement(&source)) && source)
        source->get_id(&elementId);
    SafeRelease(source);
    SafeRelease(event);
    const std::string name = Ansi(elementId);
    for (auto& entry : m_clickHandlers) {
        if (name.empty() || entry.first != name) continue;
        const HRESULT hr = entry.second();
        if (result) {
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
        }
        return hr;
    }
    return S_OK;
}

bool CDHtmlDialog::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case kIdOpenInBrowser: OnOpenInBrowser(); return true;
    }
    return CDialog::OnCommand(id, code, control);
}

// Keys inside the page (Tab between links and fields, Ctrl+C, the arrows) go to the browser before the
// dialog's own keyboard handling would take them.
bool CDHtmlDialog::PreTranslateMessage(MSG* msg) {
    const bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    if (m_pBrowser && key && ::IsChild(m_hWnd, msg->hwnd)) {
        IOleInPlaceActiveObject* active = nullptr;
        if (SUCCEEDED(m_pBrowser->QueryInterface(IID_IOleInPlaceActiveObject,
                                                 reinterpret_cast<void**>(&active)))) {
            const HRESULT hr = active->TranslateAccelerator(msg);
            active->Release();
            if (hr == S_OK) return true;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CDHtmlDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: return OnSize(LOWORD(lParam), HIWORD(lParam));
    case WM_DESTROY: return OnDestroy();
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CDHtmlDialog::OnSize(int width, int height) {
    Layout(width, height);
    return Default();
}

void CDHtmlDialog::Layout(int width, int height) {
    if (m_pOleObject) {
        IOleInPlaceObject* inPlace = nullptr;
        if (SUCCEEDED(
                m_pOleObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
            const RECT rect{0, 0, width, height};
            inPlace->SetObjectRects(&rect, &rect);
            inPlace->Release();
        }
        return;
    }
    // Dialog units, so that the controls follow the dialog's font.
    RECT units{7, 14, 60, 4}; // margin, button height, button width, gap
    ::MapDialogRect(m_hWnd, &units);
    const int margin = units.left, buttonHeight = units.top, buttonWidth = units.right, gap = units.bottom;
    const int buttonTop = height - margin - buttonHeight;
    ::MoveWindow(GetDlgItem(kIdAddress), margin, margin, width - 2 * margin, buttonTop - gap - margin, TRUE);
    ::MoveWindow(GetDlgItem(kIdOpenInBrowser), margin, buttonTop, buttonWidth + 2 * gap, buttonHeight, TRUE);
    ::MoveWindow(GetDlgItem(IDCANCEL), width - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
                 TRUE);
    ::MoveWindow(GetDlgItem(IDOK), width - margin - 2 * buttonWidth - gap, buttonTop, buttonWidth,
                 buttonHeight, TRUE);
}

LRESULT CDHtmlDialog::OnDestroy() {
    ReleaseBrowser();
    if (m_bOleInitialized) ::OleUninitialize();
    m_bOleInitialized = false;
    return Default();
}

void CDHtmlDialog::OnOpenInBrowser() {
    if (!m_strFallbackUrl.empty()) OpenInSystemBrowser(m_strFallbackUrl);
}

void CDHtmlDialog::OpenInSystemBrowser(const std::string& url) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = m_hWnd;
    info.lpVerb = "open";
    info.lpFile = url.c_str();
    info.nShow = SW_SHOWNORMAL;
    // Only a browser that cannot be started is missing: one that hands the address to a running
    // instance of itself ends at once, often with a non-zero code, and is not waited for.
    if (!::ShellExecuteExA(&info))
        MessageBox("The address could not be opened in a web browser.\n\n" +
                       SystemErrorText(::GetLastError()),
                   nullptr, MB_OK | MB_ICONEXCLAMATION);
}
