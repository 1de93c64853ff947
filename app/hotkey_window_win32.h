// The "Set Hotkeys" window's controls, and the dialog seam over them.
#pragma once
#include <windows.h>

#include "base/command_ids.h"
#include "settings/hotkey_dialog.h"

struct HotkeyWindowControls {
    HWND functionList = nullptr;
    HWND keyList = nullptr;
    HWND boxes[4] = {};  // Alt, Ctrl, Shift, Win
};

// Creates the labels, lists, Set button and check boxes in window and fills
// the lists.
HotkeyWindowControls CreateHotkeyWindowControls(HWND window, HINSTANCE instance, HFONT font);

class Win32HotkeyDialog : public HotkeyDialogControls {
public:
    explicit Win32HotkeyDialog(const HotkeyWindowControls& controls) : c_(controls) {}
    int FunctionSelection() override;
    int KeySelection() override;
    void SelectKey(int position) override;
    bool Checked(int box) override;
    void SetChecked(int box, bool checked) override;

private:
    HotkeyWindowControls c_;
};
