#include "host/run_directory.h"

#include <windows.h>

namespace {

// Kept for the life of the process, so there is nothing to destroy at exit.
struct KeptText {
    const wchar_t* chars;
    size_t length;
};
KeptText runDirectory = {L"", 0}, executableName = {L"", 0};

KeptText Keep(Text text) {
    size_t length = text.Length();
    const wchar_t* chars = text.Release();
    return {chars ? chars : L"", length};
}

Text ModulePath() {
    for (DWORD capacity = MAX_PATH;; capacity *= 2) {
        Text path = Text::OfLength(capacity);
        DWORD length = GetModuleFileNameW(nullptr, path.Data(), capacity + 1);
        if (length == 0) return Text();
        if (length <= capacity) {  // a truncated path fills all capacity + 1 characters
            path.Truncate(length);
            return path;
        }
    }
}

}  // namespace

SplitPath SplitAtLastBackslash(const wchar_t* path) {
    size_t length = TextLength(path);
    for (size_t i = length; i > 0; --i)
        if (path[i - 1] == L'\\') return {i - 1, i};
    return {0, 0};
}

void ComputeRunDirectory() {
    Text path = ModulePath();
    SplitPath split = SplitAtLastBackslash(path.Get());
    runDirectory = Keep(Text::Copy(path.Get(), split.directoryLength));
    executableName = Keep(Text::Copy(path.Get() + split.fileNameStart));
}

Text RunDirectory() { return Text::Copy(runDirectory.chars, runDirectory.length); }

Text ExecutableName() { return Text::Copy(executableName.chars, executableName.length); }
