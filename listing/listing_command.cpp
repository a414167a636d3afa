#include "listing/listing_command.h"

const ListingCommand kListingCommands[kListingCount] = {
    {L"cmd /c   dir  ", L" /S/B >", L"+文件列全表.txt  /p "},
    {L"cmd /c   dir  ", L">", L"+文件列表.txt  /p "},
    {L"cmd /c   tree  ", L">", L"+目录列表.txt  "},
    {L"cmd /c   tree   ", L">", L"+目录文件列表.txt  /f /a"},
};

const wchar_t kFolderVariable[] = L"VELMORA_FOLDER";
const wchar_t kLabelVariable[] = L"VELMORA_LABEL";

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

// Quotes keep blanks and cmd's operators inside one argument, but cmd expands %NAME% even
// within quotes. So a name that needs protecting is not written into the command line at all:
// it travels in an environment variable that the command line names, quoted. cmd expands a
// variable once and does not expand the value again, and the quotes keep the value's operators
// from being read as syntax. Plain names are written in as they are, unquoted.
Text BuildCommandLine(const ListingCommand& row, const wchar_t* runDirectory, const wchar_t* label) {
    bool protectFolder = NeedsProtection(runDirectory);
    bool protectLabel = NeedsProtection(label);
    if (!protectFolder && !protectLabel)
        return JoinTexts({row.head, runDirectory, row.middle, runDirectory, L"\\", label, row.tail});

    Text folderReference = JoinTexts({L"%", kFolderVariable, L"%"});
    Text labelReference = JoinTexts({L"%", kLabelVariable, L"%"});
    const wchar_t* folder = protectFolder ? folderReference.Get() : runDirectory;
    const wchar_t* labelPiece = protectLabel ? labelReference.Get() : label;
    size_t nameLength = FileNameLength(row.tail);
    Text fileName = Text::Copy(row.tail, nameLength);
    return JoinTexts({row.head, L"\"", folder, L"\"", row.middle, L"\"", folder, L"\\", labelPiece, fileName.Get(),
                      L"\"", row.tail + nameLength});
}

Text ListingFileName(const ListingCommand& row, const wchar_t* label) {
    Text name = Text::Copy(row.tail, FileNameLength(row.tail));
    return JoinTexts({label, name.Get()});
}

Text ListingPath(const ListingCommand& row, const wchar_t* runDirectory, const wchar_t* label) {
    Text name = ListingFileName(row, label);
    return JoinTexts({runDirectory, L"\\", name.Get()});
}
