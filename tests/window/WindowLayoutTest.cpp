// The controls of the converter dialog and the About box: ids, kinds, texts,
// styles, order and places, measured in dialog units.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "VelmoraWindow.h"
#include "resource.h"

namespace {

constexpr int kNoId = 0xFFFF;

INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog of the test's own in the dialogs' font, to turn dialog units into
// pixels the way the dialog manager does.
class UnitDialog {
public:
    UnitDialog() {
        DLGTEMPLATE header{};
        header.style = DS_SETFONT | WS_POPUP;
        header.cx = 10;
        header.cy = 10;
        std::vector<WORD> words(sizeof(header) / sizeof(WORD));
        std::memcpy(words.data(), &header, sizeof(header));
        words.insert(words.end(), {0, 0, 0, 8});  // no menu, class or title; 8 points
        for (const wchar_t* face = L"MS Sans Serif"; *face != L'\0'; ++face)
            words.push_back(static_cast<WORD>(*face));
        words.push_back(0);
        m_window = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                                reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                                nullptr, &IgnoreEverything, 0);
    }
    ~UnitDialog() { ::DestroyWindow(m_window); }
    UnitDialog(const UnitDialog&) = delete;
    UnitDialog& operator=(const UnitDialog&) = delete;

    // The dialog manager turns a control's place and size into pixels each on
    // its own, so its right edge is left + width, both rounded separately.
    RECT Pixels(int x, int y, int width, int height) const {
        RECT place{x, y, 0, 0};
        RECT size{width, height, 0, 0};
        ::MapDialogRect(m_window, &place);
        ::MapDialogRect(m_window, &size);
        return {place.left, place.top, place.left + size.left, place.top + size.top};
    }

private:
    HWND m_window = nullptr;
};

struct Expected {
    int id;
    const char* kind;
    const char* text;  // the start of the text
    int x, y, width, height;
    DWORD styles;  // style bits the control must have
};

// A child's rectangle in its dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectControls(HWND dialog, const std::vector<Expected>& expected, int skipSizeOfKind = -1) {
    UnitDialog units;
    const std::vector<HWND> children = ChildWindows(dialog);
    ASSERT_EQ(children.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Expected& want = expected[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i) + ": " + want.kind + " \"" + want.text + "\"");
        EXPECT_EQ(::GetDlgCtrlID(child) & 0xFFFF, want.id);
        EXPECT_EQ(::lstrcmpiA(ClassName(child).c_str(), want.kind), 0) << ClassName(child);
        const std::string text = WindowText(child);
        EXPECT_EQ(text.compare(0, std::strlen(want.text), want.text), 0) << text;
        const DWORD style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
        EXPECT_EQ(style & want.styles, want.styles) << std::hex << style;
        const RECT place = ClientRect(dialog, child);
        const RECT wanted = units.Pixels(want.x, want.y, want.width, want.height);
        EXPECT_EQ(place.left, wanted.left);
        EXPECT_EQ(place.top, wanted.top);
        if (static_cast<int>(i) != skipSizeOfKind) {
            EXPECT_EQ(place.right, wanted.right);
            EXPECT_EQ(place.bottom, wanted.bottom);
        }
    }
}

TEST(WindowLayout, TheConverterDialogHoldsItsControlsInTabOrderWhereTheTemplatePutsThem) {
    TempFolder folder;
    VelmoraWindow velmora(folder.Path().string());
    HWND dialog = velmora.Dialog();
    ASSERT_NE(dialog, nullptr) << "the converter dialog did not appear";

    char caption[128] = {};
    ::GetWindowTextA(dialog, caption, sizeof(caption));
    EXPECT_EQ(std::string(caption).rfind("Kestrova by ", 0), 0u) << caption;
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU),
              DWORD{WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU});
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0u);
    EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0u);

    RECT client;
    ::GetClientRect(dialog, &client);
    const RECT wanted = UnitDialog().Pixels(0, 0, 320, 71);
    EXPECT_EQ(client.right, wanted.right);
    EXPECT_EQ(client.bottom, wanted.bottom);

    const DWORD editStyles = WS_TABSTOP | ES_AUTOHSCROLL;
    const DWORD pushStyles = WS_TABSTOP;
    ExpectControls(dialog,
                   {
                       {IDOK, "Button", "Quit", 260, 7, 50, 14, pushStyles | BS_DEFPUSHBUTTON},
                       {IDC_INPUT_FILE, "Edit", "", 52, 7, 166, 14, editStyles},
                       {IDC_BROWSE_INPUT, "Button", "Browse", 218, 7, 39, 14, pushStyles},
                       {IDC_OUTPUT_FILE, "Edit", "", 52, 22, 166, 14, editStyles},
                       {IDC_BROWSE_OUTPUT, "Button", "Browse", 218, 23, 39, 14, pushStyles},
                       {IDC_CONVERT, "Button", "Convert", 260, 23, 50, 14, pushStyles},
                       {IDC_HELP_PAGE, "Button", "Help", 210, 38, 50, 14, pushStyles},
                       {kNoId, "Static", "Input File:", 8, 10, 32, 8, 0},
                       {kNoId, "Static", "Output File:", 8, 24, 37, 8, 0},
                       {IDC_BANNER, "Static", "Kestrova - v1.01 - ", 16, 56, 276, 8, 0},
                   });
    // The boxes start empty; both have a border, drawn sunken by the system.
    for (int box : {IDC_INPUT_FILE, IDC_OUTPUT_FILE}) {
        EXPECT_EQ(velmora.Text(box), "");
        const bool border =
            (::GetWindowLongA(velmora.Control(box), GWL_STYLE) & WS_BORDER) != 0 ||
            (::GetWindowLongA(velmora.Control(box), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
        EXPECT_TRUE(border) << "box " << box;
    }
    // Quit, first in the tab order, holds the focus: Enter ends the program.
    GUITHREADINFO focus{};
    focus.cbSize = sizeof(focus);
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &focus));
    EXPECT_EQ(focus.hwndFocus, velmora.Control(IDOK));
}

TEST(WindowLayout, TheAboutBoxShowsTheIconNameAndOkButton) {
    TempFolder folder;
    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";
    ::PostMessageA(velmora.Dialog(), WM_SYSCOMMAND, IDM_ABOUT_ITEM, 0);
    HWND about = velmora.WaitForOwnedDialog([](HWND window) {
        char caption[64] = {};
        ::GetWindowTextA(window, caption, sizeof(caption));
        return std::string(caption) == "About Velmora";
    });
    ASSERT_NE(about, nullptr) << "no About box";

    RECT client;
    ::GetClientRect(about, &client);
    const RECT wanted = UnitDialog().Pixels(0, 0, 235, 55);
    EXPECT_EQ(client.right, wanted.right);
    EXPECT_EQ(client.bottom, wanted.bottom);
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(about, GWL_EXSTYLE));
    EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0u);

    // An icon control takes the size of its icon, so only its place is fixed.
    const int iconControl = 0;
    ExpectControls(about,
                   {
                       {kNoId, "Static", "", 11, 17, 20, 20, SS_ICON},
                       {kNoId, "Static", "Velmora Version 1.0", 40, 10, 119, 8, SS_NOPREFIX},
                       {kNoId, "Static", "", 40, 25, 119, 8, 0},
                       {IDOK, "Button", "OK", 178, 7, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
                   },
                   iconControl);
    HWND icon = ::GetWindow(about, GW_CHILD);
    DWORD_PTR image = 0;
    ::SendMessageTimeoutA(icon, STM_GETICON, 0, 0, SMTO_NORMAL, 30000, &image);
    EXPECT_NE(image, 0u) << "the About box shows no icon";
    EXPECT_FALSE(WindowText(::GetWindow(icon, GW_HWNDNEXT)).empty());
    EXPECT_FALSE(WindowText(::GetWindow(::GetWindow(icon, GW_HWNDNEXT), GW_HWNDNEXT)).empty());
}

}  // namespace
