// Installing and updating for real, under Wine: the program stand-in runs as a
// child process (so its exit code can be read) against a local HTTP server.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 20000;

std::string Expand(const char* text) {
    char buffer[1024] = {};
    ExpandEnvironmentStringsA(text, buffer, sizeof buffer);
    return buffer;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitForFile(const std::string& path, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    while (!Exists(path)) {
        if (GetTickCount() - start > deadlineMs) return false;
        Sleep(20);
    }
    return true;
}

struct Install : ::testing::Test {
    std::string install = Expand("%appdata%\\Adquell\\");
    std::string startMenu = Expand("%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell");
    std::string rig = ExeFolder() + "install-rig\\";
    std::string web = rig + "web";
    std::string messages = rig + "messages.txt";
    std::string log = rig + "log.txt";
    std::unique_ptr<ChildProcess> server;

    void SetUp() override {
        RemoveTree(install.substr(0, install.size() - 1));
        RemoveTree(startMenu);
        RemoveTree(Expand("%appdata%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell"));
        RemoveTree(rig.substr(0, rig.size() - 1));
        CreateDirectoryA(rig.c_str(), nullptr);
        CreateDirectoryA(web.c_str(), nullptr);
        CreateDirectoryA((web + "\\Adquell").c_str(), nullptr);
    }
    void TearDown() override {
        server.reset();
        SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", nullptr);
    }
    // A copy of the stand-in under the program's name in folder.
    std::string Program(const std::string& folder, const std::string& name = "Adquell Lite.exe") {
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string path = folder + "\\" + name;
        CopyFileA((ExeFolder() + "install_driver.exe").c_str(), path.c_str(), FALSE);
        return path;
    }
    DWORD Run(const std::string& program) {
        ChildProcess child(program, "install \"" + messages + "\" \"" + log + "\"");
        if (!child.Started()) return 9999;
        return child.Wait(kDeadline);
    }
    void Serve(const std::string& version, bool withProgram = true) {
        std::ofstream(web + "\\Adquell\\Update2.php@V=0.4", std::ios::binary) << version;
        if (withProgram) Program(web + "\\Adquell", "Adquell Lite 0.5.exe");
        const int port = 20000 + static_cast<int>(GetCurrentProcessId() % 20000);
        server = std::make_unique<ChildProcess>("tiny_http_server.exe", std::to_string(port) + " \"" + web + "\"");
        ASSERT_TRUE(WaitForFile(web + "\\ready", kDeadline));
        SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", ("http://127.0.0.1:" + std::to_string(port)).c_str());
    }
    // The program as installed, ready to check for updates.
    std::string Installed() {
        CreateDirectoryA(install.c_str(), nullptr);
        return Program(install.substr(0, install.size() - 1));
    }
};

TEST_F(Install, AFirstInstallCopiesLinksStartsAndExits) {
    const std::string program = Program(rig + "Downloads");
    EXPECT_EQ(Run(program), 420u);
    const std::string installed = install + "Adquell Lite.exe";
    EXPECT_TRUE(Exists(installed));
    EXPECT_EQ(ReadTextFile(startMenu + "\\Adquell 0.4.url"),
              "[InternetShortcut]\r\nURL=" + installed + "\r\nIconIndex=0\r\nIconFile=" + installed + "\r\n");
    EXPECT_EQ(ReadTextFile(messages),
              "Installed Adquell Lite 0.4 in: " + install + "\nCreated a shortcut in the start menu.\n---\n");
    EXPECT_TRUE(WaitForFile(installed + ".started", kDeadline));  // the installed copy was started
}

TEST_F(Install, ASecondCopyFromElsewhereOverwritesTheInstalledOne) {
    CreateDirectoryA(install.c_str(), nullptr);
    std::ofstream(install + "Adquell Lite.exe") << "an older copy";
    EXPECT_EQ(Run(Program(rig + "Elsewhere")), 420u);
    EXPECT_NE(ReadTextFile(install + "Adquell Lite.exe"), "an older copy");
    EXPECT_EQ(ReadTextFile(messages), "Adquell is already installed.\nPlease use the start menu shortcut in future.\n---\n");
    EXPECT_FALSE(Exists(startMenu + "\\Adquell 0.4.url"));
}

TEST_F(Install, TheInstalledCopyWithTheSameVersionKeepsRunning) {
    const std::string program = Installed();
    Serve("0.4");
    EXPECT_EQ(Run(program), 0u);
    EXPECT_EQ(ReadTextFile(log), "Update:     Checked\n");
    EXPECT_EQ(ReadTextFile(rig + "web\\requests.log"), "/Adquell/Update2.php?V=0.4\n");
}

TEST_F(Install, TheSameVersionWithALineBreakIsCheckedToo) {
    const std::string program = Installed();
    Serve("0.4\r\n");
    EXPECT_EQ(Run(program), 0u);
    EXPECT_EQ(ReadTextFile(log), "Update:     Checked\n");
}

TEST_F(Install, ANewVersionIsDownloadedLinkedStartedAndTheOldOneExits) {
    const std::string program = Installed();
    Serve("0.5");
    EXPECT_EQ(Run(program), 420u);
    const std::string fresh = install + "Adquell Lite 0.5.exe";
    EXPECT_TRUE(Exists(fresh));
    EXPECT_EQ(ReadTextFile(startMenu + "\\Adquell 0.5.url"),
              "[InternetShortcut]\r\nURL=" + fresh + "\r\nIconIndex=0\r\nIconFile=" + fresh + "\r\n");
    EXPECT_EQ(ReadTextFile(messages), "Adquell has been updated.\n---\n");
    EXPECT_TRUE(WaitForFile(fresh + ".started", kDeadline));  // started through its shortcut
    EXPECT_NE(ReadTextFile(log).find("Updating to: 0.5\nDownloading "), std::string::npos) << ReadTextFile(log);
    EXPECT_NE(ReadTextFile(rig + "web\\requests.log").find("/Adquell/Adquell Lite 0.5.exe\n"), std::string::npos);
}

TEST_F(Install, AnswersThatAreNoVersionChangeNothing) {
    const std::string program = Installed();
    // An empty answer is no answer at all: the check itself failed.
    const std::pair<const char*, const char*> cases[] = {{"../x", "Error:   The update server sent no version\n"},
                                                         {"0\n.5", "Error:   The update server sent no version\n"},
                                                         {"", "Error:   Failed check for latest version\n"}};
    for (const auto& [answer, error] : cases) {
        SetUp();
        const std::string again = Installed();
        Serve(answer);
        EXPECT_EQ(Run(again), 0u) << answer;
        EXPECT_EQ(ReadTextFile(log), error) << answer;
        EXPECT_FALSE(Exists(install + "Adquell Lite 0.5.exe"));
        EXPECT_FALSE(Exists(startMenu + "\\Adquell 0.5.url"));
        EXPECT_FALSE(Exists(messages));
        server.reset();
    }
    (void)program;
}

TEST_F(Install, AFailedProgramDownloadEndsTheUpdate) {
    const std::string program = Installed();
    Serve("0.5", false);
    EXPECT_EQ(Run(program), 0u);
    EXPECT_NE(ReadTextFile(log).find("Error:   Failed to download the new version\n"), std::string::npos);
    EXPECT_FALSE(Exists(install + "Adquell Lite 0.5.exe"));
    EXPECT_FALSE(Exists(startMenu + "\\Adquell 0.5.url"));
    EXPECT_FALSE(Exists(messages));
}

TEST_F(Install, NoServerMeansAFailedCheck) {
    const std::string program = Installed();
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", "http://127.0.0.1:9");
    EXPECT_EQ(Run(program), 0u);
    EXPECT_EQ(ReadTextFile(log), "Error:   Failed check for latest version\n");
}

}  // namespace
