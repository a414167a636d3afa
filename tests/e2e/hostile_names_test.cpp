// Folder names drawn at random from what Windows allows, rich in characters that cmd treats
// specially, on drives whose labels the test prefix drew the same way (Wine reads a label once). Each run must write
// the four listings exactly at D\L+name.txt and change nothing else: a name that cmd misread would list or write
// elsewhere, or run a command.
#include <gtest/gtest.h>

#include <random>

#include "support/driver.h"
#include "support/listed_folder.h"

using namespace std::chrono_literals;

namespace {

constexpr unsigned kSeed = 20200530;
constexpr int kCases = 40;

const std::wstring kAlphabet = L"abcXYZ新建文件夹数据乗表 `&^()%!'~#@${},;=[]+";
const wchar_t kLabelledDrives[] = L"MNOPQRST";

std::wstring Draw(std::mt19937& random, const std::wstring& alphabet, size_t minimum, size_t maximum) {
    std::uniform_int_distribution<size_t> length(minimum, maximum), pick(0, alphabet.size() - 1);
    std::wstring drawn;
    for (size_t n = length(random); drawn.size() < n;) drawn += alphabet[pick(random)];
    while (!drawn.empty() && drawn.back() == L' ') drawn.pop_back();  // Windows drops trailing blanks
    return drawn;
}

std::wstring LabelOf(const std::wstring& drive) {
    wchar_t label[MAX_PATH + 1] = {};
    GetVolumeInformationW(drive.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
    return label;
}

}  // namespace

TEST(HostileNames, EveryDrawnFolderAndLabelIsListedExactlyAndNothingElseRuns) {
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<size_t> pickDrive(0, 7);
    const std::set<std::wstring> systemBefore = Entries(L"C:\\"), windowsBefore = Entries(L"C:\\windows");
    for (int i = 0; i < kCases; ++i) {
        std::wstring name = Draw(random, kAlphabet, 1, 14);
        if (name.empty() || name == L"sub") name += L"x";
        const std::wstring drive = std::wstring(1, kLabelledDrives[pickDrive(random)]) + L":\\";
        const std::wstring label = LabelOf(drive);
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", case " + std::to_string(i) + ": folder \"" +
                     ToCodePage(drive + name, CP_UTF8) + "\", label \"" + ToCodePage(label, CP_UTF8) + "\"");
        ASSERT_FALSE(label.empty()) << "the prefix gives every one of these drives a label";
        const std::wstring folder = drive + name;
        MakeFolders(folder);
        PrepareListedFolder(folder);
        const std::set<std::wstring> driveBefore = Entries(drive);

        ListingRun run = RunListingJob(folder);
        ASSERT_TRUE(run.windowShown);
        EXPECT_EQ(run.box.text, L"恭喜您，任务完成！");
        EXPECT_EQ(run.exitCode, 0u);
        std::set<std::wstring> expected = {L"Velmora.exe", L"sub"};
        for (const wchar_t* listing : kListingNames) expected.insert(label + listing);
        EXPECT_EQ(Entries(folder), expected);
        EXPECT_EQ(Entries(folder + L"\\sub"), std::set<std::wstring>{L"inner.txt"});
        ExpectFourListings(folder, label);
        EXPECT_EQ(Entries(drive), driveBefore);
        EXPECT_EQ(Entries(L"C:\\"), systemBefore);
        EXPECT_EQ(Entries(L"C:\\windows"), windowsBefore);
        RemoveTree(folder);
        if (::testing::Test::HasFailure()) break;
    }
}
