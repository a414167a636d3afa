// What a key pressed in the main window does, decided apart from the window.
#pragma once

enum class KeyAction { None, Close, NextControl, PreviousControl };

struct Modifiers {
    bool ctrl, shift, alt;
};

KeyAction DecideKey(unsigned virtualKey, Modifiers held);
