#include "shell/frame.h"

#include <ole2.h>
#include <windows.h>

#include "host/run_directory.h"
#include "host/text.h"
#include "shell/main_window.h"
#include "shell/window_description.h"

namespace {

// Constant-initialised and never destroyed: the program runs no start-up or exit code of the
// runtime library (see main.cpp), and the end of the program is EndProgram's work.
class ApplicationFrame {
public:
    void InitialiseOle() {
        OleInitialize(nullptr);
        oleInitialised = true;
    }

    void RegisterCleanupHook(void (*routine)()) {
        for (size_t i = 0; i < hookCount; ++i)
            if (hooks[i] == routine) return;
        if (hookCount < kMaximumHooks) hooks[hookCount++] = routine;
    }

    void ForgetCleanupHooks() { hookCount = 0; }

    void End() {
        ++eventHoldCount;
        for (size_t i = 0; i < hookCount; ++i) hooks[i]();
        hookCount = 0;
        if (oleInitialised) {
            OleUninitialize();
            oleInitialised = false;
        }
    }

    bool oleInitialised = false;
    unsigned eventHoldCount = 0;
    bool loopStarted = false;

private:
    static constexpr size_t kMaximumHooks = 8;
    void (*hooks[kMaximumHooks])() = {};
    size_t hookCount = 0;
};

ApplicationFrame frame;

// What the message loop does with one message, shared with the dispatching in Hold/ReleaseEvents.
void Deliver(MSG& message) {
    if (MainWindow::PreTranslate(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void DispatchQueuedMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Deliver(message);
    }
}

}  // namespace

int RunApplication() {
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    frame.InitialiseOle();
    ComputeRunDirectory();
    Text directory = RunDirectory();
    SetCurrentDirectoryW(directory.Get());

    const WindowDescription* description = ReadWindowDescription();
    if (!description) FatalError(L"载入窗口模板数据段出错!");
    StartupHook();
    RegisterCleanupHook(CleanupHook);
    if (!MainWindow::Create(*description)) FatalError(L"载入启动窗口失败");

    frame.loopStarted = true;
    int exitCode = 0;
    if (MainWindow::Exists()) {
        MSG message;
        BOOL got;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) Deliver(message);
        if (got == 0) exitCode = static_cast<int>(message.wParam);
    }
    EndProgram();
    return exitCode;
}

bool RaiseEvent(ControlEvent& event) {
    if (frame.eventHoldCount > 0) return false;
    if (!MainWindow::Exists() || event.window != kStartWindow.id) return false;
    if (event.control != 0 && !FindControl(kStartWindow, event.control)) return false;
    const EventBinding* binding = FindBinding(kStartWindow, event.control, event.event);
    if (!binding) return false;
    binding->handler();
    event.hasResult = false;
    return true;
}

void HoldEvents() {
    DispatchQueuedMessages();
    ++frame.eventHoldCount;
}

void ReleaseEvents() {
    DispatchQueuedMessages();
    if (frame.eventHoldCount > 0) --frame.eventHoldCount;
}

void RegisterCleanupHook(void (*routine)()) { frame.RegisterCleanupHook(routine); }

bool LoopStarted() { return frame.loopStarted; }

void EndProgram() { frame.End(); }

void FatalError(const wchar_t* message) {
    ++frame.eventHoldCount;
    // Built on the stack: the heap may be what failed.
    wchar_t text[512];
    wsprintfW(text, L"运行时出错!\r\n\r\n错误信息：%.400s\r\n", message);
    MessageBoxW(nullptr, text, L"错误", MB_OK | MB_ICONERROR);
    frame.ForgetCleanupHooks();
    EndProgram();
    ExitProcess(static_cast<UINT>(-1));
}
