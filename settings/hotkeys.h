// Nine configurable system-wide hotkeys and the fixed Alt+D: the key table,
// the stored form of a binding and registering.
#pragma once
#include <string>

#include "base/application_state.h"
#include "base/platform.h"

struct HotkeyKey {
    const char* name;
    int virtualKey;
};

constexpr int kHotkeyKeyCount = 53;
extern const HotkeyKey HotkeyKeys[kHotkeyKeyCount];
extern const char* const HotkeyFunctionNames[kHotkeyFunctionCount];

// "modifiers|keyIndex". False for a value that names no key: empty, one
// number only, or a key index outside the table.
bool ParseHotkeyValue(const std::string& text, int& modifiers, int& keyIndex);
std::string FormatHotkeyValue(int modifiers, int keyIndex);

void RegisterBinding(ApplicationState& app, Platform& os, int function, int modifiers, int keyIndex);
void RegisterAllHotkeys(ApplicationState& app, Platform& os);
void UnregisterAllHotkeys(Platform& os);
// At start-up: all hotkeys when they are on, otherwise only the on/off toggle.
void RegisterStartUpHotkeys(ApplicationState& app, Platform& os);
