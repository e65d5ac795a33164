#pragma once

#include <windows.h>

#include "CString.h"

class CDialog;

// One exchange between a dialog's controls and its members, in the direction
// UpdateData was asked for.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
};

// The text of control `nIDC`, as it stands, with no validation or length limit.
// Written to the control only when it differs, so that an unchanged box keeps
// its caret and selection.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
