// The keystroke sender: characters through the active layout, modifiers
// around each key, CapsLock kept as found, dead keys and Alt codes for
// characters without a key of their own.
#include <algorithm>
#include <array>
#include <string>

#include "keys/key_sequence.h"

namespace {

constexpr std::uint8_t kVkShift = 16, kVkCtrl = 17, kVkAlt = 18, kVkCapsLock = 20, kVkInsert = 45, kVkLWin = 91;

const char kBaseLetters[] = " aAeEiIoOuUyYnN ";

// One entry per character 0x80..0xFF: 0x20..0x7F names a dead key (entry / 16)
// and a base letter (entry % 16); anything else is an Alt code "0" + entry.
const std::array<unsigned char, 128> AccentTable = [] {
    std::array<unsigned char, 128> t{};
    for (int i = 0; i < 128; ++i) t[i] = static_cast<unsigned char>(0x80 + i);
    const unsigned char pairs[][2] = {
        {0xC0, 0x62}, {0xC8, 0x64}, {0xCC, 0x66}, {0xD2, 0x68}, {0xD9, 0x6A},                // grave
        {0xC1, 0x22}, {0xCD, 0x26}, {0xD3, 0x28}, {0xDA, 0x2A}, {0xDD, 0x2C}, {0xFD, 0x2B},  // acute
        {0xC2, 0x32}, {0xCA, 0x34}, {0xCE, 0x36}, {0xD4, 0x38}, {0xDB, 0x3A},                // circumflex
        {0xC3, 0x42}, {0xD5, 0x48}, {0xE3, 0x41}, {0xF5, 0x47},                              // tilde
        {0xCB, 0x54}, {0xCF, 0x56},                                                          // diaeresis
        {0xA7, 0x15}, {0xB6, 0x14},                                                          // Alt codes 021, 020
    };
    for (const auto& p : pairs) t[p[0] - 0x80] = p[1];
    return t;
}();

bool Down(Keyboard& k, int vk) {
    return k.AsyncKeyState(vk) < 0 || k.KeyState(vk) < 0;
}

}  // namespace

bool IsExtendedKey(unsigned vk) {
    return (vk >= 33 && vk <= 40) || vk == 46 || vk == 91 || vk == 92 || vk == 93 || vk == 95 || vk == 111 ||
           vk == 163 || vk == 165 || (vk >= 166 && vk <= 183);
}

void KeySequence::InitKeyboardLayout() {
    keyDelay = 5;
    keyDownDelay = 1;
    modifierState = 0;
    restoreCapsLock = true;
    const char deadKeys[8] = {' ', ' ', '\xB4', '^', '~', '\xA8', '`', ' '};
    std::copy(deadKeys, deadKeys + 8, DeadKeyChars);
    scanLWin = keyboard_.ScanCode(kVkLWin);
    scanShift = keyboard_.ScanCode(kVkShift);
    scanCtrl = keyboard_.ScanCode(kVkCtrl);
    scanAlt = keyboard_.ScanCode(kVkAlt);
    const std::string layout = keyboard_.LayoutName();
    const std::string suffix = layout.size() >= 2 ? layout.substr(layout.size() - 2) : layout;
    for (int i = 1; i <= 7; ++i)
        if (keyboard_.KeyForChar(DeadKeyChars[i]) == -1 || suffix == "09") DeadKeyChars[i] = ' ';
    if (suffix == "07") DeadKeyChars[4] = ' ';
    else if (suffix == "10") DeadKeyChars[3] = ' ';
}

void KeySequence::KeyPress(std::uint8_t virtualKey, std::uint8_t scan, bool up) {
    keyboard_.KeyEvent(virtualKey, scan, up ? keyflag::kKeyUp : 0);
}

void KeySequence::Send(const std::string& text) {
    const bool capsWasOn = (keyboard_.KeyState(kVkCapsLock) & 1) != 0;
    auto tapCapsLock = [this] {
        const std::uint8_t scan = keyboard_.ScanCode(kVkCapsLock);
        KeyPress(kVkCapsLock, scan, false);
        clock_.Sleep(keyDownDelay);
        KeyPress(kVkCapsLock, scan, true);
        clock_.Sleep(keyDelay);
    };
    // Typed letters must not come out in the wrong case.
    if (restoreCapsLock && capsWasOn) tapCapsLock();
    Parse(text);
    if (restoreCapsLock && ((keyboard_.KeyState(kVkCapsLock) & 1) != 0) != capsWasOn) tapCapsLock();
}

void KeySequence::KeyDown(std::uint8_t virtualKey, bool extended) {
    const bool ext = extended || virtualKey == kVkInsert || IsExtendedKey(virtualKey);
    keyboard_.KeyEvent(virtualKey, keyboard_.ScanCode(virtualKey), ext ? keyflag::kExtended : 0);
}

void KeySequence::KeyUp(std::uint8_t virtualKey, bool extended) {
    const bool ext = extended || virtualKey == kVkInsert || IsExtendedKey(virtualKey);
    keyboard_.KeyEvent(virtualKey, keyboard_.ScanCode(virtualKey), keyflag::kKeyUp | (ext ? keyflag::kExtended : 0));
}

void KeySequence::SendChar(unsigned char ch, unsigned count) {
    const std::int16_t r = keyboard_.KeyForChar(static_cast<char>(ch));
    if (r == -1) {
        SendUntypable(ch);
        return;
    }
    PrepareModifiers((r >> 8) & 0xFF);
    PressModifiers();
    const std::uint8_t vk = static_cast<std::uint8_t>(r & 0xFF);
    for (unsigned i = 0; i < count; ++i) {
        KeyDown(vk);
        clock_.Sleep(keyDownDelay);
        KeyUp(vk);
        clock_.Sleep(keyDelay);
    }
    ReleaseModifiers();
}

void KeySequence::SendVk(std::uint8_t virtualKey, unsigned count) {
    PrepareModifiers(0);
    PressModifiers();
    for (unsigned i = 0; i < count; ++i) {
        KeyDown(virtualKey);
        clock_.Sleep(keyDownDelay);
        KeyUp(virtualKey);
        clock_.Sleep(keyDelay);
    }
    ReleaseModifiers();
}

bool KeySequence::SetToggle(std::uint8_t virtualKey, bool on) {
    const bool state = (keyboard_.KeyState(virtualKey) & 1) != 0;
    if (state == on) return state;
    const std::uint8_t scan = keyboard_.ScanCode(virtualKey);
    KeyPress(virtualKey, scan, false);
    clock_.Sleep(keyDownDelay);
    KeyPress(virtualKey, scan, true);
    clock_.Sleep(keyDelay);
    return state;
}

void KeySequence::SendUntypable(unsigned char ch) {
    if (ch < 0x80) {
        SendKeyGroup("ASC 0" + std::to_string(ch));
        return;
    }
    const unsigned char e = AccentTable[ch - 0x80];
    if (e >= 0x20 && e <= 0x7F) {
        const char dead = DeadKeyChars[e / 16];
        if (dead != ' ') {
            SendChar(static_cast<unsigned char>(dead), 1);
            ClearPending();
            SendChar(static_cast<unsigned char>(kBaseLetters[e % 16]), 1);
            ClearPending();
            return;
        }
        SendKeyGroup("ASC 0" + std::to_string(ch));
        ClearPending();
        return;
    }
    SendKeyGroup("ASC 0" + std::to_string(e));
    ClearPending();
}

void KeySequence::PrepareModifiers(int shiftState) {
    using namespace modbit;
    if (shiftState & 0x2) modifierState |= kPendingCtrl;
    if (shiftState & 0x4) modifierState |= kPendingAlt;
    if (shiftState & 0x1) modifierState |= kPendingShift;
    if (modifierState & kCtrlHeld) modifierState &= ~kPendingCtrl;
    if (modifierState & kAltHeld) modifierState &= ~kPendingAlt;
    if (modifierState & kShiftHeld) modifierState &= ~kPendingShift;
    if (modifierState & kLWinHeld) modifierState &= ~kPendingWin;
    // Lift modifiers the user is holding (a hotkey's own Ctrl or Alt), unless
    // a group holds them on purpose.
    const struct {
        std::uint8_t vk;
        std::uint32_t held;
    } physical[] = {{kVkCtrl, kCtrlHeld}, {kVkAlt, kAltHeld}, {kVkShift, kShiftHeld}, {kVkLWin, kLWinHeld}};
    for (const auto& m : physical) {
        if (!Down(keyboard_, m.vk) || (modifierState & m.held)) continue;
        keyboard_.KeyEvent(m.vk, keyboard_.ScanCode(m.vk), keyflag::kKeyUp | (IsExtendedKey(m.vk) ? keyflag::kExtended : 0));
        clock_.Sleep(keyDelay);
    }
}

void KeySequence::PressModifiers() {
    using namespace modbit;
    if (modifierState & kPendingWin) KeyPress(kVkLWin, scanLWin, false);
    if (modifierState & kPendingShift) KeyPress(kVkShift, scanShift, false);
    if (modifierState & kPendingCtrl) KeyPress(kVkCtrl, scanCtrl, false);
    if (modifierState & kPendingAlt) KeyPress(kVkAlt, scanAlt, false);
    clock_.Sleep(keyDownDelay);
}

void KeySequence::ReleaseModifiers() {
    using namespace modbit;
    if (modifierState & kPendingAlt) KeyPress(kVkAlt, scanAlt, true);
    if (modifierState & kPendingCtrl) KeyPress(kVkCtrl, scanCtrl, true);
    if (modifierState & kPendingShift) KeyPress(kVkShift, scanShift, true);
    if (modifierState & kPendingWin) KeyPress(kVkLWin, scanLWin, true);
    clock_.Sleep(keyDelay);
}
