#include "app/log.h"
#include "install/self_install.h"

namespace {

constexpr const char* kDefaultServer = "https://updates.adquell-lite.org";
constexpr const char* kServerVariable = "%ADQUELL_UPDATE_BASE%";
constexpr std::size_t kVersionBytes = 5;

bool DownloadNewVersion(Platform& os, InstallerSystem& installer, const std::string& version,
                        const std::string& installFolder, std::string& program) {
    program = installFolder + "Adquell Lite " + version + ".exe";
    const std::string address = UpdateServerBase(os) + "/Adquell/Adquell Lite " + version + ".exe";
    LogLine("Downloading " + address + " to " + program);
    if (installer.Download(address, program) && installer.CanRead(program)) return true;
    LogLine("Error:   Failed to download the new version");
    return false;
}

}  // namespace

std::string UpdateServerBase(Platform& os) {
    const std::string base = os.system.ExpandEnvironment(kServerVariable);
    if (base.empty() || base == kServerVariable) return kDefaultServer;
    return base.back() == '/' ? base.substr(0, base.size() - 1) : base;
}

std::string AcceptVersionText(const std::string& text) {
    const auto end = text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) return std::string();
    const std::string version = text.substr(0, end + 1);
    if (version.find_first_not_of("0123456789.") != std::string::npos) return std::string();
    return version;
}

void CheckForUpdate(ApplicationState& app, Platform& os, InstallerSystem& installer, const std::string& installFolder) {
    const std::string updateFile = installFolder + "\\Update.txt";
    const std::string request = UpdateServerBase(os) + "/Adquell/Update2.php?V=" + ProgramVersion;
    if (!installer.Download(request, updateFile)) {
        LogLine("Error:   Failed check for latest version");
        return;
    }
    os.clock.Sleep(42);
    std::string text;
    if (!installer.ReadFileStart(updateFile, kVersionBytes, text)) {
        LogLine("Error:   Failed to read update file");
        return;
    }
    // The answer becomes part of a file name and an address: only a version.
    const std::string version = AcceptVersionText(text);
    if (version.empty()) {
        LogLine("Error:   The update server sent no version");
        return;
    }
    app.latestVersion = version;
    if (version == ProgramVersion) {
        LogLine("Update:     Checked");
        return;
    }
    LogLine("Updating to: " + version);
    std::string program;
    if (!DownloadNewVersion(os, installer, version, installFolder, program)) return;
    os.clock.Sleep(1000);
    PlaceStartMenuShortcut(os, installer, program, version);
    // Started directly rather than through its shortcut: a shortcut whose URL
    // is a bare path is not run everywhere (Wine hands it to a browser).
    StartNewCopyAndEnd(app, os, installer, program, "Adquell has been updated.");
}
