// The program's start-up and clean-up hooks for test programs that link the frame but do not
// bring hooks of their own (the linker takes these only when nothing else defines them).
#include "shell/frame.h"

void StartupHook() {}
void CleanupHook() {}
