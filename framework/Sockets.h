#pragma once

#include <windows.h>

struct WSAData;

// Starts Windows Sockets 1.1 for the life of the process. FALSE when the
// system cannot give exactly that version (a start at another version is undone).
BOOL AfxSocketInit(WSAData* lpwsaData = nullptr);
