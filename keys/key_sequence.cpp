// The key-sequence language: the name table and the parser.
#include "keys/key_sequence.h"

#include "base/text_helpers.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

using A = KeyAction;
constexpr A P = KeyAction::Plain;

// Repeat counts are for the program's own short texts; a bound keeps a
// malformed one from typing for ever.
constexpr long kMaxRepeat = 1000;

const KeyName* FindKeyName(const std::string& name) {
    for (int i = 0; i < KeyNameCount; ++i)
        if (EqualNoCase(name, KeyNameTable[i].name)) return &KeyNameTable[i];
    return nullptr;
}

// A leading decimal number; 0 or less, or none at all, means 1.
unsigned RepeatCount(const std::string& argument) {
    const long value = LeadingNumber(argument, kMaxRepeat);
    return value <= 0 ? 1 : static_cast<unsigned>(value);
}

}  // namespace

const KeyName KeyNameTable[] = {
    {"ALT", A::Alt, 0},
    {"BACKSPACE", P, 8}, {"BS", P, 8},
    {"DEL", P, 46}, {"DELETE", P, 46},
    {"DOWN", P, 40},
    {"END", P, 35},
    {"ENTER", P, 13},
    {"ESC", P, 27}, {"ESCAPE", P, 27},
    {"F1", P, 112}, {"F2", P, 113}, {"F3", P, 114}, {"F4", P, 115}, {"F5", P, 116}, {"F6", P, 117},
    {"F7", P, 118}, {"F8", P, 119}, {"F9", P, 120}, {"F10", P, 121}, {"F11", P, 122}, {"F12", P, 123},
    {"HOME", P, 36},
    {"INS", P, 45}, {"INSERT", P, 45},
    {"LEFT", P, 37},
    {"PGDN", P, 34},
    {"PGUP", P, 33},
    {"RIGHT", P, 39},
    {"SPACE", P, 32},
    {"TAB", P, 9},
    {"UP", P, 38},
    {"PRINTSCREEN", P, 44},
    {"LWIN", P, 91}, {"RWIN", P, 92},
    {"SCROLLLOCK", P, 145}, {"NUMLOCK", P, 144},
    {"CTRLBREAK", P, 3},
    {"PAUSE", P, 19},
    {"CAPSLOCK", P, 20},
    {"NUMPAD0", P, 96}, {"NUMPAD1", P, 97}, {"NUMPAD2", P, 98}, {"NUMPAD3", P, 99}, {"NUMPAD4", P, 100},
    {"NUMPAD5", P, 101}, {"NUMPAD6", P, 102}, {"NUMPAD7", P, 103}, {"NUMPAD8", P, 104}, {"NUMPAD9", P, 105},
    {"NUMPADMULT", P, 106}, {"NUMPADADD", P, 107}, {"NUMPADSUB", P, 109}, {"NUMPADDOT", P, 110},
    {"NUMPADDIV", P, 111},
    {"APPSKEY", P, 93},
    {"LCTRL", P, 162}, {"RCTRL", P, 163}, {"LALT", P, 164}, {"RALT", P, 165}, {"LSHIFT", P, 160}, {"RSHIFT", P, 161},
    {"SLEEP", P, 95},
    {"NUMPADENTER", A::NumpadEnter, 0},
    {"BROWSER_BACK", P, 166}, {"BROWSER_FORWARD", P, 167}, {"BROWSER_REFRESH", P, 168}, {"BROWSER_STOP", P, 169},
    {"BROWSER_SEARCH", P, 170}, {"BROWSER_FAVORTIES", P, 171}, {"BROWSER_HOME", P, 172},
    {"VOLUME_MUTE", P, 173}, {"VOLUME_DOWN", P, 174}, {"VOLUME_UP", P, 175},
    {"MEDIA_NEXT", P, 176}, {"MEDIA_PREV", P, 177}, {"MEDIA_STOP", P, 178}, {"MEDIA_PLAY_PAUSE", P, 179},
    {"LAUNCH_MAIL", P, 180}, {"LAUNCH_MEDIA", P, 181}, {"LAUNCH_APP1", P, 182}, {"LAUNCH_APP2", P, 183},
    {"CTRLDOWN", A::CtrlDown, 0}, {"CTRLUP", A::CtrlUp, 0},
    {"ALTDOWN", A::AltDown, 0}, {"ALTUP", A::AltUp, 0},
    {"SHIFTDOWN", A::ShiftDown, 0}, {"SHIFTUP", A::ShiftUp, 0},
    {"LWINDOWN", A::LWinDown, 0}, {"LWINUP", A::LWinUp, 0},
    {"RWINDOWN", A::RWinDown, 0}, {"RWINUP", A::RWinUp, 0},
    {"ASC", A::Asc, 0},
};
const int KeyNameCount = sizeof KeyNameTable / sizeof KeyNameTable[0];

void KeySequence::Parse(const std::string& text) {
    const size_t n = std::strlen(text.c_str());  // a zero-terminated text
    for (size_t i = 0; i < n;) {
        const char c = text[i];
        if (c == '!' || c == '+' || c == '^' || c == '#') {
            modifierState |= c == '!' ? modbit::kPendingAlt
                           : c == '+' ? modbit::kPendingShift
                           : c == '^' ? modbit::kPendingCtrl
                                      : modbit::kPendingWin;
            ++i;
            continue;
        }
        if (c == '{') {
            const size_t close = text.find('}', i + 1);
            if (close == std::string::npos || close >= n) {
                // Typed as a character, and the rest read as ordinary ones. The
                // prefixes given before it stay pending; the Shift that the
                // layout needed for the brace itself does not.
                const std::uint32_t before = modifierState;
                SendChar('{', 1);
                modifierState = (modifierState & modbit::kHeldMask) | (before & ~modbit::kHeldMask);
                ++i;
                continue;
            }
            SendKeyGroup(text.substr(i + 1, close - i - 1));
            ClearPending();
            i = close + 1;
            continue;
        }
        SendChar(static_cast<unsigned char>(c), 1);
        ClearPending();
        ++i;
    }
}

void KeySequence::SendKeyGroup(const std::string& group) {
    const size_t space = group.find(' ');
    const std::string name = group.substr(0, space);
    std::string argument;
    if (space != std::string::npos) {
        const size_t start = group.find_first_not_of(" \t", space + 1);
        if (start != std::string::npos) argument = group.substr(start);
    }
    const bool up = EqualNoCase(argument, "up"), down = EqualNoCase(argument, "down");
    const bool on = EqualNoCase(argument, "on"), off = EqualNoCase(argument, "off");
    const unsigned count = RepeatCount(argument);
    const KeyName* key = FindKeyName(name);
    if (!key) {
        if (name.empty()) return;  // "{}" sends nothing
        const std::uint8_t vk = static_cast<std::uint8_t>(keyboard_.KeyForChar(name[0]) & 0xFF);
        if (down) KeyDown(vk);
        else if (up) KeyUp(vk);
        else SendChar(static_cast<unsigned char>(name[0]), count);
        return;
    }
    if (key->action != KeyAction::Plain) {
        SendSpecial(key->action, argument, up, down);
        return;
    }
    if (down) KeyDown(key->virtualKey);
    else if (up) KeyUp(key->virtualKey);
    else if (on || off) SetToggle(key->virtualKey, on);
    else SendVk(key->virtualKey, count);
}

void KeySequence::Hold(std::uint32_t heldBit, std::uint8_t virtualKey, bool down) {
    const bool held = (modifierState & heldBit) != 0;
    if (down == held) return;
    if (down) {
        modifierState |= heldBit;
        KeyDown(virtualKey);
    } else {
        modifierState &= ~heldBit;
        KeyUp(virtualKey);
    }
}

void KeySequence::AltCode(const std::string& digits) {
    constexpr std::uint8_t kAlt = 18;
    const bool altHeld = (modifierState & modbit::kAltHeld) != 0;
    if (!altHeld) {
        KeyDown(kAlt);
        clock_.Sleep(keyDownDelay);
    }
    for (char d : digits) {
        const std::uint8_t vk = static_cast<std::uint8_t>(static_cast<unsigned char>(d) + 48);
        KeyDown(vk);
        clock_.Sleep(keyDownDelay);
        KeyUp(vk);
        clock_.Sleep(keyDelay);
    }
    if (!altHeld) {
        KeyUp(kAlt);
        clock_.Sleep(keyDelay);
    }
}

void KeySequence::Tap(std::uint8_t virtualKey, bool extended) {
    KeyDown(virtualKey, extended);
    clock_.Sleep(keyDownDelay);
    KeyUp(virtualKey, extended);
    clock_.Sleep(keyDelay);
}

void KeySequence::SendSpecial(KeyAction action, const std::string& argument, bool up, bool down) {
    constexpr std::uint8_t kCtrl = 17, kAlt = 18, kShift = 16, kLWin = 91, kRWin = 92, kEnter = 13;
    switch (action) {
    case KeyAction::CtrlDown: Hold(modbit::kCtrlHeld, kCtrl, true); break;
    case KeyAction::CtrlUp: Hold(modbit::kCtrlHeld, kCtrl, false); break;
    case KeyAction::AltDown: Hold(modbit::kAltHeld, kAlt, true); break;
    case KeyAction::AltUp: Hold(modbit::kAltHeld, kAlt, false); break;
    case KeyAction::ShiftDown: Hold(modbit::kShiftHeld, kShift, true); break;
    case KeyAction::ShiftUp: Hold(modbit::kShiftHeld, kShift, false); break;
    case KeyAction::LWinDown: Hold(modbit::kLWinHeld, kLWin, true); break;
    case KeyAction::LWinUp: Hold(modbit::kLWinHeld, kLWin, false); break;
    case KeyAction::RWinDown: Hold(modbit::kRWinHeld, kRWin, true); break;
    case KeyAction::RWinUp: Hold(modbit::kRWinHeld, kRWin, false); break;
    case KeyAction::Asc: AltCode(argument); break;
    case KeyAction::NumpadEnter:
        if (down) KeyDown(kEnter, true);
        else if (up) KeyUp(kEnter, true);
        else Tap(kEnter, true);
        break;
    case KeyAction::Alt:
        if (modifierState & modbit::kAltHeld) break;
        if (down) KeyDown(kAlt);
        else if (up) KeyUp(kAlt);
        else Tap(kAlt, false);
        break;
    case KeyAction::Plain: break;
    }
}
