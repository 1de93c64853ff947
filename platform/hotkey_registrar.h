// The seam to system-wide hotkeys: RegisterHotKey and UnregisterHotKey for
// the main window.
#pragma once

class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;
    virtual bool Register(int id, int modifiers, int virtualKey) = 0;
    virtual void Unregister(int id) = 0;
};
