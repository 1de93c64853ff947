// System-wide hotkeys through RegisterHotKey, delivered to one window.
#pragma once
#include <windows.h>

#include "platform/hotkey_registrar.h"

class Win32HotkeyRegistrar : public HotkeyRegistrar {
public:
    HWND window = nullptr;  // the main window, once it exists
    bool Register(int id, int modifiers, int virtualKey) override {
        return RegisterHotKey(window, id, static_cast<UINT>(modifiers), static_cast<UINT>(virtualKey)) != 0;
    }
    void Unregister(int id) override { UnregisterHotKey(window, id); }
};
