#pragma once

#include <windows.h>

#include <string>

// The system's own words for a Windows error code, without the final period.
std::string SystemErrorText(DWORD error);
