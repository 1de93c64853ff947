#include "platform/keyboard_win32.h"

#include <windows.h>

void Win32Keyboard::KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) {
    keybd_event(virtualKey, scanCode, flags, 0);
}

std::uint8_t Win32Keyboard::ScanCode(std::uint8_t virtualKey) {
    return static_cast<std::uint8_t>(MapVirtualKeyA(virtualKey, 0));
}

std::int16_t Win32Keyboard::KeyForChar(char ch) {
    return VkKeyScanA(ch);
}

std::int16_t Win32Keyboard::KeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

std::int16_t Win32Keyboard::AsyncKeyState(int virtualKey) {
    return GetAsyncKeyState(virtualKey);
}

std::string Win32Keyboard::LayoutName() {
    char name[KL_NAMELENGTH] = {};
    GetKeyboardLayoutNameA(name);
    return name;
}
