#include "FileDialog.h"

#include <cstring>

#include "Dialog.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CDialog* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd) {
    if (lpszFilter != nullptr) {
        // The system wants NUL where the filter has "|".
        m_filter = lpszFilter;
        for (char& character : m_filter)
            if (character == '|') character = '\0';
    }
    if (lpszDefExt != nullptr) {
        m_defaultExtension = lpszDefExt;
        const std::size_t dot = m_defaultExtension.find_last_of('.');
        if (dot != std::string::npos) m_defaultExtension.erase(0, dot + 1);
    }
    if (lpszFileName != nullptr) ::lstrcpynA(m_fileName, lpszFileName, MAX_PATH);

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    // Without a parent the dialog belongs to the window active on this thread,
    // the main dialog, which stays disabled while the file dialog is open.
    m_ofn.hwndOwner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_fileName); }
