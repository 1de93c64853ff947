// Nine configurable system-wide hotkeys and the fixed Alt+D: the key table,
// the stored form of a binding, registering and dispatching.
#pragma once
#include <string>

#include "app/application_state.h"
#include "platform/platform.h"

struct HotkeyKey {
    const char* name;
    int virtualKey;
};

constexpr int kHotkeyKeyCount = 53;
extern const HotkeyKey HotkeyKeys[kHotkeyKeyCount];
extern const char* const HotkeyFunctionNames[kHotkeyFunctionCount];

constexpr int kInstallHotkeyId = 9;  // Alt+D

// "modifiers|keyIndex". False for a value that names no key: empty, one
// number only, or a key index outside the table.
bool ParseHotkeyValue(const std::string& text, int& modifiers, int& keyIndex);
std::string FormatHotkeyValue(int modifiers, int keyIndex);

void RegisterBinding(ApplicationState& app, Platform& os, int function, int modifiers, int keyIndex);
void RegisterAllHotkeys(ApplicationState& app, Platform& os);
void UnregisterAllHotkeys(Platform& os);
// At start-up: all hotkeys when they are on, otherwise only the on/off toggle.
void RegisterStartUpHotkeys(ApplicationState& app, Platform& os);
void DispatchHotkey(ApplicationState& app, Platform& os, int id);
