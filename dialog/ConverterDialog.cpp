#include "ConverterDialog.h"

#include <direct.h>
#include <shellapi.h>

#include <string>

#include "AboutDialog.h"
#include "ConversionRun.h"
#include "DataExchange.h"
#include "FileDialog.h"
#include "SystemCodePage.h"
#include "SystemFiles.h"
#include "WaitCursor.h"

namespace {

const char kHelpPageAddress[] = "https://www.kestrova.example/kestrova/help.htm";

const char kInputFilter[] = "CSV Files (*.csv)|*.csv|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";
const char kOutputFilter[] =
    "TAB Files (*.tab)|*.tab|Tab Delimited Files (*.tab)|*.tab|All Files (*.*)|*.*||";

constexpr int kSavedDirectorySize = 260;

// One Browse: lets the user pick a file into `path`, and keeps the process's
// current drive and directory as they were, whatever the file dialog did to
// them, so that "db.csv" and relative paths keep resolving where they did.
void Browse(CString& path, LPCSTR defaultExtension, LPCSTR filter,
            char (&savedDirectory)[kSavedDirectorySize]) {
    const int drive = _getdrive();
    const bool saved = _getdcwd(drive, savedDirectory, kSavedDirectorySize) != nullptr;

    CFileDialog dialog(TRUE, defaultExtension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       filter);
    if (dialog.DoModal() == IDOK) path = dialog.GetPathName();

    _chdrive(drive);
    if (saved) _chdir(savedDirectory);
}

}  // namespace

// clang-format off
const MessageEntry<CConverterDialog> CConverterDialog::messageMap[] = {
    OnSysCommandEntry<CConverterDialog>(&CConverterDialog::OnSysCommand),
    OnPaintEntry<CConverterDialog>(&CConverterDialog::OnPaint),
    OnQueryDragIconEntry<CConverterDialog>(&CConverterDialog::OnQueryDragIcon),
    OnCommandEntry<CConverterDialog>(IDC_BROWSE_INPUT, &CConverterDialog::OnBrowseInput),
    OnCommandEntry<CConverterDialog>(IDC_BROWSE_OUTPUT, &CConverterDialog::OnBrowseOutput),
    OnCommandEntry<CConverterDialog>(IDC_CONVERT, &CConverterDialog::OnConvert),
    OnCommandEntry<CConverterDialog>(IDC_HELP_PAGE, &CConverterDialog::OnHelpPage),
    OnDropFilesEntry<CConverterDialog>(&CConverterDialog::OnDropFiles),
};
// clang-format on

CConverterDialog::CConverterDialog(CDialog* pParent)
    : CDialog(IDD, pParent),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP_ICON))) {}

bool CConverterDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return RouteMessage(*this, messageMap, message, wParam, lParam, result);
}

void CConverterDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_INPUT_FILE, m_strInputFile);
    DDX_Text(pDX, IDC_OUTPUT_FILE, m_strOutputFile);
}

void CConverterDialog::ShowMessage(const std::string& text, const std::string& caption) {
    MessageBox(text.c_str(), caption.c_str(), MB_OK);
}

void CConverterDialog::ReadBoxes() { UpdateData(TRUE); }

void CConverterDialog::RefreshBoxes() { UpdateData(FALSE); }

BOOL CConverterDialog::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        CString aboutItem;
        aboutItem.LoadString(IDS_ABOUT_ITEM);
        if (!aboutItem.IsEmpty()) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT_ITEM, aboutItem);
        }
    }

    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // Files dragged from Explorer land in the box they are dropped on.
    ::DragAcceptFiles(m_hWnd, TRUE);
    return TRUE;
}

void CConverterDialog::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUT_ITEM) {
        CAboutDialog about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CConverterDialog::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        CDialog::OnPaint();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CConverterDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CConverterDialog::OnBrowseInput() {
    static char savedDirectory[kSavedDirectorySize];
    Browse(m_strInputFile, "*.csv", kInputFilter, savedDirectory);
    RefreshBoxes();
}

void CConverterDialog::OnBrowseOutput() {
    static char savedDirectory[kSavedDirectorySize];
    Browse(m_strOutputFile, "*.tab", kOutputFilter, savedDirectory);
    RefreshBoxes();
}

void CConverterDialog::OnConvert() {
    CWaitCursor wait;
    SystemFiles files;
    RunConversion(m_strInputFile.Bytes(), m_strOutputFile.Bytes(), *this, files, SystemCodePage());
}

void CConverterDialog::OnHelpPage() {
    ReadBoxes();
    // The result is not looked at: a shell that cannot open the page shows nothing.
    ::ShellExecuteA(nullptr, "open", kHelpPageAddress, nullptr, nullptr, SW_HIDE);
    RefreshBoxes();
}

void CConverterDialog::OnDropFiles(HDROP hDropInfo) {
    POINT point{};
    ::DragQueryPoint(hDropInfo, &point);
    HWND target = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    const int box = target != nullptr && ::GetDlgCtrlID(target) == IDC_OUTPUT_FILE ? IDC_OUTPUT_FILE
                                                                                   : IDC_INPUT_FILE;
    const UINT length = ::DragQueryFileA(hDropInfo, 0, nullptr, 0);
    std::string path(length + 1, '\0');
    ::DragQueryFileA(hDropInfo, 0, path.data(), length + 1);
    path.resize(length);
    ::DragFinish(hDropInfo);
    // As if typed: the stored paths change only at the usual moments of exchange.
    ::SetDlgItemTextA(m_hWnd, box, path.c_str());
}
