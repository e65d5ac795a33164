// winsock2.h must come before windows.h.
#include <winsock2.h>

#include "Sockets.h"

BOOL AfxSocketInit(WSAData* lpwsaData) {
    WSADATA data{};
    const WORD wanted = MAKEWORD(1, 1);
    if (::WSAStartup(wanted, &data) != 0) return FALSE;
    if (data.wVersion != wanted) {
        ::WSACleanup();
        return FALSE;
    }
    if (lpwsaData != nullptr) *lpwsaData = data;
    // Deliberately never stopped: sockets stay started until the process ends.
    return TRUE;
}
