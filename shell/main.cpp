// Velmora: lists the folder it is started from into four text files beside itself.
#include <windows.h>

#include "shell/frame.h"

void StartupHook() {}
void CleanupHook() {}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RunApplication(); }
