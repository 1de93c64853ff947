#include "settings/options.h"

#include "base/log.h"
#include "base/text_helpers.h"
#include "client/client_process.h"
#include "settings/hotkeys.h"
#include "settings/ini_file.h"

// In function order.
const DefaultHotkey kFirstRunHotkeys[kHotkeyFunctionCount] = {
    {kHotkeysOnOff, 1, 41},     // Alt+F1
    {kHotkeyNext, 1, 3},        // Alt+Right
    {kHotkeyPlay, 2, 0},        // Ctrl+Spacebar
    {kHotkeyPrevious, 1, 1},    // Alt+Left
    {kHotkeyRepeat, 1, 32},     // Alt+R
    {kHotkeyShuffle, 1, 33},    // Alt+S
    {kHotkeyStar, 1, 37},       // Alt+W
    {kHotkeyVolumeDown, 1, 4},  // Alt+Down
    {kHotkeyVolumeUp, 1, 2},    // Alt+Up
};

namespace {

constexpr const char* kInstallFolder = "%appdata%\\Adquell\\";

const char* Flag(bool on) {
    return on ? "True" : "False";
}

bool ReadFlag(const ApplicationState& app, const char* key) {
    return CIniFile::GetValue(key, kOptionsSection, app.optionsPath) == "True";
}

void WriteFirstRunFile(ApplicationState& app) {
    app.muteAdverts = true;
    app.hotkeysEnabled = false;
    app.playMp3 = false;
    app.mp3Folder.clear();
    for (const DefaultHotkey& d : kFirstRunHotkeys)
        app.hotkeys[d.function] = MakeBinding(d.function, d.modifiers, d.keyIndex);
    const std::string& path = app.optionsPath;
    if (!CIniFile::CreateEmpty(path)) return;  // logged once; the defaults hold for this run
    CIniFile::SetValue("Mute", "True", kOptionsSection, path);
    CIniFile::SetValue("Play", "False", kOptionsSection, path);
    CIniFile::SetValue("Hotkeys", "False", kOptionsSection, path);
    for (const DefaultHotkey& d : kFirstRunHotkeys)
        CIniFile::SetValue(std::to_string(d.function), FormatHotkeyValue(d.modifiers, d.keyIndex), "Hotkeys", path);
}

void ReadOptions(ApplicationState& app) {
    IniRecords records;
    if (!CIniFile::LoadRecords(app.optionsPath, records)) LogLine("Error:      Could not read " + app.optionsPath);
    app.hotkeysEnabled = ReadFlag(app, "Hotkeys");
    app.muteAdverts = ReadFlag(app, "Mute");
    app.playMp3 = ReadFlag(app, "Play");
    // Read once the window is up, off its thread (StartUpMp3Reading).
    app.mp3Folder = CIniFile::GetValue("MP3", kOptionsSection, app.optionsPath);
}

// A copy started from the Start menu or with Windows has no working directory
// to rely on, so the installed copy's settings stay beside it.
std::string OptionsPathFor(Platform& os) {
    if (RunsFromInstallFolder(os)) return InstalledOptionsPath(os);
    return os.system.WorkingDirectory() + kPathSeparator + kOptionsFileName;
}

}  // namespace

std::string InstallFolder(System& system) {
    return system.ExpandEnvironment(kInstallFolder);
}

std::string InstallFolder(Platform& os) {
    return InstallFolder(os.system);
}

std::string InstalledOptionsPath(Platform& os) {
    return InstallFolder(os) + kOptionsFileName;
}

bool RunsFromInstallFolder(Platform& os) {
    return EqualNoCase(FolderOf(os.installer.RunningProgramPath()), InstallFolder(os));
}

ApplicationState::ApplicationState(Platform& os) {
    screenWidth = os.desktop.ScreenWidth();
    screenHeight = os.desktop.ScreenHeight();
    optionsPath = OptionsPathFor(os);
    if (!os.system.PathExists(optionsPath)) WriteFirstRunFile(*this);
    else ReadOptions(*this);
    StartSpotify(*this, os);
}

void SaveMuteAdverts(ApplicationState& app, bool checked) {
    CIniFile::SetValue("Mute", Flag(checked), kOptionsSection, app.optionsPath);
    app.muteAdverts = checked;
}

void SavePlayMp3(ApplicationState& app, bool checked) {
    CIniFile::SetValue("Play", Flag(checked), kOptionsSection, app.optionsPath);
    app.playMp3 = checked;
}

void SaveHotkeysOption(ApplicationState& app, bool checked) {
    CIniFile::SetValue("Hotkeys", Flag(checked), kOptionsSection, app.optionsPath);
}
