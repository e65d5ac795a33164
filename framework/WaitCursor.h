#pragma once

#include <windows.h>

// Shows the hourglass for as long as the object lives, for work that holds the
// window's thread. A box shown meanwhile brings its own arrow.
class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
