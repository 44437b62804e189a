#include "platform/Dialog.h"

#include "platform/Application.h"
#include "platform/WaitCursor.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

BEGIN_MESSAGE_MAP(CDialog)
ON_WM_INITDIALOG(OnInitDialog)
ON_BN_CLICKED(IDOK, OnOK)
ON_BN_CLICKED(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// A dialog without a parent of its own is owned by the application's main
// window, unless it is that window.
HWND CDialog::FindOwner() const {
    if (m_pParentWnd)
        return m_pParentWnd->m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != this)
        return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

INT_PTR CDialog::DoModal() {
    m_nModalResult = -1;
    INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId),
                                       FindOwner(), DialogProc, (LPARAM)this);
    // A dialog that ended itself and was destroyed while it initialised
    // comes back as one that could not be created; it ended as it chose.
    return result == -1 ? m_nModalResult : result;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate != FALSE);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// Messages whose result a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
static bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
        return true;
    default:
        return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR && CWaitCursor::IsActive()) {
        CWaitCursor::Show();
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        // Commands nobody here handles go on to the application's table.
        CWinApp* app = AfxGetApp();
        const MessageMapEntry* entry =
            message == WM_COMMAND && app ? app->FindHandler(message, HIWORD(wParam), LOWORD(wParam))
                                         : nullptr;
        if (!entry)
            return FALSE;
        app->CallHandler(*entry, wParam, lParam, &result);
    }
    if (ReturnsResultDirectly(message))
        return result;
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        dialog->m_hWnd = hWnd;
        dialog->CenterWindow();
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (!dialog)
        return FALSE;

    INT_PTR handled = dialog->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        dialog->m_hWnd = nullptr;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == dialog)
            app->m_pMainWnd = nullptr;
    }
    return handled;
}
