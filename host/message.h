#pragma once

#include <windows.h>

// The flags handed to the system: task-modal unless the caller asked for system-modal.
UINT MessageFlags(UINT buttons);

// The pressed button as OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6; -1 for anything else.
int PressedButton(int messageBoxResult);

// Shows a modal message box and returns the pressed button as PressedButton numbers it.
int ShowMessage(const wchar_t* text, UINT buttons, const wchar_t* title, HWND owner);
