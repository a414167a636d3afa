// The process around the program's work: start-up, the message loop, delivery of control events
// to their handlers, and the two ways the program ends (normally, or after a fatal error).
#pragma once

#include <stdint.h>

// What a control hands to the frame when something happens to it.
struct ControlEvent {
    uint32_t window;
    uint32_t control;  // 0 for an event of the window itself
    int32_t event;     // the click of a push button is 0
    uint32_t argumentCount;
    const intptr_t* arguments;
    bool hasResult;
    intptr_t result;
};

// Runs start-up, the message loop and the normal end; returns the process's exit code.
int RunApplication();

// Supplied by the program: run once before the main window is built, and at the normal end.
void StartupHook();
void CleanupHook();

// Calls the event's handler, unless events are held or none is bound; true when one ran.
bool RaiseEvent(ControlEvent& event);

// Bracket the building of a window: events raised in between are dropped, not postponed.
void HoldEvents();
void ReleaseEvents();

void RegisterCleanupHook(void (*routine)());
bool LoopStarted();

// The end common to both ways out: no more events, the cleanup hooks once, OLE last.
void EndProgram();

// Shows the error box and ends the process with exit code 0xFFFFFFFF; never returns.
[[noreturn]] void FatalError(const wchar_t* message);
