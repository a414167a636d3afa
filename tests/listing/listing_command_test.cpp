#include "listing/listing_command.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Line(size_t row, const wchar_t* directory, const wchar_t* label) {
    Text line = BuildCommandLine(kListingCommands[row], directory, label);
    return line.Get();
}

}  // namespace

TEST(ListingCommand, PlainNamesGiveTheFourCommandLinesExactly) {
    const struct {
        const wchar_t* directory;
        const wchar_t* label;
        const wchar_t* lines[4];
    } cases[] = {
        {L"D:\\tools",
         L"DATA",
         {L"cmd /c   dir  D:\\tools /S/B >D:\\tools\\DATA+文件列全表.txt  /p ",
          L"cmd /c   dir  D:\\tools>D:\\tools\\DATA+文件列表.txt  /p ",
          L"cmd /c   tree  D:\\tools>D:\\tools\\DATA+目录列表.txt  ",
          L"cmd /c   tree   D:\\tools>D:\\tools\\DATA+目录文件列表.txt  /f /a"}},
        {L"E:",
         L"DATA",
         {L"cmd /c   dir  E: /S/B >E:\\DATA+文件列全表.txt  /p ", L"cmd /c   dir  E:>E:\\DATA+文件列表.txt  /p ",
          L"cmd /c   tree  E:>E:\\DATA+目录列表.txt  ", L"cmd /c   tree   E:>E:\\DATA+目录文件列表.txt  /f /a"}},
        {L"D:\\tools",
         L"",
         {L"cmd /c   dir  D:\\tools /S/B >D:\\tools\\+文件列全表.txt  /p ",
          L"cmd /c   dir  D:\\tools>D:\\tools\\+文件列表.txt  /p ",
          L"cmd /c   tree  D:\\tools>D:\\tools\\+目录列表.txt  ",
          L"cmd /c   tree   D:\\tools>D:\\tools\\+目录文件列表.txt  /f /a"}},
        {nullptr,
         nullptr,
         {L"cmd /c   dir   /S/B >\\+文件列全表.txt  /p ", L"cmd /c   dir  >\\+文件列表.txt  /p ",
          L"cmd /c   tree  >\\+目录列表.txt  ", L"cmd /c   tree   >\\+目录文件列表.txt  /f /a"}},
        {L"D:\\工具\\乗", L"数据", {L"cmd /c   dir  D:\\工具\\乗 /S/B >D:\\工具\\乗\\数据+文件列全表.txt  /p "}},
    };
    for (const auto& c : cases)
        for (size_t row = 0; row < 4 && c.lines[row]; ++row)
            EXPECT_EQ(Line(row, c.directory, c.label), c.lines[row]) << "row " << row + 1;
}

TEST(ListingCommand, NamesCmdWouldMisreadNeverReachItsParser) {
    // The program opens the file itself: no target, no label; the folder is quoted, or left to
    // the interpreter's current directory when it holds an expansion sign.
    const struct {
        const wchar_t* directory;
        const wchar_t* label;
        const wchar_t* line1;
        const wchar_t* line2;
        const wchar_t* line4;
    } cases[] = {
        {L"D:\\My Tools", L"DATA", L"cmd /c   dir  \"D:\\My Tools\" /S/B   /p ", L"cmd /c   dir  \"D:\\My Tools\"  /p ",
         L"cmd /c   tree   \"D:\\My Tools\"  /f /a"},
        {L"D:\\tools", L"New Volume", L"cmd /c   dir  \"D:\\tools\" /S/B   /p ", L"cmd /c   dir  \"D:\\tools\"  /p ",
         L"cmd /c   tree   \"D:\\tools\"  /f /a"},
        {L"D:\\a & mkdir x", L"", L"cmd /c   dir  \"D:\\a & mkdir x\" /S/B   /p ",
         L"cmd /c   dir  \"D:\\a & mkdir x\"  /p ", L"cmd /c   tree   \"D:\\a & mkdir x\"  /f /a"},
        {L"D:\\100%", L"", L"cmd /c   dir   /S/B   /p ", L"cmd /c   dir    /p ", L"cmd /c   tree     /f /a"},
        {L"D:\\%PATH%", L"DATA", L"cmd /c   dir   /S/B   /p ", L"cmd /c   dir    /p ", L"cmd /c   tree     /f /a"},
        {L"D:\\hi!", L"DATA", L"cmd /c   dir   /S/B   /p ", L"cmd /c   dir    /p ", L"cmd /c   tree     /f /a"},
        {L"E:", L"R&D", L"cmd /c   dir  \"E:\" /S/B   /p ", L"cmd /c   dir  \"E:\"  /p ",
         L"cmd /c   tree   \"E:\"  /f /a"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RedirectsThroughProgram(c.directory, c.label));
        EXPECT_EQ(Line(0, c.directory, c.label), c.line1);
        EXPECT_EQ(Line(1, c.directory, c.label), c.line2);
        EXPECT_EQ(Line(3, c.directory, c.label), c.line4);
    }
    EXPECT_FALSE(RedirectsThroughProgram(L"D:\\tools", L"DATA"));
    EXPECT_FALSE(RedirectsThroughProgram(L"E:", L""));
}

TEST(ListingCommand, EveryBlankAndCmdOperatorNeedsProtection) {
    for (const wchar_t* name : {L"My Tools", L"R&D", L"a|b", L"a<b", L"a>b", L"x^y", L"a(b", L"a)b", L"a,b", L"a;b",
                                L"c=d", L"100%", L"%PATH%", L"hi!", L"新建 文件夹", L"tab\there"})
        EXPECT_TRUE(NeedsProtection(name)) << "needs protection";
    for (const wchar_t* name :
         {L"", L"D:\\tools", L"E:", L"DATA", L"新建文件夹", L"a+b", L"a'b", L"a~1", L"[x]", L"@#$"})
        EXPECT_FALSE(NeedsProtection(name)) << "plain";
    EXPECT_FALSE(NeedsProtection(nullptr));
}

TEST(ListingCommand, FileNamesAndPathsFollowTheLabel) {
    const wchar_t* names[] = {L"DATA+文件列全表.txt", L"DATA+文件列表.txt", L"DATA+目录列表.txt",
                              L"DATA+目录文件列表.txt"};
    for (size_t row = 0; row < kListingCount; ++row) {
        EXPECT_EQ(std::wstring(ListingFileName(kListingCommands[row], L"DATA").Get()), names[row]);
        EXPECT_EQ(std::wstring(ListingPath(kListingCommands[row], L"E:", L"DATA").Get()),
                  std::wstring(L"E:\\") + names[row]);
    }
    EXPECT_EQ(std::wstring(ListingPath(kListingCommands[2], L"D:\\a b", L"").Get()), L"D:\\a b\\+目录列表.txt");
}
