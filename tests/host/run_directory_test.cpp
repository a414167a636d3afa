#include "host/run_directory.h"

#include <gtest/gtest.h>

#include "support/driver.h"

using namespace std::chrono_literals;

TEST(SplitAtLastBackslash, CutsAtTheLastBackslash) {
    const struct {
        const wchar_t* path;
        size_t directoryLength, fileNameStart;
    } cases[] = {
        {L"D:\\tools\\Velmora.exe", 8, 9},     {L"E:\\x.exe", 2, 3}, {L"D:\\乗\\x.exe", 4, 5},
        {L"\\\\server\\share\\x.exe", 14, 15}, {L"x.exe", 0, 0},     {L"", 0, 0},
    };
    for (const auto& c : cases) {
        SplitPath split = SplitAtLastBackslash(c.path);
        EXPECT_EQ(split.directoryLength, c.directoryLength) << c.path;
        EXPECT_EQ(split.fileNameStart, c.fileNameStart) << c.path;
    }
}

// Copies the probe into a folder, runs it there, and returns what it saw.
std::wstring Probe(const std::wstring& folder, const std::wstring& name, const std::wstring& currentDirectory = L"") {
    MakeFolders(folder);
    std::wstring exe = (folder.back() == L'\\' ? folder : folder + L"\\") + name;
    CopyFileTo(TestsBuildFile(L"host_probe.exe"), exe);
    std::wstring result = L"X:\\probe-result.txt";
    DeleteFileW(result.c_str());
    Program probe(exe, L"\"" + result + L"\"" + (currentDirectory.empty() ? L"" : L" \"" + currentDirectory + L"\""),
                  L"X:\\");  // labelled, so a current directory that was not taken would show
    EXPECT_EQ(probe.WaitForExit(20s), 0u);
    DeleteFileW(exe.c_str());
    return ReadUtf16(result);
}

TEST(RunDirectory, IsTheExecutablesFolderWithoutTrailingBackslash) {
    // Near the limit: Wine starts no program whose path reaches MAX_PATH.
    const std::wstring deep = L"X:\\deep\\" + std::wstring(120, L'a') + L"\\" + std::wstring(100, L'b');
    const struct {
        std::wstring folder, name, expected;
    } cases[] = {
        {L"X:\\tools", L"Velmora.exe", L"X:\\tools|Velmora.exe|DATA"},
        {L"W:\\", L"x.exe", L"W:|x.exe|DATA"},
        // 乗 is 0x81 0x5C in GBK: its second byte is a backslash to a byte-wise search.
        {L"X:\\列表乗", L"Velmora.exe", L"X:\\列表乗|Velmora.exe|DATA"},
        {deep, L"Velmora.exe", deep + L"|Velmora.exe|DATA"},
    };
    for (const auto& c : cases) {
        std::wstring seen = Probe(c.folder, c.name);
        EXPECT_EQ(seen, c.expected) << "from " << ToCodePage(c.folder, CP_UTF8);
    }
    RemoveTree(L"X:\\deep");
}

TEST(CurrentDriveLabel, IsTheLabelOfTheCurrentDrive) {
    MakeFolders(L"Y:\\unlabelled");
    const struct {
        const wchar_t* currentDirectory;
        const wchar_t* label;
    } cases[] = {
        {L"X:\\tools", L"DATA"},
        {L"x:\\", L"DATA"},
        {L"Y:\\unlabelled", L""},
        {L"\\\\velmora\\share", L""},
    };
    MakeFolders(L"X:\\tools");
    for (const auto& c : cases) {
        std::wstring seen = Probe(L"X:\\label-probe", L"probe.exe", c.currentDirectory);
        EXPECT_EQ(seen.substr(seen.rfind(L'|') + 1), c.label) << ToCodePage(c.currentDirectory, CP_UTF8);
    }
    RemoveTree(L"X:\\label-probe");
}
