#pragma once

#include "WinApp.h"

// The application: starts the services the dialog relies on, runs the
// converter dialog as the main window, and ends when it closes.
class CConverterApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
