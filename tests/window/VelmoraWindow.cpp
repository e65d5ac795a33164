#include "VelmoraWindow.h"

#include <cstdlib>

namespace {

constexpr DWORD kDeadlineMs = 60000;
constexpr DWORD kPollMs = 20;
constexpr UINT kSendTimeoutMs = 30000;
constexpr int kMessageBoxTextId = 0xFFFF;

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto* found = reinterpret_cast<ProcessWindows*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && ::IsWindowVisible(window)) found->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    ProcessWindows found{processId, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string VelmoraPath() {
    const char* path = std::getenv("VELMORA_EXE");
    return WindowsPath(path != nullptr ? path : "VELMORA.EXE");
}

std::string WindowsPath(const std::string& path) {
    return !path.empty() && path[0] == '/' ? "Z:" + path : path;
}

bool WaitUntil(const std::function<bool()>& ready) {
    const ULONGLONG start = ::GetTickCount64();
    while (!ready()) {
        if (::GetTickCount64() - start > kDeadlineMs) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                               SMTO_NORMAL, kSendTimeoutMs, &length))
        return "<no answer>";
    return std::string(text, length < sizeof(text) ? length : 0);
}

std::string ClassName(HWND window) {
    char name[256] = {};
    const int length = ::GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

VelmoraWindow::VelmoraWindow(const std::string& workingFolder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = VelmoraPath();
    commandLine.insert(commandLine.begin(), '"');
    commandLine.push_back('"');
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.c_str(), &startup, &m_process))
        return;
    WaitUntil([this] {
        for (HWND window : TopLevelWindows(m_process.dwProcessId)) {
            char caption[256] = {};
            ::GetWindowTextA(window, caption, sizeof(caption));
            if (ClassName(window) == "#32770" && StartsWith(caption, "Kestrova by ")) {
                m_dialog = window;
                return true;
            }
        }
        return false;
    });
}

VelmoraWindow::~VelmoraWindow() {
    if (m_process.hProcess == nullptr) return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, kDeadlineMs);
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

void VelmoraWindow::Type(int id, const std::string& text) const {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_NORMAL, kSendTimeoutMs, &ignored);
}

void VelmoraWindow::Click(int id) const { ::PostMessageA(Control(id), BM_CLICK, 0, 0); }

void VelmoraWindow::PressKey(HWND window, WPARAM key) {
    ::PostMessageA(window, WM_KEYDOWN, key, 1);
    ::PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

std::vector<HWND> VelmoraWindow::OwnedWindows() const {
    std::vector<HWND> owned;
    for (HWND window : TopLevelWindows(m_process.dwProcessId))
        if (window != m_dialog && ::GetWindow(window, GW_OWNER) == m_dialog)
            owned.push_back(window);
    return owned;
}

HWND VelmoraWindow::WaitForWindow(const std::function<bool(HWND)>& accepts) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows(m_process.dwProcessId))
            if (accepts(window)) {
                found = window;
                return true;
            }
        return false;
    });
    return found;
}

HWND VelmoraWindow::WaitForOwnedDialog(const std::function<bool(HWND)>& accepts) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : OwnedWindows())
            if (ClassName(window) == "#32770" && accepts(window)) {
                found = window;
                return true;
            }
        return false;
    });
    return found;
}

VelmoraWindow::Box VelmoraWindow::ReadAndDismissMessageBox(bool& seen) const {
    HWND box = WaitForOwnedDialog(
        [](HWND window) { return ::GetDlgItem(window, kMessageBoxTextId) != nullptr; });
    seen = box != nullptr;
    if (!seen) return {};
    char caption[256] = {};
    ::GetWindowTextA(box, caption, sizeof(caption));
    Box read{caption, WindowText(::GetDlgItem(box, kMessageBoxTextId))};
    ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitUntil([box] { return !::IsWindow(box); });
    return read;
}

bool VelmoraWindow::NoBoxOpen() const {
    // A message sent to the dialog is answered by whichever modal loop runs on
    // its thread: once it is answered, any box still to come is already open.
    return WindowText(m_dialog) != "<no answer>" && OwnedWindows().empty();
}

bool VelmoraWindow::WaitForExit() const {
    return ::WaitForSingleObject(m_process.hProcess, kDeadlineMs) == WAIT_OBJECT_0;
}

HWND FileNameBox(HWND fileDialog) {
    HWND box = ::GetDlgItem(fileDialog, 0x47C);
    return box != nullptr ? box : ::GetDlgItem(fileDialog, 0x480);
}

HWND WaitForFileDialog(const VelmoraWindow& velmora) {
    return velmora.WaitForOwnedDialog([](HWND window) { return FileNameBox(window) != nullptr; });
}

void TypeIntoFileDialog(HWND fileDialog, const std::string& name) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(FileNameBox(fileDialog), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(name.c_str()), SMTO_NORMAL, kSendTimeoutMs,
                          &ignored);
    ::PostMessageA(::GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
}

bool BrowseAndPick(const VelmoraWindow& velmora, int browseId, const std::string& name) {
    velmora.Click(browseId);
    HWND fileDialog = WaitForFileDialog(velmora);
    if (fileDialog == nullptr) return false;
    TypeIntoFileDialog(fileDialog, name);
    return WaitUntil([fileDialog] { return !::IsWindow(fileDialog); });
}
