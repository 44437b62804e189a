#include "ui/AboutDlg.h"

BEGIN_MESSAGE_MAP(CAboutDlg)
END_MESSAGE_MAP()
