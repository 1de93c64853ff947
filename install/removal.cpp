#include "install/removal.h"

#include <cstring>

#include "base/text_helpers.h"
#include "install/self_install.h"
#include "install/windows_entries.h"
#include "settings/options.h"

namespace {

// What the install and the updates put in the install folder: the program
// under its names, the answer to the update check and an update's unfinished
// downloads.
bool MadeByInstall(const std::string& name, const std::string& program) {
    if (EqualNoCase(name, program) || EqualNoCase(name, "Update.txt")) return true;
    for (const char* unfinished : {".sig.part", ".part"})
        if (EndsWithNoCase(name, unfinished)) return IsProgramFile(name.substr(0, name.size() - std::strlen(unfinished)));
    return IsProgramFile(name);
}

void RemoveShortcuts(Platform& os, InstallerSystem& installer) {
    for (const std::string& folder : StartMenuFolders(os)) {
        for (const std::string& name : installer.FilesIn(folder))
            if (StartsWithNoCase(name, "Adquell ") && EndsWithNoCase(name, ".url")) installer.RemoveFile(folder + "\\" + name);
        installer.RemoveFolder(folder);
    }
}

// The program's files; the one this process runs from goes once it has ended.
void RemoveProgramFiles(InstallerSystem& installer, const std::string& folder, bool withOptions) {
    const std::string running = installer.RunningProgramPath();
    const std::string program = BaseName(running);
    for (const std::string& name : installer.FilesIn(folder)) {
        if (!MadeByInstall(name, program) && !(withOptions && EqualNoCase(name, kOptionsFileName))) continue;
        const std::string path = folder + name;
        installer.RemoveFile(path);
        if (installer.CanRead(path) && EqualNoCase(path, running)) installer.DeleteAfterExit(path);
    }
    installer.RemoveFolder(folder.substr(0, folder.size() - 1));
}

}  // namespace

bool MayDeleteAfterExit(const std::string& path, const std::string& installFolder) {
    // A folder not made absolute (%APPDATA% unset stays as written) would be
    // taken from wherever the helper was started.
    const bool absolute = installFolder.size() > 3 && ((installFolder[1] == ':' && installFolder[2] == '\\') ||
                                                       installFolder.compare(0, 2, "\\\\") == 0);
    if (!absolute || installFolder.back() != '\\' || !StartsWithNoCase(path, installFolder)) return false;
    const std::string name = path.substr(installFolder.size());
    // No folder below it, no stream (":"), and a name before the extension.
    return name.size() > 4 && EndsWithNoCase(name, ".exe") && name.find_first_of("\\/:") == std::string::npos;
}

int RemoveProgram(Platform& os, InstallerSystem& installer) {
    if (!installer.Ask("Remove Adquell Lite from this computer?\nSpotify itself stays as it is.")) return 0;
    const std::string folder = InstallFolder(os);
    const std::string options = InstalledOptionsPath(os);
    const bool withOptions =
        installer.CanRead(options) && installer.Ask("Also delete your settings (" + options + ")?");
    if (!installer.EndRunningCopy()) {
        installer.ShowMessage("Adquell Lite is still running and could not be ended. Nothing was removed.");
        return 1;
    }
    installer.DeleteUserValue(kRunKey, kRunValueName);
    RemoveShortcuts(os, installer);
    installer.DeleteUserKey(kUninstallKey);
    installer.DeleteUserKey(kProgramUserKey);
    RemoveProgramFiles(installer, folder, withOptions);
    std::string done = "Adquell Lite has been removed.";
    if (installer.CanRead(options) && !withOptions) done += "\nYour settings stay in " + options + ".";
    installer.ShowMessage(done);
    return 0;
}
