// The listing job as a user meets it: Velmora.exe copied into a folder, its button pressed, the
// message read, and the files it leaves checked.
#include <gtest/gtest.h>

#include <set>

#include "support/driver.h"
#include "support/listed_folder.h"

using namespace std::chrono_literals;

namespace {
const std::wstring kDone = L"恭喜您，任务完成！";
}  // namespace

TEST(ListingJob, WritesTheFourListingsExactlyBesideTheProgram) {
    const struct {
        std::wstring folder, label;
    } cases[] = {
        {L"X:\\tools", L"DATA"},
        {L"X:\\My Tools", L"DATA"},
        {L"X:\\R&D", L"DATA"},
        {L"X:\\a(b)", L"DATA"},
        {L"X:\\x^y", L"DATA"},
        {L"X:\\a,b;c=d", L"DATA"},
        {L"X:\\100%", L"DATA"},
        {L"X:\\%PATH%", L"DATA"},
        {L"X:\\%VELMORA_FOLDER%", L"DATA"},
        {L"X:\\新建 文件夹", L"DATA"},
        {L"X:\\a & mkdir injected", L"DATA"},
        {L"X:\\列表乗", L"DATA"},
        {L"V:\\tools", L"New Volume"},
        {L"U:\\R&D (1) !", L"R&D 100%!"},
        {L"W:\\", L"DATA"},
        {L"Y:\\tools", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToCodePage(c.folder, CP_UTF8));
        std::wstring drive = c.folder.substr(0, 3);
        std::set<std::wstring> driveBefore = Entries(drive);
        PrepareListedFolder(c.folder);
        ListingRun run = RunListingJob(c.folder);
        ASSERT_TRUE(run.windowShown);
        EXPECT_EQ(run.box.title, L"温馨提示");
        EXPECT_EQ(run.box.text, kDone);
        EXPECT_FALSE(run.box.hasIcon);
        EXPECT_EQ(run.exitCode, 0u);

        std::set<std::wstring> expected = {L"Velmora.exe", L"sub"};
        for (const wchar_t* name : kListingNames) expected.insert(c.label + name);
        EXPECT_EQ(Entries(c.folder), expected);
        ExpectFourListings(c.folder, c.label);
        if (c.folder != drive) {
            std::set<std::wstring> driveAfter = Entries(drive);
            driveAfter.erase(c.folder.substr(3));
            driveBefore.erase(c.folder.substr(3));
            EXPECT_EQ(driveAfter, driveBefore) << "nothing beside the folder";
        }
        EXPECT_FALSE(FolderExists(L"C:\\injected"));
        EXPECT_FALSE(FolderExists(L"C:\\windows\\system32\\injected"));
        if (c.folder != drive) RemoveTree(c.folder);
    }
}

TEST(ListingJob, NeverRunsACmdLyingInTheProgramsFolder) {
    const std::wstring folder = L"X:\\planted";
    PrepareListedFolder(folder);
    CopyFileTo(TestsBuildFile(L"marker_cmd.exe"), folder + L"\\cmd.exe");
    ListingRun run = RunListingJob(folder);
    EXPECT_EQ(run.box.text, kDone);
    EXPECT_FALSE(FileExists(folder + L"\\planted-cmd-ran.txt"));
    ExpectFourListings(folder, L"DATA");
    RemoveTree(folder);
}

TEST(ListingJob, NamesTheListingsThatCouldNotBeWritten) {
    const std::wstring folder = L"X:\\blocked";
    PrepareListedFolder(folder);
    MakeFolders(folder + L"\\DATA+目录列表.txt");
    ListingRun run = RunListingJob(folder);
    EXPECT_EQ(run.box.title, L"温馨提示");
    EXPECT_EQ(run.box.text, L"以下列表未能生成：\r\nDATA+目录列表.txt");
    EXPECT_TRUE(run.box.hasIcon);
    for (int row : {0, 1, 3}) EXPECT_TRUE(FileExists(folder + L"\\DATA" + kListingNames[row])) << row;
    EXPECT_TRUE(FolderExists(folder + L"\\DATA+目录列表.txt"));

    DeleteFileW((folder + L"\\DATA+文件列全表.txt").c_str());
    MakeFolders(folder + L"\\DATA+文件列全表.txt");
    run = RunListingJob(folder);
    EXPECT_EQ(run.box.text, L"以下列表未能生成：\r\nDATA+文件列全表.txt\r\nDATA+目录列表.txt");
    RemoveTree(folder);
}

TEST(ListingJob, ListsAFolderLongerThanAScreenToItsEnd) {
    // "/p" makes the interpreter pause after each screenful; no one can press a key for it.
    const std::wstring folder = L"X:\\long";
    PrepareListedFolder(folder);
    for (int i = 0; i < 150; ++i) {
        HANDLE file = CreateFileW((folder + L"\\file" + std::to_wstring(i) + L".txt").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    ListingRun run = RunListingJob(folder);
    EXPECT_EQ(run.box.text, kDone);
    std::wstring full = ReadListing(folder + L"\\DATA+文件列全表.txt");
    std::wstring plain = ReadListing(folder + L"\\DATA+文件列表.txt");
    for (int i : {0, 75, 149}) {
        std::wstring name = L"file" + std::to_wstring(i) + L".txt";
        EXPECT_NE(full.find(folder + L"\\" + name), std::wstring::npos) << i;
        EXPECT_NE(plain.find(name), std::wstring::npos) << i;
    }
    RemoveTree(folder);
}
