// Two hundred listings in a row from one running Velmora, each by a key press: every round leaves
// complete listings, and the process holds no more handles or GDI/USER objects than after round 10.
#include <gtest/gtest.h>

#include "support/driver.h"
#include "support/listed_folder.h"

using namespace std::chrono_literals;

namespace {

struct Holdings {
    DWORD handles = 0, gdiObjects = 0, userObjects = 0;
};

Holdings HoldingsOf(HANDLE process) {
    Holdings held;
    GetProcessHandleCount(process, &held.handles);
    held.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    held.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    return held;
}

}  // namespace

TEST(Endurance, TwoHundredListingsInARowLeakNothing) {
    constexpr int kRounds = 200, kSettled = 10;
    constexpr DWORD kAllowedGrowth = 4;
    const std::wstring folder = L"X:\\endurance";
    RemoveTree(folder);
    MakeFolders(folder);
    PrepareListedFolder(folder);
    CopyFileTo(BuildFile(L"Velmora.exe"), folder + L"\\Velmora.exe");
    Program program(folder + L"\\Velmora.exe", L"", L"C:\\");
    HWND window = WaitForWindow(program.Id(), kMainWindowClass, 20s);
    ASSERT_NE(window, nullptr);

    Holdings settled;
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (const wchar_t* name : kListingNames) DeleteFileW(JoinPath(folder, std::wstring(L"DATA") + name).c_str());
        BringToFront(window);
        PressKey(VK_SPACE);
        MessageBoxView box = WaitForMessageBox(program.Id(), 30s);
        ASSERT_NE(box.window, nullptr);
        ASSERT_EQ(box.text, L"恭喜您，任务完成！");
        ExpectFourListings(folder, L"DATA");
        DismissMessageBox(box);
        ASSERT_FALSE(::testing::Test::HasFailure());

        Holdings now = HoldingsOf(program.Handle());
        if (round == kSettled) {
            settled = now;
            printf("after round %d: %lu handles, %lu GDI objects, %lu USER objects\n", round, now.handles,
                   now.gdiObjects, now.userObjects);
        } else if (round > kSettled) {
            ASSERT_LE(now.handles, settled.handles + kAllowedGrowth);
            ASSERT_LE(now.gdiObjects, settled.gdiObjects + kAllowedGrowth);
            ASSERT_LE(now.userObjects, settled.userObjects + kAllowedGrowth);
        }
        if (round == kRounds)
            printf("after round %d: %lu handles, %lu GDI objects, %lu USER objects\n", round, now.handles,
                   now.gdiObjects, now.userObjects);
    }
    BringToFront(window);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(10s), 0u);
    RemoveTree(folder);
}
