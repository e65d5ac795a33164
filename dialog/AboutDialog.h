#pragma once

#include "Dialog.h"
#include "resource.h"

// The About box: the program's name, version and icon; OK, Escape or the close
// box close it.
class CAboutDialog : public CDialog {
public:
    enum { IDD = IDD_ABOUT_DIALOG };

    CAboutDialog() : CDialog(IDD) {}
};
