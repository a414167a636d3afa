#include "shell/window_description.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "shell/keyboard.h"
#include "shell/main_window.h"

TEST(WindowDescription, ControlsAreCreatedInReverseWithIdentifiersFromOneHundred) {
    ASSERT_EQ(ReadWindowDescription(), &kStartWindow);
    EXPECT_EQ(kStartWindow.id, 0x52010001u);
    EXPECT_EQ(std::wstring(kStartWindow.title), L"Velmora  V1.03版  2020年5月30日");
    ASSERT_EQ(kStartWindow.controlCount, 2u);
    const ControlDescription& first = kStartWindow.controls[DescriptionIndexOfCreated(kStartWindow, 0)];
    const ControlDescription& second = kStartWindow.controls[DescriptionIndexOfCreated(kStartWindow, 1)];
    EXPECT_EQ(first.id, 0x16010002u);
    EXPECT_EQ(std::wstring(first.caption), L"列文件目录文件名");
    EXPECT_EQ(second.id, 0x16010005u);
    EXPECT_EQ(std::wstring(second.caption), L"列文件目录【带文件名】");
    EXPECT_EQ(ControlIdentifier(0), 100);
    EXPECT_EQ(ControlIdentifier(1), 110);
    EXPECT_EQ(ControlByIdentifier(kStartWindow, 100), &first);
    EXPECT_EQ(ControlByIdentifier(kStartWindow, 110), &second);
    EXPECT_EQ(ControlByIdentifier(kStartWindow, 120), nullptr);
}

TEST(WindowDescription, TheOnlyBindingIsTheListingButtonsClick) {
    ASSERT_NE(FindBinding(kStartWindow, 0x16010002, kClickEvent), nullptr);
    EXPECT_EQ(FindBinding(kStartWindow, 0x16010005, kClickEvent), nullptr);
    EXPECT_EQ(FindBinding(kStartWindow, 0x16010002, 1), nullptr);
    for (int32_t event : {kBuiltEvent, kMovedEvent, kResizedEvent})
        EXPECT_EQ(FindBinding(kStartWindow, 0, event), nullptr);
}

TEST(TabOrder, SortsByValueThenCreationOrderAndSkipsWhatCannotTakeFocus) {
    size_t order[8];
    ASSERT_EQ(TabOrder(kStartWindow, order, 8), 2u);
    EXPECT_EQ(order[0], 0u);
    EXPECT_EQ(order[1], 1u);

    // Description order d, c, b, a: created a, b, c, d.
    const ControlDescription controls[] = {
        {4, L"d", L"d", 0, 0, 1, 1, true, true, true, 1},
        {3, L"c", L"c", 0, 0, 1, 1, true, false, true, 0},
        {2, L"b", L"b", 0, 0, 1, 1, true, true, true, 0},
        {1, L"a", L"a", 0, 0, 1, 1, true, true, true, 2},
    };
    const WindowDescription window = {1, L"t", 10, 10, controls, 4, nullptr, 0};
    ASSERT_EQ(TabOrder(window, order, 8), 3u);
    EXPECT_EQ(order[0], 1u);  // b, value 0
    EXPECT_EQ(order[1], 3u);  // d, value 1
    EXPECT_EQ(order[2], 0u);  // a, value 2
    EXPECT_EQ(NextInTabOrder(order, 3, 1, true), 3u);
    EXPECT_EQ(NextInTabOrder(order, 3, 0, true), 1u) << "from the last back to the first";
    EXPECT_EQ(NextInTabOrder(order, 3, 1, false), 0u) << "from the first back to the last";
    EXPECT_EQ(NextInTabOrder(order, 3, 2, true), 1u) << "not in the order: the first";
}

TEST(DecideKey, EscClosesOnlyAloneAndTabCyclesBothWays) {
    const struct {
        unsigned key;
        Modifiers held;
        KeyAction action;
    } cases[] = {
        {VK_ESCAPE, {false, false, false}, KeyAction::Close},
        {VK_ESCAPE, {false, true, false}, KeyAction::None},
        {VK_ESCAPE, {true, false, false}, KeyAction::None},
        {VK_ESCAPE, {false, false, true}, KeyAction::None},
        {VK_TAB, {false, false, false}, KeyAction::NextControl},
        {VK_TAB, {false, true, false}, KeyAction::PreviousControl},
        {VK_TAB, {true, false, false}, KeyAction::None},
        {VK_TAB, {false, false, true}, KeyAction::None},
        {VK_RETURN, {false, false, false}, KeyAction::None},
        {VK_F1, {false, false, false}, KeyAction::None},
        {VK_SPACE, {false, false, false}, KeyAction::None},
    };
    for (const auto& c : cases) EXPECT_EQ(DecideKey(c.key, c.held), c.action) << "key " << c.key;
}

TEST(CenteredOrigin, HalvesTruncate) {
    const struct {
        int screenWidth, screenHeight;
        LONG x, y;
    } cases[] = {{1024, 768, 322, 326}, {1920, 1080, 770, 482}, {1366, 768, 493, 326}, {300, 100, -40, -7}};
    for (const auto& c : cases) {
        POINT origin = CenteredOrigin(c.screenWidth, c.screenHeight, 380, 115);
        EXPECT_EQ(origin.x, c.x);
        EXPECT_EQ(origin.y, c.y);
    }
}
