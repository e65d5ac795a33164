// VELMORA.EXE given paths that are long, missing, folders, devices, held by
// another program or gone by the time Convert is pressed: each run either
// works as the name means or shows one box naming the file, and the program
// stays up with every file as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Reference.h"
#include "SystemCodePage.h"
#include "TempFolder.h"
#include "VelmoraWindow.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;

const char kErrorReading[] = "Error Reading File";
const char kErrorWriting[] = "Error Writing File";
const std::string kInput = "a,\"b\"\r\nc,d\nlast,line";
const std::string kKept = "kept\r\n";

std::string Converted() { return reference::ConvertFile(kInput, SystemCodePage()); }

// Files past MAX_PATH are made, read and removed here through the \\?\ form.
std::wstring LongForm(const std::string& path) { return L"\\\\?\\" + fs::path(path).wstring(); }

void PutFile(const std::string& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// The file's bytes; "<missing>" when it cannot be opened.
std::string FileBytes(const std::string& path) {
    const HANDLE file =
        ::CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    ::CloseHandle(file);
    return bytes;
}

// The test folder's own removal stops at MAX_PATH; this one goes as deep as needed.
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\" + name);
            else
                ::DeleteFileW((path + L"\\" + name).c_str());
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

// A full path of exactly `length` characters in a folder of its own under
// `top`, ending in a file name made of `letter`.
std::string PathOfLength(const std::string& top, std::size_t length, char letter) {
    std::string folder = top;
    ::CreateDirectoryW(LongForm(folder).c_str(), nullptr);
    // Folders of 100 characters until what is left fits one file name.
    while (length - folder.size() > 201) {
        folder += "\\" + std::string(100, 'd');
        ::CreateDirectoryW(LongForm(folder).c_str(), nullptr);
    }
    return folder + "\\" + std::string(length - folder.size() - 1, letter);
}

// Presses Convert and reads the one box the run shows; checks that no second
// box follows and that the program is still up and answering.
VelmoraWindow::Box ConvertOnce(const VelmoraWindow& velmora) {
    velmora.Click(IDC_CONVERT);
    bool seen = false;
    VelmoraWindow::Box box = velmora.ReadAndDismissMessageBox(seen);
    EXPECT_TRUE(seen) << "Convert showed no box, or the program hangs";
    EXPECT_TRUE(::IsWindow(velmora.Dialog())) << "the program ended";
    EXPECT_TRUE(velmora.NoBoxOpen())
        << "a second box after \"" << box.caption << "\": " << box.text;
    return box;
}

// Types `input` and `output` into their boxes, then converts once.
VelmoraWindow::Box ConvertTyped(const VelmoraWindow& velmora, const std::string& input,
                                const std::string& output) {
    velmora.Type(IDC_INPUT_FILE, input);
    velmora.Type(IDC_OUTPUT_FILE, output);
    return ConvertOnce(velmora);
}

bool Names(const VelmoraWindow::Box& box, const std::string& path) {
    return box.text.find(path) != std::string::npos;
}

// A drive letter that names no drive.
std::string MissingDrive() {
    const DWORD drives = ::GetLogicalDrives();
    char letter = 'Y';
    while (letter > 'D' && (drives & (1u << (letter - 'A')))) --letter;
    return std::string(1, letter) + ":";
}

// The program started in a fresh folder that holds an input and an output
// with earlier bytes.
class BadPathsWindow : public testing::Test {
protected:
    void SetUp() override {
        PutFile(input, kInput);
        PutFile(output, kKept);
        velmora = std::make_unique<VelmoraWindow>(base);
        ASSERT_NE(velmora->Dialog(), nullptr) << "the converter dialog did not appear";
    }

    TempFolder folder;
    const std::string base = folder.Path().string();
    const std::string input = folder / "in.csv";
    const std::string output = folder / "out.tab";
    std::unique_ptr<VelmoraWindow> velmora;
};

TEST_F(BadPathsWindow, PathsAroundAndPastTheClassicLimitConvert) {
    struct Case {
        std::size_t length;
        bool relative;  // typed from the program's current folder, which lengthens it
    };
    // Windows' classic limit is 260 characters with the final NUL.
    const Case cases[] = {{259, false}, {260, false}, {261, false},
                          {300, false}, {259, true},  {300, true}};
    for (const Case& row : cases) {
        SCOPED_TRACE(std::to_string(row.length) + (row.relative ? " relative" : " full"));
        const std::string top = base + "\\long" + std::to_string(row.length);
        const std::size_t skipped = row.relative ? base.size() + 1 : 0;
        const std::string longInput = PathOfLength(top, skipped + row.length, 'i');
        const std::string longOutput = PathOfLength(top, skipped + row.length, 'o');
        const std::string typedInput = longInput.substr(skipped);
        const std::string typedOutput = longOutput.substr(skipped);
        ASSERT_EQ(typedInput.size(), row.length);
        ASSERT_EQ(typedOutput.size(), row.length);
        PutFile(longInput, kInput);
        PutFile(longOutput, kKept);

        const VelmoraWindow::Box box = ConvertTyped(*velmora, typedInput, typedOutput);
        EXPECT_EQ(box.caption, "Done") << box.text;
        EXPECT_EQ(FileBytes(longOutput), kKept + Converted());
        EXPECT_EQ(FileBytes(longInput), kInput);
        // The stored paths come back whole.
        EXPECT_EQ(velmora->Text(IDC_INPUT_FILE), typedInput);
        EXPECT_EQ(velmora->Text(IDC_OUTPUT_FILE), typedOutput);
        RemoveTree(LongForm(top));
    }
}

TEST_F(BadPathsWindow, MissingPlacesAndFoldersGetOneBoxNamingThePath) {
    fs::create_directories(folder.Path() / "folder");
    const std::string missingFolder = folder / "no-such-folder";
    const std::string noDrive = MissingDrive() + "\\kestrova";

    struct Case {
        std::string what;
        std::string input;
        std::string output;
        const char* caption;
        std::string named;
    };
    const Case cases[] = {
        {"input on a missing drive", noDrive + "\\in.csv", output, kErrorReading, noDrive},
        {"output on a missing drive", input, noDrive + "\\out.tab", kErrorWriting, noDrive},
        {"input in a missing folder", missingFolder + "\\in.csv", output, kErrorReading,
         missingFolder},
        {"output in a missing folder", input, missingFolder + "\\out.tab", kErrorWriting,
         missingFolder},
        {"input is a folder", folder / "folder", output, kErrorReading, folder / "folder"},
        {"output is a folder", input, folder / "folder", kErrorWriting, folder / "folder"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        const VelmoraWindow::Box box = ConvertTyped(*velmora, row.input, row.output);
        EXPECT_EQ(box.caption, row.caption);
        EXPECT_TRUE(Names(box, row.named)) << box.text;
        EXPECT_EQ(FileBytes(input), kInput);
        EXPECT_EQ(FileBytes(output), kKept);
    }
    EXPECT_FALSE(fs::exists(missingFolder)) << "a missing folder was created";
    EXPECT_TRUE(fs::is_empty(folder.Path() / "folder"));
}

TEST_F(BadPathsWindow, DeviceNamesWorkAsDevicesOrGetOneBox) {
    struct Case {
        const char* input;
        const char* output;
        const char* device;
        bool mustWork;
    };
    // The null device takes any output. The others exist on some machines
    // only: each either works or is refused in one box. The console is never
    // read from: that would wait for a person.
    const Case cases[] = {
        {"in.csv", "NUL", "NUL", true},     {"in.csv", "CON", "CON", false},
        {"COM1", "out.tab", "COM1", false}, {"LPT1", "out.tab", "LPT1", false},
        {"in.csv", "COM1", "COM1", false},  {"in.csv", "LPT1", "LPT1", false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.input) + " -> " + row.output);
        const std::string before = FileBytes(output);
        const VelmoraWindow::Box box = ConvertTyped(*velmora, row.input, row.output);
        if (row.mustWork || box.caption == "Done") {
            EXPECT_EQ(box.caption, "Done") << box.text;
            EXPECT_EQ(box.text, "Done");
        } else {
            EXPECT_EQ(box.caption,
                      row.input == std::string(row.device) ? kErrorReading : kErrorWriting);
            EXPECT_TRUE(Names(box, row.device)) << box.text;
        }
        // Whatever a device gave, the file's earlier bytes come first.
        EXPECT_EQ(FileBytes(output).compare(0, before.size(), before), 0);
        EXPECT_EQ(FileBytes(input), kInput);
    }
    // None of them became a file in the folder.
    for (const char* name : {"NUL", "CON", "COM1", "LPT1"})
        EXPECT_FALSE(fs::exists(folder.Path() / name)) << name;
}

TEST_F(BadPathsWindow, OutputHeldWithoutWriteSharingGetsOneBoxAndKeepsItsBytes) {
    // Another program has the output open and lets others read it only.
    const HANDLE holder = ::CreateFileA(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const VelmoraWindow::Box refused = ConvertTyped(*velmora, input, output);
    EXPECT_EQ(refused.caption, kErrorWriting);
    EXPECT_TRUE(Names(refused, output)) << refused.text;
    ::CloseHandle(holder);
    EXPECT_EQ(FileBytes(output), kKept);
    EXPECT_EQ(FileBytes(input), kInput);

    // Once let go, the same file takes the records after its earlier bytes.
    EXPECT_EQ(ConvertOnce(*velmora).caption, "Done");
    EXPECT_EQ(FileBytes(output), kKept + Converted());
}

TEST_F(BadPathsWindow, InputRemovedBeforeConvertGetsOneBoxNamingIt) {
    struct Case {
        const char* what;
        bool browse;  // picked in the Open dialog, else typed
    };
    const Case cases[] = {{"picked with Browse", true}, {"typed", false}};
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        const std::string gone = folder / (std::string(row.browse ? "picked" : "typed") + ".csv");
        PutFile(gone, kInput);
        if (row.browse) {
            ASSERT_TRUE(BrowseAndPick(*velmora, IDC_BROWSE_INPUT, gone));
            EXPECT_EQ(::lstrcmpiA(velmora->Text(IDC_INPUT_FILE).c_str(), gone.c_str()), 0)
                << velmora->Text(IDC_INPUT_FILE);
        } else {
            velmora->Type(IDC_INPUT_FILE, gone);
        }
        // Typed after Browse, which writes the stored paths back over the boxes.
        velmora->Type(IDC_OUTPUT_FILE, output);
        ASSERT_TRUE(::DeleteFileA(gone.c_str()));

        const VelmoraWindow::Box box = ConvertOnce(*velmora);
        EXPECT_EQ(box.caption, kErrorReading);
        EXPECT_TRUE(Names(box, fs::path(gone).filename().string())) << box.text;
        EXPECT_FALSE(fs::exists(gone)) << "the removed input was created again";
        EXPECT_EQ(FileBytes(output), kKept);
        EXPECT_EQ(FileBytes(input), kInput);
    }
}

}  // namespace
