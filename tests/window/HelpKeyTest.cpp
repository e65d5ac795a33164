// F1 asks the help engine for the help file beside the program, at the
// context of the dialog in front: 0x20000 plus the dialog's template id.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "VelmoraWindow.h"
#include "resource.h"

namespace {

struct HelpRequest {
    UINT command;
    LONG context;
    std::string helpFile;
};

// Stands in for the help engine: WinHelp hands each request to the window of
// class "MS_WINHELP" as WM_COPYDATA, starting the engine only when there is no
// such window. The request is a small record: size, command, data, a reserved
// word, and the offset of the help file's name within it.
class HelpEngineStandIn {
public:
    HelpEngineStandIn() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &HelpEngineStandIn::WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MS_WINHELP";
        ::RegisterClassA(&windowClass);
        m_window = ::CreateWindowA("MS_WINHELP", "help engine stand-in", WS_OVERLAPPED, 0, 0, 10,
                                   10, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_requests));
    }
    ~HelpEngineStandIn() {
        ::DestroyWindow(m_window);
        ::UnregisterClassA("MS_WINHELP", ::GetModuleHandleA(nullptr));
    }
    HelpEngineStandIn(const HelpEngineStandIn&) = delete;
    HelpEngineStandIn& operator=(const HelpEngineStandIn&) = delete;

    // Waits, handling this thread's messages, for the next request.
    bool WaitForRequest(HelpRequest& request) {
        const bool came = WaitUntil([this] {
            MSG message;
            while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
            return !m_requests.empty();
        });
        if (came) {
            request = m_requests.front();
            m_requests.erase(m_requests.begin());
        }
        return came;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* requests =
            reinterpret_cast<std::vector<HelpRequest>*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_COPYDATA || requests == nullptr)
            return ::DefWindowProcA(window, message, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const auto* bytes = static_cast<const char*>(data->lpData);
        WORD command = 0;
        LONG context = 0;
        WORD nameOffset = 0;
        std::memcpy(&command, bytes + 2, sizeof(command));
        std::memcpy(&context, bytes + 4, sizeof(context));
        std::memcpy(&nameOffset, bytes + 12, sizeof(nameOffset));
        requests->push_back(
            {command, context, nameOffset != 0 ? std::string(bytes + nameOffset) : std::string()});
        return TRUE;
    }

    HWND m_window = nullptr;
    std::vector<HelpRequest> m_requests;
};

bool EndsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           ::lstrcmpiA(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

TEST(HelpKey, F1AsksForTheHelpFileBesideTheProgramAtTheFrontDialogsContext) {
    HelpEngineStandIn helpEngine;
    TempFolder folder;
    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";

    std::string helpFile = VelmoraPath();
    helpFile.replace(helpFile.size() - 4, 4, ".HLP");

    VelmoraWindow::PressKey(velmora.Control(IDC_INPUT_FILE), VK_F1);
    HelpRequest request{};
    ASSERT_TRUE(helpEngine.WaitForRequest(request)) << "F1 in the converter dialog asked no help";
    EXPECT_EQ(request.command, UINT{HELP_CONTEXT});
    EXPECT_EQ(request.context, 0x20000 + IDD_CONVERTER_DIALOG);
    EXPECT_TRUE(EndsWithNoCase(request.helpFile, helpFile.substr(helpFile.find_last_of("\\/") + 1)))
        << request.helpFile;

    ::PostMessageA(velmora.Dialog(), WM_SYSCOMMAND, IDM_ABOUT_ITEM, 0);
    HWND about = velmora.WaitForOwnedDialog([](HWND window) {
        return ::GetDlgItem(window, IDOK) != nullptr && WindowText(window) == "About Velmora";
    });
    ASSERT_NE(about, nullptr) << "no About box";
    VelmoraWindow::PressKey(::GetDlgItem(about, IDOK), VK_F1);
    ASSERT_TRUE(helpEngine.WaitForRequest(request)) << "F1 in the About box asked no help";
    EXPECT_EQ(request.context, 0x20000 + IDD_ABOUT_DIALOG);
    // F1 is the help engine's: the About box stays open.
    EXPECT_TRUE(::IsWindow(about));
}

}  // namespace
