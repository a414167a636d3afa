#include "shell/window_description.h"

#include "listing/listing_job.h"

namespace {

const ControlDescription kControls[] = {
    {0x16010005, L"列文件目录带文件名", L"列文件目录【带文件名】", 112, 160, 192, 32, true, true, true, 0},
    {0x16010002, L"列文件目录文件名", L"列文件目录文件名", 40, 24, 296, 32, true, true, true, 0},
};

const EventBinding kBindings[] = {
    {0x16010002, kClickEvent, ListingJob},
};

}  // namespace

const WindowDescription kStartWindow = {
    0x52010001, L"Velmora  V1.03版  2020年5月30日", 380, 115, kControls, 2, kBindings, 1,
};

const WindowDescription* ReadWindowDescription() {
    const WindowDescription& window = kStartWindow;
    if (!window.title || window.width <= 0 || window.height <= 0 || !window.controls || window.controlCount == 0)
        return nullptr;
    return &window;
}

size_t DescriptionIndexOfCreated(const WindowDescription& window, size_t creationIndex) {
    return window.controlCount - 1 - creationIndex;
}

int ControlIdentifier(size_t creationIndex) { return 100 + 10 * static_cast<int>(creationIndex); }

const ControlDescription* ControlByIdentifier(const WindowDescription& window, int identifier) {
    for (size_t created = 0; created < window.controlCount; ++created)
        if (ControlIdentifier(created) == identifier)
            return &window.controls[DescriptionIndexOfCreated(window, created)];
    return nullptr;
}

const ControlDescription* FindControl(const WindowDescription& window, uint32_t id) {
    for (size_t i = 0; i < window.controlCount; ++i)
        if (window.controls[i].id == id) return &window.controls[i];
    return nullptr;
}

const EventBinding* FindBinding(const WindowDescription& window, uint32_t control, int32_t event) {
    for (size_t i = 0; i < window.bindingCount; ++i)
        if (window.bindings[i].control == control && window.bindings[i].event == event) return &window.bindings[i];
    return nullptr;
}

size_t TabOrder(const WindowDescription& window, size_t* order, size_t capacity) {
    size_t count = 0;
    for (size_t created = 0; created < window.controlCount && count < capacity; ++created) {
        const ControlDescription& control = window.controls[DescriptionIndexOfCreated(window, created)];
        if (!control.visible || !control.enabled || !control.tabStop) continue;
        // Insertion after every entry with an equal or lower value keeps creation order among equals.
        size_t at = count;
        while (at > 0 &&
               window.controls[DescriptionIndexOfCreated(window, order[at - 1])].tabOrder > control.tabOrder) {
            order[at] = order[at - 1];
            --at;
        }
        order[at] = created;
        ++count;
    }
    return count;
}

size_t NextInTabOrder(const size_t* order, size_t count, size_t current, bool forward) {
    for (size_t i = 0; i < count; ++i)
        if (order[i] == current) return order[forward ? (i + 1) % count : (i + count - 1) % count];
    return order[0];
}
