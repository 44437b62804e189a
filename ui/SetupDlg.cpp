#include "ui/SetupDlg.h"

#include "common/OneSetup.h"
#include "platform/PaintDC.h"
#include "ui/AboutDlg.h"

CSetupDlg::CSetupDlg(CWnd* parent)
    : CDialog(IDD, parent),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

BEGIN_MESSAGE_MAP(CSetupDlg)
ON_WM_SYSCOMMAND(OnSysCommand)
ON_WM_PAINT(OnPaint)
ON_WM_QUERYDRAGICON(OnQueryDragIcon)
ON_CONTROL(CBN_SELCHANGE, IDC_LANGUAGE, ApplyLanguage)
ON_BN_CLICKED(IDC_BROWSE, BrowseForInstallRoot)
ON_BN_CLICKED(IDC_GLIDE, OnGlideClicked)
END_MESSAGE_MAP()

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_INSTALL_PATH, m_editInstallPath);
    DDX_Control(pDX, IDC_LANGUAGE, m_comboLanguage);
    DDX_Text(pDX, IDC_INSTALL_PATH, m_strInstallPath);
}

void CSetupDlg::InitFrame() {
    MarkSetupWindow(m_hWnd);
    HMENU systemMenu = GetSystemMenu(false);
    if (systemMenu) {
        CString aboutItem;
        aboutItem.LoadString(IDS_ABOUTBOX);
        if (!aboutItem.IsEmpty()) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutItem);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
}

void CSetupDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

POINT IconPosition(const RECT& client, int iconWidth, int iconHeight) {
    POINT at;
    at.x = (client.right - client.left - iconWidth + 1) / 2;
    at.y = (client.bottom - client.top - iconHeight + 1) / 2;
    return at;
}

void CSetupDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.m_hDC, 0);
    RECT client;
    GetClientRect(&client);
    POINT at = IconPosition(client, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc.m_hDC, at.x, at.y, m_hIcon);
}

HCURSOR CSetupDlg::OnQueryDragIcon() {
    return (HCURSOR)m_hIcon;
}

void CSetupDlg::OnGlideClicked() {}

CButton CSetupDlg::GlideBox() const {
    CButton box;
    box.Attach(GetDlgItem(IDC_GLIDE));
    return box;
}
