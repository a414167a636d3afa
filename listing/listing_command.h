// The four listings and the command lines that write them. Pure: nothing here touches the system.
#pragma once

#include "host/text.h"

// One listing: the interpreter's command line is head, D, middle, D, "\", L, tail for the run
// directory D and the volume label L. The tail starts with the listing's file name.
struct ListingCommand {
    const wchar_t* head;
    const wchar_t* middle;
    const wchar_t* tail;
};

constexpr size_t kListingCount = 4;
extern const ListingCommand kListingCommands[kListingCount];

// True when cmd would split or misread the name: blanks, its operators and its expansion signs.
bool NeedsProtection(const wchar_t* name);

// True when the listing's file must be opened by the program and handed to the interpreter as its
// output, because the names cannot be written into the command line as they are.
bool RedirectsThroughProgram(const wchar_t* runDirectory, const wchar_t* label);

Text BuildCommandLine(const ListingCommand& row, const wchar_t* runDirectory, const wchar_t* label);

// The listing's file name (label and tail up to its first blank) and its full path in the run directory.
Text ListingFileName(const ListingCommand& row, const wchar_t* label);
Text ListingPath(const ListingCommand& row, const wchar_t* runDirectory, const wchar_t* label);
