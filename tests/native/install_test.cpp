#include <gtest/gtest.h>

#include "install/self_install.h"
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
    void Answer(const std::string& version) { installer.server[kServer + "/Adquell/Update2.php?V=0.4"] = version; }
    std::string Download(const std::string& version) { return kServer + "/Adquell/Adquell Lite " + version + ".exe"; }
    void Run() { InstallOrUpdate(app, os, installer); }
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
    ExpectNothingNew();
}

TEST_F(Install, ANewVersionIsDownloadedLinkedAndStarted) {
    Installed();
    Answer("0.5");
    installer.server[Download("0.5")] = "program 0.5";
    Run();
    const std::string program = kInstall + "Adquell Lite 0.5.exe";
    EXPECT_EQ(installer.files[program], "program 0.5");
    EXPECT_EQ(Log(), "Updating to: 0.5\nDownloading " + Download("0.5") + " to " + program + "\n");
    const std::string shortcut = kAllUsers + "\\Adquell 0.5.url";
    EXPECT_EQ(installer.files[shortcut], "URL=" + program + "\nIconIndex=0\nIconFile=" + program + "\n");
    EXPECT_EQ(sim.launched, std::vector<std::string>{program});
    EXPECT_EQ(installer.messages, std::vector<std::string>{"Adquell has been updated."});
    EXPECT_EQ(installer.exits, std::vector<int>{420});
    EXPECT_EQ(installer.handOvers, 1);
    EXPECT_EQ(app.latestVersion, "0.5");
    EXPECT_GE(sim.now, 1042u);
}

TEST_F(Install, OnlyTheFirstFiveBytesAreTheVersion) {
    Installed();
    Answer("0.4.17\n");
    installer.server[Download("0.4.1")] = "program 0.4.1";
    Run();
    EXPECT_TRUE(installer.files.count(kInstall + "Adquell Lite 0.4.1.exe"));
}

TEST_F(Install, AnAnswerThatIsNoVersionChangesNothing) {
    Installed();
    for (const char* answer : {"../x", "0\\x", "0\n.5", "", "\r\n", "<htm"}) {
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
    Run();
    EXPECT_NE(Log().find("Error:   Failed to download the new version\n"), std::string::npos);
    ExpectNothingNew();
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
}

TEST_F(Install, AShortcutNeedsAReadableTarget) {
    installer.folders.insert(kAllUsers);
    EXPECT_FALSE(WriteUrlShortcut(installer, "C:\\missing.exe", kAllUsers + "\\x.url"));
    EXPECT_TRUE(installer.iniWrites.empty());
    EXPECT_TRUE(WriteUrlShortcut(installer, installer.running, kAllUsers + "\\x.url"));
}

TEST(VersionText, DigitsAndDotsAfterTrailingBlanks) {
    EXPECT_EQ(AcceptVersionText("0.5\r\n"), "0.5");
    EXPECT_EQ(AcceptVersionText("10.2"), "10.2");
    EXPECT_EQ(AcceptVersionText(" 0.5"), "");
    EXPECT_EQ(AcceptVersionText("0.5a"), "");
    EXPECT_EQ(AcceptVersionText("\t"), "");
}

}  // namespace
