// Velmora: lists the folder it is started from into four text files beside itself.
#include <windows.h>

#include "shell/frame.h"

void StartupHook() {}
void CleanupHook() {}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RunApplication(); }

// The process starts here, not in the runtime library's start-up: the program has no static
// objects to construct or destroy and reads neither arguments nor environment through the
// runtime, and leaving that code out takes about a third off the executable.
extern "C" void WINAPI VelmoraStart() {
    ExitProcess(static_cast<UINT>(wWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWDEFAULT)));
}
