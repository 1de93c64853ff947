#include "install/self_install.h"

#include "base/log.h"
#include "base/text_helpers.h"
#include "blocking/detection_loop.h"
#include "install/windows_entries.h"
#include "settings/options.h"
#include "settings/hotkeys.h"

namespace {

constexpr const char* kAllUsersStartMenu = "%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell";
constexpr const char* kUserStartMenu = "%appdata%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell";

std::string ShortcutName(const std::string& version) {
    return "\\Adquell " + version + ".url";
}

// False, said in the log and a message, when the copy failed.
bool CopyProgram(InstallerSystem& installer, const std::string& running, const std::string& folder,
                 const std::string& installed) {
    if (installer.CopyFileOver(running, installed)) return true;
    LogLine("Error:   Could not copy the program to " + installed);
    installer.ShowMessage("Adquell Lite could not be installed in: " + folder);
    return false;
}

// The installed copy keeps its Options.ini beside itself: the settings made
// so far go with it, unless it has some already.
void CarryOptions(const ApplicationState& app, Platform& os, InstallerSystem& installer) {
    const std::string installedOptions = InstalledOptionsPath(os);
    if (app.optionsPath.empty() || !installer.CanRead(app.optionsPath) || installer.CanRead(installedOptions)) return;
    if (!installer.CopyFileOver(app.optionsPath, installedOptions))
        LogLine("Error:      Could not copy " + app.optionsPath + " to " + installedOptions);
}

// A program in the install folder: the one the installed-apps entry names,
// else any of the program's names there. An empty folder (a removal keeps
// Options.ini) is no install.
bool ProgramInstalled(InstallerSystem& installer, const std::string& folder, const std::string& installed) {
    const std::string entered = UninstallEntryProgram(installer);
    if (!entered.empty() && installer.CanRead(entered)) return true;
    if (installer.CanRead(installed)) return true;
    for (const std::string& name : installer.FilesIn(folder))
        if (IsProgramFile(name)) return true;
    return false;
}

void FirstInstall(ApplicationState& app, Platform& os, InstallerSystem& installer, const std::string& running,
                  const std::string& folder, const std::string& installed) {
    if (!CopyProgram(installer, running, folder, installed)) return;
    CarryOptions(app, os, installer);
    const bool shortcut = !PlaceStartMenuShortcut(os, installer, installed, ProgramVersion).empty();
    WriteUninstallEntry(installer, installed, ProgramVersion);
    std::string message = std::string("Installed Adquell Lite ") + ProgramVersion + " in: " + folder;
    if (shortcut) message += "\nCreated a shortcut in the start menu.";
    installer.ShowMessage(message);
    StartNewCopyAndEnd(app, os, installer, installed, "");
}

}  // namespace

void StartNewCopyAndEnd(ApplicationState& app, Platform& os, InstallerSystem& installer, const std::string& program,
                        const std::string& message) {
    // The new copy starts on a clean Spotify: left as found, no further ticks,
    // every hotkey and the one-instance claim let go (this copy may live on
    // behind a message box, and a hotkey it held would be lost to the new one).
    LeaveSpotifyAsFound(app, os);
    LetGoOfHotkeys(app, os);
    installer.HandOver();
    if (os.desktop.ShellOpen(program) <= 32) {
        LogLine("Error:   Could not start " + program);
        installer.TakeBack();
        TakeHotkeysBack(app, os);
        ComeBackAfterCancelledEnd(app);
        installer.ShowMessage("Adquell Lite could not start " + program + " and keeps running.");
        return;
    }
    if (!message.empty()) installer.ShowMessage(message);
    installer.ExitProcess(kPlannedExitCode);
}

bool WriteUrlShortcut(InstallerSystem& installer, const std::string& target, const std::string& shortcut) {
    if (!installer.CanRead(target)) return false;
    // Written whole and anew: an earlier one's text form is not kept (a path
    // outside ASCII makes the new one Unicode).
    installer.RemoveFile(shortcut);
    const char* section = "InternetShortcut";
    bool ok = installer.WriteIniString(section, "URL", target, shortcut);
    ok = installer.WriteIniString(section, "IconIndex", "0", shortcut) && ok;
    ok = installer.WriteIniString(section, "IconFile", target, shortcut) && ok;
    return ok;
}

std::vector<std::string> StartMenuFolders(Platform& os) {
    return {os.system.ExpandEnvironment(kAllUsersStartMenu), os.system.ExpandEnvironment(kUserStartMenu)};
}

std::string InstalledProgram(Platform& os, InstallerSystem& installer) {
    const std::string running = installer.RunningProgramPath();
    if (RunsFromInstallFolder(os)) return running;
    const std::string installed = InstallFolder(os) + BaseName(running);
    return installer.CanRead(installed) ? installed : std::string();
}

std::string PlaceStartMenuShortcut(Platform& os, InstallerSystem& installer, const std::string& target,
                                   const std::string& version) {
    for (const std::string& folder : StartMenuFolders(os)) {
        // The user's own start menu may not have all its parents yet.
        for (auto at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
            installer.CreateFolder(folder.substr(0, at));
        installer.CreateFolder(folder);
        const std::string shortcut = folder + ShortcutName(version);
        if (WriteUrlShortcut(installer, target, shortcut)) return shortcut;
    }
    return std::string();
}

bool IsProgramFile(const std::string& name) {
    return StartsWithNoCase(name, "Adquell Lite") && EndsWithNoCase(name, ".exe");
}

void InstallOrUpdate(ApplicationState& app, Platform& os, InstallerSystem& installer) {
    const std::string running = installer.RunningProgramPath();
    const std::string folder = InstallFolder(os);
    const std::string installed = folder + BaseName(running);  // the program's file name
    if (EqualNoCase(installed, running)) {
        CheckForUpdate(os, installer, folder);
        return;
    }
    installer.CreateFolder(folder);  // it may be there already
    if (!ProgramInstalled(installer, folder, installed)) {
        FirstInstall(app, os, installer, running, folder, installed);
        return;
    }
    if (!CopyProgram(installer, running, folder, installed)) return;
    CarryOptions(app, os, installer);
    WriteUninstallEntry(installer, installed, ProgramVersion);
    installer.ShowMessage("Adquell is already installed.\nPlease use the start menu shortcut in future.");
    StartNewCopyAndEnd(app, os, installer, installed, "");
}
