// Where the program lives: the folder of its own executable, computed once at start-up.
#pragma once

#include "host/text.h"

struct SplitPath {
    size_t directoryLength;  // characters before the last backslash
    size_t fileNameStart;    // index of the first character after it
};

// Cuts a full path at its last backslash; a path without one is all file name.
SplitPath SplitAtLastBackslash(const wchar_t* path);

// Reads the executable's full path (no length limit) and keeps its folder and file name.
void ComputeRunDirectory();

// Copies of what ComputeRunDirectory kept: the folder without a trailing backslash
// (E: for a program at the root of drive E), and the executable's file name.
Text RunDirectory();
Text ExecutableName();
