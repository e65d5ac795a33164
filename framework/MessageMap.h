#pragma once

#include <windows.h>

#include <cstddef>
#include <variant>

// A dialog class's table of the window messages it handles, one entry per
// event, each bound to a handler named On plus the event. The dialog procedure
// looks a message up here before the dialog manager's default processing.
//
// Classes in this file: MessageEntry, and the entry makers OnCommandEntry,
// OnSysCommandEntry, OnPaintEntry, OnQueryDragIconEntry, OnDropFilesEntry.

template <class Dialog>
struct MessageEntry {
    using Command = void (Dialog::*)();
    using SysCommand = void (Dialog::*)(UINT id, LPARAM extra);
    using QueryIcon = HCURSOR (Dialog::*)();
    using DropFiles = void (Dialog::*)(HDROP drop);

    UINT message;
    UINT commandId;  // the control, for WM_COMMAND; 0 otherwise
    std::variant<Command, SysCommand, QueryIcon, DropFiles> handler;
};

// A button click: WM_COMMAND with BN_CLICKED from control `id`.
template <class Dialog>
MessageEntry<Dialog> OnCommandEntry(UINT id, typename MessageEntry<Dialog>::Command handler) {
    return {WM_COMMAND, id, handler};
}
template <class Dialog>
MessageEntry<Dialog> OnSysCommandEntry(typename MessageEntry<Dialog>::SysCommand handler) {
    return {WM_SYSCOMMAND, 0, handler};
}
template <class Dialog>
MessageEntry<Dialog> OnPaintEntry(typename MessageEntry<Dialog>::Command handler) {
    return {WM_PAINT, 0, handler};
}
template <class Dialog>
MessageEntry<Dialog> OnQueryDragIconEntry(typename MessageEntry<Dialog>::QueryIcon handler) {
    return {WM_QUERYDRAGICON, 0, handler};
}
template <class Dialog>
MessageEntry<Dialog> OnDropFilesEntry(typename MessageEntry<Dialog>::DropFiles handler) {
    return {WM_DROPFILES, 0, handler};
}

// Calls the handler that `table` binds to the message. Returns false when the
// table has none, and `result` then is left alone.
template <class Dialog, std::size_t count>
bool RouteMessage(Dialog& dialog, const MessageEntry<Dialog> (&table)[count], UINT message,
                  WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    for (const MessageEntry<Dialog>& entry : table) {
        if (entry.message != message) continue;
        if (message == WM_COMMAND &&
            (LOWORD(wParam) != entry.commandId || HIWORD(wParam) != BN_CLICKED))
            continue;
        using Entry = MessageEntry<Dialog>;
        if (auto* command = std::get_if<typename Entry::Command>(&entry.handler)) {
            (dialog.**command)();
            result = TRUE;
        } else if (auto* sysCommand = std::get_if<typename Entry::SysCommand>(&entry.handler)) {
            (dialog.**sysCommand)(static_cast<UINT>(wParam), lParam);
            result = TRUE;
        } else if (auto* queryIcon = std::get_if<typename Entry::QueryIcon>(&entry.handler)) {
            // The one dialog message whose answer is the procedure's own result.
            result = reinterpret_cast<INT_PTR>((dialog.**queryIcon)());
        } else if (auto* dropFiles = std::get_if<typename Entry::DropFiles>(&entry.handler)) {
            (dialog.**dropFiles)(reinterpret_cast<HDROP>(wParam));
            result = TRUE;
        }
        return true;
    }
    return false;
}
