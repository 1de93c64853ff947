// The seam to the keyboard: injected key events and the active layout.
#pragma once
#include <cstdint>
#include <string>

namespace keyflag {
constexpr std::uint32_t kExtended = 0x1;  // KEYEVENTF_EXTENDEDKEY
constexpr std::uint32_t kKeyUp = 0x2;     // KEYEVENTF_KEYUP
}  // namespace keyflag

class Keyboard {
public:
    virtual ~Keyboard() = default;
    // keybd_event: one key transition.
    virtual void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) = 0;
    // MapVirtualKeyA(vk, 0): the scan code on the active layout.
    virtual std::uint8_t ScanCode(std::uint8_t virtualKey) = 0;
    // VkKeyScanA: virtual key in the low byte, shift state (1 Shift, 2 Ctrl,
    // 4 Alt) in the high byte; -1 when the layout has no key for it.
    virtual std::int16_t KeyForChar(char ch) = 0;
    // GetKeyState: bit 0 toggled, sign bit down (as this thread sees it).
    virtual std::int16_t KeyState(int virtualKey) = 0;
    // GetAsyncKeyState: sign bit physically down now.
    virtual std::int16_t AsyncKeyState(int virtualKey) = 0;
    // GetKeyboardLayoutNameA: 8 hexadecimal digits.
    virtual std::string LayoutName() = 0;
};
