#pragma once

#include <windows.h>

#include <string>

class CDialog;

// The framework's help command, sent when the user presses F1.
constexpr UINT ID_HELP = 0xE146;

// The application object. The program's entry creates it and calls Run, which
// calls InitInstance; a program without a message loop of its own does its work
// there and returns FALSE.
class CWinApp {
public:
    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the application; the result is the process's exit status.
    int Run(HINSTANCE hInstance);

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The application's command table: the help command, bound to OnHelp.
    virtual BOOL OnCmdMsg(UINT id);
    // Asks the help engine for the help file beside the program, at the context
    // of the dialog that holds the keyboard focus.
    void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    CDialog* m_pMainWnd = nullptr;

private:
    static LRESULT CALLBACK HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam);
};

// The application's name: the program file's name without folder and extension.
std::string ApplicationName();
