// Resource and control identifiers, shared by the program and Setup.rc.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128

// System-menu command that opens the About box.
#define IDM_ABOUTBOX 0x0010

#define IDC_INSTALL_PATH 1000
#define IDC_BROWSE 1001
#define IDC_LANGUAGE 1005
#define IDC_LABEL_INSTALL_TO 1006
#define IDC_LABEL_LANGUAGE 1008
#define IDC_GLIDE 1009
