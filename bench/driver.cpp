// Measures Velmora against baselines in one run, alternating the two sides so that drifts of the
// machine fall on both:
//   start-up      CreateProcessW until the main window is visible, Velmora vs the reference window;
//   one listing   the space key until the completion box is visible, vs the same four command
//                 lines started directly (all four, then a wait for all);
//   peak memory   PeakWorkingSetSize read just before the program is closed with Esc.
// bench_driver --velmora X:\dir\Velmora.exe --reference X:\dir\Reference.exe --folder X:\dir
//              --label DATA [--runs 10]
// Every process it starts, and whatever those start, ends before it does.
#include <windows.h>
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
#include <map>
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

// ---------------------------------------------------------------- output and time

HANDLE output = INVALID_HANDLE_VALUE;

void Print(const std::string& text) {
    DWORD written;
    if (output != INVALID_HANDLE_VALUE && output != nullptr)
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return "";
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
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
    ExitProcess(2);  // the job object ends everything still running
}

LARGE_INTEGER frequency;

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Polls condition about every millisecond; the elapsed time when it held, or a negative value.
template <typename Condition>
double PollFor(Condition condition, double timeoutMs) {
    double start = Now();
    for (;;) {
        if (condition()) return Now() - start;
        if (Now() - start > timeoutMs) return -1;
        Sleep(1);
    }
}

// ---------------------------------------------------------------- processes and windows

HANDLE job = nullptr;

// Puts the driver into a job that ends all its descendants when the driver ends, however it ends.
void JoinKillingJob() {
    job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job, GetCurrentProcess()))
        Print("note: no job object; bench/run's wineserver -k ends what is left\n");
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

struct Memory {
    double peakKiB = 0, privateKiB = 0;
};

Memory ReadMemory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        Fail(Format("GetProcessMemoryInfo failed (error %lu)", GetLastError()));
    return {counters.PeakWorkingSetSize / 1024.0, counters.PrivateUsage / 1024.0};
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
    if (WaitForSingleObject(started.info.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(started.info.hProcess, 99);
        WaitForSingleObject(started.info.hProcess, 5000);
        Fail(Format("%s did not end on Esc%s", what, front ? "" : " (its window never came to the front)"));
    }
    DWORD code = 1;
    GetExitCodeProcess(started.info.hProcess, &code);
    if (code != 0) Fail(Format("%s ended with exit code %lu after Esc", what, code));
    Close(started);
}

// ---------------------------------------------------------------- the listing

struct Setup {
    std::wstring velmora, reference, folder, label;
    int runs = 10;
};

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

void DeleteListings(const Setup& setup) {
    for (const std::wstring& name : ListingNames(setup.label)) {
        std::wstring path = setup.folder + L"\\" + name;
        if (!DeleteFileW(path.c_str()) && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            Fail("cannot delete " + Utf8(path));
    }
}

void CheckListings(const Setup& setup, const char* who) {
    for (const std::wstring& name : ListingNames(setup.label)) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        std::wstring path = setup.folder + L"\\" + name;
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
            Fail(std::string(who) + " left no " + Utf8(name));
        if (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0) Fail(std::string(who) + " left an empty " + Utf8(name));
    }
}

// Wine 8's cmd pages "dir /p" every 24 lines even when the output goes to a file, and then waits
// for a line typed into its console; Windows does not page into a file. So that the listings can
// end at all, both sides get Enter keys typed into the console of every interpreter that the
// listing's parent starts, found the same way for both.
class EnterTyper {
public:
    explicit EnterTyper(DWORD parent) : parent_(parent), thread_([this] { Run(); }) {}
    ~EnterTyper() {
        stop_ = true;
        thread_.join();
    }
    size_t Typed() const { return typed_.size(); }

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
        while (!stop_) {
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
            Sleep(1);
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

size_t interpretersTyped = 0;  // over all measured listings, to show that the typing took place

// ---------------------------------------------------------------- the runs

struct StartupSample {
    double visibleMs, createMs;
    Memory memory;
};

std::map<std::wstring, std::set<std::wstring>> modulesSeen;

StartupSample MeasureStartup(const Setup& setup, const std::wstring& exe, const wchar_t* className,
                             const char* what) {
    double before = Now();
    Started started = StartProgram(exe, setup.folder);
    HWND window = nullptr;
    double waited = PollFor(
        [&] {
            window = VisibleWindowOf(started.info.dwProcessId, className);
            return window != nullptr || Exited(started.info.hProcess);
        },
        30000);
    double visible = Now() - before;
    if (waited < 0 || !window) Fail(Format("%s showed no window", what));
    Settle(started.info.hProcess);
    StartupSample sample = {visible, started.createMs, ReadMemory(started.info.hProcess)};
    if (!modulesSeen.count(exe)) modulesSeen[exe] = ModulesOf(started.info.hProcess);
    CloseWithEsc(started, window, what);
    return sample;
}

double MeasureVelmoraListing(const Setup& setup) {
    DeleteListings(setup);
    Started started = StartProgram(setup.velmora, setup.folder);
    HWND window = nullptr;
    if (PollFor([&] { return (window = VisibleWindowOf(started.info.dwProcessId, kVelmoraClass)) != nullptr; },
                30000) < 0)
        Fail("Velmora showed no window");
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
        waited = PollFor(
            [&] {
                box = VisibleWindowOf(started.info.dwProcessId, kBoxClass);
                return box != nullptr || Exited(started.info.hProcess);
            },
            300000);
        elapsed = Now() - before;
        interpretersTyped += typer.Typed();
    }
    if (waited < 0 || !box) Fail("no completion box appeared");

    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    if (TextOf(box) != kBoxTitle || std::wstring(text) != kBoxText)
        Fail("unexpected box: " + Utf8(TextOf(box)) + " / " + Utf8(text));
    BringToFront(box);
    Key(VK_RETURN);
    if (PollFor([&] { return !IsWindow(box); }, 3000) < 0) PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (PollFor([&] { return !IsWindow(box); }, 5000) < 0) Fail("the completion box did not close");
    CheckListings(setup, "Velmora");
    CloseWithEsc(started, window, "Velmora");
    DeleteListings(setup);
    return elapsed;
}

double MeasureDirectListing(const Setup& setup) {
    DeleteListings(setup);
    std::wstring interpreter = SystemInterpreter();
    std::vector<std::wstring> commands = ListingCommands(setup.folder, setup.label);
    HANDLE processes[4];
    EnterTyper typer(GetCurrentProcessId());
    double before = Now();
    for (size_t i = 0; i < 4; ++i) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION info = {};
        std::wstring commandLine = commands[i];
        if (!CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            setup.folder.c_str(), &startup, &info))
            Fail(Format("cannot start cmd.exe (error %lu)", GetLastError()));
        CloseHandle(info.hThread);
        processes[i] = info.hProcess;
    }
    if (WaitForMultipleObjects(4, processes, TRUE, 300000) != WAIT_OBJECT_0) Fail("the direct listing hung");
    double elapsed = Now() - before;
    interpretersTyped += typer.Typed();
    for (HANDLE process : processes) {
        DWORD code = 1;
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
        if (code != 0) Fail(Format("a direct listing ended with exit code %lu", code));
    }
    CheckListings(setup, "the direct listing");
    DeleteListings(setup);
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

void Row(const char* measure, const std::vector<double>& ours, const std::vector<double>& theirs,
         const char* against, double goal, const char* format) {
    double a = Median(ours), b = Median(theirs), ratio = a / b;
    Print(Format("%-30s %10s %10s  %-16s %6.2f  <= %.2f  %s\n", measure, Format(format, a).c_str(),
                 Format(format, b).c_str(), against, ratio, goal, ratio <= goal ? "met" : "MISSED"));
    Print(Format("%-30s %21s  %21s\n", "  (min..max)", Spread(ours, format).c_str(), Spread(theirs, format).c_str()));
}

void InfoRow(const char* measure, const std::vector<double>& ours, const std::vector<double>& theirs,
             const char* against, const char* format) {
    Print(Format("%-30s %10s %10s  %-16s %6.2f\n", measure, Format(format, Median(ours)).c_str(),
                 Format(format, Median(theirs)).c_str(), against, Median(ours) / Median(theirs)));
}

// ---------------------------------------------------------------- setup

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
        if (name == L"--velmora") setup.velmora = value;
        else if (name == L"--reference") setup.reference = value;
        else if (name == L"--folder") setup.folder = value;
        else if (name == L"--label") setup.label = value;
        else if (name == L"--runs") setup.runs = _wtoi(value.c_str());
        else Fail("unknown argument " + Utf8(name));
    }
    LocalFree(arguments);
    if (setup.velmora.empty() || setup.reference.empty() || setup.folder.empty() || setup.label.empty() ||
        setup.runs < 1)
        Fail("usage: bench_driver --velmora EXE --reference EXE --folder D --label L [--runs N]");
    return setup;
}

void CheckSetup(const Setup& setup) {
    // Velmora lists its own folder, so the folder measured directly must be the one it lives in.
    if (setup.velmora != setup.folder + L"\\Velmora.exe") Fail("Velmora.exe must lie directly in the folder");
    wchar_t root[] = {setup.folder[0], L':', L'\\', 0};
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) ||
        setup.label != label)
        Fail("drive " + Utf8(root) + " is labelled '" + Utf8(label) + "', not '" + Utf8(setup.label) + "'");
    std::wstring names = setup.folder + setup.label;
    if (names.find_first_of(L" \t&|<>^(),;=%!") != std::wstring::npos) Fail("the folder and label must be plain names");
}

}  // namespace

int wmain() {
    // The direct listings must start the way Velmora's do: from a process without a console, so
    // that each interpreter gets a console of its own. The report still reaches our stdout.
    output = GetStdHandle(STD_OUTPUT_HANDLE);
    FreeConsole();
    QueryPerformanceFrequency(&frequency);
    timeBeginPeriod(1);
    JoinKillingJob();

    Setup setup = ReadArguments();
    CheckSetup(setup);
    size_t files = 0, folders = 0;
    CountTree(setup.folder, files, folders);
    DeleteListings(setup);
    Print("folder " + Utf8(setup.folder) + " on the drive labelled " + Utf8(setup.label) +
          Format(": %zu files in %zu folders (the two programs among the files)\n", files, folders));
    Print(Format("%d runs of each side, alternating which goes first; one warm-up run of each not counted\n",
                 setup.runs));

    MeasureStartup(setup, setup.velmora, kVelmoraClass, "Velmora");
    MeasureStartup(setup, setup.reference, kReferenceClass, "the reference");
    MeasureVelmoraListing(setup);
    MeasureDirectListing(setup);

    std::vector<StartupSample> velmoraStarts, referenceStarts;
    std::vector<double> velmoraListings, directListings;
    for (int run = 0; run < setup.runs; ++run) {
        bool velmoraFirst = run % 2 == 0;
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == velmoraFirst)
                velmoraStarts.push_back(MeasureStartup(setup, setup.velmora, kVelmoraClass, "Velmora"));
            else
                referenceStarts.push_back(MeasureStartup(setup, setup.reference, kReferenceClass, "the reference"));
        }
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == velmoraFirst)
                velmoraListings.push_back(MeasureVelmoraListing(setup));
            else
                directListings.push_back(MeasureDirectListing(setup));
        }
        Print(Format("run %2d: start-up %.1f / %.1f ms, listing %.1f / %.1f ms, peak %.0f / %.0f KiB\n", run + 1,
                     velmoraStarts.back().visibleMs, referenceStarts.back().visibleMs, velmoraListings.back(),
                     directListings.back(), velmoraStarts.back().memory.peakKiB,
                     referenceStarts.back().memory.peakKiB));
    }

    auto pick = [](const std::vector<StartupSample>& samples, auto field) {
        std::vector<double> values;
        for (const StartupSample& sample : samples) values.push_back(field(sample));
        return values;
    };
    auto visible = [](const StartupSample& s) { return s.visibleMs; };
    auto created = [](const StartupSample& s) { return s.createMs; };
    auto peak = [](const StartupSample& s) { return s.memory.peakKiB; };
    auto privateBytes = [](const StartupSample& s) { return s.memory.privateKiB; };

    Print("\n");
    Print(Format("%-30s %10s %10s  %-16s %6s  %-7s %s\n", "medians", "Velmora", "baseline", "baseline is", "ratio",
                 "goal", "result"));
    Row("start-up to visible window, ms", pick(velmoraStarts, visible), pick(referenceStarts, visible),
        "reference", 1.2, "%.1f");
    Row("listing to completion box, ms", velmoraListings, directListings, "4 cmd started", 1.15, "%.1f");
    Row("peak working set, KiB", pick(velmoraStarts, peak), pick(referenceStarts, peak), "reference", 1.2, "%.0f");
    Print("for context:\n");
    InfoRow("  CreateProcessW returned, ms", pick(velmoraStarts, created), pick(referenceStarts, created),
            "reference", "%.1f");
    InfoRow("  private bytes at close, KiB", pick(velmoraStarts, privateBytes), pick(referenceStarts, privateBytes),
            "reference", "%.0f");

    const std::set<std::wstring>& ours = modulesSeen[setup.velmora];
    const std::set<std::wstring>& theirs = modulesSeen[setup.reference];
    std::wstring extra;
    for (const std::wstring& name : ours)
        if (!theirs.count(name)) extra += (extra.empty() ? L"" : L" ") + name;
    Print(Format("  modules loaded: Velmora %zu, reference %zu; only in Velmora: ", ours.size(), theirs.size()) +
          (extra.empty() ? std::string("none") : Utf8(extra)) + "\n");
    Print(Format("  interpreters that were typed Enter keys (Wine's dir /p pauses): %zu of %d started\n",
                 interpretersTyped, 8 * (setup.runs + 1)));
    timeEndPeriod(1);
    return 0;
}
