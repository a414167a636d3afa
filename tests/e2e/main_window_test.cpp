// Velmora.exe started as a user starts it, from X:\tools on a drive labelled DATA, with another
// current directory and arguments it must ignore, and driven by keyboard and mouse.
#include <gtest/gtest.h>
#include <winternl.h>

#include "support/driver.h"

using namespace std::chrono_literals;

namespace {

const std::wstring kFolder = L"X:\\tools";
const wchar_t kTitle[] = L"Velmora  V1.03版  2020年5月30日";

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Reads the process's current directory from its process parameters.
std::wstring CurrentDirectoryOf(HANDLE process) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return L"";
    BYTE* parameters = nullptr;
    SIZE_T read = 0;
    ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic.PebBaseAddress) + 0x10, &parameters, sizeof parameters,
                      &read);
    UNICODE_STRING directory = {};
    ReadProcessMemory(process, parameters + 0x24, &directory, sizeof directory, &read);
    std::wstring path(directory.Length / sizeof(wchar_t), L'\0');
    ReadProcessMemory(process, directory.Buffer, path.data(), directory.Length, &read);
    return path;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(kFolder);
        MakeFolders(kFolder + L"\\sub");
        CopyFileTo(BuildFile(L"Velmora.exe"), kFolder + L"\\Velmora.exe");
        Start();
    }

    void Start() {
        program_ = std::make_unique<Program>(kFolder + L"\\Velmora.exe", L"--help /x 甲乙", L"C:\\");
        ASSERT_TRUE(program_->Started());
        window_ = WaitForWindow(program_->Id(), kMainWindowClass, 20s);
        ASSERT_NE(window_, nullptr);
        listing_ = GetDlgItem(window_, 100);
        withNames_ = GetDlgItem(window_, 110);
        BringToFront(window_);
    }
    void TearDown() override {
        program_.reset();
        RemoveTree(kFolder);
    }

    bool ListingsPresent() {
        for (const wchar_t* name :
             {L"DATA+文件列全表.txt", L"DATA+文件列表.txt", L"DATA+目录列表.txt", L"DATA+目录文件列表.txt"})
            if (!FileExists(kFolder + L"\\" + name)) return false;
        return true;
    }

    void ExpectCompletionAfter(const std::function<void()>& act) {
        act();
        MessageBoxView box = WaitForMessageBox(program_->Id(), 30s);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.title, L"温馨提示");
        EXPECT_EQ(box.text, L"恭喜您，任务完成！");
        EXPECT_FALSE(IsWindowEnabled(window_)) << "the box is task-modal";
        EXPECT_TRUE(ListingsPresent());
        DismissMessageBox(box);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(window_) == listing_; }, 3s))
            << "focus back on the button, not on " << FocusOf(window_) << " (window " << window_ << ", enabled "
            << IsWindowEnabled(window_) << ", foreground " << GetForegroundWindow() << ")";
    }

    void ExpectNoBoxFor(std::chrono::milliseconds wait) {
        EXPECT_EQ(WaitForWindow(program_->Id(), L"#32770", wait), nullptr);
    }

    std::unique_ptr<Program> program_;
    HWND window_ = nullptr, listing_ = nullptr, withNames_ = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, LooksAsDescribed) {
    EXPECT_EQ(WindowText(window_), kTitle);
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 115);
    const struct {
        int width, height;
        LONG x, y;
    } screens[] = {{1024, 768, 322, 326}, {1920, 1080, 770, 482}};
    bool known = false;
    for (const auto& s : screens) {
        if (GetSystemMetrics(SM_CXSCREEN) != s.width || GetSystemMetrics(SM_CYSCREEN) != s.height) continue;
        known = true;
        EXPECT_EQ(outer.left, s.x);
        EXPECT_EQ(outer.top, s.y);
    }
    std::string screen =
        std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(known) << "screen " << screen;
    if (const char* expected = getenv("VELMORA_TEST_SCREEN")) EXPECT_EQ(screen, expected);
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), 0x02CA0000u);
    EXPECT_TRUE(GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongW(window_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetClassLongW(window_, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);

    RECT client;
    GetClientRect(window_, &client);
    const struct {
        HWND button;
        const wchar_t* caption;
        LONG left, top, width, height;
    } buttons[] = {{listing_, L"列文件目录文件名", 40, 24, 296, 32},
                   {withNames_, L"列文件目录【带文件名】", 112, 160, 192, 32}};
    for (const auto& b : buttons) {
        ASSERT_NE(b.button, nullptr);
        EXPECT_EQ(ClassName(b.button), L"Button");
        EXPECT_EQ(WindowText(b.button), b.caption);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(b.button, GWL_STYLE)), 0x44012F00u | WS_VISIBLE);
        RECT rect;
        GetWindowRect(b.button, &rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, b.left);
        EXPECT_EQ(rect.top, b.top);
        EXPECT_EQ(rect.right - rect.left, b.width);
        EXPECT_EQ(rect.bottom - rect.top, b.height);
    }
    EXPECT_LT(client.bottom, 160) << "the second button lies below the client area";
    EXPECT_GE(client.bottom, 56) << "the listing button lies inside it";
    EXPECT_EQ(CurrentDirectoryOf(program_->Handle()), L"X:\\tools\\");
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(MainWindowTest, KeyboardRunsTheJobOnlyFromTheListingButton) {
    EXPECT_EQ(FocusOf(window_), listing_);
    PressKey(VK_RETURN);
    ExpectNoBoxFor(1500ms);
    EXPECT_FALSE(ListingsPresent());

    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(window_), withNames_);
    PressKey(VK_SPACE);
    ExpectNoBoxFor(1500ms);
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(window_), listing_);
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(FocusOf(window_), withNames_);
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(FocusOf(window_), listing_);
    PressKey(VK_F1);
    ExpectNoBoxFor(500ms);
    EXPECT_FALSE(ListingsPresent());

    ExpectCompletionAfter([] { PressKey(VK_SPACE); });
}

TEST_F(MainWindowTest, AMouseClickRunsTheJob) {
    ExpectCompletionAfter([&] { ClickCentre(listing_); });
    for (const wchar_t* name :
         {L"DATA+文件列全表.txt", L"DATA+文件列表.txt", L"DATA+目录列表.txt", L"DATA+目录文件列表.txt"})
        DeleteFileW((kFolder + L"\\" + name).c_str());
    ExpectCompletionAfter([&] { ClickCentre(listing_); });
}

TEST_F(MainWindowTest, EscClosesWithExitCodeZeroButNotWithShift) {
    PressKey(VK_ESCAPE, {VK_SHIFT});
    EXPECT_EQ(program_->WaitForExit(1000ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(IsWindow(window_));
    PressKey(VK_ESCAPE, {VK_CONTROL});
    EXPECT_EQ(program_->WaitForExit(1000ms), static_cast<DWORD>(STILL_ACTIVE));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program_->WaitForExit(10s), 0u);
}

TEST_F(MainWindowTest, AltF4ClosesWithExitCodeZero) {
    PressKey(VK_F4, {VK_MENU});
    EXPECT_EQ(program_->WaitForExit(10s), 0u);
}

TEST_F(MainWindowTest, TheCloseBoxClosesWithExitCodeZero) {
    RECT outer;
    GetWindowRect(window_, &outer);
    int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    int button = GetSystemMetrics(SM_CXSIZE);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    ClickAt(outer.right - frame - button / 2 - 1, outer.top + GetSystemMetrics(SM_CYFIXEDFRAME) + caption / 2);
    EXPECT_EQ(program_->WaitForExit(10s), 0u);
}

TEST_F(MainWindowTest, TwoCopiesRunSideBySide) {
    const std::wstring other = L"X:\\other";
    RemoveTree(other);
    MakeFolders(other);
    CopyFileTo(BuildFile(L"Velmora.exe"), other + L"\\Velmora.exe");
    {
        Program second(other + L"\\Velmora.exe", L"", other);
        HWND secondWindow = WaitForWindow(second.Id(), kMainWindowClass, 20s);
        ASSERT_NE(secondWindow, nullptr);
        BringToFront(secondWindow);
        PressKey(VK_ESCAPE);
        EXPECT_EQ(second.WaitForExit(10s), 0u);
        EXPECT_EQ(program_->WaitForExit(500ms), static_cast<DWORD>(STILL_ACTIVE));
        EXPECT_TRUE(IsWindowVisible(window_));
    }
    BringToFront(window_);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program_->WaitForExit(10s), 0u);
    RemoveTree(other);
}

TEST_F(MainWindowTest, ShowsItIsBusyWhileTheListingsAreWritten) {
    // The tree stand-in takes its time, inherited through Velmora's environment.
    program_.reset();
    SetEnvironmentVariableW(L"VELMORA_TEST_TREE_DELAY_MS", L"4000");
    Start();
    SetEnvironmentVariableW(L"VELMORA_TEST_TREE_DELAY_MS", nullptr);

    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(window_); }, 2s)) << "takes no input while busy";
    EXPECT_EQ(WaitForWindow(program_->Id(), L"#32770", 300ms), nullptr) << "no message before the listings are done";

    InvalidateRect(window_, nullptr, FALSE);
    EXPECT_TRUE(WaitUntil([&] { return !GetUpdateRect(window_, nullptr, FALSE); }, 1s)) << "it keeps painting";
    ClickCentre(listing_);  // taken by no one

    MessageBoxView box = WaitForMessageBox(program_->Id(), 30s);
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, L"恭喜您，任务完成！");
    EXPECT_TRUE(ListingsPresent());
    DismissMessageBox(box);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window_) == listing_; }, 3s));
    EXPECT_EQ(WaitForWindow(program_->Id(), L"#32770", 1500ms), nullptr) << "the click while busy started nothing";
}
