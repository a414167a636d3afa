#include "host/process.h"

#include <windows.h>

namespace {

bool waiting = false;

struct DisabledWindows {
    HWND windows[32];
    size_t count;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM context) {
    auto* disabled = reinterpret_cast<DisabledWindows*>(context);
    if (disabled->count < ARRAYSIZE(disabled->windows) && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        disabled->windows[disabled->count++] = window;
    }
    return TRUE;
}

}  // namespace

int ShowWindowCommand(int showStyle) {
    static const int kCommands[] = {SW_HIDE,          SW_SHOWNORMAL,     SW_SHOWMINIMIZED,
                                    SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
    if (showStyle < 1) showStyle = 1;
    if (showStyle > 6) showStyle = 6;
    return kCommands[showStyle - 1];
}

StartedProcess StartProcess(const wchar_t* program, const wchar_t* commandLine, int showStyle,
                            StandardHandles standard) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowWindowCommand(showStyle));
    const HANDLE handed[] = {standard.input, standard.output};
    bool inherit = standard.input || standard.output;
    if (inherit) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = standard.input;
        startup.hStdOutput = standard.output;
    }
    // Inheritable only for this one start, so that no other started process holds them.
    for (HANDLE handle : handed)
        if (handle) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    Text writable = Text::Copy(commandLine);
    PROCESS_INFORMATION info = {};
    StartedProcess started;
    if (CreateProcessW(program, writable.Data(), nullptr, nullptr, inherit, 0, nullptr, nullptr, &startup, &info)) {
        started.process.Reset(info.hProcess);
        started.thread.Reset(info.hThread);
    }
    for (HANDLE handle : handed)
        if (handle) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    return started;
}

bool StartCommandLine(const wchar_t* commandLine, bool waitForExit, int showStyle) {
    StartedProcess started = StartProcess(nullptr, commandLine, showStyle);
    if (!started.process) return false;
    if (waitForExit)
        WaitForSingleObject(started.process.Get(), INFINITE);
    else
        WaitForInputIdle(started.process.Get(), 1000);
    started.thread.Reset();
    started.process.Reset();
    return true;
}

void WaitForProcesses(const HANDLE* processes, size_t count) {
    HANDLE pending[MAXIMUM_WAIT_OBJECTS - 1];
    DWORD remaining = 0;
    for (size_t i = 0; i < count && remaining < ARRAYSIZE(pending); ++i)
        if (processes[i]) pending[remaining++] = processes[i];

    HWND focus = GetFocus();
    DisabledWindows disabled = {};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    waiting = true;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));

    bool quit = false;
    WPARAM quitCode = 0;
    while (remaining > 0) {
        DWORD woken = MsgWaitForMultipleObjectsEx(remaining, pending, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken < WAIT_OBJECT_0 + remaining) {
            pending[woken - WAIT_OBJECT_0] = pending[--remaining];
        } else if (woken == WAIT_OBJECT_0 + remaining) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    quit = true;
                    quitCode = message.wParam;
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        } else {
            break;  // a handle that cannot be waited for would otherwise spin here
        }
    }

    waiting = false;
    for (size_t i = 0; i < disabled.count; ++i) EnableWindow(disabled.windows[i], TRUE);
    if (focus && IsWindow(focus)) SetFocus(focus);
    SetCursor(previousCursor);
    // The message loop, not this wait, ends the program.
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

bool WaitingForProcesses() { return waiting; }

Text SystemCommandInterpreter() {
    UINT length = GetSystemDirectoryW(nullptr, 0);
    Text directory = Text::OfLength(length);
    length = GetSystemDirectoryW(directory.Data(), length + 1);
    directory.Truncate(length);
    return JoinTexts({directory.Get(), L"\\cmd.exe"});
}
