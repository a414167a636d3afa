// The program's fixed record of its one window: the window, its two buttons and the one event
// binding. The main window is built from it and the frame finds handlers in it.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct ControlDescription {
    uint32_t id;
    const wchar_t* name;
    const wchar_t* caption;
    int left, top, width, height;
    bool visible, enabled, tabStop;
    int tabOrder;
};

struct EventBinding {
    uint32_t control;  // 0 for the window itself
    int32_t event;
    void (*handler)();
};

struct WindowDescription {
    uint32_t id;
    const wchar_t* title;
    int width, height;
    const ControlDescription* controls;  // in description order; created in reverse
    size_t controlCount;
    const EventBinding* bindings;
    size_t bindingCount;
};

extern const WindowDescription kStartWindow;

constexpr int32_t kClickEvent = 0;
constexpr int32_t kBuiltEvent = 0;
constexpr int32_t kMovedEvent = 3;
constexpr int32_t kResizedEvent = 4;

// The description checked for use; null when it cannot serve to build the window.
const WindowDescription* ReadWindowDescription();

// Controls are created from the last description entry to the first; the n-th created (from 0)
// gets the identifier 100 + 10 n.
size_t DescriptionIndexOfCreated(const WindowDescription& window, size_t creationIndex);
int ControlIdentifier(size_t creationIndex);
const ControlDescription* ControlByIdentifier(const WindowDescription& window, int identifier);

const ControlDescription* FindControl(const WindowDescription& window, uint32_t id);
const EventBinding* FindBinding(const WindowDescription& window, uint32_t control, int32_t event);

// The creation indices of the visible, enabled tab-stop controls, by tab order value and then
// creation order. Returns how many were written to `order` (at most `capacity`).
size_t TabOrder(const WindowDescription& window, size_t* order, size_t capacity);

// The creation index that gets the focus after (forward) or before `current` in the tab order,
// wrapping round; the first of the order when `current` is not in it. `count` must be above 0.
size_t NextInTabOrder(const size_t* order, size_t count, size_t current, bool forward);
