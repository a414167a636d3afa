#include "host/process.h"

#include <gtest/gtest.h>

#include <thread>

#include "host/message.h"
#include "support/driver.h"

using namespace std::chrono_literals;

TEST(ShowWindowCommand, MapsAndClampsTheShowStyle) {
    const struct {
        int style, command;
    } cases[] = {{-5, SW_HIDE},          {0, SW_HIDE},          {1, SW_HIDE},
                 {2, SW_SHOWNORMAL},     {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED},
                 {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE},      {9, SW_MINIMIZE}};
    for (const auto& c : cases) EXPECT_EQ(ShowWindowCommand(c.style), c.command) << "style " << c.style;
    EXPECT_EQ(ShowWindowCommand(kDefaultShowStyle), SW_SHOWNORMAL);
}

TEST(ShowMessage, IsTaskModalUnlessSystemModal) {
    EXPECT_EQ(MessageFlags(0), static_cast<UINT>(MB_TASKMODAL));
    EXPECT_EQ(MessageFlags(MB_ICONWARNING | MB_YESNO), static_cast<UINT>(MB_ICONWARNING | MB_YESNO | MB_TASKMODAL));
    EXPECT_EQ(MessageFlags(MB_SYSTEMMODAL | MB_OK), static_cast<UINT>(MB_SYSTEMMODAL | MB_OK));
}

TEST(ShowMessage, NumbersThePressedButtonFromZero) {
    const struct {
        int result, pressed;
    } cases[] = {{IDOK, 0},  {IDCANCEL, 1}, {IDABORT, 2}, {IDRETRY, 3},    {IDIGNORE, 4},
                 {IDYES, 5}, {IDNO, 6},     {0, -1},      {IDTRYAGAIN, -1}};
    for (const auto& c : cases) EXPECT_EQ(PressedButton(c.result), c.pressed) << "result " << c.result;
}

TEST(ShowMessage, ShowsTheBoxAndReturnsWhatTheUserPressed) {
    MessageBoxView seen;
    std::thread user([&] {
        seen = WaitForMessageBox(GetCurrentProcessId(), 10s);
        if (seen.window) SendMessageW(GetDlgItem(seen.window, IDNO), BM_CLICK, 0, 0);
    });
    int pressed = ShowMessage(L"继续吗？", MB_YESNO, L"温馨提示", nullptr);
    user.join();
    EXPECT_EQ(pressed, 6);
    EXPECT_EQ(seen.title, L"温馨提示");
    EXPECT_EQ(seen.text, L"继续吗？");
}

class StartCommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = L"X:\\start-command-line";
        RemoveTree(folder_);
        MakeFolders(folder_);
        recorder_ = folder_ + L"\\recorder.exe";
        CopyFileTo(TestsBuildFile(L"recorder.exe"), recorder_);
    }
    void TearDown() override { RemoveTree(folder_); }

    std::wstring Record() {
        std::wstring record;
        WaitUntil(
            [&] {
                record = ReadUtf16(folder_ + L"\\record.txt");
                return record.find(L'\n') != std::wstring::npos;
            },
            10s);
        return record;
    }

    std::wstring folder_, recorder_;
};

TEST_F(StartCommandLineTest, NothingRunnableGivesFalseAndShowsNothing) {
    EXPECT_FALSE(StartCommandLine(L"X:\\start-command-line\\no-such-program.exe /c", false, 1));
    EXPECT_FALSE(StartCommandLine(L"", false));
    EXPECT_EQ(WaitForWindow(GetCurrentProcessId(), nullptr, 500ms), nullptr);
}

TEST_F(StartCommandLineTest, HandsTheCommandLineOverUnchanged) {
    const std::wstring commandLine = L"\"" + recorder_ + L"\"   a  \"b c\"  %PATH% ^& 乗\\ +x.txt  /p ";
    ASSERT_TRUE(StartCommandLine(commandLine.c_str(), true, 1));
    std::wstring record = Record();
    EXPECT_EQ(record.substr(0, record.find(L'\n')), commandLine);
}

TEST_F(StartCommandLineTest, ShowsTheStartedWindowAsTheStyleSays) {
    const struct {
        int style;
        bool omitted;
        unsigned expected;
    } cases[] = {{0, false, SW_HIDE},
                 {1, false, SW_HIDE},
                 {9, false, SW_MINIMIZE},
                 {0, true, SW_SHOWNORMAL},
                 {5, false, SW_SHOWNOACTIVATE}};
    for (const auto& c : cases) {
        DeleteFileW((folder_ + L"\\record.txt").c_str());
        std::wstring commandLine = L"\"" + recorder_ + L"\"";
        bool started = c.omitted ? StartCommandLine(commandLine.c_str(), true)
                                 : StartCommandLine(commandLine.c_str(), true, c.style);
        ASSERT_TRUE(started);
        std::wstring record = Record();
        unsigned flags = 0, show = 99;
        swscanf(record.c_str() + record.find(L'\n') + 1, L"%u %u", &flags, &show);
        EXPECT_TRUE(flags & STARTF_USESHOWWINDOW);
        EXPECT_EQ(show, c.expected) << "style " << c.style << (c.omitted ? " (omitted)" : "");
    }
}

TEST_F(StartCommandLineTest, WaitsForTheEndOnlyWhenAsked) {
    std::wstring commandLine = L"\"" + recorder_ + L"\" --sleep=1500";
    ASSERT_TRUE(StartCommandLine(commandLine.c_str(), true, 1));
    EXPECT_TRUE(FileExists(folder_ + L"\\record.txt")) << "returned before the program ended";

    DeleteFileW((folder_ + L"\\record.txt").c_str());
    auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(StartCommandLine(commandLine.c_str(), false, 1));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1400ms);
    EXPECT_FALSE(FileExists(folder_ + L"\\record.txt"));
    EXPECT_FALSE(Record().empty());
}
