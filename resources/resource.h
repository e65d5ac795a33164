#pragma once

// Resource ids of VELMORA.EXE, shared by the resource script and the code.

// windres has no definition of its own for controls without an id.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_ABOUT_DIALOG 100
#define IDD_CONVERTER_DIALOG 102

#define IDI_APP_ICON 128

#define IDS_ABOUT_ITEM 101
#define IDS_SOCKETS_FAILED 103

#define IDC_INPUT_FILE 1000
#define IDC_OUTPUT_FILE 1001
#define IDC_BROWSE_INPUT 1002
#define IDC_BROWSE_OUTPUT 1003
#define IDC_CONVERT 1004
#define IDC_HELP_PAGE 1009
#define IDC_BANNER 1045

// System-menu command of the About item: below 0xF000 and a multiple of 16,
// as the system reserves the low four bits of system commands.
#define IDM_ABOUT_ITEM 0x0010
