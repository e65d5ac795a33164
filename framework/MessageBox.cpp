#include "MessageBox.h"

#include "CString.h"
#include "WinApp.h"

int AfxMessageBox(LPCSTR text, UINT type) {
    if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
    const std::string caption = ApplicationName();
    return ::MessageBoxA(nullptr, text, caption.c_str(), type);
}

int AfxMessageBox(UINT idPrompt, UINT type) {
    CString text;
    text.LoadString(idPrompt);
    return AfxMessageBox(text, type);
}
