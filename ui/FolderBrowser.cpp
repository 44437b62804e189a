// The Browse button: the shell's folder picker, opened on the folder that
// the install-path field names, in the dialog's language.

#include <shlobj.h>
#include <string.h>

#include "platform/Layout.h"
#include "platform/ShellItems.h"
#include "text/LocalText.h"
#include "ui/SetupDlg.h"

namespace {

// What the picker starts with, handed to its callback through the
// request's lParam. The caption is cut to the longest one langtool lets a
// language file give (kMaxBrowseCaptionLength), the start folder to a
// path's buffer.
struct BrowseStart {
    char caption[kMaxBrowseCaptionLength + 1];
    char path[MAX_PATH];
    bool rightToLeft;
};

int CALLBACK BrowseCallback(HWND hwnd, UINT uMsg, LPARAM, LPARAM lpData) {
    if (uMsg == BFFM_INITIALIZED) {
        const BrowseStart& start = *reinterpret_cast<const BrowseStart*>(lpData);
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, (LPARAM)start.path);
        SetWindowTextA(hwnd, start.caption);
        SetLayoutDirection(hwnd, start.rightToLeft);
    }
    return 0;
}

} // namespace

void CSetupDlg::BrowseForInstallRoot() {
    LocalText caption(m_texts, kText<TXT_BROWSE_CAPTION>);
    LocalText title(m_texts, kText<TXT_BROWSE_TITLE>);

    CString typed;
    m_editInstallPath.GetWindowText(typed);
    // As much of each as fits, in whole characters.
    BrowseStart start;
    CopyText(start.path, sizeof start.path, typed);
    CopyText(start.caption, sizeof start.caption, caption);
    start.rightToLeft = m_texts.RightToLeft();

    BROWSEINFOA request = {};
    request.hwndOwner = m_hWnd;
    request.lpszTitle = title;
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = BrowseCallback;
    request.lParam = (LPARAM)&start;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&request);
    if (!chosen)
        return;

    char path[MAX_PATH];
    if (ShellItemPath(chosen, path))
        m_editInstallPath.SetWindowText(path);
    FreeShellItemList(chosen);
}
