#include "settings/hotkey_dialog.h"

#include "settings/hotkeys.h"
#include "settings/ini_file.h"

namespace {

constexpr int kBoxes = 4;
constexpr int kBoxBits[kBoxes] = {1, 2, 4, 8};  // Alt, Ctrl, Shift, Win

bool ValidFunction(int f) {
    return f >= 0 && f < kHotkeyFunctionCount;
}

}  // namespace

void OnHotkeyFunctionChosen(ApplicationState& app, HotkeyDialogControls& dialog) {
    const int function = dialog.FunctionSelection();
    if (!ValidFunction(function)) return;
    for (int box = 0; box < kBoxes; ++box) dialog.SetChecked(box, false);
    const HotkeyBinding& b = app.hotkeys[function];
    dialog.SelectKey(b.keyIndex);
    const bool flags[kBoxes] = {b.alt, b.ctrl, b.shift, b.win};
    for (int box = 0; box < kBoxes; ++box)
        if (flags[box]) dialog.SetChecked(box, true);
}

void OnSetHotkey(ApplicationState& app, Platform& os, HotkeyDialogControls& dialog) {
    const int keyIndex = dialog.KeySelection();
    const int function = dialog.FunctionSelection();
    // Nothing to set until both a function and a key are chosen.
    if (!ValidFunction(function) || keyIndex < 0 || keyIndex >= kHotkeyKeyCount) return;
    int modifiers = 0;
    for (int box = 0; box < kBoxes; ++box)
        if (dialog.Checked(box)) modifiers += kBoxBits[box];
    // The old combination is let go first (RegisterBinding).
    RegisterBinding(app, os, function, modifiers, keyIndex);
    CIniFile::SetValue(std::to_string(function), FormatHotkeyValue(modifiers, keyIndex), "Hotkeys", app.optionsPath);
}
