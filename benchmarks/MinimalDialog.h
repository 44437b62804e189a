#pragma once
// Identifiers of the minimal dialog program's template.
#define IDD_MINIMAL 1
#define IDC_MINIMAL_EDIT 1000
#define IDC_MINIMAL_BROWSE 1001
#define IDC_MINIMAL_COMBO 1005
#define IDC_MINIMAL_LABEL1 1006
#define IDC_MINIMAL_LABEL2 1008
#define IDC_MINIMAL_CHECK 1009
