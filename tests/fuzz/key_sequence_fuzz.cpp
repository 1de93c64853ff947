// Any text goes through the key-sequence parser without a crash or undefined
// behaviour, and a text that holds nothing down on purpose ("down" groups and
// the held-key actions) leaves no key pressed.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "keys/key_sequence.h"
#include "recording_keyboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    RecordingKeyboard keyboard;
    keyboard.layout = data[0] & 1 ? "00000407" : "00000409";
    keyboard.toggled[20] = (data[0] & 2) != 0;
    KeySequence keys(keyboard, keyboard);
    keys.InitKeyboardLayout();
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    keys.Send(text);
    std::string lower(text.c_str());
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool holdsOnPurpose = lower.find("down") != std::string::npos;
    if (!holdsOnPurpose && !keyboard.down.empty()) std::abort();
    if (!holdsOnPurpose && keyboard.toggled[20] != ((data[0] & 2) != 0)) std::abort();  // CapsLock as found
    return 0;
}
