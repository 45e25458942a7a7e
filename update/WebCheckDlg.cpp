#include "update/WebCheckDlg.h"

#include "update/WebCheckRes.h"

CWebCheckDlg::CWebCheckDlg() : CDialog(IDD_WEBCHECK) {}
