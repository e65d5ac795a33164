#pragma once

#include <windows.h>

#include "CString.h"

class CDataExchange;

// A modal dialog built from a dialog template of the program's resources.
// Derived classes override OnInitDialog, OnOK, OnCancel and DoDataExchange as
// needed, and bind further window messages through their own message table
// (MessageMap.h), which OnMessage routes to.
class CDialog {
public:
    explicit CDialog(UINT templateId, CDialog* pParentWnd = nullptr);
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog and runs its modal loop until EndDialog; returns the
    // result given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR DoModal();

    // TRUE: the controls' contents become the members; FALSE: the other way.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // A message box owned by this dialog.
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

    UINT GetTemplateId() const { return m_nIDTemplate; }

    // The dialog's window while it is shown; null before and after.
    HWND m_hWnd = nullptr;

    // The dialog object behind `window`, if it is a dialog of this program.
    static CDialog* FromHandle(HWND window);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // The derived class's message table; true when it handled the message.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    void EndDialog(int result);
    // Leaves the message being handled to the dialog manager's default processing.
    void Default() { m_bPassOn = true; }
    // The default handlers of the messages that dialog classes take over.
    void OnSysCommand(UINT id, LPARAM extra);
    void OnPaint();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CDialog* m_pParentWnd;
    bool m_bPassOn = false;
};
