#include "settings/hotkeys.h"

#include <cctype>

#include "blocking/advert_classifier.h"
#include "blocking/mute_control.h"
#include "client/star_and_lyrics.h"
#include "client/transport.h"
#include "install/self_install.h"
#include "music/filler_player.h"
#include "settings/ini_file.h"

const HotkeyKey HotkeyKeys[kHotkeyKeyCount] = {
    {"Spacebar", 0x20}, {"Left", 0x25}, {"Up", 0x26}, {"Right", 0x27}, {"Down", 0x28},
    {"0", 0x30}, {"1", 0x31}, {"2", 0x32}, {"3", 0x33}, {"4", 0x34},
    {"5", 0x35}, {"6", 0x36}, {"7", 0x37}, {"8", 0x38}, {"9", 0x39},
    {"A", 0x41}, {"B", 0x42}, {"C", 0x43}, {"D", 0x44}, {"E", 0x45}, {"F", 0x46}, {"G", 0x47},
    {"H", 0x48}, {"I", 0x49}, {"J", 0x4A}, {"K", 0x4B}, {"L", 0x4C}, {"M", 0x4D}, {"N", 0x4E},
    {"O", 0x4F}, {"P", 0x50}, {"Q", 0x51}, {"R", 0x52}, {"S", 0x53}, {"T", 0x54}, {"U", 0x55},
    {"V", 0x56}, {"W", 0x57}, {"X", 0x58}, {"Y", 0x59}, {"Z", 0x5A},
    {"F1", 0x70}, {"F2", 0x71}, {"F3", 0x72}, {"F4", 0x73}, {"F5", 0x74}, {"F6", 0x75},
    {"F7", 0x76}, {"F8", 0x77}, {"F9", 0x78}, {"F10", 0x79}, {"F11", 0x7A}, {"F12", 0x7B},
};

const char* const HotkeyFunctionNames[kHotkeyFunctionCount] = {
    "Hotkeys On\\Off", "Next", "Play", "Previous", "Repeat", "Shuffle", "Star", "Volume Down", "Volume Up"};

namespace {

constexpr int kAlt = 1;
constexpr int kVkD = 0x44;
constexpr int kFillerVolumeStep = 5;

// As the C runtime reads a number: leading blanks, a sign, digits up to the
// first other character; none at all is 0. Bounded, so no overflow.
int ReadNumber(const std::string& piece) {
    size_t i = piece.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return 0;
    int sign = 1;
    if (piece[i] == '+' || piece[i] == '-') sign = piece[i++] == '-' ? -1 : 1;
    long value = 0;
    for (; i < piece.size() && std::isdigit(static_cast<unsigned char>(piece[i])); ++i)
        if (value < 1000000) value = value * 10 + (piece[i] - '0');
    return static_cast<int>(sign * value);
}

void FillerVolumeStep(Platform& os, int step) {
    int position = os.controls.VolumeSliderPosition() + step;
    position = position < 0 ? 0 : position > 100 ? 100 : position;
    os.controls.SetVolumeSliderPosition(position);
    os.filler.SetVolume(FillerVolumeFromSlider(position));
}

void ToggleHotkeys(ApplicationState& app, Platform& os) {
    app.hotkeysEnabled = !app.hotkeysEnabled;
    if (app.hotkeysEnabled) RegisterAllHotkeys(app, os);
    else UnregisterAllHotkeys(os);
    os.controls.SetHotkeysBox(app.hotkeysEnabled);
}

void Next(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) NextTrack(app, os);
    else if (IsAdvertPlaying(app, os.screen)) {
        app.previousMp3 = app.currentMp3;
        PlayMp3(app, os.filler, os.controls, true);
        SetFillerVolumeFromSlider(os.filler, os.controls);
    } else {
        PlayPause(app, os);
    }
}

void Previous(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) {
        PreviousTrack(app, os);
        return;
    }
    if (!app.previousMp3.empty()) ReplayFillerFile(os.filler, os.controls, app.previousMp3);
}

}  // namespace

bool ParseHotkeyValue(const std::string& text, int& modifiers, int& keyIndex) {
    std::string pieces[2];
    int found = 0;
    size_t start = 0;
    while (found < 2 && start <= text.size()) {
        size_t bar = text.find('|', start);
        if (bar == std::string::npos) bar = text.size();
        if (bar > start) pieces[found++] = text.substr(start, bar - start);
        start = bar + 1;
    }
    if (found < 2) return false;
    modifiers = ReadNumber(pieces[0]);
    keyIndex = ReadNumber(pieces[1]);
    return keyIndex >= 0 && keyIndex < kHotkeyKeyCount;
}

std::string FormatHotkeyValue(int modifiers, int keyIndex) {
    return std::to_string(modifiers) + "|" + std::to_string(keyIndex);
}

void RegisterBinding(ApplicationState& app, Platform& os, int function, int modifiers, int keyIndex) {
    if (function < 0 || function >= kHotkeyFunctionCount || keyIndex < 0 || keyIndex >= kHotkeyKeyCount) return;
    os.hotkeys.Register(function, modifiers, HotkeyKeys[keyIndex].virtualKey);
    app.hotkeys[function] = MakeBinding(function, modifiers, keyIndex);
}

void RegisterAllHotkeys(ApplicationState& app, Platform& os) {
    os.hotkeys.Register(kInstallHotkeyId, kAlt, kVkD);
    if (!CIniFile::HasSection("Hotkeys", app.optionsPath)) return;
    for (int function = 0; function < kHotkeyFunctionCount; ++function) {
        int modifiers = 0, keyIndex = 0;
        const std::string value = CIniFile::GetValue(std::to_string(function), "Hotkeys", app.optionsPath);
        if (ParseHotkeyValue(value, modifiers, keyIndex)) RegisterBinding(app, os, function, modifiers, keyIndex);
    }
}

void UnregisterAllHotkeys(Platform& os) {
    for (int id = 1; id <= 8; ++id) os.hotkeys.Unregister(id);
}

void RegisterStartUpHotkeys(ApplicationState& app, Platform& os) {
    if (!app.hotkeysEnabled) {
        RegisterBinding(app, os, 0, kAlt, 41);  // Alt+F1 switches them on
        return;
    }
    os.controls.SetHotkeysBox(true);
    RegisterAllHotkeys(app, os);
}

void DispatchHotkey(ApplicationState& app, Platform& os, int id) {
    switch (id) {
    case 0: ToggleHotkeys(app, os); break;
    case 1: Next(app, os); break;
    case 2: PlayPause(app, os); break;
    case 3: Previous(app, os); break;
    case 4: ToggleRepeat(app, os); break;
    case 5: ToggleShuffle(app, os); break;
    case 6: StarTrack(app, os); break;
    case 7:
        if (app.fillerPlaying) FillerVolumeStep(os, -kFillerVolumeStep);
        else VolumeDown(app, os);
        break;
    case 8:
        if (app.fillerPlaying) FillerVolumeStep(os, kFillerVolumeStep);
        else VolumeUp(app, os);
        break;
    case kInstallHotkeyId: InstallOrUpdate(app, os, os.installer); break;
    default: break;
    }
}
