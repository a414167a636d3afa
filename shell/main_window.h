// The program's only window: fixed size, centred, with the listing button and a second button
// that lies below the client area. It lives from Create until its window is destroyed.
#pragma once

#include <windows.h>

#include "host/handle.h"
#include "shell/window_description.h"

// Where a window of the given outer size stands when centred on a screen (halves truncated).
POINT CenteredOrigin(int screenWidth, int screenHeight, int width, int height);

class MainWindow {
public:
    static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    static constexpr DWORD kButtonStyle =
        WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;

    // Builds the window and its controls from the description and shows them; false on failure.
    static bool Create(const WindowDescription& description);
    // Offered every queued message before it is translated; true when the window consumed it.
    static bool PreTranslate(const MSG& message);
    static bool Exists();

private:
    explicit MainWindow(const WindowDescription& description) : description_(description) {}
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Build();
    void SetIcons();
    void RaiseWindowEvent(int event);
    void MoveFocus(bool forward);
    HWND FirstInTabOrder() const;
    bool IsOwnControl(HWND window) const;
    void Paint();

    static MainWindow* instance_;
    const WindowDescription& description_;
    HWND hwnd_ = nullptr;
    HWND rememberedFocus_ = nullptr;
    OwnedIcon bigIcon_, smallIcon_;
};
