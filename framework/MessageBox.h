#pragma once

#include <windows.h>

// The application's own message box: no owner, the application's name as the
// caption, and an exclamation mark when the type asks for no icon.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK);
// The same with string `idPrompt` of the program's resources as the text.
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK);
