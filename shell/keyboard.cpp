#include "shell/keyboard.h"

#include <windows.h>

KeyAction DecideKey(unsigned virtualKey, Modifiers held) {
    if (held.ctrl || held.alt) return KeyAction::None;
    if (virtualKey == VK_ESCAPE) return held.shift ? KeyAction::None : KeyAction::Close;
    if (virtualKey == VK_TAB) return held.shift ? KeyAction::PreviousControl : KeyAction::NextControl;
    return KeyAction::None;
}
