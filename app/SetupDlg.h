#pragma once
// The setup dialog: the program's whole user interface. The frame (icon,
// About item, painting) lives in app/; opening, language selection,
// browsing and the Install command in ui/, as thin steps over the
// installation in install/.

#include "install/ExitCodes.h"
#include "install/Names.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/String.h"
#include "res/resource.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"

class CSetupDlg : public CDialog {
  public:
    explicit CSetupDlg(CWnd* parent = nullptr);
    enum { IDD = IDD_SETUP_DIALOG };

    // The folder and the language the dialog opens with, as the command
    // line gave them (empty: as without).
    void Preset(const char* folder, const char* language);

    // Texts of the dialog's language table; empty when it has none.
    CString LoadText(int index);
    // A text of the language files installed in `folder`.
    CString LoadInstalledText(const CString& folder, int index);

    // The probes and steps below are the installation's (install/),
    // owned by the dialog.
    // Finds the first CD-ROM drive holding the game and writes its root
    // ("D:\") into `root` (MAX_PATH bytes). When there is none it tells the
    // user and ends the process with status -1: it never returns without one.
    void FindSourceRoot(char* root);
    // Whether the Glide driver library in the system folder can be loaded.
    bool IsGlideDriverPresent();

    // The installation; true when every step that must succeed did.
    bool InstallProduct();
    bool InstallElevated(const char* sourceRoot, const char* language, SetupExit& result);

    // Opening and language selection.
    void FillLanguageList();
    void ApplyLanguage();
    // The language's direction and texts, on the dialog.
    void ApplyDialogTexts();
    bool IsProductInstalledAt(const char* folder);
    void RunProduct(const char* folder);

    // The Browse button.
    void BrowseForInstallRoot();

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The Install command.
    void OnOK() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnGlideClicked();

    // The About item in the system menu and the dialog's icons.
    void InitFrame();
    // Offers to run an installation recorded in the registry.
    bool OfferRecordedInstallation();

    // The hidden check box that carries the Glide probe's result from the
    // dialog's opening to the installation: checked when a driver is present.
    CButton GlideBox() const;

    LanguageTexts m_texts;
    CEdit m_editInstallPath;
    CComboBox m_comboLanguage;
    CString m_strInstallPath;
    HICON m_hIcon;
    CString m_strPresetFolder;
    CString m_strPresetLanguage;

    DECLARE_MESSAGE_MAP(CSetupDlg, CDialog)
};

// `text`, or `fallback` when it is empty: fixed English in place of a text
// the language table lacks.
inline const char* TextOr(const CString& text, const char* fallback) {
    return text.IsEmpty() ? fallback : (const char*)text;
}

// The folder picker's callback and the process-wide buffers it reads its
// start values from (ui/FolderBrowser.cpp says why they are buffers).
int CALLBACK BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
extern char BrowseCaption[kMaxBrowseCaptionLength + 1];
extern char BrowseStartPath[MAX_PATH];
extern bool BrowseRightToLeft;

// Where a minimised window draws its icon: centred, rounding up.
POINT IconPosition(const RECT& client, int iconWidth, int iconHeight);
