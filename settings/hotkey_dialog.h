// The "Set Hotkeys" window: pick a function, a key and modifiers, press Set.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// The window's lists and check boxes; positions are list positions, -1 for
// no selection. Boxes: 0 Alt, 1 Ctrl, 2 Shift, 3 Win.
class HotkeyDialogControls {
public:
    virtual ~HotkeyDialogControls() = default;
    virtual int FunctionSelection() = 0;
    virtual int KeySelection() = 0;
    virtual void SelectKey(int position) = 0;
    virtual bool Checked(int box) = 0;
    virtual void SetChecked(int box, bool checked) = 0;
};

// The function list's selection changed: show that function's binding.
void OnHotkeyFunctionChosen(ApplicationState& app, HotkeyDialogControls& dialog);
// Set: register the chosen combination at once and store it.
void OnSetHotkey(ApplicationState& app, Platform& os, HotkeyDialogControls& dialog);
