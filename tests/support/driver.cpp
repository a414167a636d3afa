#include "support/driver.h"

#include <algorithm>
#include <thread>

namespace {

std::wstring ToWindowsPath(const std::string& unixPath) {
    std::wstring path = Utf8ToWide(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path[0] == L'\\' ? L"Z:" + path : path;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->className && ClassName(window) != search->className) return TRUE;
    search->found = window;
    return FALSE;
}

void SendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

}  // namespace

std::wstring BuildFile(const std::wstring& relative) { return ToWindowsPath(BUILD_DIR) + L"\\" + relative; }
std::wstring TestsBuildFile(const std::wstring& relative) { return ToWindowsPath(TESTS_BUILD_DIR) + L"\\" + relative; }

std::wstring Utf8ToWide(const std::string& text) { return FromCodePage(text, CP_UTF8); }

std::wstring FromCodePage(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return L"";
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string ToCodePage(const std::wstring& text, UINT codePage) {
    if (text.empty()) return "";
    int length =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(length, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

void RemoveTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    for (const std::wstring& name : FolderEntries(path)) RemoveTree(path + L"\\" + name);
    RemoveDirectoryW(path.c_str());
}

void CopyFileTo(const std::wstring& from, const std::wstring& to) { CopyFileW(from.c_str(), to.c_str(), FALSE); }

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes;
    char buffer[65536];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::wstring ReadUtf16(const std::wstring& path) {
    std::string bytes = ReadBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

Program::Program(const std::wstring& exe, const std::wstring& arguments, const std::wstring& currentDirectory) {
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {sizeof startup};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &info_))
        info_ = {};
    else
        WaitForInputIdle(info_.hProcess, 5000);
}

Program::~Program() {
    Kill();
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
}

DWORD Program::WaitForExit(std::chrono::milliseconds timeout) {
    if (!info_.hProcess) return STILL_ACTIVE;
    WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count()));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Program::Kill() {
    if (info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, std::chrono::milliseconds timeout) {
    WindowSearch search = {processId, className, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

MessageBoxView WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
    MessageBoxView box;
    box.window = WaitForWindow(processId, L"#32770", timeout);
    if (!box.window) return box;
    box.title = WindowText(box.window);
    // The message box keeps its text in the static control 0xFFFF and its icon in control 0x14
    // (1088 in Wine's message box).
    wchar_t text[4096] = {};
    GetDlgItemTextW(box.window, 0xFFFF, text, 4096);
    box.text = text;
    for (int id : {0x14, 1088}) {
        HWND icon = GetDlgItem(box.window, id);
        if (icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0) box.hasIcon = true;
    }
    return box;
}

void DismissMessageBox(const MessageBoxView& box) {
    BringToFront(box.window);
    PressKey(VK_RETURN);
    if (!WaitUntil([&] { return !IsWindow(box.window); }, std::chrono::milliseconds(3000)))
        PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box.window); }, std::chrono::milliseconds(5000));
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, std::chrono::milliseconds(2000));
}

void PressKey(WORD virtualKey, std::initializer_list<WORD> held) {
    for (WORD key : held) SendKey(key, false);
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
    for (auto key = std::rbegin(held); key != std::rend(held); ++key) SendKey(*key, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void ClickCentre(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

ListingRun RunListingJob(const std::wstring& folder) {
    ListingRun run;
    std::wstring exe = folder + (folder.back() == L'\\' ? L"" : L"\\") + L"Velmora.exe";
    CopyFileTo(BuildFile(L"Velmora.exe"), exe);
    Program program(exe, L"", L"C:\\");
    HWND window = WaitForWindow(program.Id(), kMainWindowClass, std::chrono::seconds(20));
    run.windowShown = window != nullptr;
    if (!window) return run;
    BringToFront(window);
    PressKey(VK_SPACE);
    run.box = WaitForMessageBox(program.Id(), std::chrono::seconds(60));
    if (run.box.window) DismissMessageBox(run.box);
    BringToFront(window);
    PressKey(VK_ESCAPE);
    run.exitCode = program.WaitForExit(std::chrono::seconds(10));
    return run;
}
