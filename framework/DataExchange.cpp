#include "DataExchange.h"

#include <string>

#include "Dialog.h"

namespace {

std::string ControlText(HWND control) {
    const int length = ::GetWindowTextLengthA(control);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (control == nullptr) return;
    if (pDX->m_bSaveAndValidate) {
        value = CString(ControlText(control));
    } else if (ControlText(control) != value.Bytes()) {
        ::SetWindowTextA(control, value);
    }
}
