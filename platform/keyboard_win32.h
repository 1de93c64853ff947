// The keyboard through user32: keybd_event and the active layout.
#pragma once
#include "platform/keyboard.h"

class Win32Keyboard : public Keyboard {
public:
    void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
    std::uint8_t ScanCode(std::uint8_t virtualKey) override;
    std::int16_t KeyForChar(char ch) override;
    std::int16_t KeyState(int virtualKey) override;
    std::int16_t AsyncKeyState(int virtualKey) override;
    std::string LayoutName() override;
};
