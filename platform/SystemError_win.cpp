#include "SystemError_win.h"

std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text),
        0, nullptr);
    std::string result = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' ||
                               result.back() == ' ' || result.back() == '.')) {
        result.pop_back();
    }
    if (result.empty()) result = "Windows error " + std::to_string(error);
    return result;
}
