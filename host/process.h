// Starting programs, and waiting for them without freezing the window.
#pragma once

#include "host/handle.h"
#include "host/text.h"

// How a started program's window is shown: 1 hidden, 2 normal, 3 minimised, 4 maximised,
// 5 normal without activation, 6 minimised without activation. Values outside 1..6 are clamped.
constexpr int kDefaultShowStyle = 2;
int ShowWindowCommand(int showStyle);

struct StartedProcess {
    OwnedHandle process, thread;
};

// Standard handles to hand a started process; with none it gets the system's defaults.
struct StandardHandles {
    HANDLE input = nullptr, output = nullptr;
};

// Starts `commandLine` as a new process. With `program` absent the system finds the program from
// the command line; otherwise `program` is started and handed the command line unchanged. Given
// standard handles, the process inherits those and no other handle.
// On failure both handles are empty.
StartedProcess StartProcess(const wchar_t* program, const wchar_t* commandLine, int showStyle,
                            StandardHandles standard = {});

// Starts the command line; waits for it to end when asked, else gives it up to a second to become
// ready for input. Both handles are closed before returning. False when nothing could be started.
bool StartCommandLine(const wchar_t* commandLine, bool waitForExit, int showStyle = kDefaultShowStyle);

// Waits until every process has ended while this thread's messages keep flowing. Meanwhile the
// thread's windows take no input, as under a task-modal box, and show the wait cursor.
void WaitForProcesses(const HANDLE* processes, size_t count);
bool WaitingForProcesses();

// The interpreter of the system directory, never one that lies in the current folder.
Text SystemCommandInterpreter();
