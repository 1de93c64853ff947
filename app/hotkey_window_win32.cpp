#include "app/hotkey_window_win32.h"

#include "app/dpi_layout_win32.h"
#include "settings/hotkeys.h"

namespace {

HWND Make(HWND parent, HINSTANCE instance, HFONT font, const char* cls, const char* caption, DWORD style, int id,
          int x, int y, int w, int h) {
    HWND control = CreateScaledControl(parent, instance, cls, caption, style, id, x, y, w, h);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

}  // namespace

HotkeyWindowControls CreateHotkeyWindowControls(HWND window, HINSTANCE instance, HFONT font) {
    HotkeyWindowControls c;
    Make(window, instance, font, "static", "Function:", 0, 0, 10, 10, 100, 35);
    Make(window, instance, font, "static", "Key:", 0, 0, 10, 42, 100, 35);
    Make(window, instance, font, "static", "Modifier:", 0, 0, 10, 78, 100, 35);
    Make(window, instance, font, "Button", "Set", BS_PUSHBUTTON, kHotkeySetId, 90, 127, 42, 28);
    c.functionList = Make(window, instance, font, "Combobox", "Function", CBS_DROPDOWNLIST | CBS_SORT,
                          kHotkeyFunctionListId, 90, 10, 150, 200);
    c.keyList = Make(window, instance, font, "Combobox", "Hotkey", CBS_DROPDOWNLIST | WS_VSCROLL, kHotkeyKeyListId,
                     90, 46, 150, 100);
    const struct {
        const char* caption;
        int x, y, h;
    } boxes[4] = {{"Alt", 90, 76, 25}, {"Ctrl", 194, 76, 25}, {"Shift", 90, 96, 30}, {"Win", 194, 96, 25}};
    for (int i = 0; i < 4; ++i)
        c.boxes[i] = Make(window, instance, font, "BUTTON", boxes[i].caption, BS_AUTOCHECKBOX, 0, boxes[i].x,
                          boxes[i].y, 55, boxes[i].h);
    for (const char* name : HotkeyFunctionNames)
        SendMessageA(c.functionList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    for (const HotkeyKey& key : HotkeyKeys)
        SendMessageA(c.keyList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(key.name));
    return c;
}

int Win32HotkeyDialog::FunctionSelection() {
    return static_cast<int>(SendMessageA(c_.functionList, CB_GETCURSEL, 0, 0));
}

int Win32HotkeyDialog::KeySelection() {
    return static_cast<int>(SendMessageA(c_.keyList, CB_GETCURSEL, 0, 0));
}

void Win32HotkeyDialog::SelectKey(int position) {
    SendMessageA(c_.keyList, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

bool Win32HotkeyDialog::Checked(int box) {
    return SendMessageA(c_.boxes[box], BM_GETCHECK, 0, 0) != 0;
}

void Win32HotkeyDialog::SetChecked(int box, bool checked) {
    SendMessageA(c_.boxes[box], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
