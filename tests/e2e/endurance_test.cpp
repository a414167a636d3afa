// Two hundred listings in a row from one running Velmora, each by a key press: every round leaves
// complete listings, and the process holds no more handles or GDI/USER objects than after round 10.
#include <gtest/gtest.h>
#include <winternl.h>

#include <vector>

#include "support/driver.h"
#include "support/listed_folder.h"

using namespace std::chrono_literals;

namespace {

struct Holdings {
    DWORD handles = 0, gdiObjects = 0, userObjects = 0;
};

// Counted from the system's handle table: Wine answers GetProcessHandleCount with 0.
DWORD HandleCount(DWORD processId) {
    struct Entry {
        ULONG processId;
        UCHAR objectType, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
    std::vector<char> buffer(1 << 20);
    NTSTATUS status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
           kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return 0;
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].processId == processId) ++count;
    return count;
}

Holdings HoldingsOf(const Program& program) {
    Holdings held;
    held.handles = HandleCount(program.Id());
    HANDLE process = program.Handle();
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

        Holdings now = HoldingsOf(program);
        if (round == kSettled) {
            settled = now;
            ASSERT_GT(now.handles, 0u) << "the handle count can be read";
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
