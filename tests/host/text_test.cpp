#include "host/text.h"

#include <gtest/gtest.h>

#include <string>

TEST(JoinTexts, EmptyAndAbsentPiecesJoinLikeTheOthersAlone) {
    const struct {
        std::initializer_list<const wchar_t*> pieces;
        const wchar_t* expected;
    } cases[] = {
        {{L"cmd ", L"", L">", nullptr, L"\\", L"", L"+x.txt"}, L"cmd >\\+x.txt"},
        {{nullptr, nullptr}, L""},
        {{}, L""},
        {{L"", L"乗\\", nullptr, L"表"}, L"乗\\表"},
    };
    for (const auto& c : cases) {
        Text joined = JoinTexts(c.pieces);
        EXPECT_EQ(std::wstring(joined.Get()), c.expected);
        EXPECT_EQ(joined.Length(), std::wstring(c.expected).size());
        EXPECT_NE(joined.Data(), nullptr) << "the result is a text of its own, even when empty";
    }
}

TEST(Text, CopiesAndTruncatesWithoutTouchingTheSource) {
    const wchar_t source[] = L"X:\\tools\\Velmora.exe";
    Text copy = Text::Copy(source, 8);
    EXPECT_EQ(std::wstring(copy.Get()), L"X:\\tools");
    Text moved = std::move(copy);
    EXPECT_EQ(std::wstring(moved.Get()), L"X:\\tools");
    EXPECT_TRUE(copy.Empty());
    moved.Truncate(2);
    EXPECT_EQ(std::wstring(moved.Get()), L"X:");
    moved.Truncate(10);
    EXPECT_EQ(moved.Length(), 2u);
    EXPECT_EQ(std::wstring(source), L"X:\\tools\\Velmora.exe");
}
