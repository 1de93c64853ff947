#include <algorithm>
#include <vector>

#include "base/health.h"
#include "base/log.h"
#include "base/text_helpers.h"
#include "install/self_install.h"
#include "install/signature_format.h"
#include "install/windows_entries.h"

namespace {

constexpr const char* kDefaultServer = "https://updates.adquell-lite.org";
constexpr const char* kServerVariable = "%ADQUELL_UPDATE_BASE%";
constexpr std::size_t kVersionBytes = 5;
constexpr std::size_t kMaxSignatureFile = 256;
constexpr const char* kPartial = ".part";

// 127.x.y.z written as four numbers, "localhost" or [::1]: this machine.
bool IsLoopbackHost(const std::string& host) {
    if (EqualNoCase(host, "localhost") || host == "[::1]") return true;
    if (host.rfind("127.", 0) != 0) return false;
    int parts = 0;
    for (std::size_t at = 0; at <= host.size(); ++parts) {
        std::size_t dot = host.find('.', at);
        if (dot == std::string::npos) dot = host.size();
        const std::string part = host.substr(at, dot - at);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(part) > 255)
            return false;
        at = dot + 1;
    }
    return parts == 4;
}

// The host of an address without its port ("[::1]" keeps its brackets).
std::string HostOf(const std::string& address, std::size_t schemeLength) {
    const std::string rest = address.substr(schemeLength);
    const std::string authority = rest.substr(0, rest.find_first_of("/?#"));
    if (!authority.empty() && authority[0] == '[') return authority.substr(0, authority.find(']') + 1);
    return authority.substr(0, authority.find(':'));
}

// The number parts of a version; leading zeros dropped so that longer means
// larger.
std::vector<std::string> VersionNumbers(const std::string& version) {
    std::vector<std::string> numbers;
    std::size_t at = 0;
    for (;;) {
        const std::size_t dot = version.find('.', at);
        std::string part = version.substr(at, dot == std::string::npos ? std::string::npos : dot - at);
        part.erase(0, part.find_first_not_of('0'));
        numbers.push_back(part);
        if (dot == std::string::npos) return numbers;
        at = dot + 1;
    }
}

// Removes what a failed update downloaded, says why in the log, and keeps
// the message for the user, who asked for the update.
void RefuseUpdate(UpdateCheck& check, InstallerSystem& installer, const std::string& program,
                  const std::string& reason) {
    const std::string& version = check.version;
    installer.RemoveFile(program + kPartial);
    installer.RemoveFile(program + ".sig" + kPartial);
    LogLine("Error:   " + reason + "; " + version + " not installed");
    check.refusal = "Adquell Lite " + version + " was not installed: " + reason + ".\nAdquell Lite " +
                    ProgramVersion + " keeps running.";
}

// The new version and its signature, fetched beside their final place; true
// once the program stands verified at `program`.
bool DownloadVerifiedVersion(UpdateCheck& check, InstallerSystem& installer, const std::string& program) {
    const std::string& base = check.base;
    const std::string& version = check.version;
    const std::string address = base + "/Adquell/Adquell Lite " + version + ".exe";
    const std::string signatureFile = program + ".sig" + kPartial;
    LogLine("Downloading " + address + ".sig to " + signatureFile);
    std::string der, signature;
    if (!installer.Download(address + ".sig", signatureFile) ||
        !installer.ReadSmallFile(signatureFile, kMaxSignatureFile, der)) {
        RefuseUpdate(check, installer, program, "the server has no signature for it");
        return false;
    }
    if (!SignatureFromDer(der, signature)) {
        RefuseUpdate(check, installer, program, "its signature file is not a signature");
        return false;
    }
    LogLine("Downloading " + address + " to " + program);
    if (!installer.Download(address, program + kPartial)) {
        installer.RemoveFile(signatureFile);
        LogLine("Error:   Failed to download the new version");
        return false;
    }
    if (!installer.VerifySignature(program + kPartial, signature)) {
        RefuseUpdate(check, installer, program,
                     "the download does not match its signature (damaged, cut short or not ours)");
        return false;
    }
    // The signature covers the bytes, not the version the server named: an
    // older signed build offered as a newer one is refused here.
    std::string own;
    if (!installer.ProgramFileVersion(program + kPartial, own)) {
        RefuseUpdate(check, installer, program, "it states no version of its own");
        return false;
    }
    if (CompareVersions(own, version) != 0) {
        RefuseUpdate(check, installer, program, "it is version " + ShortVersion(own) + ", not " + version);
        return false;
    }
    installer.RemoveFile(signatureFile);
    if (!installer.MoveFileOver(program + kPartial, program)) {
        RefuseUpdate(check, installer, program, "it could not be put in place as " + program);
        return false;
    }
    return true;
}

}  // namespace

bool AcceptUpdateBase(const std::string& base) {
    for (char c : base)
        if (static_cast<unsigned char>(c) <= ' ' || c == '@' || c == '\\') return false;
    if (StartsWithNoCase(base, "https://")) return !HostOf(base, 8).empty();
    return StartsWithNoCase(base, "http://") && IsLoopbackHost(HostOf(base, 7));
}

std::string UpdateServerBase(Platform& os) {
    const std::string base = os.system.ExpandEnvironment(kServerVariable);
    if (base.empty() || base == kServerVariable) return kDefaultServer;
    if (!AcceptUpdateBase(base)) return std::string();
    return base.back() == '/' ? base.substr(0, base.size() - 1) : base;
}

std::string AcceptVersionText(const std::string& text) {
    const auto end = text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) return std::string();
    const std::string version = text.substr(0, end + 1);
    if (version.find_first_not_of("0123456789.") != std::string::npos) return std::string();
    // Numbers between single dots: "1." and "1..2" are no versions.
    if (version.front() == '.' || version.back() == '.' || version.find("..") != std::string::npos)
        return std::string();
    return version;
}

std::string ShortVersion(std::string version) {
    while (version.size() > 2 && version.compare(version.size() - 2, 2, ".0") == 0 &&
           std::count(version.begin(), version.end(), '.') > 1)
        version.erase(version.size() - 2);
    return version;
}

int CompareVersions(const std::string& a, const std::string& b) {
    std::vector<std::string> x = VersionNumbers(a), y = VersionNumbers(b);
    x.resize(std::max(x.size(), y.size()));
    y.resize(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i].size() != y[i].size()) return x[i].size() < y[i].size() ? -1 : 1;
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    }
    return 0;
}

namespace {

std::string NewVersionPath(const std::string& installFolder, const std::string& version) {
    return installFolder + "Adquell Lite " + version + ".exe";
}

}  // namespace

std::vector<std::string> UnfinishedUpdateFiles(const std::string& installFolder, const std::string& version) {
    const std::string program = NewVersionPath(installFolder, version);
    return {program + kPartial, program + ".sig" + kPartial};
}

void CheckForUpdate(Platform& os, InstallerSystem& installer, const std::string& installFolder) {
    const std::string base = UpdateServerBase(os);
    if (base.empty()) {
        LogLine("Error:   ADQUELL_UPDATE_BASE must be an https address, or http on this machine; no update checked");
        return;
    }
    installer.StartUpdateCheck(base, installFolder);
}

void RunUpdateCheck(UpdateCheck& check, InstallerSystem& installer, Clock& clock,
                    const std::function<void(const std::string& version)>& downloading) {
    const std::string updateFile = check.installFolder + "\\Update.txt";
    if (!installer.Download(check.base + "/Adquell/Update2.php?V=" + ProgramVersion, updateFile)) {
        LogLine("Error:   Failed check for latest version");
        return;
    }
    clock.Sleep(42);
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
    check.version = version;
    const int order = CompareVersions(version, ProgramVersion);
    if (order <= 0) {
        // An older version is never put back, however it is signed.
        LogLine(order == 0 ? std::string("Update:     Checked")
                           : "Update:     Checked, nothing newer (the server offers " + version + ")");
        return;
    }
    LogLine("Updating to: " + version);
    const std::string program = NewVersionPath(check.installFolder, version);
    if (!installer.HasUpdateKey()) {
        RefuseUpdate(check, installer, program, "this build has no key to check updates with");
        return;
    }
    if (downloading) downloading(version);
    if (!DownloadVerifiedVersion(check, installer, program)) return;
    clock.Sleep(1000);
    check.program = program;
}

void FinishUpdateCheck(ApplicationState& app, Platform& os, InstallerSystem& installer, const UpdateCheck& check) {
    if (!check.version.empty()) app.latestVersion = check.version;
    // Said at once to the user who asked (no balloon besides), and kept in
    // the tray until a check that reached the server finds nothing to refuse.
    if (!check.refusal.empty()) {
        installer.ShowMessage(check.refusal);
        ReportTrouble(app, os, Trouble::UpdateRefused, check.refusal, true);
    } else if (!check.version.empty()) {
        ClearTrouble(app, os, Trouble::UpdateRefused);
    }
    if (check.program.empty()) return;
    PlaceStartMenuShortcut(os, installer, check.program, check.version);
    MoveEntriesTo(installer, check.program, check.version);
    // Started directly rather than through its shortcut: a shortcut whose URL
    // is a bare path is not run everywhere (Wine hands it to a browser).
    StartNewCopyAndEnd(app, os, installer, check.program, "Adquell has been updated.");
}
