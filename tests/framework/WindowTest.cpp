// Window objects, subclassing, reflection, dialogs and worker threads of our class library, under Wine.
#include "framework/App.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Exception.h"
#include "framework/Thread.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

const char kPlainClass[] = "MelodeckTestPlain";

void RegisterPlainClass() {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kPlainClass;
        return ::RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
}

// Records what reaches it and can refuse its creation.
class CRecordingWnd : public CWnd {
public:
    std::vector<UINT> m_messages;
    bool m_bRefuseCreate = false;
    int m_nCommands = 0;
    int m_nPostNcDestroy = 0;
    bool m_bThrowOnPaint = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_messages.push_back(message);
        switch (message) {
        case WM_CREATE: return m_bRefuseCreate ? -1 : 0;
        case WM_USER + 1: return 42;
        case WM_USER + 2: throw CException("thrown inside a message");
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        ++m_nCommands;
        return true;
    }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }
    bool Saw(UINT message) const {
        for (UINT seen : m_messages)
            if (seen == message) return true;
        return false;
    }
};

// A child control object that consumes its reflected command notifications.
class CReflectingButton : public CButton {
public:
    int m_nReflected = 0;
    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message != WM_COMMAND) return false;
        ++m_nReflected;
        *result = 0;
        return true;
    }
};

RECT Rect(int x, int y, int w, int h) {
    return RECT{x, y, x + w, y + h};
}

TEST(WindowObject, IsBoundBeforeItsFirstMessageAndFoundFromItsHandle) {
    RegisterPlainClass();
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, kPlainClass, "x", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    ASSERT_FALSE(wnd.m_messages.empty());
    UINT first = wnd.m_messages.front();
    EXPECT_TRUE(first == WM_GETMINMAXINFO || first == WM_NCCREATE) << "first message seen: " << first;
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE));
    EXPECT_TRUE(wnd.Saw(WM_CREATE));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_EQ(42, wnd.SendMessage(WM_USER + 1));
    wnd.DestroyWindow();
}

TEST(WindowObject, RefusedCreationLeavesTheObjectUnbound) {
    RegisterPlainClass();
    CRecordingWnd wnd;
    wnd.m_bRefuseCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, kPlainClass, "x", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
}

TEST(WindowObject, DestroyedWindowUnbindsTheObjectAndCallsPostNcDestroyOnce) {
    RegisterPlainClass();
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, kPlainClass, "x", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    HWND hWnd = wnd.m_hWnd;
    ASSERT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(1, wnd.m_nPostNcDestroy);
    EXPECT_TRUE(wnd.Saw(WM_NCDESTROY));
}

TEST(WindowObject, ExceptionInAMessageStopsAtTheWindowProcedure) {
    RegisterPlainClass();
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, kPlainClass, "x", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    EXPECT_EQ(0, wnd.SendMessage(WM_USER + 2));
    EXPECT_EQ(42, wnd.SendMessage(WM_USER + 1)) << "the window still works";
    wnd.DestroyWindow();
}

TEST(WindowObject, DeletedBeforeItsWindowOnlyLetsGoOfIt) {
    RegisterPlainClass();
    HWND hWnd = nullptr;
    {
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, kPlainClass, "x", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
        hWnd = wnd.m_hWnd;
    }
    ASSERT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(0, ::SendMessageA(hWnd, WM_USER + 1, 0, 0)) << "the gone object no longer sees messages";
    EXPECT_TRUE(::DestroyWindow(hWnd));
}

TEST(WindowObject, SubclassedWindowSeesMessagesFirstAndDefaultReachesTheOldProcedure) {
    RegisterPlainClass();
    HWND hWnd = ::CreateWindowExA(0, kPlainClass, "before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(hWnd);
    {
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_FALSE(CRecordingWnd().SubclassWindow(hWnd)) << "one object per window";
        ::SetWindowTextA(hWnd, "after");
        EXPECT_TRUE(wnd.Saw(WM_SETTEXT));
        EXPECT_EQ("after", wnd.GetWindowText()) << "Default passed WM_SETTEXT on";
        EXPECT_EQ(hWnd, wnd.UnsubclassWindow());
    }
    EXPECT_TRUE(::IsWindow(hWnd)) << "an unsubclassed window outlives its object";
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::DefWindowProcA), ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    ::DestroyWindow(hWnd);
}

TEST(WindowObject, ChildNotificationsAreReflectedToTheChildObjectFirst) {
    RegisterPlainClass();
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, kPlainClass, "parent", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    HWND plain = ::CreateWindowExA(0, "BUTTON", "plain", WS_CHILD | BS_PUSHBUTTON, 0, 0, 20, 20,
                                   parent.m_hWnd, reinterpret_cast<HMENU>(10), nullptr, nullptr);
    HWND owned = ::CreateWindowExA(0, "BUTTON", "owned", WS_CHILD | BS_PUSHBUTTON, 0, 30, 20, 20,
                                   parent.m_hWnd, reinterpret_cast<HMENU>(11), nullptr, nullptr);
    CReflectingButton button;
    ASSERT_TRUE(button.SubclassWindow(owned));

    parent.SendMessage(WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), reinterpret_cast<LPARAM>(owned));
    EXPECT_EQ(1, button.m_nReflected);
    EXPECT_EQ(0, parent.m_nCommands);

    parent.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(1, parent.m_nCommands) << "a child without an object leaves the command to the parent";
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, button.m_hWnd) << "the child went with its parent";
}

// The find template: an edit, a group box, four radio buttons and OK.
class CFindLikeDialog : public CDialog {
public:
    CFindLikeDialog() : CDialog(IDD_FIND) {}
    std::string m_strText = "abc";
    int m_nChoice = 2;
    bool m_bEndAtInit = false;
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_FINDTEXT, m_strText);
        DDX_Radio(pDX, IDC_FINDBY, m_nChoice);
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_bEndAtInit) EndDialog(7);
        return true;
    }
};

TEST(Dialogs, RadioGroupCountsOnlyRadioButtonsAfterTheGroupBox) {
    CFindLikeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(dialog.GetDlgItem(IDC_FIND_SONG), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(dialog.GetDlgItem(IDC_FIND_ARTIST), BM_GETCHECK, 0, 0));

    ::SendMessageA(dialog.GetDlgItem(IDC_FIND_SONG), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageA(dialog.GetDlgItem(IDC_FIND_FILENAME), BM_SETCHECK, BST_CHECKED, 0);
    ::SetWindowTextA(dialog.GetDlgItem(IDC_FINDTEXT), "typed");
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(3, dialog.m_nChoice);
    EXPECT_EQ("typed", dialog.m_strText);
    dialog.DestroyWindow();
}

// Ends the running modal dialog from inside its own loop, as a button would.
CDialog* g_pRunningDialog = nullptr;
HWND g_hOwner = nullptr;
bool g_bOwnerDisabledDuring = false;

void CALLBACK EndRunningDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_pRunningDialog) return;
    g_bOwnerDisabledDuring = !::IsWindowEnabled(g_hOwner);
    g_pRunningDialog->EndDialog(IDOK);
    g_pRunningDialog = nullptr;
}

TEST(Dialogs, ModalDialogDisablesItsOwnerAndReturnsTheEndResult) {
    RegisterPlainClass();
    CRecordingWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, kPlainClass, "owner", WS_POPUP | WS_VISIBLE, Rect(0, 0, 50, 50), nullptr, 0));
    CDialog dialog(IDD_ABOUTBOX, &owner);
    g_pRunningDialog = &dialog;
    g_hOwner = owner.m_hWnd;
    g_bOwnerDisabledDuring = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &EndRunningDialog);
    EXPECT_EQ(IDOK, dialog.DoModal());
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_bOwnerDisabledDuring);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(nullptr, dialog.m_hWnd) << "the modal dialog is destroyed when it ends";
    owner.DestroyWindow();
}

TEST(Dialogs, ModalDialogEndedDuringInitialisationReturnsAtOnce) {
    CFindLikeDialog dialog;
    dialog.m_bEndAtInit = true;
    EXPECT_EQ(7, dialog.DoModal());
}

TEST(Dialogs, ModelessDialogCancelHidesIt) {
    CFindLikeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsWindow());
    dialog.DestroyWindow();
}

TEST(WorkerThreads, RunAtTheRequestedPriority) {
    struct Block {
        std::atomic<int> priority{99};
        HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    } block;
    ASSERT_TRUE(BeginWorkerThread(
        [](void* param) -> unsigned {
            auto* b = static_cast<Block*>(param);
            b->priority = ::GetThreadPriority(::GetCurrentThread());
            ::SetEvent(b->done);
            return 1;
        },
        &block, THREAD_PRIORITY_IDLE));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(block.done, 10000));
    EXPECT_EQ(THREAD_PRIORITY_IDLE, block.priority.load());
    ::CloseHandle(block.done);
}

TEST(Application, NameIsTheProgramFileWithoutItsExtension) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string file = path;
    file = file.substr(file.find_last_of("\\/") + 1);
    EXPECT_EQ(file.substr(0, file.rfind('.')), AfxGetAppName());
    EXPECT_EQ(std::string::npos, AfxGetAppName().find('.'));
}

} // namespace
