#include <gtest/gtest.h>

#include "install/self_install.h"
#include "install/removal.h"
#include "install/signature_format.h"
#include "install/windows_entries.h"
#include "settings/ini_file.h"
#include "settings/hotkeys.h"
#include "sim_world.h"

namespace {

const std::string kAppData = "C:\\Users\\me\\AppData\\Roaming";
const std::string kInstall = kAppData + "\\Adquell\\";
const std::string kAllUsers = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell";
const std::string kOwn = kAppData + "\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell";
const std::string kServer = "http://127.0.0.1:8080";

struct Install : SimWorld {
    void SetUp() override {
        sim.environment["appdata"] = kAppData;
        sim.environment["ProgramData"] = "C:\\ProgramData";
        sim.environment["ADQUELL_UPDATE_BASE"] = kServer;
        installer.files[installer.running] = "program 0.4";
        installer.folders = {"C:", "C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\Downloads", kAppData, "C:\\ProgramData",
                             "C:\\Other"};
    }
    // The program already runs from its install folder.
    void Installed() {
        installer.folders.insert(kInstall.substr(0, kInstall.size() - 1));
        installer.running = kInstall + "Adquell Lite.exe";
        installer.files[installer.running] = "program 0.4";
    }
    // Alt+D, Alt+F1 and Alt+Right.
    void HoldThreeHotkeys() {
        RegisterAllHotkeys(app, os);
        RegisterBinding(app, os, kHotkeysOnOff, 1, 41);
        RegisterBinding(app, os, kHotkeyNext, 1, 3);
        ASSERT_EQ(registrar.registered.size(), 3u);
    }
    void Answer(const std::string& version) { installer.server[kServer + "/Adquell/Update2.php?V=0.4"] = version; }
    std::string Download(const std::string& version) { return kServer + "/Adquell/Adquell Lite " + version + ".exe"; }
    // A version on the server with a signature the built-in key verifies:
    // r has its top bit set (DER adds a zero), s starts with zeros (DER drops them).
    void Signed(const std::string& version, const std::string& content) {
        const std::string r = "\x80" + std::string(31, 'r'), s = std::string(2, '\0') + content + std::string(30 - content.size(), 's');
        installer.server[Download(version)] = content;
        installer.server[Download(version) + ".sig"] =
            "\x30" + std::string(1, char(4 + 33 + 30)) + "\x02\x21" + std::string(1, '\0') + r + "\x02\x1e" + s.substr(2);
        installer.signatures[content] = r + s;
    }
    void Signed(const std::string& version) { Signed(version, "program " + version); }
    // As the window does it: an update check started runs (on another thread
    // there) and ends back here.
    void Run() {
        InstallOrUpdate(app, os, installer);
        for (const auto& started : installer.updateChecks) {
            UpdateCheck check;
            check.base = started.first;
            check.installFolder = started.second;
            RunUpdateCheck(check, installer, sim, [&](const std::string& version) { downloading.push_back(version); });
            FinishUpdateCheck(app, os, installer, check);
        }
        installer.updateChecks.clear();
    }
    std::vector<std::string> downloading;  // versions whose download began
    void ExpectNothingNew() {
        for (const auto& f : installer.files) {
            EXPECT_EQ(f.first.find(".url"), std::string::npos) << f.first;
            EXPECT_EQ(f.first.find("Adquell Lite 0"), std::string::npos) << f.first;
        }
        EXPECT_TRUE(installer.exits.empty());
        EXPECT_TRUE(installer.messages.empty());
        EXPECT_TRUE(sim.launched.empty());
    }
};

TEST_F(Install, FirstInstallCopiesLinksStartsAndExits) {
    Run();
    EXPECT_EQ(installer.files[kInstall + "Adquell Lite.exe"], "program 0.4");
    const std::string shortcut = kAllUsers + "\\Adquell 0.4.url";
    const std::vector<std::string> writes = {shortcut + " [InternetShortcut] URL=" + kInstall + "Adquell Lite.exe",
                                             shortcut + " [InternetShortcut] IconIndex=0",
                                             shortcut + " [InternetShortcut] IconFile=" + kInstall + "Adquell Lite.exe"};
    EXPECT_EQ(installer.iniWrites, writes);
    ASSERT_EQ(installer.messages.size(), 1u);
    EXPECT_EQ(installer.messages[0],
              "Installed Adquell Lite 0.4 in: " + kInstall + "\nCreated a shortcut in the start menu.");
    EXPECT_EQ(sim.launched, std::vector<std::string>{kInstall + "Adquell Lite.exe"});
    EXPECT_EQ(installer.exits, std::vector<int>{420});
    // The new copy starts on a Spotify left as found, with the claim let go.
    EXPECT_EQ(installer.handOvers, 1);
    EXPECT_TRUE(app.leaving);
}

// A removal that kept Options.ini leaves the folder: no program there, so
// Alt+D installs in full. The settings in use go along unless some are there.
TEST_F(Install, AFolderWithoutAProgramGetsAFullInstallAndTheSettingsGoAlong) {
    installer.folders.insert(kInstall.substr(0, kInstall.size() - 1));
    installer.files[kInstall + "notes.txt"] = "mine";
    installer.files[kInstall + "Adquell Lite 0.6.exe.part"] = "unfinished";
    installer.files[app.optionsPath] = "running copy's settings";
    WriteUninstallEntry(installer, kInstall + "Adquell Lite 0.5.exe", "0.5");  // names a program gone since
    Run();
    EXPECT_TRUE(installer.files.count(kAllUsers + "\\Adquell 0.4.url"));
    EXPECT_EQ(installer.registry[kUninstallKey]["DisplayVersion"], "0.4");
    EXPECT_EQ(installer.messages, std::vector<std::string>{"Installed Adquell Lite 0.4 in: " + kInstall +
                                                           "\nCreated a shortcut in the start menu."});
    EXPECT_EQ(sim.launched, std::vector<std::string>{kInstall + "Adquell Lite.exe"});
    EXPECT_EQ(installer.files[kInstall + "Options.ini"], "running copy's settings");
    EXPECT_EQ(installer.files[app.optionsPath], "running copy's settings");  // copied, not moved

    // The installed copy's own settings are never replaced.
    installer.files[kInstall + "Options.ini"] = "installed copy's settings";
    installer.running = "C:\\Other\\Adquell Lite.exe";
    installer.files[installer.running] = "program 0.4";
    Run();
    EXPECT_EQ(installer.messages.back(), "Adquell is already installed.\nPlease use the start menu shortcut in future.");
    EXPECT_EQ(installer.files[kInstall + "Options.ini"], "installed copy's settings");
}

TEST_F(Install, AProgramTheEntryNamesOrOneOfOurNamesInTheFolderIsAnInstall) {
    installer.folders.insert(kInstall.substr(0, kInstall.size() - 1));
    for (const char* name : {"My Adquell.exe", "Adquell Lite 0.5.exe"}) {
        installer.messages.clear();
        installer.registry.clear();
        installer.files[kInstall + name] = "program";
        if (name[0] == 'M') WriteUninstallEntry(installer, kInstall + name, "0.4");  // a renamed copy
        installer.files[app.optionsPath] = "settings";
        Run();
        EXPECT_EQ(installer.messages,
                  std::vector<std::string>{"Adquell is already installed.\nPlease use the start menu shortcut in future."})
            << name;
        EXPECT_EQ(installer.files[kInstall + "Options.ini"], "settings") << name;  // carried here too
        for (const std::string& file : {kInstall + name, kInstall + "Adquell Lite.exe", kInstall + "Options.ini"})
            installer.files.erase(file);
    }
}

TEST_F(Install, WithoutRightsToTheAllUsersMenuTheShortcutGoesToTheUsersOwn) {
    installer.lockedFolders.insert(kAllUsers);
    Run();
    EXPECT_TRUE(installer.files.count(kOwn + "\\Adquell 0.4.url"));
    EXPECT_EQ(installer.messages[0],
              "Installed Adquell Lite 0.4 in: " + kInstall + "\nCreated a shortcut in the start menu.");
}

TEST_F(Install, NoShortcutMeansNoClaimOfOne) {
    installer.lockedFolders = {kAllUsers, kOwn};
    Run();
    EXPECT_EQ(installer.messages[0], "Installed Adquell Lite 0.4 in: " + kInstall);
    EXPECT_EQ(installer.exits, std::vector<int>{420});
}

TEST_F(Install, ARenamedProgramIsInstalledUnderItsNewName) {
    installer.running = "C:\\Other\\My Adquell.exe";
    installer.files[installer.running] = "renamed";
    Run();
    EXPECT_EQ(installer.files[kInstall + "My Adquell.exe"], "renamed");
}

TEST_F(Install, ACopyFromElsewhereOverwritesTheInstalledOne) {
    Installed();
    installer.running = "C:\\Other\\Adquell Lite.exe";
    installer.files[installer.running] = "program 0.4 (newer build)";
    Run();
    EXPECT_EQ(installer.files[kInstall + "Adquell Lite.exe"], "program 0.4 (newer build)");
    EXPECT_EQ(installer.messages,
              std::vector<std::string>{"Adquell is already installed.\nPlease use the start menu shortcut in future."});
    EXPECT_TRUE(installer.iniWrites.empty());
    EXPECT_EQ(sim.launched, std::vector<std::string>{kInstall + "Adquell Lite.exe"});
    EXPECT_EQ(installer.exits, std::vector<int>{420});
}

TEST_F(Install, APathDifferingOnlyInCaseIsTheInstalledCopy) {
    Installed();
    installer.running = kAppData + "\\ADQUELL\\adquell lite.EXE";
    installer.files[installer.running] = "program 0.4";
    Answer("0.4");
    Run();
    EXPECT_TRUE(installer.exits.empty());  // not installed over itself
    EXPECT_EQ(installer.requests.size(), 1u);  // the update check instead
    EXPECT_EQ(Log(), "Update:     Checked\n");
}

TEST_F(Install, AFailedCopyOrStartIsSaidAndTheProgramKeepsRunning) {
    installer.lockedFolders.insert(kInstall.substr(0, kInstall.size() - 1));
    Run();
    EXPECT_EQ(installer.messages, std::vector<std::string>{"Adquell Lite could not be installed in: " + kInstall});
    EXPECT_TRUE(sim.launched.empty());
    EXPECT_TRUE(installer.exits.empty());

    installer.lockedFolders.clear();
    installer.messages.clear();
    sim.launchResult = 2;  // ShellExecute: file not found
    Run();
    ASSERT_EQ(installer.messages.size(), 2u);
    EXPECT_EQ(installer.messages[1], "Adquell Lite could not start " + kInstall + "Adquell Lite.exe and keeps running.");
    EXPECT_TRUE(installer.exits.empty());
    EXPECT_EQ(installer.handOvers, 0);  // the claim taken back
    EXPECT_FALSE(app.leaving);          // and the ticks act again
}

TEST_F(Install, TheNewCopyFindsEveryHotkeyFree) {
    Installed();
    HoldThreeHotkeys();
    size_t heldAtLaunch = 99;
    sim.onLaunch = [&] { heldAtLaunch = registrar.registered.size(); };
    Answer("0.5");
    Signed("0.5");
    Run();
    EXPECT_EQ(heldAtLaunch, 0u);
    EXPECT_EQ(installer.exits, std::vector<int>{420});
    sim.Sleep(500);
    RetryHotkeys(app, os);  // behind its message box the old copy takes none again
    EXPECT_TRUE(registrar.registered.empty());
}

TEST_F(Install, AFailedStartTakesTheHotkeysBack) {
    Installed();
    HoldThreeHotkeys();
    Answer("0.5");
    Signed("0.5");
    sim.launchResult = 2;
    Run();
    EXPECT_TRUE(installer.exits.empty());
    EXPECT_EQ(registrar.registered.size(), 3u);
    EXPECT_EQ(registrar.registered[kHotkeyNext], std::make_pair(1, 0x27));
    EXPECT_EQ(registrar.registered[kInstallHotkeyId], std::make_pair(1, 'D' + 0));
}

TEST_F(Install, TheSameVersionIsChecked) {
    Installed();
    for (const char* answer : {"0.4", "0.4\r\n", "0.4 "}) {
        TheDebugLog().logBacklog.clear();
        Answer(answer);
        Run();
        EXPECT_EQ(Log(), "Update:     Checked\n") << answer;
        EXPECT_EQ(app.latestVersion, "0.4");
    }
    EXPECT_EQ(installer.files[kInstall + "\\Update.txt"], "0.4 ");  // left on disk
    EXPECT_TRUE(downloading.empty());
    ExpectNothingNew();
}

TEST_F(Install, ANewVersionIsDownloadedLinkedAndStarted) {
    Installed();
    Answer("0.5");
    Signed("0.5", "program 0.5.0.0");  // a version resource states four numbers
    Run();
    const std::string program = kInstall + "Adquell Lite 0.5.exe";
    EXPECT_EQ(installer.files[program], "program 0.5.0.0");
    EXPECT_EQ(Log(), "Updating to: 0.5\nDownloading " + Download("0.5") + ".sig to " + program + ".sig.part\n" +
                         "Downloading " + Download("0.5") + " to " + program + "\n");
    EXPECT_EQ(downloading, std::vector<std::string>{"0.5"});  // the status label names it
    EXPECT_FALSE(installer.files.count(program + ".part"));  // moved into place
    EXPECT_FALSE(installer.files.count(program + ".sig.part"));
    // What an end of the program during the download removes.
    EXPECT_EQ(UnfinishedUpdateFiles(kInstall, "0.5"), (std::vector<std::string>{program + ".part", program + ".sig.part"}));
    const std::string shortcut = kAllUsers + "\\Adquell 0.5.url";
    EXPECT_EQ(installer.files[shortcut], "URL=" + program + "\nIconIndex=0\nIconFile=" + program + "\n");
    EXPECT_EQ(sim.launched, std::vector<std::string>{program});
    EXPECT_EQ(installer.messages, std::vector<std::string>{"Adquell has been updated."});
    EXPECT_EQ(installer.exits, std::vector<int>{420});
    EXPECT_EQ(installer.handOvers, 1);
    EXPECT_EQ(app.latestVersion, "0.5");
    EXPECT_GE(sim.now, 1042u);
}

TEST_F(Install, AnUpdateMovesTheInstalledAppsEntryAndStartWithWindowsToTheNewCopy) {
    Installed();
    installer.registry[kRunKey] = {{kRunValueName, "\"" + installer.running + "\" /startup"}, {"Other", "x.exe"}};
    Answer("0.5");
    Signed("0.5");
    Run();
    const std::string program = kInstall + "Adquell Lite 0.5.exe";
    EXPECT_EQ(installer.registry[kRunKey][kRunValueName], "\"" + program + "\" /startup");
    EXPECT_EQ(installer.registry[kRunKey]["Other"], "x.exe");
    EXPECT_EQ(installer.registry[kUninstallKey]["DisplayVersion"], "0.5");
    EXPECT_EQ(installer.registry[kUninstallKey]["UninstallString"], "\"" + program + "\" /remove");
}

// What the install and updates made, beside what the user keeps there.
struct Removal : Install {
    const std::string folder = kInstall.substr(0, kInstall.size() - 1);
    void SetUp() override {
        Install::SetUp();
        Installed();
        installer.folders.insert({kAllUsers, kOwn});
        for (const char* name : {"Adquell Lite 0.5.exe", "Update.txt", "Adquell Lite 0.6.exe.part", "Options.ini",
                                 "notes.txt", "My tool.exe"})
            installer.files[kInstall + name] = "x";
        for (const char* name : {"Adquell 0.4.url", "Adquell 0.5.url", "Other.url"}) installer.files[kAllUsers + "\\" + name] = "x";
        installer.files[kOwn + "\\Adquell 0.4.url"] = "x";
        WriteUninstallEntry(installer, installer.running, "0.4");
        installer.registry[kRunKey] = {{kRunValueName, "\"" + installer.running + "\" /startup"}, {"Other", "x.exe"}};
        installer.registry[kProgramUserKey] = {{"Restore", "162"}};
    }
    std::vector<std::string> Left(const std::string& in) { return installer.FilesIn(in); }
};

TEST_F(Removal, TakesWhatTheInstallMadeAndKeepsTheRest) {
    installer.answers = {true, false};
    EXPECT_EQ(RemoveProgram(os, installer), 0);
    EXPECT_EQ(installer.questions.size(), 2u);
    EXPECT_EQ(installer.questions[1], "Also delete your settings (" + kInstall + "Options.ini)?");
    EXPECT_EQ(installer.copiesEnded, 1);
    // The running image cannot go now: it goes once this process has ended.
    EXPECT_EQ(Left(folder), (std::vector<std::string>{"Adquell Lite.exe", "My tool.exe", "Options.ini", "notes.txt"}));
    EXPECT_EQ(installer.deletedAfterExit, std::vector<std::string>{installer.running});
    EXPECT_EQ(Left(kAllUsers), std::vector<std::string>{"Other.url"});
    EXPECT_TRUE(installer.folders.count(kAllUsers));  // the user's file keeps the folder
    EXPECT_TRUE(Left(kOwn).empty());
    EXPECT_FALSE(installer.folders.count(kOwn));
    EXPECT_FALSE(installer.registry.count(kUninstallKey));
    EXPECT_FALSE(installer.registry.count(kProgramUserKey));
    EXPECT_EQ(installer.registry[kRunKey], (std::map<std::string, std::string>{{"Other", "x.exe"}}));
    EXPECT_EQ(installer.messages, std::vector<std::string>{"Adquell Lite has been removed.\nYour settings stay in " +
                                                           kInstall + "Options.ini."});
}

TEST_F(Removal, TheSettingsGoOnlyWhenTheUserSaysSo) {
    installer.answers = {true, true};
    EXPECT_EQ(RemoveProgram(os, installer), 0);
    EXPECT_EQ(Left(folder), (std::vector<std::string>{"Adquell Lite.exe", "My tool.exe", "notes.txt"}));
    EXPECT_EQ(installer.messages, std::vector<std::string>{"Adquell Lite has been removed."});
}

TEST_F(Removal, NothingGoesWhenCalledOffOrWhileACopyStillRuns) {
    const auto files = installer.files;
    const auto registry = installer.registry;
    installer.answers = {false};
    EXPECT_EQ(RemoveProgram(os, installer), 0);
    EXPECT_EQ(installer.copiesEnded, 0);
    installer.answers = {true, false};
    installer.questions.clear();
    installer.otherCopyEnds = false;
    EXPECT_EQ(RemoveProgram(os, installer), 1);
    EXPECT_EQ(installer.messages,
              std::vector<std::string>{"Adquell Lite is still running and could not be ended. Nothing was removed."});
    EXPECT_EQ(installer.files, files);
    EXPECT_EQ(installer.registry, registry);
    EXPECT_TRUE(installer.deletedAfterExit.empty());
}

// The helper's switch can be given by anyone: it deletes only a program file
// directly in the install folder.
TEST(DeleteAfterExit, OnlyAnExeDirectlyInTheInstallFolder) {
    const std::string folder = "C:\\Users\\Ann\\AppData\\Roaming\\Adquell\\";
    for (const char* name : {"Adquell Lite.exe", "My tool.EXE", "\xD0\x90.exe"})
        EXPECT_TRUE(MayDeleteAfterExit(folder + name, folder)) << name;
    EXPECT_TRUE(MayDeleteAfterExit("c:\\users\\ann\\appdata\\roaming\\adquell\\a.exe", folder));
    for (const std::string& path : std::vector<std::string>{
             folder + "Options.ini", folder + "Options.ini:x.exe", folder + ".exe", folder + "sub\\x.exe", folder + "..\\x.exe", folder + "x.exe:s",
          folder + "x.exe.", folder + "x/y.exe", folder, "C:\\Users\\Ann\\Documents\\thesis.exe",
          "C:\\Users\\Ann\\AppData\\Roaming\\Adquell Lite.exe", "C:\\Users\\Ann\\AppData\\Roaming\\Adquellx\\a.exe"})
        EXPECT_FALSE(MayDeleteAfterExit(path, folder)) << path;
    EXPECT_TRUE(MayDeleteAfterExit("\\\\server\\home\\Adquell\\a.exe", "\\\\server\\home\\Adquell\\"));
    // A folder that is no absolute one (%APPDATA% unset is left as written)
    // allows nothing.
    EXPECT_FALSE(MayDeleteAfterExit("%appdata%\\Adquell\\x.exe", "%appdata%\\Adquell\\"));
    EXPECT_FALSE(MayDeleteAfterExit("x.exe", ""));
    EXPECT_FALSE(MayDeleteAfterExit("C:\\Adquellx.exe", "C:\\Adquell"));  // the folder ends with its backslash
}

TEST_F(Install, StartWithWindowsNeedsTheInstalledCopyAndIsWhatTheRunValueSays) {
    const std::string first = dir.Read("Options.ini");
    EXPECT_FALSE(StartsWithWindows(installer));
    EXPECT_FALSE(SetStartWithWindows(os, true));  // running from Downloads, nothing installed
    EXPECT_EQ(installer.messages.size(), 1u);
    EXPECT_FALSE(installer.registry[kRunKey].count(kRunValueName));
    Installed();
    EXPECT_TRUE(SetStartWithWindows(os, true));
    EXPECT_EQ(installer.registry[kRunKey][kRunValueName], "\"" + installer.running + "\" /startup");
    EXPECT_TRUE(StartsWithWindows(installer));
    EXPECT_FALSE(SetStartWithWindows(os, false));
    EXPECT_FALSE(installer.registry[kRunKey].count(kRunValueName));
    EXPECT_FALSE(StartsWithWindows(installer));
    EXPECT_EQ(dir.Read("Options.ini"), first);  // the registry alone holds it
    // Set by another copy (or left by an older one): the tick follows the value,
    // not a stale key in Options.ini.
    dir.Write("Options.ini", " [Options]\r\n StartWithWindows=False\r\n");
    installer.registry[kRunKey][kRunValueName] = "\"" + installer.running + "\" /startup";
    EXPECT_TRUE(StartsWithWindows(installer));
}

TEST_F(Install, OnlyTheFirstFiveBytesAreTheVersion) {
    Installed();
    Answer("0.4.17\n");
    Signed("0.4.1");
    Run();
    EXPECT_TRUE(installer.files.count(kInstall + "Adquell Lite 0.4.1.exe"));
}

TEST_F(Install, AnAnswerThatIsNoVersionChangesNothing) {
    Installed();
    for (const char* answer : {"../x", "0\\x", "0\n.5", "", "\r\n", "<htm", ".5", "1.", "1..2"}) {
        TheDebugLog().logBacklog.clear();
        Answer(answer);
        Run();
        EXPECT_EQ(Log(), "Error:   The update server sent no version\n") << answer;
    }
    EXPECT_EQ(app.latestVersion, "");
    ExpectNothingNew();
}

TEST_F(Install, AFailedDownloadOfTheProgramEndsTheUpdate) {
    Installed();
    Answer("0.5");
    Signed("0.5");
    installer.server.erase(Download("0.5"));
    Run();
    EXPECT_NE(Log().find("Error:   Failed to download the new version\n"), std::string::npos);
    ExpectNothingNew();
}

TEST_F(Install, OnlyWhatVerifiesIsInstalledAndOnlyWhatIsNewer) {
    Installed();
    Answer("0.5");
    Signed("0.5");
    const std::string reason[] = {"the server has no signature for it", "its signature file is not a signature",
                                  "the download does not match its signature (damaged, cut short or not ours)",
                                  "this build has no key to check updates with",
                                  "it is version 0.4, not 0.5", "it states no version of its own",
                                  "it is version 1.0, not 0.5", "it is version 0.4.10, not 0.5"};
    for (int fault = 0; fault < 8; ++fault) {
        TheDebugLog().logBacklog.clear();
        installer.messages.clear();
        std::map<std::string, std::string> server = installer.server;
        if (fault == 0) installer.server.erase(Download("0.5") + ".sig");
        if (fault == 1) installer.server[Download("0.5") + ".sig"] += "x";  // one byte past the sequence
        if (fault == 2) installer.server[Download("0.5")] = "program 0.";   // cut short
        if (fault == 3) installer.hasKey = false;
        if (fault == 4) Signed("0.5", "program 0.4.0.0");  // an older signed build offered as 0.5
        if (fault == 5) Signed("0.5", "tool");             // signed, but no program of ours
        if (fault == 6) Signed("0.5", "program 1.0.0.0");  // newer than offered is no match either
        if (fault == 7) Signed("0.5", "program 0.4.10.0");
        Run();
        EXPECT_NE(Log().find("Error:   " + reason[fault] + "; 0.5 not installed\n"), std::string::npos) << Log();
        EXPECT_EQ(installer.messages, std::vector<std::string>{"Adquell Lite 0.5 was not installed: " + reason[fault] +
                                                               ".\nAdquell Lite 0.4 keeps running."});
        installer.messages.clear();
        ExpectNothingNew();
        installer.server = server;
        installer.hasKey = true;
    }
    // A signed older version is never put back.
    for (const char* answer : {"0.4.0", "0.04", "0.3"}) {
        TheDebugLog().logBacklog.clear();
        Answer(answer);
        Signed(answer);
        Run();
        EXPECT_EQ(Log().rfind("Update:     Checked", 0), 0u) << answer;
        ExpectNothingNew();
    }
    EXPECT_EQ(Log(), "Update:     Checked, nothing newer (the server offers 0.3)\n");
}

// A refusal stays in the tray until a check that reaches the server refuses
// nothing; a check that fails says nothing either way.
TEST_F(Install, ARefusalStaysInTheTrayUntilACheckRefusesNothing) {
    Installed();
    Answer("0.5");
    Signed("0.5");
    installer.hasKey = false;
    Run();
    EXPECT_TRUE(controls.trayGreyed);
    EXPECT_TRUE(controls.notices.empty());  // its message box told the user
    installer.server.erase(kServer + "/Adquell/Update2.php?V=0.4");
    Run();
    EXPECT_TRUE(controls.trayGreyed);
    Answer("0.4");
    Run();
    EXPECT_FALSE(controls.trayGreyed);
}

TEST_F(Install, AnUpdateBaseOtherThanHttpsOrThisMachineIsRefused) {
    Installed();
    sim.environment["ADQUELL_UPDATE_BASE"] = "http://updates.example.org";
    Answer("0.5");
    Run();
    EXPECT_EQ(Log(), "Error:   ADQUELL_UPDATE_BASE must be an https address, or http on this machine; no update "
                     "checked\n");
    EXPECT_TRUE(installer.requests.empty());
}

TEST_F(Install, AFailedCheckIsLogged) {
    Installed();
    Run();
    EXPECT_EQ(Log(), "Error:   Failed check for latest version\n");
    ExpectNothingNew();
}

TEST_F(Install, TheServerIsOursToChoose) {
    EXPECT_EQ(UpdateServerBase(os), kServer);
    sim.environment["ADQUELL_UPDATE_BASE"] = kServer + "/";
    EXPECT_EQ(UpdateServerBase(os), kServer);
    sim.environment.erase("ADQUELL_UPDATE_BASE");
    EXPECT_EQ(UpdateServerBase(os).rfind("https://", 0), 0u);
    for (const char* base : {"https://mirror.example.org/x", "HTTPS://Mirror.example.org", "http://127.0.0.1:8080",
                             "http://127.1.2.3", "http://localhost:80/", "http://[::1]:8080"})
        EXPECT_TRUE(AcceptUpdateBase(base)) << base;
    for (const char* base : {"http://example.org", "http://127.0.0.1.example.org", "http://127.0.0.1@example.org",
                             "http://127.0.0.1\\@example.org", "http://0.0.0.0:8080", "http://127.0.0.256",
                             "http://127.0.0", "http://127.0.0.1.5", "ftp://127.0.0.1", "file://C:/x", "https://",
                             "https://a b", "http://[::2]", "127.0.0.1:8080"})
        EXPECT_FALSE(AcceptUpdateBase(base)) << base;
}

TEST_F(Install, AShortcutNeedsAReadableTarget) {
    installer.folders.insert(kAllUsers);
    EXPECT_FALSE(WriteUrlShortcut(installer, "C:\\missing.exe", kAllUsers + "\\x.url"));
    EXPECT_TRUE(installer.iniWrites.empty());
    EXPECT_TRUE(WriteUrlShortcut(installer, installer.running, kAllUsers + "\\x.url"));
    // An earlier shortcut is replaced whole, not merged with, and kept when
    // the new target cannot be read.
    const std::string earlier = kAllUsers + "\\y.url";
    installer.files[earlier] = "[InternetShortcut]\nURL=C:\\old.exe\nHotKey=1\n";
    EXPECT_FALSE(WriteUrlShortcut(installer, "C:\\missing.exe", earlier));
    EXPECT_EQ(installer.files[earlier], "[InternetShortcut]\nURL=C:\\old.exe\nHotKey=1\n");
    EXPECT_TRUE(WriteUrlShortcut(installer, installer.running, earlier));
    EXPECT_EQ(installer.files[earlier].find("old.exe"), std::string::npos);
    EXPECT_EQ(installer.files[earlier].find("HotKey"), std::string::npos);
}

TEST(VersionText, NumbersAreComparedOneByOne) {
    const char* ordered[] = {"0.4", "0.5", "0.9", "0.10", "1.0", "1.0.1", "2"};
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_LT(CompareVersions(ordered[i], ordered[i + 1]), 0) << ordered[i];
        EXPECT_GT(CompareVersions(ordered[i + 1], ordered[i]), 0) << ordered[i];
    }
    EXPECT_EQ(CompareVersions("0.4", "0.4.0"), 0);
    EXPECT_EQ(CompareVersions("0.4.0", "0.4"), 0);
    EXPECT_EQ(CompareVersions("00.4", "0.04"), 0);
    EXPECT_LT(CompareVersions("9.0", "10.0"), 0);  // not as text
}

TEST(SignatureFile, DerBecomesRAndS) {
    const std::string r(32, '\x81'), s = std::string(31, '\x01');
    std::string raw;
    ASSERT_TRUE(SignatureFromDer("\x30\x44\x02\x21" + std::string(1, '\0') + r + "\x02\x1f" + s, raw));
    EXPECT_EQ(raw, r + std::string(1, '\0') + s);
    const std::string good = "\x30\x06\x02\x01\x05\x02\x01\x07";
    ASSERT_TRUE(SignatureFromDer(good, raw));
    EXPECT_EQ(raw, std::string(31, '\0') + "\x05" + std::string(31, '\0') + "\x07");
    const std::string bad[] = {"", "\x30", good + "x", good.substr(0, 7), "\x31" + good.substr(1),
                               "\x30\x06\x02\x01\x85\x02\x01\x07",                       // negative
                               "\x30\x06\x02\x00\x02\x02\x01\x07",                       // empty
                               "\x30\x06\x02\x01\x05\x03\x01\x07",                       // not INTEGER
                               "\x30\x03\x02\x01\x05",                                   // one number
                               "\x30\x81\x06\x02\x01\x05\x02\x01\x07",                   // long form
                               "\x30\x26\x02\x21" + std::string(1, '\x01') + r + "\x02\x01\x07",  // 33 bytes
                               "\x30\x26\x02\x21" + std::string(1, '\0') + std::string(32, 'x') + "\x02\x01\x07"};
    for (const std::string& der : bad) {
        EXPECT_FALSE(SignatureFromDer(der, raw)) << der.size();
        EXPECT_TRUE(raw.empty());
    }
}

TEST(VersionText, DigitsAndDotsAfterTrailingBlanks) {
    EXPECT_EQ(AcceptVersionText("0.5\r\n"), "0.5");
    EXPECT_EQ(AcceptVersionText("10.2"), "10.2");
    EXPECT_EQ(AcceptVersionText(" 0.5"), "");
    EXPECT_EQ(AcceptVersionText("0.5a"), "");
    EXPECT_EQ(AcceptVersionText("\t"), "");
}

}  // namespace
