#include "CString.h"

BOOL CString::LoadString(UINT id) {
    // With a zero length LoadStringW hands back a pointer to the resource's own
    // copy, so strings of any length load without guessing a buffer size.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleA(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    m_bytes.clear();
    if (length <= 0 || text == nullptr) return FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    m_bytes.resize(static_cast<std::size_t>(size));
    ::WideCharToMultiByte(CP_ACP, 0, text, length, m_bytes.data(), size, nullptr, nullptr);
    return TRUE;
}
