// Starting a program through the desktop's shell: the shell's own window
// gives its automation object, whose ShellExecute runs in the shell's
// process, as the user who is logged on.

#include "install/DesktopShell.h"

#include <windows.h>

#include <exdisp.h>
#include <objbase.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "common/Elevation.h"
#include "common/PathRules.h"
#include "platform/ComRef.h"
#include "platform/Handle.h"
#include "platform/LibrarySearch.h"
#include "platform/WorkingDirectory.h"

namespace {

// Looked up at run time, on Windows Vista and later only, so that setup
// imports only what every Windows from 95 on has: OLE Automation (OLEAUT32)
// is not among the libraries setup imports.
typedef BSTR(WINAPI* SysAllocStringProc)(const OLECHAR* text);
typedef void(WINAPI* SysFreeStringProc)(BSTR text);

// Windows serves the shell's windows from Explorer's process, a local
// server; Wine 8 has no local server for them, and there CLSCTX_LOCAL_SERVER
// alone fails (REGDB_E_KEYMISSING). Every context takes whichever the
// system has.
const DWORD kShellWindowsContext = CLSCTX_ALL;

// The quoted program path is the longest text passed.
const int kWideSize = MAX_PATH + 2;

// The automation strings the shell's dispatch interface takes, owned until
// the object goes out of scope.
class CAutomationStrings {
  public:
    explicit CAutomationStrings(HMODULE automation)
        : m_alloc(LibraryProc<SysAllocStringProc>(automation, "SysAllocString")),
          m_free(LibraryProc<SysFreeStringProc>(automation, "SysFreeString")) {}
    ~CAutomationStrings() {
        for (int i = 0; i < m_count; ++i)
            m_free(m_strings[i]);
    }
    CAutomationStrings(const CAutomationStrings&) = delete;
    CAutomationStrings& operator=(const CAutomationStrings&) = delete;

    // `text` as an automation string; null, and Complete() false, when it
    // cannot be made.
    BSTR Make(const char* text) {
        WCHAR wide[kWideSize];
        BSTR made = nullptr;
        if (m_alloc && m_free && m_count < kMaxStrings &&
            MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kWideSize))
            made = m_alloc(wide);
        if (made)
            m_strings[m_count++] = made;
        else
            m_failed = true;
        return made;
    }
    VARIANT MakeVariant(const char* text) {
        VARIANT variant = {};
        V_VT(&variant) = VT_BSTR;
        V_BSTR(&variant) = Make(text);
        return variant;
    }
    bool Complete() const { return !m_failed; }

  private:
    enum { kMaxStrings = 4 };
    SysAllocStringProc m_alloc;
    SysFreeStringProc m_free;
    BSTR m_strings[kMaxStrings] = {};
    int m_count = 0;
    bool m_failed = false;
};

VARIANT NumberVariant(LONG number) {
    VARIANT variant = {};
    V_VT(&variant) = VT_I4;
    V_I4(&variant) = number;
    return variant;
}

// The shell's automation object of the desktop window: the window's
// top-level browser, its active view, the view's background object, and
// the application that object belongs to.
void FindDesktopShell(IShellDispatch2** shell) {
    CComRef<IShellWindows> windows;
    CComRef<IDispatch> desktop;
    CComRef<IServiceProvider> services;
    CComRef<IShellBrowser> browser;
    CComRef<IShellView> view;
    CComRef<IDispatch> background;
    CComRef<IShellFolderViewDual> folderView;
    CComRef<IDispatch> application;
    VARIANT location = NumberVariant(CSIDL_DESKTOP);
    VARIANT root = {};
    LONG window = 0;
    // Each step starts from the object the previous one gave. A call that
    // fails gives none (COM's rule for its out pointers), and so does
    // FindWindowSW's S_FALSE, when no desktop window is registered.
    CoCreateInstance(CLSID_ShellWindows, nullptr, kShellWindowsContext, IID_IShellWindows,
                     windows.OutVoid());
    if (windows)
        windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              desktop.Out());
    if (desktop)
        desktop->QueryInterface(IID_IServiceProvider, services.OutVoid());
    if (services)
        services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid());
    if (browser)
        browser->QueryActiveShellView(view.Out());
    if (view)
        view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid());
    if (background)
        background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid());
    if (folderView)
        folderView->get_Application(application.Out());
    if (application)
        application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(shell));
}

bool ExecuteOnDesktop(HMODULE automation, const char* program, const char* folder) {
    CComRef<IShellDispatch2> shell;
    FindDesktopShell(shell.Out());
    if (!shell)
        return false;
    CAutomationStrings strings(automation);
    BSTR file = strings.Make(program);
    VARIANT arguments = strings.MakeVariant("");
    VARIANT directory = strings.MakeVariant(folder);
    VARIANT operation = strings.MakeVariant("open");
    if (!strings.Complete())
        return false;
    return shell->ShellExecute(file, arguments, directory, operation,
                               NumberVariant(SW_SHOWNORMAL)) == S_OK;
}

} // namespace

bool StartAsDesktopUser(const char* program, const char* folder) {
    if (!IsElevatedOnVistaOrLater())
        return false;
    HMODULE automation = LoadSystemLibrary("oleaut32.dll");
    if (!automation)
        return false;
    // Single-threaded, as every thread of this program; a repeated
    // initialisation (S_FALSE) still needs its CoUninitialize.
    CoInitialize(nullptr);
    bool started = ExecuteOnDesktop(automation, program, folder);
    CoUninitialize();
    FreeLibrary(automation);
    return started;
}

void StartAsPlayer(const char* folder, const char* name) {
    char command[MAX_PATH + 2];
    if (!FormatPath(command, "\"%s\\%s\"", folder, name))
        return;
    // Never with an administrator's rights: what lies in the folder may be
    // anyone's. When no shell answers, it is not started at all.
    if (IsElevatedOnVistaOrLater()) {
        StartAsDesktopUser(command, folder);
        return;
    }
    CWorkingDirectory workingDirectory;
    SetCurrentDirectoryA(folder);
    WinExec(command, SW_SHOWNORMAL);
}
