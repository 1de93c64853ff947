// A small key-sequence language and the keystroke engine that sends it:
// characters stand for themselves, "!", "+", "^" and "#" add Alt, Shift, Ctrl
// and Win to the next key, and brace groups name special keys, repeat keys,
// hold modifiers down or type characters by Alt code.
#pragma once
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/keyboard.h"

// Pending modifiers for the next key, and modifiers held down by a group.
namespace modbit {
constexpr std::uint32_t kPendingAlt = 0x001;
constexpr std::uint32_t kPendingShift = 0x002;
constexpr std::uint32_t kPendingCtrl = 0x004;
constexpr std::uint32_t kPendingWin = 0x008;
constexpr std::uint32_t kAltHeld = 0x010;
constexpr std::uint32_t kShiftHeld = 0x020;
constexpr std::uint32_t kCtrlHeld = 0x040;
constexpr std::uint32_t kLWinHeld = 0x080;
constexpr std::uint32_t kRWinHeld = 0x100;
constexpr std::uint32_t kHeldMask = 0x1F0;
}  // namespace modbit

// The special actions, numbered as the table stores them.
enum class KeyAction { CtrlDown = 0, CtrlUp = 1, AltDown = 2, AltUp = 3, ShiftDown = 4, ShiftUp = 5, LWinDown = 6,
                       LWinUp = 7, RWinDown = 8, RWinUp = 9, Asc = 10, NumpadEnter = 11, Alt = 12, Plain = -1 };

struct KeyName {
    const char* name;
    KeyAction action;
    std::uint8_t virtualKey;  // for plain keys
};

// The 93 names, in the order they are searched.
extern const KeyName KeyNameTable[];
extern const int KeyNameCount;

bool IsExtendedKey(unsigned virtualKey);

class KeySequence {
public:
    KeySequence(Keyboard& keyboard, Clock& clock) : keyboard_(keyboard), clock_(clock) {}

    void InitKeyboardLayout();
    // Sends a whole text, keeping CapsLock as it found it.
    void Send(const std::string& text);
    // One brace group's content, without the braces.
    void SendKeyGroup(const std::string& group);

    void SendChar(unsigned char ch, unsigned count);
    void SendVk(std::uint8_t virtualKey, unsigned count);
    void KeyDown(std::uint8_t virtualKey, bool extended = false);
    void KeyUp(std::uint8_t virtualKey, bool extended = false);
    bool SetToggle(std::uint8_t virtualKey, bool on);
    void SendUntypable(unsigned char ch);
    void PrepareModifiers(int shiftState);
    void PressModifiers();
    void ReleaseModifiers();

    int keyDelay = 5;
    int keyDownDelay = 1;
    bool restoreCapsLock = true;
    std::uint32_t modifierState = 0;
    std::uint8_t scanLWin = 0, scanShift = 0, scanCtrl = 0, scanAlt = 0;
    char DeadKeyChars[8] = {' ', ' ', '\xB4', '^', '~', '\xA8', '`', ' '};

private:
    void Parse(const std::string& text);
    void ClearPending() { modifierState &= modbit::kHeldMask; }
    void Tap(std::uint8_t virtualKey, bool extended);
    void Hold(std::uint32_t heldBit, std::uint8_t virtualKey, bool down);
    void AltCode(const std::string& digits);
    void SendSpecial(KeyAction action, const std::string& argument, bool up, bool down);
    void KeyPress(std::uint8_t virtualKey, std::uint8_t scan, bool up);

    Keyboard& keyboard_;
    Clock& clock_;
};
