// The Browse button: the shell's folder picker, opened on the folder that
// the install-path field names, in the dialog's language.

#include <shlobj.h>
#include <string.h>

#include "app/SetupDlg.h"
#include "platform/Layout.h"
#include "platform/ShellItems.h"
#include "text/LocalText.h"

// The picker's caption, start folder and direction, in process-wide buffers that
// BrowseForInstallRoot fills before it opens the picker and the callback
// reads once the picker is up. The request's lParam would reach the callback
// as well; Setup keeps these buffers instead: its one user-interface thread
// opens one modal picker at a time, so one pair serves every opening. The
// caption is cut to the longest one langtool lets a language file give
// (kMaxBrowseCaptionLength), the start folder to a path's buffer.
char BrowseCaption[kMaxBrowseCaptionLength + 1];
char BrowseStartPath[MAX_PATH];
bool BrowseRightToLeft;

int CALLBACK BrowseCallback(HWND hwnd, UINT uMsg, LPARAM, LPARAM) {
    if (uMsg == BFFM_INITIALIZED) {
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, (LPARAM)BrowseStartPath);
        SetWindowTextA(hwnd, BrowseCaption);
        SetLayoutDirection(hwnd, BrowseRightToLeft);
    }
    return 0;
}

void CSetupDlg::BrowseForInstallRoot() {
    LocalText caption(m_texts, kText<TXT_BROWSE_CAPTION>);
    LocalText title(m_texts, kText<TXT_BROWSE_TITLE>);

    CString typed;
    m_editInstallPath.GetWindowText(typed);
    // As much of each as fits, in whole characters.
    CopyText(BrowseStartPath, sizeof BrowseStartPath, typed);
    CopyText(BrowseCaption, sizeof BrowseCaption, caption);
    BrowseRightToLeft = m_texts.RightToLeft();

    BROWSEINFOA request = {};
    request.hwndOwner = m_hWnd;
    request.lpszTitle = title;
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = BrowseCallback;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&request);
    if (!chosen)
        return;

    char path[MAX_PATH];
    if (ShellItemPath(chosen, path))
        m_editInstallPath.SetWindowText(path);
    FreeShellItemList(chosen);
}
