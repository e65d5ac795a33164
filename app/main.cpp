#include <windows.h>

#include <commctrl.h>

#include "ConverterApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // The manifest asks for the version 6 controls; registering them up front
    // makes the visual style take on every Windows that has it.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    CConverterApp app;
    return app.Run(hInstance);
}
