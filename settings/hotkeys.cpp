#include "settings/hotkeys.h"

#include <algorithm>
#include <cctype>

#include "base/health.h"
#include "base/log.h"
#include "base/text_helpers.h"
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

// As the C runtime reads a number: leading blanks, a sign, digits up to the
// first other character; none at all is 0. Bounded, so no overflow.
int ReadNumber(const std::string& piece) {
    const size_t i = piece.find_first_not_of(" \t\n\v\f\r");
    return i == std::string::npos ? 0 : static_cast<int>(LeadingNumber(piece.substr(i), 1000000));
}

void ForgetWantedHotkey(ApplicationState& app, int id) {
    std::vector<WantedHotkey>& wanted = app.wantedHotkeys;
    wanted.erase(std::remove_if(wanted.begin(), wanted.end(), [id](const WantedHotkey& h) { return h.id == id; }),
                 wanted.end());
}

const WantedHotkey* HeldHotkey(const ApplicationState& app, int id) {
    for (const WantedHotkey& h : app.wantedHotkeys)
        if (h.id == id && h.held) return &h;
    return nullptr;
}

// Asks the system for a combination, remembering it either way; one another
// program holds is asked for again for a few seconds. Windows refuses a
// combination this program holds already, and keeps an id's old one beside a
// new one: a held one stays, another one for the id is let go first.
void AskForHotkey(ApplicationState& app, Platform& os, int id, int modifiers, int virtualKey) {
    if (const WantedHotkey* held = HeldHotkey(app, id)) {
        if (held->modifiers == modifiers && held->virtualKey == virtualKey) return;
        os.hotkeys.Unregister(id);
    }
    ForgetWantedHotkey(app, id);
    WantedHotkey hotkey{id, modifiers, virtualKey, false};
    hotkey.held = os.hotkeys.Register(id, modifiers, virtualKey);
    app.wantedHotkeys.push_back(hotkey);
    if (!hotkey.held) app.hotkeyRetryUntilMs = os.clock.NowMs() + kHotkeyRetryForMs;
}

void DropHotkey(ApplicationState& app, Platform& os, int id) {
    os.hotkeys.Unregister(id);
    ForgetWantedHotkey(app, id);
}

bool AllHotkeysHeld(const ApplicationState& app) {
    for (const WantedHotkey& h : app.wantedHotkeys)
        if (!h.held) return false;
    return true;
}

// Asks again for every wanted hotkey not held; true when all are held now.
bool AskAgainForHotkeys(ApplicationState& app, Platform& os) {
    for (WantedHotkey& h : app.wantedHotkeys)
        if (!h.held) h.held = os.hotkeys.Register(h.id, h.modifiers, h.virtualKey);
    return AllHotkeysHeld(app);
}

// The listener is told which wanted hotkeys another program holds, or that
// none is any longer.
void SayWhichHotkeysAreHeld(ApplicationState& app, Platform& os) {
    std::string names;
    int count = 0;
    for (const WantedHotkey& h : app.wantedHotkeys)
        if (!h.held) names += (count++ ? ", " : "") + HotkeyText(h);
    if (count == 0) {
        ClearTrouble(app, os, Trouble::HotkeyHeld);
        return;
    }
    ReportTrouble(app, os, Trouble::HotkeyHeld,
                  (count == 1 ? "Hotkey " + names + " is" : "Hotkeys " + names + " are") +
                      " held by another program. Close that program, or choose another in Options > Set Hotkeys.");
}

// The same once the quick tries are over (all taken at the first ask, or
// some no longer wanted); while they run, they say it when they end.
void SayWhichHotkeysAreHeldOnceAsked(ApplicationState& app, Platform& os) {
    if (app.hotkeyRetryUntilMs == 0) SayWhichHotkeysAreHeld(app, os);
}

}  // namespace

std::string HotkeyText(const WantedHotkey& hotkey) {
    std::string text;
    if (hotkey.modifiers & 2) text += "Ctrl+";
    if (hotkey.modifiers & 1) text += "Alt+";
    if (hotkey.modifiers & 4) text += "Shift+";
    if (hotkey.modifiers & 8) text += "Win+";
    std::string key = std::to_string(hotkey.virtualKey);
    for (const HotkeyKey& k : HotkeyKeys)
        if (k.virtualKey == hotkey.virtualKey) key = k.name;
    const bool function = hotkey.id >= 0 && hotkey.id < kHotkeyFunctionCount;
    return text + key + " (" + (function ? HotkeyFunctionNames[hotkey.id] : "Install or update") + ")";
}

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
    AskForHotkey(app, os, function, modifiers, HotkeyKeys[keyIndex].virtualKey);
    app.hotkeys[function] = MakeBinding(function, modifiers, keyIndex);
}

void RegisterAllHotkeys(ApplicationState& app, Platform& os) {
    AskForHotkey(app, os, kInstallHotkeyId, kAlt, kVkD);
    if (CIniFile::HasSection("Hotkeys", app.optionsPath)) {
        for (int function = 0; function < kHotkeyFunctionCount; ++function) {
            int modifiers = 0, keyIndex = 0;
            const std::string value = CIniFile::GetValue(std::to_string(function), "Hotkeys", app.optionsPath);
            if (ParseHotkeyValue(value, modifiers, keyIndex)) RegisterBinding(app, os, function, modifiers, keyIndex);
        }
    }
    SayWhichHotkeysAreHeldOnceAsked(app, os);
}

void UnregisterAllHotkeys(ApplicationState& app, Platform& os) {
    // The on/off switch and Alt+D stay: the hotkeys can be switched on again.
    for (int id = kHotkeyNext; id <= kHotkeyVolumeUp; ++id) DropHotkey(app, os, id);
    SayWhichHotkeysAreHeldOnceAsked(app, os);  // one switched off is no longer missed
}

void RegisterStartUpHotkeys(ApplicationState& app, Platform& os) {
    if (!app.hotkeysEnabled) {
        RegisterBinding(app, os, kHotkeysOnOff, kAlt, 41);  // Alt+F1 switches them on
        return;
    }
    os.controls.SetHotkeysBox(true);
    RegisterAllHotkeys(app, os);
}

void RetryHotkeys(ApplicationState& app, Platform& os) {
    if (app.hotkeysHandedOver) return;
    const std::uint64_t now = os.clock.NowMs();
    if (app.hotkeyRetryUntilMs == 0) {  // past the quick tries: every 1.5 s while one is missing
        if (AllHotkeysHeld(app) || now < app.nextHeldHotkeyTryMs) return;
        app.nextHeldHotkeyTryMs = now + kHeldHotkeyRetryMs;
        AskAgainForHotkeys(app, os);
        SayWhichHotkeysAreHeld(app, os);
        return;
    }
    const bool all = AskAgainForHotkeys(app, os);
    if (!all && now < app.hotkeyRetryUntilMs) return;
    app.hotkeyRetryUntilMs = 0;  // the quick tries are over
    app.nextHeldHotkeyTryMs = now + kHeldHotkeyRetryMs;
    for (const WantedHotkey& h : app.wantedHotkeys)
        if (!h.held) LogLine("Error:      Hotkey " + HotkeyText(h) + " is held by another program");
    SayWhichHotkeysAreHeld(app, os);
}

void LetGoOfHotkeys(ApplicationState& app, Platform& os) {
    app.hotkeysHandedOver = true;
    for (WantedHotkey& h : app.wantedHotkeys) {
        os.hotkeys.Unregister(h.id);
        h.held = false;
    }
}

void TakeHotkeysBack(ApplicationState& app, Platform& os) {
    app.hotkeysHandedOver = false;
    const std::vector<WantedHotkey> wanted = app.wantedHotkeys;
    for (const WantedHotkey& h : wanted) AskForHotkey(app, os, h.id, h.modifiers, h.virtualKey);
    SayWhichHotkeysAreHeldOnceAsked(app, os);
}
