// The fatal path, through a build of the program whose heap refuses a 37-byte text.
#include <gtest/gtest.h>

#include "support/driver.h"

using namespace std::chrono_literals;

TEST(FatalError, ShowsTheErrorBoxAndEndsWithMinusOneWithoutCleanUp) {
    const std::wstring folder = L"X:\\fatal";
    RemoveTree(folder);
    MakeFolders(folder);
    CopyFileTo(TestsBuildFile(L"fatal_probe.exe"), folder + L"\\fatal_probe.exe");
    Program program(folder + L"\\fatal_probe.exe", L"", L"C:\\");
    HWND window = WaitForWindow(program.Id(), kMainWindowClass, 20s);
    ASSERT_NE(window, nullptr);

    MessageBoxView box = WaitForMessageBox(program.Id(), 20s);
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.title, L"错误");
    EXPECT_EQ(box.text, L"运行时出错!\r\n\r\n错误信息：分配 37 字节内存失败!\r\n");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_TRUE(IsWindowEnabled(window)) << "the error box is not task-modal";

    // A click meanwhile reaches no handler: no listing is started.
    ClickCentre(GetDlgItem(window, 100));
    Sleep(1500);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::wstring>{L"fatal_probe.exe"});

    DismissMessageBox(box);
    EXPECT_EQ(program.WaitForExit(10s), 0xFFFFFFFFu);
    EXPECT_FALSE(FileExists(folder + L"\\cleanup-ran.txt"));
    EXPECT_FALSE(FileExists(L"C:\\cleanup-ran.txt"));
    RemoveTree(folder);
}
