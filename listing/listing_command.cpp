#include "listing/listing_command.h"

const ListingCommand kListingCommands[kListingCount] = {
    {L"cmd /c   dir  ", L" /S/B >", L"+文件列全表.txt  /p "},
    {L"cmd /c   dir  ", L">", L"+文件列表.txt  /p "},
    {L"cmd /c   tree  ", L">", L"+目录列表.txt  "},
    {L"cmd /c   tree   ", L">", L"+目录文件列表.txt  /f /a"},
};

namespace {

size_t FileNameLength(const wchar_t* tail) {
    size_t length = 0;
    while (tail[length] && tail[length] != L' ') ++length;
    return length;
}

}  // namespace

bool NeedsProtection(const wchar_t* name) {
    for (const wchar_t* c = name; c && *c; ++c)
        if (TextContains(L" \t&|<>^(),;=%!", *c)) return true;
    return false;
}

bool RedirectsThroughProgram(const wchar_t* runDirectory, const wchar_t* label) {
    return NeedsProtection(runDirectory) || NeedsProtection(label);
}

// Plain names are written into the command line as they are. Otherwise no name is left for cmd
// to misread: the program opens the listing's file itself and hands it over as the interpreter's
// output, so the command line names no target and carries no label. The folder is quoted, which
// keeps blanks and operators inside one argument; but cmd expands %NAME% (and, where delayed
// expansion is on, !NAME!) even within quotes, so a folder with such a sign is not named at all
// and the interpreter lists its current directory, inherited from the program: the run directory.
Text BuildCommandLine(const ListingCommand& row, const wchar_t* runDirectory, const wchar_t* label) {
    if (!RedirectsThroughProgram(runDirectory, label))
        return JoinTexts({row.head, runDirectory, row.middle, runDirectory, L"\\", label, row.tail});

    bool expandable = TextContains(runDirectory, L'%') || TextContains(runDirectory, L'!');
    const wchar_t* quote = expandable ? nullptr : L"\"";
    const wchar_t* folder = quote ? runDirectory : nullptr;
    size_t middleLength = TextLength(row.middle);
    while (middleLength > 0 && row.middle[middleLength - 1] == L'>') --middleLength;
    Text switchesBefore = Text::Copy(row.middle, middleLength);
    return JoinTexts({row.head, quote, folder, quote, switchesBefore.Get(), row.tail + FileNameLength(row.tail)});
}

Text ListingFileName(const ListingCommand& row, const wchar_t* label) {
    Text name = Text::Copy(row.tail, FileNameLength(row.tail));
    return JoinTexts({label, name.Get()});
}

Text ListingPath(const ListingCommand& row, const wchar_t* runDirectory, const wchar_t* label) {
    Text name = ListingFileName(row, label);
    return JoinTexts({runDirectory, L"\\", name.Get()});
}
