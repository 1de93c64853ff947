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

// A hotkey another program holds is not lost: RetryHotkeys asks for it again.
void RegisterBinding(ApplicationState& app, Platform& os, int function, int modifiers, int keyIndex);
void RegisterAllHotkeys(ApplicationState& app, Platform& os);
void UnregisterAllHotkeys(ApplicationState& app, Platform& os);
// At start-up: all hotkeys when they are on, otherwise only the on/off toggle.
void RegisterStartUpHotkeys(ApplicationState& app, Platform& os);

// Called every half second: asks again for each hotkey another program held.
// One still held when the few seconds are up is named in an "Error:" line
// (again after each switch-on that did not get it) and told the listener;
// from then on it is asked for every 1.5 s, and the listener is told which
// are still held, or that all are free.
void RetryHotkeys(ApplicationState& app, Platform& os);
constexpr int kHotkeyRetryForMs = 5000;
constexpr int kHeldHotkeyRetryMs = 1500;

// Before a new copy starts: every hotkey let go, so that it can take them;
// and taken back when it could not be started.
void LetGoOfHotkeys(ApplicationState& app, Platform& os);
void TakeHotkeysBack(ApplicationState& app, Platform& os);

// "Alt+F1 (Hotkeys On\Off)": how the log names a hotkey.
std::string HotkeyText(const WantedHotkey& hotkey);
