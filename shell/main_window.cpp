#include "shell/main_window.h"

#include <new>

#include "host/process.h"
#include "shell/frame.h"
#include "shell/keyboard.h"

namespace {

const wchar_t kClassName[] = L"VelmoraMainWindow";
const wchar_t kIconName[] = L"DEFAULT_ICON";
constexpr size_t kMaximumControls = 8;

HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kClassName, &existing)) return true;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

HICON LoadAppIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), kIconName, IMAGE_ICON, size, size, 0));
}

}  // namespace

MainWindow* MainWindow::instance_ = nullptr;

POINT CenteredOrigin(int screenWidth, int screenHeight, int width, int height) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

bool MainWindow::Create(const WindowDescription& description) {
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(MainWindow));
    if (!memory) return false;
    auto* window = new (memory) MainWindow(description);
    HoldEvents();
    bool built = window->Build();
    if (!built && window->hwnd_) DestroyWindow(window->hwnd_);  // releases the object at WM_NCDESTROY
    if (!built && !window->hwnd_) {
        window->~MainWindow();
        HeapFree(GetProcessHeap(), 0, memory);
    }
    return built;
}

bool MainWindow::Build() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(instance, Procedure)) return false;

    const int width = description_.width, height = description_.height;
    POINT origin = CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    if (!CreateWindowExW(0, kClassName, description_.title, kWindowStyle, origin.x, origin.y, width, height, nullptr,
                         nullptr, instance, this))
        return false;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    if (outer.right - outer.left != width || outer.bottom - outer.top != height)
        MoveWindow(hwnd_, origin.x, origin.y, width, height, TRUE);

    SetIcons();
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);

    HWND buttons[kMaximumControls];
    size_t count = description_.controlCount < kMaximumControls ? description_.controlCount : kMaximumControls;
    for (size_t created = 0; created < count; ++created) {
        const ControlDescription& control = description_.controls[DescriptionIndexOfCreated(description_, created)];
        buttons[created] = CreateWindowExW(
            0, L"BUTTON", control.caption, kButtonStyle, control.left, control.top, control.width, control.height,
            hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdentifier(created))), instance, nullptr);
        if (!buttons[created]) return false;
        SendMessageW(buttons[created], WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), TRUE);
    }
    for (size_t created = 0; created < count; ++created) ShowWindow(buttons[created], SW_SHOWNA);
    ReleaseEvents();

    RaiseWindowEvent(kBuiltEvent);
    RaiseWindowEvent(kMovedEvent);
    RaiseWindowEvent(kResizedEvent);
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void MainWindow::SetIcons() {
    bigIcon_.Reset(LoadAppIcon(48));
    smallIcon_.Reset(LoadAppIcon(48));
    if (!bigIcon_ && !smallIcon_) {
        bigIcon_.Reset(LoadAppIcon(32));
        smallIcon_.Reset(LoadAppIcon(16));
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void MainWindow::RaiseWindowEvent(int event) {
    if (!IsWindow(hwnd_)) return;
    ControlEvent raised = {description_.id, 0, event, 0, nullptr, false, 0};
    RaiseEvent(raised);
}

bool MainWindow::Exists() { return instance_ && IsWindow(instance_->hwnd_); }

bool MainWindow::IsOwnControl(HWND window) const { return window && hwnd_ && GetParent(window) == hwnd_; }

HWND MainWindow::FirstInTabOrder() const {
    size_t order[kMaximumControls];
    if (TabOrder(description_, order, kMaximumControls) == 0) return nullptr;
    return GetDlgItem(hwnd_, ControlIdentifier(order[0]));
}

void MainWindow::MoveFocus(bool forward) {
    size_t order[kMaximumControls];
    size_t count = TabOrder(description_, order, kMaximumControls);
    if (count == 0) return;
    HWND focus = GetFocus();
    size_t current =
        IsOwnControl(focus) ? static_cast<size_t>((GetDlgCtrlID(focus) - ControlIdentifier(0)) / 10) : kMaximumControls;
    SetFocus(GetDlgItem(hwnd_, ControlIdentifier(NextInTabOrder(order, count, current, forward))));
}

bool MainWindow::PreTranslate(const MSG& message) {
    MainWindow* self = instance_;
    if (!self || !self->hwnd_) return false;
    if (message.hwnd != self->hwnd_ && !self->IsOwnControl(message.hwnd)) return false;
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    Modifiers held = {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
    switch (DecideKey(static_cast<unsigned>(message.wParam), held)) {
        case KeyAction::Close:
            SendMessageW(self->hwnd_, WM_CLOSE, 0, 0);
            return true;
        case KeyAction::NextControl:
            self->MoveFocus(true);
            return true;
        case KeyAction::PreviousControl:
            self->MoveFocus(false);
            return true;
        case KeyAction::None:
            break;
    }
    return false;
}

void MainWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR) {
        HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        FillRect(dc, &clip, face);
        DeleteObject(face);
    }
    EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        instance_ = self;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->OnMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SETCURSOR:
            if (!WaitingForProcesses()) break;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_SETFOCUS: {
            HWND target =
                IsWindow(rememberedFocus_) && IsOwnControl(rememberedFocus_) ? rememberedFocus_ : FirstInTabOrder();
            rememberedFocus_ = nullptr;
            if (target) SetFocus(target);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && IsOwnControl(GetFocus())) rememberedFocus_ = GetFocus();
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                if (const ControlDescription* control = ControlByIdentifier(description_, LOWORD(wParam))) {
                    ControlEvent click = {description_.id, control->id, kClickEvent, 0, nullptr, false, 0};
                    HWND window = hwnd_;  // the handler's wait pumps messages: this object may be gone after it
                    RaiseEvent(click);
                    // A handler's ownerless message box may close without handing activation
                    // back; then the window takes it again, and with it the focus it had.
                    if (IsWindow(window) && !GetForegroundWindow()) SetForegroundWindow(window);
                }
            }
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_NCDESTROY: {
            HWND window = hwnd_;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (instance_ == this) instance_ = nullptr;
            if (LoopStarted()) PostQuitMessage(0);
            this->~MainWindow();
            HeapFree(GetProcessHeap(), 0, this);
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}
