// The frame's event delivery, with a recording handler linked in place of the listing job.
#include "shell/frame.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "host/process.h"
#include "shell/main_window.h"
#include "shell/window_description.h"
#include "support/driver.h"

namespace {
int listingJobRuns = 0;

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
}  // namespace

void ListingJob() { ++listingJobRuns; }
void StartupHook() {}
void CleanupHook() {}

// Built in this process, which carries the program's resources, to read what only the owning
// process can ask of the window.
TEST(MainWindow, TakesItsIconsFromTheImageAndTheDefaultGuiFont) {
    ASSERT_TRUE(MainWindow::Create(kStartWindow));
    HWND window = FindWindowW(L"VelmoraMainWindow", kStartWindow.title);
    ASSERT_NE(window, nullptr);
    for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 48) << "both icons are made at the image's own size";
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    const auto font = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(SendMessageW(GetDlgItem(window, 100), WM_GETFONT, 0, 0), font);
    EXPECT_EQ(SendMessageW(GetDlgItem(window, 110), WM_GETFONT, 0, 0), font);
    DestroyWindow(window);
    EXPECT_FALSE(MainWindow::Exists());
}

TEST(Frame, ClicksRaisedWhileEventsAreHeldAreDroppedNotDelayed) {
    ASSERT_TRUE(MainWindow::Create(kStartWindow));
    HWND window = FindWindowW(L"VelmoraMainWindow", kStartWindow.title);
    ASSERT_NE(window, nullptr);
    HWND button = GetDlgItem(window, 100);
    listingJobRuns = 0;

    HoldEvents();
    ControlEvent click = {0x52010001, 0x16010002, kClickEvent, 0, nullptr, false, 0};
    EXPECT_FALSE(RaiseEvent(click));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ReleaseEvents();  // delivers the queued click while events are still held
    PumpMessages();
    EXPECT_EQ(listingJobRuns, 0);

    PostMessageW(window, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    PumpMessages();
    EXPECT_EQ(listingJobRuns, 1);
    EXPECT_TRUE(RaiseEvent(click));
    EXPECT_EQ(listingJobRuns, 2);

    const struct {
        uint32_t window, control;
        int32_t event;
    } unbound[] = {{0x52010001, 0x16010005, kClickEvent},
                   {0x52010001, 0, kBuiltEvent},
                   {0x52010002, 0x16010002, 0},
                   {0x52010001, 0x16010002, 1},
                   {0x52010001, 0x16019999, 0}};
    for (const auto& u : unbound) {
        ControlEvent event = {u.window, u.control, u.event, 0, nullptr, false, 0};
        EXPECT_FALSE(RaiseEvent(event));
    }
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(110, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 110)));
    PumpMessages();
    EXPECT_EQ(listingJobRuns, 2);
    DestroyWindow(window);
    EXPECT_FALSE(MainWindow::Exists());
}

// The wait cursor is a handle of this process, so this is looked at from inside it.
TEST(MainWindow, WhileWaitingForProcessesTakesNoInputAndShowsTheWaitCursor) {
    ASSERT_TRUE(MainWindow::Create(kStartWindow));
    HWND window = FindWindowW(L"VelmoraMainWindow", kStartWindow.title);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    HWND button = GetDlgItem(window, 100);
    ASSERT_EQ(GetFocus(), button);
    RECT client;
    GetClientRect(window, &client);
    POINT inside = {client.right / 2, client.bottom - 5};
    ClientToScreen(window, &inside);
    SetCursorPos(inside.x, inside.y);

    StartedProcess sleeper =
        StartProcess(nullptr, (L"\"" + TestsBuildFile(L"recorder.exe") + L"\" --sleep=2000").c_str(), 1);
    ASSERT_TRUE(sleeper.process);
    std::atomic<bool> disabled{false}, waitCursor{false};
    std::thread observer([&] {
        Sleep(500);
        disabled = !IsWindowEnabled(window);
        SetCursorPos(inside.x + 2, inside.y);
        WaitUntil(
            [&] {
                CURSORINFO cursor = {sizeof cursor};
                GetCursorInfo(&cursor);
                return waitCursor = cursor.hCursor == LoadCursorW(nullptr, IDC_WAIT);
            },
            std::chrono::milliseconds(1000));
    });
    HANDLE process = sleeper.process.Get();
    WaitForProcesses(&process, 1);
    observer.join();
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "returns only once the process has ended";
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(waitCursor);
    EXPECT_FALSE(WaitingForProcesses());
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(GetFocus(), button) << "the focus it had";
    DestroyWindow(window);
}
