// One configurable hotkey: what was last registered for a function.
#pragma once
#include <cstdint>

#include "base/command_ids.h"

struct HotkeyBinding {
    std::int32_t id = 0;         // the function number, 0-8
    std::int32_t modifiers = 0;  // 1 Alt, 2 Ctrl, 4 Shift, 8 Windows
    std::int32_t keyIndex = 0;   // index into the hotkey key table
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
    bool win = false;
};

// A binding filled as every registration fills it: the flags follow the bits.
inline HotkeyBinding MakeBinding(int function, int modifiers, int keyIndex) {
    HotkeyBinding b;
    b.id = function;
    b.modifiers = modifiers;
    b.keyIndex = keyIndex;
    b.alt = (modifiers & 1) != 0;
    b.ctrl = (modifiers & 2) != 0;
    b.shift = (modifiers & 4) != 0;
    b.win = (modifiers & 8) != 0;
    return b;
}

// A combination asked of the system under a hotkey id (a function number or
// Alt+D's); held is false while another program has it.
struct WantedHotkey {
    std::int32_t id = 0;
    std::int32_t modifiers = 0;
    std::int32_t virtualKey = 0;
    bool held = false;
};
