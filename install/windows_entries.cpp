#include "install/windows_entries.h"

#include "base/text_helpers.h"
#include "install/self_install.h"

namespace {

// The entry's icon is the program's own first one.
constexpr const char* kIconName = "DisplayIcon";
constexpr const char* kIconSuffix = ",0";

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// What Windows runs at log-on.
std::string StartupCommand(const std::string& program) {
    return Quoted(program) + " " + kStartupSwitch;
}

}  // namespace

bool WriteUninstallEntry(InstallerSystem& installer, const std::string& program, const std::string& version) {
    const std::pair<const char*, std::string> texts[] = {
        {"DisplayName", "Adquell Lite"},
        {"DisplayVersion", version},
        {"Publisher", "adquell-lite.org"},
        {"URLInfoAbout", "https://adquell-lite.org/"},
        {kIconName, program + kIconSuffix},
        {"InstallLocation", FolderOf(program)},
        {"UninstallString", Quoted(program) + " " + kRemoveSwitch},
    };
    bool ok = true;
    for (const auto& text : texts) ok = installer.WriteUserText(kUninstallKey, text.first, text.second) && ok;
    // Removal is all there is: no Modify or Repair buttons.
    ok = installer.WriteUserNumber(kUninstallKey, "NoModify", 1) && ok;
    ok = installer.WriteUserNumber(kUninstallKey, "NoRepair", 1) && ok;
    return ok;
}

std::string UninstallEntryProgram(InstallerSystem& installer) {
    std::string icon;
    const std::string suffix = kIconSuffix;
    if (!installer.ReadUserText(kUninstallKey, kIconName, icon) || !EndsWithNoCase(icon, suffix)) return std::string();
    return icon.substr(0, icon.size() - suffix.size());
}

void MoveEntriesTo(InstallerSystem& installer, const std::string& program, const std::string& version) {
    WriteUninstallEntry(installer, program, version);
    std::string run;
    if (installer.ReadUserText(kRunKey, kRunValueName, run))
        installer.WriteUserText(kRunKey, kRunValueName, StartupCommand(program));
}

bool StartsWithWindows(InstallerSystem& installer) {
    std::string command;
    return installer.ReadUserText(kRunKey, kRunValueName, command);
}

bool SetStartWithWindows(Platform& os, bool on) {
    InstallerSystem& installer = os.installer;
    if (on) {
        const std::string program = InstalledProgram(os, installer);
        if (program.empty()) {
            installer.ShowMessage("Start with Windows starts the installed copy of Adquell Lite.\n"
                                  "Install it first with Alt+D, then choose this again.");
            return false;
        }
        if (!installer.WriteUserText(kRunKey, kRunValueName, StartupCommand(program))) {
            installer.ShowMessage("Adquell Lite could not be set to start with Windows.");
            return false;
        }
    } else {
        installer.DeleteUserValue(kRunKey, kRunValueName);
    }
    return on;
}
