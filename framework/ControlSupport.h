#pragma once

#include <windows.h>

// Hosting of ActiveX controls in dialogs. The program's dialogs hold none, so
// there is nothing to host and nothing to do.
inline void AfxEnableControlContainer() {}

// Three-dimensional drawing of controls. Every Windows this program runs on
// draws controls in 3-D itself, so there is nothing to turn on.
inline BOOL Enable3dControlsStatic() { return TRUE; }
