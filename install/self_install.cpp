#include "install/self_install.h"

#include "app/log.h"
#include "app/main_commands.h"
#include "music/filler_player.h"

namespace {

constexpr const char* kInstallFolder = "%appdata%\\Adquell\\";
constexpr const char* kAllUsersStartMenu = "%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell";
constexpr const char* kUserStartMenu = "%appdata%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell";

std::string ShortcutName(const std::string& version) {
    return "\\Adquell " + version + ".url";
}

void StartAndEnd(ApplicationState& app, Platform& os, InstallerSystem& installer, const std::string& program) {
    LeaveForNewCopy(app, os, installer);
    os.desktop.ShellOpen(program);
    installer.ExitProcess(kInstallerExitCode);
}

void FirstInstall(ApplicationState& app, Platform& os, InstallerSystem& installer, const std::string& running, const std::string& folder,
                  const std::string& installed) {
    installer.CopyFileOver(running, installed);
    const bool shortcut = !PlaceStartMenuShortcut(os, installer, installed, ProgramVersion).empty();
    std::string message = std::string("Installed Adquell Lite ") + ProgramVersion + " in: " + folder;
    if (shortcut) message += "\nCreated a shortcut in the start menu.";
    installer.ShowMessage(message);
    StartAndEnd(app, os, installer, installed);
}

}  // namespace

void LeaveForNewCopy(ApplicationState& app, Platform& os, InstallerSystem& installer) {
    LeaveSpotifyAsFound(app, os);
    installer.HandOver();
}

bool WriteUrlShortcut(InstallerSystem& installer, const std::string& target, const std::string& shortcut) {
    if (!installer.CanRead(target)) return false;
    const char* section = "InternetShortcut";
    bool ok = installer.WriteIniString(section, "URL", target, shortcut);
    ok = installer.WriteIniString(section, "IconIndex", "0", shortcut) && ok;
    ok = installer.WriteIniString(section, "IconFile", target, shortcut) && ok;
    return ok;
}

std::string PlaceStartMenuShortcut(Platform& os, InstallerSystem& installer, const std::string& target,
                                   const std::string& version) {
    for (const char* place : {kAllUsersStartMenu, kUserStartMenu}) {
        const std::string folder = os.system.ExpandEnvironment(place);
        // The user's own start menu may not have all its parents yet.
        for (auto at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
            installer.CreateFolder(folder.substr(0, at));
        installer.CreateFolder(folder);
        const std::string shortcut = folder + ShortcutName(version);
        if (WriteUrlShortcut(installer, target, shortcut)) return shortcut;
    }
    return std::string();
}

void InstallOrUpdate(ApplicationState& app, Platform& os, InstallerSystem& installer) {
    const std::string running = installer.RunningProgramPath();
    const std::string folder = os.system.ExpandEnvironment(kInstallFolder);
    const std::string installed = folder + Mp3FileName(running);  // the program's file name
    if (installer.CreateFolder(folder)) {
        FirstInstall(app, os, installer, running, folder, installed);
        return;
    }
    if (installed == running) {
        CheckForUpdate(app, os, installer, folder);
        return;
    }
    installer.CopyFileOver(running, installed);
    installer.ShowMessage("Adquell is already installed.\nPlease use the start menu shortcut in future.");
    StartAndEnd(app, os, installer, installed);
}
