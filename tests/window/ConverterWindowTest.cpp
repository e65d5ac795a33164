// VELMORA.EXE driven from outside, as a person uses it: typing into the boxes,
// pressing buttons, reading and dismissing the boxes it shows, and checking the
// files it leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ConversionOutcome.h"
#include "Reference.h"
#include "SystemCodePage.h"
#include "TempFolder.h"
#include "VelmoraWindow.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;

// Quoted fields, a comma inside quotes, doubled quotes, an empty field, LF and
// CR LF line ends, a byte above 0x7F and a last line without its line end.
const std::string kSampleInput =
    "name,\"Smith, John\",42\r\n\"say \"\"hi\"\"\",,x\nCaf\xE9,1\r\nlast,line";

bool Closes(HWND window) {
    return WaitUntil([window] { return !::IsWindow(window); });
}

bool SamePath(const std::string& left, const std::string& right) {
    return ::lstrcmpiA(left.c_str(), right.c_str()) == 0;
}

// Presses Convert and returns the one box the run shows.
VelmoraWindow::Box Convert(const VelmoraWindow& velmora) {
    velmora.Click(IDC_CONVERT);
    bool seen = false;
    VelmoraWindow::Box box = velmora.ReadAndDismissMessageBox(seen);
    EXPECT_TRUE(seen) << "Convert showed no box";
    EXPECT_TRUE(velmora.NoBoxOpen())
        << "Convert showed a second box after \"" << box.caption << "\"";
    return box;
}

TEST(ConverterWindow, ConvertsShowsDoneAndAppendsToTheSameOutputOnEveryRun) {
    TempFolder folder;
    WriteBytes(folder / "people.csv", kSampleInput);
    const std::string converted = reference::ConvertFile(kSampleInput, SystemCodePage());

    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";

    velmora.Type(IDC_INPUT_FILE, "people.csv");
    velmora.Type(IDC_OUTPUT_FILE, "people.tab");
    VelmoraWindow::Box done = Convert(velmora);
    EXPECT_EQ(done.caption, "Done");
    EXPECT_EQ(done.text, "Done");
    EXPECT_EQ(ReadBytes(folder / "people.tab"), converted);
    // Convert reads the boxes and writes the same paths back.
    EXPECT_EQ(velmora.Text(IDC_INPUT_FILE), "people.csv");
    EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), "people.tab");

    // An empty Output File box means db.csv in the current folder, and the box says so.
    velmora.Type(IDC_OUTPUT_FILE, "");
    EXPECT_EQ(Convert(velmora).caption, "Done");
    EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), "db.csv");
    EXPECT_EQ(ReadBytes(folder / "db.csv"), converted);

    // The output is appended to, never replaced.
    EXPECT_EQ(Convert(velmora).caption, "Done");
    EXPECT_EQ(ReadBytes(folder / "db.csv"), converted + converted);
    EXPECT_EQ(ReadBytes(folder / "people.csv"), kSampleInput);
}

TEST(ConverterWindow, EachFailedRunShowsOneErrorBoxAndLeavesTheFilesAlone) {
    TempFolder folder;
    WriteBytes(folder / "in.csv", kSampleInput);
    fs::create_directories(folder.Path() / "folder");
    fs::create_directories(folder.Path() / "sub");

    struct Case {
        const char* what;
        const char* input;
        const char* output;
        const char* caption;
        std::string textHolds;
    };
    const Case cases[] = {
        {"empty Input File box", "", "out.tab", "Error Reading File", NoInputGiven().text},
        {"missing input", "absent.csv", "out.tab", "Error Reading File", "absent.csv"},
        {"input is a folder", "folder", "out.tab", "Error Reading File", "folder"},
        {"output is a folder", "in.csv", "folder", "Error Writing File", "Save to File"},
        {"output in a missing folder", "in.csv", "nowhere\\out.tab", "Error Writing File",
         "Save to File"},
        {"output is the input", "in.csv", "in.csv", "Error Writing File", "in.csv"},
        {"output is the input spelt otherwise", "in.csv", ".\\sub\\..\\IN.CSV",
         "Error Writing File", "IN.CSV"},
    };

    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        velmora.Type(IDC_INPUT_FILE, row.input);
        velmora.Type(IDC_OUTPUT_FILE, row.output);
        VelmoraWindow::Box box = Convert(velmora);
        EXPECT_EQ(box.caption, row.caption);
        EXPECT_NE(box.text.find(row.textHolds), std::string::npos) << box.text;
        EXPECT_NE(box.text, "Done");
        EXPECT_EQ(velmora.Text(IDC_INPUT_FILE), row.input);
        EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), row.output);
    }
    EXPECT_FALSE(fs::exists(folder.Path() / "absent.csv")) << "a missing input was created";
    EXPECT_FALSE(fs::exists(folder.Path() / "out.tab"));
    EXPECT_FALSE(fs::exists(folder.Path() / "db.csv"));
    EXPECT_TRUE(fs::is_empty(folder.Path() / "folder"));
    EXPECT_EQ(ReadBytes(folder / "in.csv"), kSampleInput);
}

TEST(ConverterWindow, BrowseWritesTheStoredPathsBackAndHelpStoresTheBoxes) {
    TempFolder folder;
    WriteBytes(folder / "pick.csv", kSampleInput);
    const std::string picked = folder / "pick.csv";
    const std::string logPath = WindowsPath(
        std::getenv("KESTROVA_BROWSER_LOG") != nullptr ? std::getenv("KESTROVA_BROWSER_LOG") : "");
    ASSERT_FALSE(logPath.empty()) << "KESTROVA_BROWSER_LOG names no file";
    std::error_code ignored;
    fs::remove(logPath, ignored);

    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";

    // Browse stores only the picked path and writes both stored paths back:
    // text typed into the other box since the last read is gone.
    velmora.Type(IDC_OUTPUT_FILE, "typed.tab");
    ASSERT_TRUE(BrowseAndPick(velmora, IDC_BROWSE_INPUT, picked));
    EXPECT_TRUE(SamePath(velmora.Text(IDC_INPUT_FILE), picked)) << velmora.Text(IDC_INPUT_FILE);
    EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), "");

    // Help reads the boxes first, so the typed path survives the next Browse.
    velmora.Type(IDC_OUTPUT_FILE, "kept.tab");
    velmora.Click(IDC_HELP_PAGE);
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(logPath).find("https://") != std::string::npos; }))
        << "the browser was not asked for the help page";
    EXPECT_NE(ReadBytes(logPath).find("/kestrova/help.htm"), std::string::npos)
        << ReadBytes(logPath);
    EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), "kept.tab");
    ASSERT_TRUE(BrowseAndPick(velmora, IDC_BROWSE_INPUT, picked));
    EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), "kept.tab");

    // The output's Browse accepts a file that does not exist yet.
    ASSERT_TRUE(BrowseAndPick(velmora, IDC_BROWSE_OUTPUT, folder / "new.tab"));
    EXPECT_TRUE(SamePath(velmora.Text(IDC_OUTPUT_FILE), folder / "new.tab"))
        << velmora.Text(IDC_OUTPUT_FILE);

    // A cancelled Browse changes no stored path but still writes them back.
    velmora.Type(IDC_INPUT_FILE, "junk.csv");
    velmora.Click(IDC_BROWSE_OUTPUT);
    HWND fileDialog = WaitForFileDialog(velmora);
    ASSERT_NE(fileDialog, nullptr) << "no Open dialog";
    ::PostMessageA(::GetDlgItem(fileDialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closes(fileDialog));
    EXPECT_TRUE(velmora.NoBoxOpen());
    EXPECT_TRUE(SamePath(velmora.Text(IDC_INPUT_FILE), picked)) << velmora.Text(IDC_INPUT_FILE);
    EXPECT_TRUE(SamePath(velmora.Text(IDC_OUTPUT_FILE), folder / "new.tab"));
}

TEST(ConverterWindow, BrowsingIntoAnotherFolderKeepsTheCurrentDirectory) {
    TempFolder folder;
    fs::create_directories(folder.Path() / "sub");
    WriteBytes(folder / "sub\\inside.csv", kSampleInput);

    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";

    // Walk into the folder inside the Open dialog, as a person would, then pick.
    velmora.Click(IDC_BROWSE_INPUT);
    HWND fileDialog = WaitForFileDialog(velmora);
    ASSERT_NE(fileDialog, nullptr) << "no Open dialog";
    TypeIntoFileDialog(fileDialog, "sub");
    ASSERT_TRUE(WaitUntil([&] { return WindowText(FileNameBox(fileDialog)).empty(); }));
    TypeIntoFileDialog(fileDialog, "inside.csv");
    ASSERT_TRUE(Closes(fileDialog));
    EXPECT_TRUE(SamePath(velmora.Text(IDC_INPUT_FILE), folder / "sub\\inside.csv"))
        << velmora.Text(IDC_INPUT_FILE);

    // db.csv lands where the program started, not in the folder browsed to.
    EXPECT_EQ(Convert(velmora).caption, "Done");
    EXPECT_TRUE(fs::exists(folder.Path() / "db.csv"));
    EXPECT_FALSE(fs::exists(folder.Path() / "sub" / "db.csv"));
}

TEST(ConverterWindow, TheSystemMenusAboutItemOpensAFreshAboutBoxEachTime) {
    TempFolder folder;
    VelmoraWindow velmora(folder.Path().string());
    ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";
    velmora.Type(IDC_INPUT_FILE, "typed.csv");
    velmora.Type(IDC_OUTPUT_FILE, "typed.tab");

    const auto isAboutBox = [](HWND window) {
        char caption[64] = {};
        ::GetWindowTextA(window, caption, sizeof(caption));
        return std::string(caption) == "About Velmora";
    };
    // First as a person does it from the keyboard: Alt+Space opens the system
    // menu with its first item selected, Up wraps round to the last item, which
    // must be ours, and Enter chooses it. (Its letter "a" would not do: Wine
    // puts an "About Wine" item of its own in every system menu.) Then as the
    // item's own command.
    ::PostMessageA(velmora.Dialog(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND menu = velmora.WaitForWindow([](HWND window) { return ClassName(window) == "#32768"; });
    ASSERT_NE(menu, nullptr) << "the system menu did not open";
    VelmoraWindow::PressKey(menu, VK_UP);
    VelmoraWindow::PressKey(menu, VK_RETURN);
    HWND first = velmora.WaitForOwnedDialog(isAboutBox);
    ASSERT_NE(first, nullptr) << "the system menu's About item opened no About box";
    EXPECT_EQ(WindowText(::GetDlgItem(first, IDOK)), "OK");
    ::PostMessageA(::GetDlgItem(first, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closes(first));

    ::PostMessageA(velmora.Dialog(), WM_SYSCOMMAND, IDM_ABOUT_ITEM, 0);
    HWND second = velmora.WaitForOwnedDialog(isAboutBox);
    ASSERT_NE(second, nullptr) << "the About command opened no About box";
    EXPECT_FALSE(::IsWindowEnabled(velmora.Dialog())) << "the About box is not modal";
    VelmoraWindow::PressKey(second, VK_ESCAPE);
    ASSERT_TRUE(Closes(second));

    EXPECT_TRUE(velmora.NoBoxOpen());
    EXPECT_EQ(velmora.Text(IDC_INPUT_FILE), "typed.csv");
    EXPECT_EQ(velmora.Text(IDC_OUTPUT_FILE), "typed.tab");
}

TEST(ConverterWindow, QuitEnterEscapeAndTheCloseBoxEachEndTheProgram) {
    TempFolder folder;
    struct Case {
        const char* what;
        void (*close)(const VelmoraWindow&);
    };
    const Case cases[] = {
        {"Quit", [](const VelmoraWindow& v) { v.Click(IDOK); }},
        {"Enter in the Input File box",
         [](const VelmoraWindow& v) {
             VelmoraWindow::PressKey(v.Control(IDC_INPUT_FILE), VK_RETURN);
         }},
        {"Escape", [](const VelmoraWindow& v) { VelmoraWindow::PressKey(v.Dialog(), VK_ESCAPE); }},
        {"the close box",
         [](const VelmoraWindow& v) { ::PostMessageA(v.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    // A second copy runs beside each of them, on its own.
    VelmoraWindow beside(folder.Path().string());
    ASSERT_NE(beside.Dialog(), nullptr) << "the converter dialog did not appear";
    beside.Type(IDC_INPUT_FILE, "beside.csv");
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        VelmoraWindow velmora(folder.Path().string());
        ASSERT_NE(velmora.Dialog(), nullptr) << "the converter dialog did not appear";
        ASSERT_NE(velmora.Dialog(), beside.Dialog());
        velmora.Type(IDC_INPUT_FILE, "typed.csv");
        row.close(velmora);
        EXPECT_TRUE(velmora.WaitForExit()) << "the program is still running";
    }
    EXPECT_TRUE(beside.NoBoxOpen());
    EXPECT_EQ(beside.Text(IDC_INPUT_FILE), "beside.csv");
}

}  // namespace
