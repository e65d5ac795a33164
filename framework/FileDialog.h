#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "CString.h"

class CDialog;

// The system's Open (or Save) file dialog.
class CFileDialog {
public:
    // `lpszFilter` lists pairs "display text|pattern|", ended by a further "|".
    // `lpszDefExt` may be written as a pattern ("*.csv"): its extension is what
    // the dialog adds to a name typed without one.
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                CDialog* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file; IDCANCEL when not, or when the dialog failed.
    INT_PTR DoModal();
    // The chosen file's full path.
    CString GetPathName() const;

    OPENFILENAMEA m_ofn{};

private:
    BOOL m_bOpenFileDialog;
    CDialog* m_pParentWnd;
    std::string m_filter;
    std::string m_defaultExtension;
    char m_fileName[MAX_PATH] = {};
};
