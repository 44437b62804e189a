// The setup dialog's frame, run modally in this process from its template
// while a second thread looks at it and drives it like a user would.

#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Application.h"
#include "platform/FindFile.h"
#include "platform/Layout.h"
#include "text/LanguageWriter.h"
#include "tools/windriver/OtherWindows.h"
#include "tools/windriver/Wait.h"
#include "tools/windriver/WindowsPath.h"
#include "ui/SetupDlg.h"

using windriver::kTimeoutMs;

namespace {

// The dialog with only the framework's initialisation and the frame steps,
// so that it opens without an installation medium.
class FrameOnlyDlg : public CSetupDlg {
  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        InitFrame();
        ApplyDialogTexts(); // with no table: the template's texts stay
        return TRUE;
    }
};

CWinApp& TestApp() {
    static CWinApp app;
    return app;
}

// Runs the frame dialog modally as the application's main window; `observe`
// runs on another thread once the dialog is visible. The dialog is cancelled
// when `observe` returns, unless `observerEndsIt`; one still open after
// kTimeoutMs then is a failure, and cancelled so that the test cannot hang.
INT_PTR RunFrame(std::function<void(HWND)> observe, bool observerEndsIt = false) {
    FrameOnlyDlg dialog;
    TestApp().m_pMainWnd = &dialog;
    std::thread observer([&] {
        HWND window = windriver::WaitForWindow(GetCurrentProcessId(), "The Vellmor Setup", nullptr,
                                               kTimeoutMs);
        EXPECT_NE(nullptr, window) << "dialog did not appear";
        if (!window)
            return;
        observe(window);
        if (!observerEndsIt)
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        if (!windriver::WaitForWindowGone(window, kTimeoutMs)) {
            ADD_FAILURE() << "the dialog is still open";
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    });
    INT_PTR result = dialog.DoModal();
    observer.join();
    TestApp().m_pMainWnd = nullptr;
    return result;
}

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// The frame as shown: centred on the screen (it has no owner), the Glide box
// hidden and out of the tab order, one icon for every use, and the system
// menu ending in a separator and the About item.
TEST(FrameDialog, ShownCentredWithItsTabOrderIconAndSystemMenu) {
    RunFrame([](HWND window) {
        RECT area, rect = WindowRect(window);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        EXPECT_NEAR((area.left + area.right) / 2, (rect.left + rect.right) / 2, 2);
        EXPECT_NEAR((area.top + area.bottom) / 2, (rect.top + rect.bottom) / 2, 2);

        HWND glide = GetDlgItem(window, IDC_GLIDE);
        EXPECT_FALSE(IsWindowVisible(glide));
        EXPECT_FALSE(IsWindowEnabled(glide));
        // Tab goes round the five controls; Down and Right go the same way
        // from the field to Exit, one group that the first label ends.
        const int order[] = {IDC_INSTALL_PATH, IDC_BROWSE,      IDC_LANGUAGE, IDOK,
                             IDCANCEL,         IDC_INSTALL_PATH};
        const size_t stops = sizeof order / sizeof order[0];
        HWND tab = GetDlgItem(window, order[0]), arrow = tab;
        for (size_t i = 1; i < stops; ++i) {
            tab = GetNextDlgTabItem(window, tab, FALSE);
            EXPECT_EQ(order[i], GetDlgCtrlID(tab)) << "tab stop " << i;
            if (i + 1 < stops) {
                arrow = GetNextDlgGroupItem(window, arrow, FALSE);
                EXPECT_EQ(order[i], GetDlgCtrlID(arrow)) << "arrow stop " << i;
            }
        }

        HICON big = (HICON)SendMessageA(window, WM_GETICON, ICON_BIG, 0);
        EXPECT_NE(nullptr, big);
        EXPECT_EQ(big, (HICON)SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
        // Dragging the minimised dialog shows the same icon.
        EXPECT_EQ((LRESULT)big, SendMessageA(window, WM_QUERYDRAGICON, 0, 0));

        HMENU menu = GetSystemMenu(window, FALSE);
        ASSERT_NE(nullptr, menu);
        int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        char text[64] = "";
        GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ("&About Setup...", text);
        EXPECT_EQ(0x0010u, GetMenuItemID(menu, count - 1));
        EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    });
}

TEST(FrameDialog, SystemCommands0x10To0x1FOpenTheAboutBoxCentredOverTheDialog) {
    RunFrame([](HWND window) {
        for (UINT command : {0x0010u, 0x001Fu}) {
            SCOPED_TRACE(command);
            PostMessageA(window, WM_SYSCOMMAND, command, 0);
            HWND about =
                windriver::WaitForWindow(GetCurrentProcessId(), "About Setup", nullptr, kTimeoutMs);
            ASSERT_NE(nullptr, about);
            EXPECT_EQ(window, GetWindow(about, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(window)) << "the setup dialog waits for the About box";
            RECT outer = WindowRect(window), inner = WindowRect(about);
            EXPECT_NEAR((outer.left + outer.right) / 2, (inner.left + inner.right) / 2, 2);
            EXPECT_NEAR((outer.top + outer.bottom) / 2, (inner.top + inner.bottom) / 2, 2);

            std::string texts;
            for (HWND child : windriver::ChildWindows(about))
                texts += windriver::WindowText(child) + "|";
            EXPECT_NE(std::string::npos, texts.find("Setup Version 1.01|")) << texts;

            PostMessageA(about, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(windriver::WaitForWindowGone(about, kTimeoutMs));
        }
        // 0x0020 is not the About command: it goes to the default processing.
        // Sent, so that it has been handled when the call returns; a modal
        // About box would keep it from returning.
        DWORD_PTR result = 0;
        EXPECT_TRUE(
            SendMessageTimeoutA(window, WM_SYSCOMMAND, 0x0020, 0, SMTO_NORMAL, kTimeoutMs, &result))
            << "0x0020 opened a modal window";
        EXPECT_EQ(nullptr, FindWindowA(nullptr, "About Setup"));
        EXPECT_TRUE(IsWindowEnabled(window));
    });
}

TEST(FrameDialog, EscapeAndTheCloseButtonEndTheDialogWithCancel) {
    const std::function<void(HWND)> ends[] = {
        [](HWND window) {
            HWND edit = GetDlgItem(window, IDC_INSTALL_PATH);
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        },
        [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& end : ends)
        EXPECT_EQ(IDCANCEL, RunFrame(end, true)) << (&end == ends ? "Escape" : "close button");
}

// The width of `text` as `control` draws it: in its font, without the "&"
// that marks an accelerator.
int DrawnWidth(HWND control, std::string text) {
    for (size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 1))
        text.erase(at, 1);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(control, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

TEST(FrameDialog, EveryTextOfEveryDemoLanguageFitsItsControl) {
    RunFrame([&](HWND window) {
        const std::string folder = windriver::WindowsPath(DEMO_LANGUAGES_DIR);
        int languages = 0;
        for (CFindFile found((folder + "\\*.sif").c_str()); found.Found(); found.Next()) {
            ++languages;
            std::string name = found.Name();
            CLanguageTable table;
            table.Load((folder + "\\" + name.substr(0, name.size() - 4)).c_str());
            for (const CatalogueText& row : kTextCatalogue) {
                if (row.place != kOnLabel && row.place != kOnButton)
                    continue;
                char* text = table.GetString(row.index);
                ASSERT_NE(nullptr, text) << name << " lacks " << row.name;
                HWND control = GetDlgItem(window, row.control);
                RECT client;
                GetClientRect(control, &client);
                EXPECT_LE(DrawnWidth(control, text), client.right)
                    << name << ": " << row.name << " \"" << text << "\" is wider than its control";
                free(text);
            }
        }
        EXPECT_EQ(5, languages) << "demo languages in " << folder;
    });
}

// The windows that get a text, in order: 0 for the dialog, else the control.
std::vector<int> g_relabelled;
// The accessible names set, in order: control and name.
std::vector<std::pair<int, std::string>> g_named;

// Stands in for the system's annotation service, which Wine's oleacc
// creates but whose SetHwndPropStr answers E_NOTIMPL: records each name set.
// Registered in this process, it answers CoCreateInstance in its place.
class RecordingNames : public IAccPropServices, public IClassFactory {
  public:
    HRESULT WINAPI QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IClassFactory ? (void*)static_cast<IClassFactory*>(this)
               : iid == IID_IUnknown || iid == IID_IAccPropServices
                   ? (void*)static_cast<IAccPropServices*>(this)
                   : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return 2; } // a static object
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown*, REFIID iid, void** out) override {
        return QueryInterface(iid, out);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
    HRESULT WINAPI SetHwndPropStr(HWND control, DWORD object, DWORD child, MSAAPROPID property,
                                  LPCWSTR name) override {
        char text[256] = "";
        WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, nullptr, nullptr);
        EXPECT_TRUE(object == (DWORD)OBJID_CLIENT && child == CHILDID_SELF &&
                    property == PROPID_ACC_NAME);
        g_named.emplace_back(GetDlgCtrlID(control), text);
        return S_OK;
    }
    // Nothing else is asked for.
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_FAIL; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                 AnnoScope) override {
        return E_FAIL;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
        return E_FAIL;
    }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_FAIL; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                     AnnoScope) override {
        return E_FAIL;
    }
    HRESULT WINAPI ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID*, int) override {
        return E_FAIL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return E_FAIL;
    }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return E_FAIL;
    }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_FAIL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_FAIL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                      AnnoScope) override {
        return E_FAIL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_FAIL; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_FAIL;
    }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return E_FAIL;
    }
};

LRESULT CALLBACK RecordRelabelling(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && sent->message == WM_SETTEXT)
        g_relabelled.push_back(GetParent(sent->hwnd) ? GetDlgCtrlID(sent->hwnd) : 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The frame that applies the demo's German texts while it opens, and
// records the order they are set in.
class RelabelledDlg : public FrameOnlyDlg {
  protected:
    BOOL OnInitDialog() override {
        FrameOnlyDlg::OnInitDialog();
        m_texts.Load((windriver::WindowsPath(DEMO_LANGUAGES_DIR) + "\\Deutsch").c_str(), nullptr);
        HHOOK hook =
            SetWindowsHookExA(WH_CALLWNDPROC, RecordRelabelling, nullptr, GetCurrentThreadId());
        ApplyDialogTexts();
        UnhookWindowsHookEx(hook);
        EndDialog(IDCANCEL);
        return TRUE;
    }
};

// The title first, then each label before its field's button, the Exit
// button last. The field and the list are named for screen readers after
// their labels, the template's at the start and the language's after it.
TEST(FrameDialog, DialogTextsAreSetInTheOrderOfTheCatalogueAndNameTheFields) {
    g_relabelled.clear();
    g_named.clear();
    CoInitialize(nullptr);
    static RecordingNames service;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK,
              CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
    RelabelledDlg dialog;
    TestApp().m_pMainWnd = &dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    TestApp().m_pMainWnd = nullptr;
    CoRevokeClassObject(cookie);
    CoUninitialize();
    EXPECT_EQ(
        (std::vector<int>{0, IDC_LABEL_INSTALL_TO, IDC_LABEL_LANGUAGE, IDC_BROWSE, IDOK, IDCANCEL}),
        g_relabelled);
    const std::vector<std::pair<int, std::string>> named{
        {IDC_INSTALL_PATH, "Install to:"},
        {IDC_LANGUAGE, "Language Selection"},
        {IDC_INSTALL_PATH, "Zielordner:"},
        {IDC_LANGUAGE, "Sprachauswahl"},
    };
    EXPECT_EQ(named, g_named);
}

// The extended styles of the dialog and its Install button, and the style
// its message boxes get, for a language.
struct Direction {
    LONG dialog, button;
    UINT messageBox;
    RECT buttonOnScreen;
};

// The frame that applies the demo's German table with a setup pair that
// says right to left, then without it.
class MirroredDlg : public FrameOnlyDlg {
  public:
    Direction seen[3];
    RECT client; // on the screen

  protected:
    BOOL OnInitDialog() override {
        FrameOnlyDlg::OnInitDialog();
        const std::string german = windriver::WindowsPath(DEMO_LANGUAGES_DIR) + "\\Deutsch";
        const std::string pair = windriver::WindowsPath(DEMO_LANGUAGES_DIR) + "\\..\\..\\rtl-pair";
        const LanguageText records[] = {{text::kSetupMarkerRecord, text::kSetupPairMarker},
                                        {text::kSetupDirectionRecord, text::kRightToLeft}};
        EXPECT_TRUE(WriteLanguageTable(pair.c_str(), records, 2));
        const char* const setupPairs[] = {nullptr, pair.c_str(), nullptr};
        for (int i = 0; i < 3; ++i) {
            m_texts.Load(german.c_str(), setupPairs[i]);
            ApplyDialogTexts();
            HWND button = ::GetDlgItem(m_hWnd, IDOK);
            seen[i] = {GetWindowLongA(m_hWnd, GWL_EXSTYLE), GetWindowLongA(button, GWL_EXSTYLE),
                       ReadingStyle(MB_OK, m_texts.RightToLeft()), RECT()};
            ::GetWindowRect(button, &seen[i].buttonOnScreen);
            if (i == 0) {
                ::GetClientRect(m_hWnd, &client);
                ::MapWindowPoints(m_hWnd, nullptr, (POINT*)&client, 2);
            }
        }
        EndDialog(IDCANCEL);
        return TRUE;
    }
};

// Right to left mirrors the dialog and its controls and makes message boxes
// read right to left; back to left to right, every style is as before.
TEST(FrameDialog, RightToLeftLanguageMirrorsTheDialogAndItsMessages) {
    MirroredDlg dialog;
    TestApp().m_pMainWnd = &dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    TestApp().m_pMainWnd = nullptr;
    const Direction& ltr = dialog.seen[0];
    const Direction& rtl = dialog.seen[1];
    EXPECT_EQ(0, ltr.dialog & WS_EX_LAYOUTRTL);
    EXPECT_EQ((UINT)MB_OK, ltr.messageBox);
    EXPECT_EQ(ltr.dialog | WS_EX_LAYOUTRTL, rtl.dialog);
    EXPECT_EQ(ltr.button | WS_EX_LAYOUTRTL, rtl.button);
    EXPECT_EQ((UINT)(MB_OK | MB_RTLREADING | MB_RIGHT), rtl.messageBox);
    // The button at the mirror image of its place, then back at it.
    EXPECT_EQ(dialog.client.right - ltr.buttonOnScreen.right,
              rtl.buttonOnScreen.left - dialog.client.left);
    EXPECT_EQ(ltr.buttonOnScreen.top, rtl.buttonOnScreen.top);
    EXPECT_EQ(ltr.dialog, dialog.seen[2].dialog);
    EXPECT_EQ(ltr.button, dialog.seen[2].button);
    EXPECT_TRUE(EqualRect(&ltr.buttonOnScreen, &dialog.seen[2].buttonOnScreen));
}

TEST(IconPosition, CentresTheIconRoundingUpWithoutGoingNegativeByRounding) {
    const struct {
        RECT area;
        LONG x, y;
    } cases[] = {{{0, 0, 36, 36}, 2, 2}, {{0, 0, 30, 37}, 0, 3}};
    for (const auto& c : cases) {
        POINT at = IconPosition(c.area, 32, 32);
        EXPECT_EQ(c.x, at.x) << c.area.right << "x" << c.area.bottom;
        EXPECT_EQ(c.y, at.y) << c.area.right << "x" << c.area.bottom;
    }
}

} // namespace
