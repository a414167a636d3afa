#include "listing/listing_job.h"

#include <windows.h>

#include <utility>

#include "host/drive_label.h"
#include "host/message.h"
#include "host/process.h"
#include "host/run_directory.h"
#include "listing/listing_command.h"

namespace {

constexpr int kHidden = 1;

OwnedHandle CreateListingFile(const wchar_t* path) {
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return OwnedHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// An input at its end: where the interpreter pauses a long listing for a key ("/p"), it reads
// the end at once and goes on, instead of waiting for ever on a console no one can see.
OwnedHandle OpenEmptyInput() {
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    return OwnedHandle(input == INVALID_HANDLE_VALUE ? nullptr : input);
}

bool IsFile(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A listing counts as written when its interpreter started, ended with exit code 0, and left a
// file at the listing's path (some interpreters end with 0 when they could not open the target).
bool Written(HANDLE process, const wchar_t* path) {
    DWORD exitCode = 1;
    return process && GetExitCodeProcess(process, &exitCode) && exitCode == 0 && IsFile(path);
}

}  // namespace

void ListingJob() {
    Text directory = RunDirectory();
    Text label = CurrentDriveLabel();
    bool redirectsThroughProgram = RedirectsThroughProgram(directory.Get(), label.Get());
    Text interpreter = SystemCommandInterpreter();
    OwnedHandle emptyInput = OpenEmptyInput();

    OwnedHandle processes[kListingCount];
    for (size_t i = 0; i < kListingCount; ++i) {
        Text commandLine = BuildCommandLine(kListingCommands[i], directory.Get(), label.Get());
        OwnedHandle output;
        if (redirectsThroughProgram) {
            Text path = ListingPath(kListingCommands[i], directory.Get(), label.Get());
            output = CreateListingFile(path.Get());
            if (!output) continue;
        }
        StartedProcess started =
            StartProcess(interpreter.Get(), commandLine.Get(), kHidden, {emptyInput.Get(), output.Get()});
        output.Reset();  // the interpreter writes through its own copy
        if (!started.process) continue;
        WaitForInputIdle(started.process.Get(), 1000);
        started.thread.Reset();
        processes[i] = std::move(started.process);
    }

    HANDLE handles[kListingCount];
    for (size_t i = 0; i < kListingCount; ++i) handles[i] = processes[i].Get();
    WaitForProcesses(handles, kListingCount);

    Text failed;
    for (size_t i = 0; i < kListingCount; ++i) {
        Text path = ListingPath(kListingCommands[i], directory.Get(), label.Get());
        if (Written(processes[i].Get(), path.Get())) continue;
        Text name = ListingFileName(kListingCommands[i], label.Get());
        failed = JoinTexts({failed.Get(), L"\r\n", name.Get()});
    }
    for (OwnedHandle& process : processes) process.Reset();

    if (failed.Empty()) {
        ShowMessage(L"恭喜您，任务完成！", 0, L"温馨提示", nullptr);
    } else {
        Text report = JoinTexts({L"以下列表未能生成：", failed.Get()});
        ShowMessage(report.Get(), MB_ICONWARNING, L"温馨提示", nullptr);
    }
}
