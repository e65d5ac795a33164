#pragma once

#include <windows.h>

#include <string>
#include <utility>

// A counted byte string: its length is stored, so any byte, NUL included, may
// occur inside. Text is in the system's ANSI code page; nothing converts it.
class CString {
public:
    CString() = default;
    CString(const char* text) : m_bytes(text != nullptr ? text : "") {}
    CString(std::string bytes) : m_bytes(std::move(bytes)) {}

    bool IsEmpty() const { return m_bytes.empty(); }

    // For the Windows calls: they read up to the first NUL.
    operator LPCSTR() const { return m_bytes.c_str(); }

    // The bytes themselves, for code that works on standard strings.
    std::string& Bytes() { return m_bytes; }
    const std::string& Bytes() const { return m_bytes; }

    // Replaces the text with string `id` of the program's resources; false,
    // and the string left empty, when there is no such string.
    BOOL LoadString(UINT id);

private:
    std::string m_bytes;
};
