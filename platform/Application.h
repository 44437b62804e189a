#pragma once
// CWinApp: the one application object. The program defines a single global
// object of a class derived from it; the framework's start routine
// (platform/Start.cpp) prepares the process, then runs its InitInstance
// once. Returning false ends the process without a message loop.

#include "platform/CmdTarget.h"

class CWnd;

// The framework's help command.
enum { ID_HELP = 0xE146 };

class CWinApp : public CCmdTarget {
  public:
    CWinApp();
    ~CWinApp() override;

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    // The process's exit status once InitInstance has returned false: the
    // code of a quit message posted by then (AfxPostQuitMessage), else 0.
    virtual int ExitInstance();

    // The executable's file name without its extension.
    const char* m_pszAppName;
    // The main window; cleared when that window is destroyed.
    CWnd* m_pMainWnd;

    // Runs before InitInstance: the library search (first, before anything
    // loads a library), the error mode and the application name.
    void PrepareProcess();

  protected:
    // The help command. The program carries no help content: the command is
    // answered with the system's default beep.
    void OnHelp() { MessageBeep(MB_OK); }

    DECLARE_MESSAGE_MAP(CWinApp, CCmdTarget)

  private:
    char m_appName[MAX_PATH];
};

CWinApp* AfxGetApp();
// Asks the process to end with `exitCode` (a quit message).
inline void AfxPostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}
const char* AfxGetAppName();

// The error mode bits that make a drive without a disc fail quietly.
enum { kQuietErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX };

// Control hosting and the 3-D look of older systems. Neither dialog hosts
// OLE controls, and every supported system draws 3-D dialogs itself, so
// both leave the process as it is.
inline void AfxEnableControlContainer() {}
inline BOOL Enable3dControlsStatic() {
    return TRUE;
}
