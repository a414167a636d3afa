// Measures Velmora against baselines in one run, alternating the two sides (and which goes first)
// so that drifts of the machine fall on both:
//   start-up      CreateProcessW until the main window is visible, Velmora vs the reference window;
//   one listing   the space key until the completion box is visible, vs the same four command
//                 lines started directly, hidden, with NUL as their input as Velmora hands them
//                 (all four, then a wait for all); and, for context, started without an input;
//   peak memory   PeakWorkingSetSize read just before the program is closed with Esc.
// bench_driver --folder X:\listing --reference X:\programs\Reference.exe --label DATA
//              [--small X:\small] [--empty X:\programs\Empty.exe] [--runs 10]
// Velmora.exe lies in each folder it lists. Every process the driver starts, and whatever those
// start, has ended when it returns.
#include <windows.h>
// The headers below need the one above first.
#include <mmsystem.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kVelmoraClass[] = L"VelmoraMainWindow";
const wchar_t kReferenceClass[] = L"VelmoraBenchReference";
const wchar_t kBoxClass[] = L"#32770";
const wchar_t kBoxTitle[] = L"温馨提示";
const wchar_t kBoxText[] = L"恭喜您，任务完成！";
constexpr int kListingButton = 100;
constexpr DWORD kListingPollMs = 10;

// ---------------------------------------------------------------- output and time

HANDLE output = INVALID_HANDLE_VALUE;

void Print(const std::string& text) {
    DWORD written;
    if (output != INVALID_HANDLE_VALUE && output != nullptr)
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return "";
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

[[noreturn]] void Fail(const std::string& what) {
    Print("bench failed: " + what + "\n");
    ExitProcess(2);  // closing the job ends everything still running
}

LARGE_INTEGER frequency;

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Polls condition every interval (about); the elapsed time when it held, or a negative value.
// Every poll is a call into the Wine server, which the measured processes also wait on.
template <typename Condition>
double PollFor(Condition condition, double timeoutMs, DWORD intervalMs = 1) {
    double start = Now();
    for (;;) {
        if (condition()) return Now() - start;
        if (Now() - start > timeoutMs) return -1;
        Sleep(intervalMs);
    }
}

// ---------------------------------------------------------------- processes and windows

// The driver joins a job that ends all its descendants when the driver ends, however it ends.
void JoinKillingJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job, GetCurrentProcess()))
        Print("note: no job object; bench/run's wineserver -k ends what is left\n");
}

// Waits until every process started before has ended, the interpreters' console hosts included,
// and the host has had a moment to clean up after them: a start-up measured while Wine still tears
// down the last listing's processes takes up to twice as long. (Wine's job accounting keeps
// counting ended processes, so they are looked for by name.)
bool Lingering() {
    static const wchar_t* const kOurs[] = {L"cmd.exe",     L"conhost.exe",   L"tree.exe",
                                           L"velmora.exe", L"reference.exe", L"empty.exe"};
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        for (const wchar_t* name : kOurs)
            if (_wcsicmp(entry.szExeFile, name) == 0) found = true;
    CloseHandle(snapshot);
    return found;
}

void Quiesce() {
    if (PollFor([] { return !Lingering(); }, 10000) < 0) Print("note: processes of an earlier run still linger\n");
    Sleep(500);
}

struct Started {
    PROCESS_INFORMATION info = {};
    double createMs = 0;  // how long CreateProcessW itself took
};

Started StartProgram(const std::wstring& exe, const std::wstring& directory) {
    Started started;
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    double before = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &started.info))
        Fail("cannot start " + Utf8(exe) + Format(" (error %lu)", GetLastError()));
    started.createMs = Now() - before;
    return started;
}

void Close(Started& started) {
    if (started.info.hThread) CloseHandle(started.info.hThread);
    if (started.info.hProcess) CloseHandle(started.info.hProcess);
    started.info = {};
}

bool Exited(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

HWND VisibleWindowOf(DWORD processId, const wchar_t* className) {
    for (HWND window = FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// The window, once visible, and the time from before CreateProcessW until then.
HWND WaitForVisibleWindow(const Started& started, const wchar_t* className, double startedAt, double& elapsed,
                          const char* what) {
    HWND window = nullptr;
    double waited = PollFor(
        [&] {
            window = VisibleWindowOf(started.info.dwProcessId, className);
            return window != nullptr || Exited(started.info.hProcess);
        },
        30000);
    elapsed = Now() - startedAt;
    if (waited < 0 || !window) Fail(Format("%s showed no window", what));
    return window;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

void Key(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return PollFor([&] { return GetForegroundWindow() == window; }, 3000) >= 0;
}

HWND FocusOf(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

// Lets the program finish its first drawing and go idle, so that every reading sees the same state.
void Settle(HANDLE process) {
    WaitForInputIdle(process, 5000);
    Sleep(250);
}

double PeakWorkingSetKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        Fail(Format("GetProcessMemoryInfo failed (error %lu)", GetLastError()));
    return counters.PeakWorkingSetSize / 1024.0;
}

std::set<std::wstring> ModulesOf(HANDLE process) {
    std::set<std::wstring> names;
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return names;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) {
            std::wstring lower = name;
            for (auto& c : lower) c = static_cast<wchar_t>(towlower(c));
            names.insert(lower);
        }
    }
    return names;
}

// Esc as a user presses it; the program must end by itself with exit code 0.
void CloseWithEsc(Started& started, HWND window, const char* what) {
    bool front = BringToFront(window);
    Key(VK_ESCAPE);
    if (WaitForSingleObject(started.info.hProcess, 15000) != WAIT_OBJECT_0) {
        TerminateProcess(started.info.hProcess, 99);
        WaitForSingleObject(started.info.hProcess, 5000);
        Fail(Format("%s did not end on Esc%s", what, front ? "" : " (its window never came to the front)"));
    }
    DWORD code = 1;
    GetExitCodeProcess(started.info.hProcess, &code);
    if (code != 0) Fail(Format("%s ended with exit code %lu after Esc", what, code));
    Close(started);
}

// ---------------------------------------------------------------- listings

std::vector<std::wstring> ListingNames(const std::wstring& label) {
    return {label + L"+文件列全表.txt", label + L"+文件列表.txt", label + L"+目录列表.txt",
            label + L"+目录文件列表.txt"};
}

// The four command lines Velmora runs for a folder and label with plain names.
std::vector<std::wstring> ListingCommands(const std::wstring& d, const std::wstring& label) {
    std::vector<std::wstring> names = ListingNames(label);
    return {
        L"cmd /c   dir  " + d + L" /S/B >" + d + L"\\" + names[0] + L"  /p ",
        L"cmd /c   dir  " + d + L">" + d + L"\\" + names[1] + L"  /p ",
        L"cmd /c   tree  " + d + L">" + d + L"\\" + names[2] + L"  ",
        L"cmd /c   tree   " + d + L">" + d + L"\\" + names[3] + L"  /f /a",
    };
}

std::wstring SystemInterpreter() {
    wchar_t directory[MAX_PATH];
    GetSystemDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\cmd.exe";
}

void DeleteListings(const std::wstring& folder, const std::wstring& label) {
    for (const std::wstring& name : ListingNames(label)) {
        std::wstring path = folder + L"\\" + name;
        if (!DeleteFileW(path.c_str()) && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            Fail("cannot delete " + Utf8(path));
    }
}

void CheckListings(const std::wstring& folder, const std::wstring& label, const char* who) {
    for (const std::wstring& name : ListingNames(label)) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        std::wstring path = folder + L"\\" + name;
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
            Fail(std::string(who) + " left no " + Utf8(path));
        if (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0) Fail(std::string(who) + " left an empty " + Utf8(path));
    }
}

// Wine 8's cmd pages "dir /p" every 24 lines even when the output goes to a file (without a
// console to measure it assumes 25 lines), and then reads a line from its input. So that the
// listings of interpreters started without an input of their own end at all, every side gets Enter
// keys typed into the console of each interpreter that the listing's parent starts, found the same
// way for all; interpreters handed an input never read them.
class EnterTyper {
public:
    explicit EnterTyper(DWORD parent) : parent_(parent), thread_([this] { Run(); }) {}
    ~EnterTyper() { Finish(); }
    EnterTyper(const EnterTyper&) = delete;
    EnterTyper& operator=(const EnterTyper&) = delete;
    // Stops typing; how many interpreters were typed to.
    size_t Finish() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return typed_.size();
    }

private:
    static constexpr int kEnters = 1000;  // 10,500 lines need about 440

    void Run() {
        std::vector<INPUT_RECORD> keys(2 * kEnters);
        for (size_t i = 0; i < keys.size(); ++i) {
            keys[i].EventType = KEY_EVENT;
            KEY_EVENT_RECORD& key = keys[i].Event.KeyEvent;
            key.bKeyDown = i % 2 == 0;
            key.wRepeatCount = 1;
            key.wVirtualKeyCode = VK_RETURN;
            key.wVirtualScanCode = 0x1C;
            key.uChar.UnicodeChar = L'\r';
        }
        while (!stop_ && typed_.size() < 4) {
            for (DWORD id : NewInterpreters()) {
                if (!AttachConsole(id)) continue;  // its console is not there yet: next round
                HANDLE input = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
                DWORD written = 0;
                if (input != INVALID_HANDLE_VALUE) {
                    WriteConsoleInputW(input, keys.data(), static_cast<DWORD>(keys.size()), &written);
                    CloseHandle(input);
                }
                FreeConsole();
                if (written) typed_.insert(id);
            }
            Sleep(kListingPollMs);
        }
    }

    std::vector<DWORD> NewInterpreters() {
        std::vector<DWORD> found;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return found;
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            if (entry.th32ParentProcessID == parent_ && !typed_.count(entry.th32ProcessID) &&
                _wcsicmp(entry.szExeFile, L"cmd.exe") == 0)
                found.push_back(entry.th32ProcessID);
        CloseHandle(snapshot);
        return found;
    }

    DWORD parent_;
    std::set<DWORD> typed_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

size_t interpretersTyped = 0, interpretersStarted = 0;

// ---------------------------------------------------------------- the measurements

struct StartupSample {
    double visibleMs, createMs, peakKiB;
    std::set<std::wstring> modules;
};

StartupSample MeasureStartup(const std::wstring& exe, const std::wstring& directory, const wchar_t* className,
                             const char* what) {
    StartupSample sample;
    Quiesce();
    double before = Now();
    Started started = StartProgram(exe, directory);
    HWND window = WaitForVisibleWindow(started, className, before, sample.visibleMs, what);
    sample.createMs = started.createMs;
    Settle(started.info.hProcess);
    sample.peakKiB = PeakWorkingSetKiB(started.info.hProcess);
    sample.modules = ModulesOf(started.info.hProcess);
    CloseWithEsc(started, window, what);
    return sample;
}

// Wine's cost of starting and ending a process that shows nothing.
double MeasureEmpty(const std::wstring& exe, const std::wstring& directory) {
    Quiesce();
    double before = Now();
    Started started = StartProgram(exe, directory);
    if (WaitForSingleObject(started.info.hProcess, 30000) != WAIT_OBJECT_0) Fail("the empty program did not end");
    double elapsed = Now() - before;
    Close(started);
    return elapsed;
}

double MeasureVelmoraListing(const std::wstring& folder, const std::wstring& label) {
    DeleteListings(folder, label);
    Quiesce();
    double ignored;
    Started started = StartProgram(folder + L"\\Velmora.exe", folder);
    HWND window = WaitForVisibleWindow(started, kVelmoraClass, Now(), ignored, "Velmora");
    Settle(started.info.hProcess);
    if (!BringToFront(window)) Fail("Velmora's window did not come to the front");
    HWND focus = FocusOf(started.info.dwThreadId);
    if (!focus || GetDlgCtrlID(focus) != kListingButton) Fail("the listing button does not have the focus");

    HWND box = nullptr;
    double elapsed, waited;
    {
        EnterTyper typer(started.info.dwProcessId);
        double before = Now();
        Key(VK_SPACE);
        // Every 10 ms, not every one: the interpreters' console traffic all passes through the Wine
        // server, and a faster poll slows the very listing it times.
        waited = PollFor(
            [&] {
                box = VisibleWindowOf(started.info.dwProcessId, kBoxClass);
                return box != nullptr || Exited(started.info.hProcess);
            },
            300000, kListingPollMs);
        elapsed = Now() - before;
        interpretersTyped += typer.Finish();
        interpretersStarted += 4;
    }
    if (waited < 0 || !box) Fail("no completion box appeared");

    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    if (TextOf(box) != kBoxTitle || std::wstring(text) != kBoxText)
        Fail("unexpected box: " + Utf8(TextOf(box)) + " / " + Utf8(text));
    BringToFront(box);
    Key(VK_RETURN);
    if (PollFor([&] { return !IsWindow(box); }, 5000) < 0) PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (PollFor([&] { return !IsWindow(box); }, 5000) < 0) Fail("the completion box did not close");
    CheckListings(folder, label, "Velmora");
    CloseWithEsc(started, window, "Velmora");
    DeleteListings(folder, label);
    return elapsed;
}

// How the directly started interpreters answer a "dir /p" pause: from NUL handed to them as their
// input, which ends the pause at once as it does for the interpreters Velmora starts; or, started
// the plain way, from the Enter keys typed into their consoles.
enum class PauseAnswer { FromNul, Typed };

double MeasureDirectListing(const std::wstring& folder, const std::wstring& label, PauseAnswer answer) {
    const bool nulInput = answer == PauseAnswer::FromNul;
    DeleteListings(folder, label);
    std::wstring interpreter = SystemInterpreter();
    std::vector<std::wstring> commands = ListingCommands(folder, label);
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE input = nulInput ? CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                          OPEN_EXISTING, 0, nullptr)
                            : INVALID_HANDLE_VALUE;
    if (nulInput && input == INVALID_HANDLE_VALUE) Fail("cannot open NUL");
    HANDLE processes[4];
    double elapsed;
    Quiesce();
    {
        EnterTyper typer(GetCurrentProcessId());
        double before = Now();
        for (size_t i = 0; i < 4; ++i) {
            STARTUPINFOW startup = {};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = SW_HIDE;
            if (nulInput) {
                startup.dwFlags |= STARTF_USESTDHANDLES;
                startup.hStdInput = input;
            }
            PROCESS_INFORMATION info = {};
            std::wstring commandLine = commands[i];
            if (!CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, nulInput, 0, nullptr,
                                folder.c_str(), &startup, &info))
                Fail(Format("cannot start cmd.exe (error %lu)", GetLastError()));
            CloseHandle(info.hThread);
            processes[i] = info.hProcess;
        }
        if (WaitForMultipleObjects(4, processes, TRUE, 300000) != WAIT_OBJECT_0) Fail("the direct listing hung");
        elapsed = Now() - before;
        interpretersTyped += typer.Finish();
        interpretersStarted += 4;
    }
    if (nulInput) CloseHandle(input);
    for (HANDLE process : processes) {
        DWORD code = 1;
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
        if (code != 0) Fail(Format("a direct listing ended with exit code %lu", code));
    }
    CheckListings(folder, label, "the direct listing");
    DeleteListings(folder, label);
    return elapsed;
}

// ---------------------------------------------------------------- the table

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Spread(const std::vector<double>& values, const char* format) {
    auto [low, high] = std::minmax_element(values.begin(), values.end());
    return Format(format, *low) + ".." + Format(format, *high);
}

void Row(const char* measure, const std::vector<double>& ours, const std::vector<double>& theirs, const char* against,
         const char* format, double goal = 0) {
    double a = Median(ours), b = Median(theirs), ratio = a / b;
    std::string verdict = goal > 0 ? Format("<= %.2f  %s", goal, ratio <= goal ? "met" : "MISSED") : "";
    Print(Format("%-34s %10s %10s  %-14s %6.3f  %s\n", measure, Format(format, a).c_str(), Format(format, b).c_str(),
                 against, ratio, verdict.c_str()));
    Print(Format("%-34s %10s %10s\n", "    min..max", Spread(ours, format).c_str(), Spread(theirs, format).c_str()));
}

// ---------------------------------------------------------------- setup

struct Setup {
    std::wstring folder, small, reference, empty, label;
    int runs = 10;
};

void CountTree(const std::wstring& folder, size_t& files, size_t& folders) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ++folders;
            CountTree(folder + L"\\" + name, files, folders);
        } else {
            ++files;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

Setup ReadArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    Setup setup;
    for (int i = 1; i + 1 < count; i += 2) {
        std::wstring name = arguments[i], value = arguments[i + 1];
        if (name == L"--folder")
            setup.folder = value;
        else if (name == L"--small")
            setup.small = value;
        else if (name == L"--reference")
            setup.reference = value;
        else if (name == L"--empty")
            setup.empty = value;
        else if (name == L"--label")
            setup.label = value;
        else if (name == L"--runs")
            setup.runs = _wtoi(value.c_str());
        else
            Fail("unknown argument " + Utf8(name));
    }
    LocalFree(arguments);
    if (setup.folder.empty() || setup.reference.empty() || setup.label.empty() || setup.runs < 1)
        Fail("usage: bench_driver --folder D --reference EXE --label L [--small D2] [--empty EXE] [--runs N]");
    return setup;
}

// Velmora lists the folder it lies in; the direct runs must list the same folder with the same label.
void CheckFolder(const std::wstring& folder, const std::wstring& label) {
    if (GetFileAttributesW((folder + L"\\Velmora.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
        Fail("no Velmora.exe in " + Utf8(folder));
    wchar_t root[] = {folder[0], L':', L'\\', 0};
    wchar_t found[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root, found, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) || label != found)
        Fail("drive " + Utf8(root) + " is labelled '" + Utf8(found) + "', not '" + Utf8(label) + "'");
    std::wstring names = folder + label;
    if (names.find_first_of(L" \t&|<>^(),;=%!") != std::wstring::npos) Fail("the folder and label must be plain names");
    DeleteListings(folder, label);
}

}  // namespace

int wmain() {
    // The direct listings must start the way Velmora's do: from a process without a console, so
    // that each interpreter gets a console of its own. The report still reaches our stdout.
    output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode;
    if (GetConsoleMode(output, &mode)) {
        Print("bench_driver: send the output to a pipe or file (bench/run does), as the console is let go\n");
        return 2;
    }
    FreeConsole();
    QueryPerformanceFrequency(&frequency);
    timeBeginPeriod(1);
    JoinKillingJob();

    Setup setup = ReadArguments();
    CheckFolder(setup.folder, setup.label);
    if (!setup.small.empty()) CheckFolder(setup.small, setup.label);
    const std::wstring velmora = setup.folder + L"\\Velmora.exe";
    size_t files = 0, folders = 0;
    CountTree(setup.folder, files, folders);
    Print("listing " + Utf8(setup.folder) + " on the drive labelled " + Utf8(setup.label) +
          Format(": %zu files (Velmora.exe among them) in %zu folders\n", files, folders));
    Print(Format("%d runs of each side, alternating which goes first; one warm-up run of each not counted\n",
                 setup.runs));

    std::vector<StartupSample> velmoraStarts, referenceStarts;
    std::vector<double> velmoraListings, directListings, typedListings, velmoraSmall, directSmall, empty;
    for (int run = 0; run <= setup.runs; ++run) {
        bool counted = run > 0, velmoraFirst = run % 2 == 1;
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == velmoraFirst) {
                StartupSample sample = MeasureStartup(velmora, setup.folder, kVelmoraClass, "Velmora");
                if (counted) velmoraStarts.push_back(sample);
            } else {
                StartupSample sample = MeasureStartup(setup.reference, setup.folder, kReferenceClass, "the reference");
                if (counted) referenceStarts.push_back(sample);
            }
        }
        for (int turn = 0; turn < 3; ++turn) {
            switch ((turn + run) % 3) {
                case 0: {
                    double elapsed = MeasureVelmoraListing(setup.folder, setup.label);
                    if (counted) velmoraListings.push_back(elapsed);
                    break;
                }
                case 1: {
                    double elapsed = MeasureDirectListing(setup.folder, setup.label, PauseAnswer::FromNul);
                    if (counted) directListings.push_back(elapsed);
                    break;
                }
                default: {
                    double elapsed = MeasureDirectListing(setup.folder, setup.label, PauseAnswer::Typed);
                    if (counted) typedListings.push_back(elapsed);
                }
            }
        }
        if (!setup.small.empty()) {
            for (int side = 0; side < 2; ++side) {
                if ((side == 0) == velmoraFirst) {
                    double elapsed = MeasureVelmoraListing(setup.small, setup.label);
                    if (counted) velmoraSmall.push_back(elapsed);
                } else {
                    double elapsed = MeasureDirectListing(setup.small, setup.label, PauseAnswer::FromNul);
                    if (counted) directSmall.push_back(elapsed);
                }
            }
        }
        if (!setup.empty.empty()) {
            double elapsed = MeasureEmpty(setup.empty, setup.folder);
            if (counted) empty.push_back(elapsed);
        }
        if (!counted) continue;
        Print(Format("run %2d: start-up %.1f / %.1f ms, listing %.0f / %.0f (typed %.0f) ms, peak %.0f / %.0f KiB\n",
                     run, velmoraStarts.back().visibleMs, referenceStarts.back().visibleMs, velmoraListings.back(),
                     directListings.back(), typedListings.back(), velmoraStarts.back().peakKiB,
                     referenceStarts.back().peakKiB));
    }

    auto pick = [](const std::vector<StartupSample>& samples, double StartupSample::*field) {
        std::vector<double> values;
        for (const StartupSample& sample : samples) values.push_back(sample.*field);
        return values;
    };

    Print("\n");
    Print(Format("%-34s %10s %10s  %-14s %6s  %s\n", "medians", "Velmora", "baseline", "baseline is", "ratio", "goal"));
    Row("start-up to visible window, ms", pick(velmoraStarts, &StartupSample::visibleMs),
        pick(referenceStarts, &StartupSample::visibleMs), "reference", "%.1f", 1.2);
    Row("listing to completion box, ms", velmoraListings, directListings, "4 cmd, NUL in", "%.0f", 1.15);
    Row("peak working set, KiB", pick(velmoraStarts, &StartupSample::peakKiB),
        pick(referenceStarts, &StartupSample::peakKiB), "reference", "%.0f", 1.2);

    Print("for context, no goals:\n");
    // Load from elsewhere on the machine only ever adds time: the fastest runs show the programs.
    auto fastest = [](const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); };
    double fastestOurs = fastest(pick(velmoraStarts, &StartupSample::visibleMs));
    double fastestTheirs = fastest(pick(referenceStarts, &StartupSample::visibleMs));
    Print(Format("%-34s %10.1f %10.1f  %-14s %6.3f\n", "  start-up, fastest run, ms", fastestOurs, fastestTheirs,
                 "reference", fastestOurs / fastestTheirs));
    Row("  CreateProcessW returned, ms", pick(velmoraStarts, &StartupSample::createMs),
        pick(referenceStarts, &StartupSample::createMs), "reference", "%.1f");
    Row("  listing, vs pauses typed to, ms", velmoraListings, typedListings, "4 cmd, typed", "%.0f");
    if (!velmoraSmall.empty()) Row("  listing a 5-file folder, ms", velmoraSmall, directSmall, "4 cmd, NUL in", "%.0f");
    if (!empty.empty())
        Print(Format("  an empty program, CreateProcessW to its end: median %.1f ms (%s)\n", Median(empty),
                     Spread(empty, "%.1f").c_str()));
    const std::set<std::wstring>& ours = velmoraStarts.front().modules;
    const std::set<std::wstring>& theirs = referenceStarts.front().modules;
    std::string onlyOurs, onlyTheirs;
    for (const std::wstring& name : ours)
        if (!theirs.count(name)) onlyOurs += " " + Utf8(name);
    for (const std::wstring& name : theirs)
        if (!ours.count(name)) onlyTheirs += " " + Utf8(name);
    Print(Format("  modules loaded: Velmora %zu, reference %zu; only Velmora's:", ours.size(), theirs.size()) +
          onlyOurs + "; only the reference's:" + onlyTheirs + "\n");
    Print(Format("  interpreters' consoles typed Enter keys into: %zu of %zu started\n", interpretersTyped,
                 interpretersStarted));
    timeEndPeriod(1);
    return 0;
}
