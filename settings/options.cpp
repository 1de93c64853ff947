#include "settings/options.h"

#include "app/log.h"
#include "blocking/mute_control.h"
#include "client/client_process.h"
#include "settings/ini_file.h"

const DefaultHotkey kFirstRunHotkeys[kHotkeyFunctionCount] = {
    {1, 41},  // Hotkeys On\Off: Alt+F1
    {1, 3},   // Next: Alt+Right
    {2, 0},   // Play: Ctrl+Spacebar
    {1, 1},   // Previous: Alt+Left
    {1, 32},  // Repeat: Alt+R
    {1, 33},  // Shuffle: Alt+S
    {1, 37},  // Star: Alt+W
    {1, 4},   // Volume Down: Alt+Down
    {1, 2},   // Volume Up: Alt+Up
};

namespace {

const char* const kOptions = "Options";

const char* Flag(bool on) {
    return on ? "True" : "False";
}

bool ReadFlag(const ApplicationState& app, const char* key) {
    return CIniFile::GetValue(key, kOptions, app.optionsPath) == "True";
}

void WriteFirstRunFile(ApplicationState& app) {
    app.muteAdverts = true;
    app.hotkeysEnabled = false;
    app.playMp3 = false;
    app.mp3Folder.clear();
    const std::string& path = app.optionsPath;
    CIniFile::CreateEmpty(path);
    CIniFile::SetValue("Mute", "True", kOptions, path);
    CIniFile::SetValue("Play", "False", kOptions, path);
    CIniFile::SetValue("Hotkeys", "False", kOptions, path);
    for (int f = 0; f < kHotkeyFunctionCount; ++f) {
        const DefaultHotkey& d = kFirstRunHotkeys[f];
        CIniFile::SetValue(std::to_string(f), std::to_string(d.modifiers) + "|" + std::to_string(d.keyIndex),
                           "Hotkeys", path);
        app.hotkeys[f] = MakeBinding(f, d.modifiers, d.keyIndex);
    }
}

void ReadOptions(ApplicationState& app, Platform& os) {
    app.hotkeysEnabled = ReadFlag(app, "Hotkeys");
    app.muteAdverts = ReadFlag(app, "Mute");
    app.playMp3 = ReadFlag(app, "Play");
    app.mp3Folder = CIniFile::GetValue("MP3", kOptions, app.optionsPath);
    if (app.mp3Folder.empty()) return;
    LogLine("MP3:        Indexing");
    IndexMp3Folder(app, os.folders, app.mp3Folder);
    LogLine(app.mp3Count >= 1 ? "MP3:        Found " + std::to_string(app.mp3Count) : "MP3:        Found 0");
}

}  // namespace

ApplicationState::ApplicationState(Platform& os) {
    screenWidth = os.desktop.ScreenWidth();
    screenHeight = os.desktop.ScreenHeight();
    optionsPath = os.system.WorkingDirectory() + kPathSeparator + "Options.ini";
    if (!os.system.PathExists(optionsPath)) WriteFirstRunFile(*this);
    else ReadOptions(*this, os);
    StartSpotify(*this, os);
    LoadPendingRestore(*this);
    RestoreVolumeIfPending(*this, os);
}

void SaveMuteAdverts(ApplicationState& app, bool checked) {
    CIniFile::SetValue("Mute", Flag(checked), kOptions, app.optionsPath);
    app.muteAdverts = checked;
}

bool SavePlayMp3(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs, bool checked) {
    if (checked && app.mp3Folder.empty()) {
        SelectMp3Folder(app, os.folders, dialogs);
        if (app.mp3Folder.empty()) return false;
    }
    CIniFile::SetValue("Play", Flag(checked), kOptions, app.optionsPath);
    app.playMp3 = checked;
    return checked;
}

void SaveHotkeysOption(ApplicationState& app, bool checked) {
    CIniFile::SetValue("Hotkeys", Flag(checked), kOptions, app.optionsPath);
}
