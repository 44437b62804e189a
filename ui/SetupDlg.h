#pragma once
// The setup dialog: the program's whole user interface. Its frame (icon,
// About item, painting), opening and language selection, browsing and the
// Install command, as thin steps over the installation in install/.

#include "common/ExitCodes.h"
#include "common/Names.h"
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

    // The probes and steps below are the installation's (install/),
    // owned by the dialog.
    // Finds the first CD-ROM drive holding the game and writes its root
    // ("D:\") into `root` (MAX_PATH bytes). When there is none it tells the
    // user and returns false: the caller then ends setup (EndSetup) with
    // kExitNoMedium.
    bool FindSourceRoot(char* root);
    // Whether the Glide driver library in the system folder can be loaded.
    bool IsGlideDriverPresent();

    // The installation; kExitInstalled when every step that must succeed
    // did.
    SetupExit InstallProduct();
    bool InstallElevated(const char* sourceRoot, const char* language, SetupExit& result);

    // Opening and language selection.
    void FillLanguageList();
    // The language chosen in the list, from the medium at `sourceRoot`, or
    // (ApplyLanguage, when the choice changes) from the one found now.
    void ApplyLanguage();
    void ApplyLanguageFrom(const char* sourceRoot);
    // The language's direction and texts, on the dialog.
    void ApplyDialogTexts();
    bool IsProductInstalledAt(const char* folder);
    void RunProduct(const char* folder);

    // The Browse button.
    void BrowseForInstallRoot();

    // How setup ends once the dialog has (CSetupApp ends the program with it).
    SetupExit ExitCode() const { return m_exitCode; }

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
    // Ends the dialog, and setup with `code`; while the dialog opens, also
    // destroys it so that it is never shown.
    void EndSetup(SetupExit code);
    void EndWhileOpening(SetupExit code);

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
    SetupExit m_exitCode = kExitInstalled;

    DECLARE_MESSAGE_MAP(CSetupDlg, CDialog)
};

// Where a minimised window draws its icon: centred, rounding up.
POINT IconPosition(const RECT& client, int iconWidth, int iconHeight);
