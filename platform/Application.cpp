#include "platform/Application.h"
#include "platform/CodePage.h"
#include "platform/LibrarySearch.h"

#include <string.h>

#include "text/CodePage.h"

static CWinApp* s_pApp = nullptr;

CWinApp* AfxGetApp() {
    return s_pApp;
}

const char* AfxGetAppName() {
    return s_pApp ? s_pApp->m_pszAppName : "";
}

CWinApp::CWinApp() : m_pszAppName(m_appName), m_pMainWnd(nullptr) {
    m_appName[0] = '\0';
    s_pApp = this;
}

CWinApp::~CWinApp() {
    if (s_pApp == this)
        s_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp)
END_MESSAGE_MAP()

int CWinApp::ExitInstance() {
    MSG quit;
    if (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return (int)quit.wParam;
    return 0;
}

// "C:\Games\Setup.exe" gives "Setup".
static void TakeAppNameFromModule(char* name, size_t size) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        name[0] = '\0';
        return;
    }
    // The system names this program by a full path.
    const char* slash = FindLastChar(path, '\\');
    const char* file = slash ? slash + 1 : path;
    const char* dot = FindLastChar(file, '.');
    size_t count = dot ? (size_t)(dot - file) : strlen(file);
    if (count >= size)
        count = size - 1;
    memcpy(name, file, count);
    name[count] = '\0';
}

void CWinApp::PrepareProcess() {
    RestrictLibrarySearchToSystem();
    UINT inherited = SetErrorMode(0);
    SetErrorMode(inherited | kQuietErrorMode);
    UseSystemCodePage();
    TakeAppNameFromModule(m_appName, sizeof m_appName);
}
