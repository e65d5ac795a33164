#include "Dialog.h"

#include "DataExchange.h"

CDialog::CDialog(UINT templateId, CDialog* pParentWnd)
    : m_nIDTemplate(templateId), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    // Without a parent the dialog belongs to the window active on this thread
    // (the main dialog, while it runs), which stays disabled meanwhile.
    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

int CDialog::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

CDialog* CDialog::FromHandle(HWND window) {
    if (window == nullptr ||
        ::GetWindowLongPtrA(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&DialogProc))
        return nullptr;
    return reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

void CDialog::OnSysCommand(UINT, LPARAM) { Default(); }

void CDialog::OnPaint() { Default(); }

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        return dialog->OnInitDialog();
    }
    // Messages sent while the window is created, before WM_INITDIALOG, find no
    // dialog object yet and get the default processing.
    CDialog* dialog = FromHandle(window);
    if (dialog == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        dialog->m_hWnd = nullptr;
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A handler may run a modal loop of its own (a message box, the About box),
    // which handles further messages of this dialog before it returns.
    const bool outerPassOn = m_bPassOn;
    m_bPassOn = false;
    INT_PTR result = FALSE;
    bool handled = OnMessage(message, wParam, lParam, result);
    if (!handled && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // Quit and Enter arrive as IDOK; Escape and the close box as IDCANCEL.
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            handled = true;
        } else if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            handled = true;
        }
        result = TRUE;
    }
    if (!handled || m_bPassOn) result = FALSE;
    m_bPassOn = outerPassOn;
    return result;
}
