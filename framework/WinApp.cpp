#include "WinApp.h"

#include "Dialog.h"
#include "MessageBox.h"

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

// The help file: the program's path with ".HLP" in place of its extension.
std::string HelpFilePath() {
    std::string path = ProgramPath();
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
    return path + ".HLP";
}

// The one piece of state the F1 filter needs: a message filter hook carries no
// data of its own. It is set only while Run runs, on the thread that runs it.
thread_local CWinApp* t_helpTarget = nullptr;

}  // namespace

std::string ApplicationName() {
    std::string name = ProgramPath();
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

int CWinApp::Run(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    // Every window of the program runs in a modal loop (the dialogs, the file
    // dialogs, the message boxes), and those loops show each message to the
    // thread's message filter first: the one place that sees F1 everywhere.
    t_helpTarget = this;
    HHOOK filter =
        ::SetWindowsHookExA(WH_MSGFILTER, &CWinApp::HelpKeyFilter, nullptr, ::GetCurrentThreadId());
    const BOOL runLoop = InitInstance();
    // A program whose InitInstance returns TRUE would run its message loop here;
    // this framework serves only programs that do their work in InitInstance.
    (void)runLoop;
    const int status = ExitInstance();
    if (filter != nullptr) ::UnhookWindowsHookEx(filter);
    t_helpTarget = nullptr;
    return status;
}

BOOL CWinApp::InitInstance() { return FALSE; }

int CWinApp::ExitInstance() { return 0; }

BOOL CWinApp::OnCmdMsg(UINT id) {
    if (id != ID_HELP) return FALSE;
    OnHelp();
    return TRUE;
}

void CWinApp::OnHelp() {
    // The context is that of the nearest dialog of ours, from the focus through
    // its parents and owners: 0x20000 plus the dialog's template id.
    DWORD context = 0;
    for (HWND window = ::GetFocus(); window != nullptr; window = ::GetParent(window)) {
        if (CDialog* dialog = CDialog::FromHandle(window)) {
            context = 0x20000 + dialog->GetTemplateId();
            break;
        }
    }
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    const std::string helpFile = HelpFilePath();
    if (!::WinHelpA(owner, helpFile.c_str(), HELP_CONTEXT, context))
        AfxMessageBox("Failed to launch help.");
}

LRESULT CALLBACK CWinApp::HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && t_helpTarget != nullptr) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        const bool plainKey = ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 &&
                              ::GetKeyState(VK_MENU) >= 0;
        if (message->message == WM_KEYDOWN && message->wParam == VK_F1 && plainKey) {
            // The command goes to the application, as the main window would
            // pass it on there; the key itself is used up.
            t_helpTarget->OnCmdMsg(ID_HELP);
            return TRUE;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
