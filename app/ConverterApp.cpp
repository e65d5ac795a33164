#include "ConverterApp.h"

#include "ControlSupport.h"
#include "ConverterDialog.h"
#include "MessageBox.h"
#include "Sockets.h"
#include "resource.h"

BOOL CConverterApp::InitInstance() {
    if (!AfxSocketInit()) {
        AfxMessageBox(IDS_SOCKETS_FAILED);
        return FALSE;
    }

    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CConverterDialog dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog lives on this stack frame only; the application lets go of it.
    m_pMainWnd = nullptr;

    // The dialog has closed, so there is no message loop to run: the program ends.
    return FALSE;
}
