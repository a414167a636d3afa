// Drives real programs for the tests as a user would: starts them, finds their windows, types
// and clicks with SendInput, reads message boxes and the files left behind.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Windows paths of the build tree (reached through Wine's Z: drive when cross-built).
std::wstring BuildFile(const std::wstring& relative);
std::wstring TestsBuildFile(const std::wstring& relative);

void MakeFolders(const std::wstring& path);
void RemoveTree(const std::wstring& path);
void CopyFileTo(const std::wstring& from, const std::wstring& to);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::vector<std::wstring> FolderEntries(const std::wstring& folder);  // sorted names, no . or ..
std::string ReadBytes(const std::wstring& path);
std::wstring ReadUtf16(const std::wstring& path);
std::wstring FromCodePage(const std::string& bytes, UINT codePage);
std::string ToCodePage(const std::wstring& text, UINT codePage);
std::wstring Utf8ToWide(const std::string& text);

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

class Program {
public:
    Program(const std::wstring& exe, const std::wstring& arguments, const std::wstring& currentDirectory);
    ~Program();  // ends the process if the test has not
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(std::chrono::milliseconds timeout);
    void Kill();

private:
    PROCESS_INFORMATION info_ = {};
};

// A visible top-level window of the process with the given class (any when null), waited for.
HWND WaitForWindow(DWORD processId, const wchar_t* className, std::chrono::milliseconds timeout);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring title, text;
    bool hasIcon = false;
};
MessageBoxView WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout);
// Presses Enter on the box as a user would, and waits for it to close.
void DismissMessageBox(const MessageBoxView& box);

void BringToFront(HWND window);
void PressKey(WORD virtualKey, std::initializer_list<WORD> held = {});
void ClickAt(int x, int y);
void ClickCentre(HWND window);

// Copies Velmora.exe into the folder, starts it from another current directory, presses the
// space bar on its listing button, reads the message that follows, dismisses it and closes the
// program with Esc.
struct ListingRun {
    bool windowShown = false;
    MessageBoxView box;
    DWORD exitCode = STILL_ACTIVE;
};
ListingRun RunListingJob(const std::wstring& folder);

constexpr wchar_t kMainWindowClass[] = L"VelmoraMainWindow";
