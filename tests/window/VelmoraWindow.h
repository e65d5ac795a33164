#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// VELMORA.EXE started by a test, and driven the way a person drives it: through
// its windows, from outside its process.
//
// Every wait polls until the window shows what is expected, with a deadline
// generous enough for the slowest Wine start; a deadline passed means the
// window never got there, which the test then reports.

// The program file under test: VELMORA_EXE, a Windows or a Unix path.
std::string VelmoraPath();

// The Unix path in `path` as Wine reaches it (through drive Z:); others as they are.
std::string WindowsPath(const std::string& path);

// Polls `ready` until it is true; false when the deadline passed first.
bool WaitUntil(const std::function<bool()>& ready);

// A window's text through WM_GETTEXT, from any process.
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The child windows of `parent` in their order (the tab order of a dialog).
std::vector<HWND> ChildWindows(HWND parent);

class VelmoraWindow {
public:
    // Starts the program with `workingFolder` as its current directory and
    // waits for its dialog.
    explicit VelmoraWindow(const std::string& workingFolder);
    // Ends the program if a test left it running.
    ~VelmoraWindow();
    VelmoraWindow(const VelmoraWindow&) = delete;
    VelmoraWindow& operator=(const VelmoraWindow&) = delete;

    HWND Dialog() const { return m_dialog; }
    HWND Control(int id) const { return ::GetDlgItem(m_dialog, id); }

    std::string Text(int id) const { return WindowText(Control(id)); }
    // Replaces the text of box `id`, as typing would.
    void Type(int id, const std::string& text) const;
    // Presses button `id` without waiting for what it does.
    void Click(int id) const;
    // Posts a key press to `window`.
    static void PressKey(HWND window, WPARAM key);

    // The visible dialog-class window of the program, owned by the converter
    // dialog, that `accepts`; null when none came before the deadline.
    HWND WaitForOwnedDialog(const std::function<bool(HWND)>& accepts) const;
    // Any visible top-level window of the program that `accepts`.
    HWND WaitForWindow(const std::function<bool(HWND)>& accepts) const;
    // The program's windows that the converter dialog owns, right now.
    std::vector<HWND> OwnedWindows() const;

    struct Box {
        std::string caption;
        std::string text;
    };
    // Waits for a message box, reads it and dismisses it with OK. `seen` tells
    // whether one came.
    Box ReadAndDismissMessageBox(bool& seen) const;
    // True when the dialog answers messages and no box of the program is open.
    bool NoBoxOpen() const;

    // Waits for the process to end.
    bool WaitForExit() const;

private:
    PROCESS_INFORMATION m_process{};
    HWND m_dialog = nullptr;
};

// The Open dialog's file name box; null for any other window.
HWND FileNameBox(HWND fileDialog);
// The Open dialog the program shows; null when none came before the deadline.
HWND WaitForFileDialog(const VelmoraWindow& velmora);
// Types `name` into the Open dialog's file name box and presses Open.
void TypeIntoFileDialog(HWND fileDialog, const std::string& name);
// Browses with button `browseId` and picks `name` in the Open dialog; false
// when no Open dialog came or it stayed open.
bool BrowseAndPick(const VelmoraWindow& velmora, int browseId, const std::string& name);
