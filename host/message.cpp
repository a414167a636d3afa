#include "host/message.h"

UINT MessageFlags(UINT buttons) { return (buttons & MB_SYSTEMMODAL) ? buttons : buttons | MB_TASKMODAL; }

int PressedButton(int messageBoxResult) {
    return messageBoxResult >= IDOK && messageBoxResult <= IDNO ? messageBoxResult - IDOK : -1;
}

int ShowMessage(const wchar_t* text, UINT buttons, const wchar_t* title, HWND owner) {
    return PressedButton(MessageBoxW(owner, text ? text : L"", title ? title : L"", MessageFlags(buttons)));
}
