// Installing and updating for real, under Wine: the program stand-in runs as a
// child process (so its exit code can be read) against a local HTTP server.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <set>

#include "base/application_state.h"
#include "platform/ansi_text.h"
#include "prefix_snapshot.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 20000;
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adquell Lite";


bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names in a folder.
std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool WaitForFile(const std::string& path, DWORD deadlineMs) {
    return WaitUntil([&] { return Exists(path); }, deadlineMs);
}

struct Install : ::testing::Test {
    std::string install = Expanded("%appdata%\\Adquell\\");
    std::string startMenu = Expanded("%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell");
    std::string rig = ExeFolder() + "install-rig\\";
    std::string web = rig + "web";
    std::string messages = rig + "messages.txt";
    std::string log = rig + "log.txt";
    std::unique_ptr<ChildProcess> server;

    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstall);
        RegDeleteKeyA(HKEY_CURRENT_USER, kUninstall);
        RemoveTree(install.substr(0, install.size() - 1));
        RemoveTree(startMenu);
        RemoveTree(Expanded("%appdata%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell"));
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
    // The server answers version and holds that version's program (a copy of
    // the stand-in) with the signature made for it when it was built.
    void Serve(const std::string& version) {
        std::ofstream(web + "\\Adquell\\Update2.php@V=0.4", std::ios::binary) << version;
        const std::string served = web + "\\Adquell\\Adquell Lite " + version + ".exe";
        Program(web + "\\Adquell", "Adquell Lite " + version + ".exe");
        CopyFileA((ExeFolder() + "install_driver.exe.sig").c_str(), (served + ".sig").c_str(), FALSE);
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
    // In the user's list of installed apps, removable from there.
    EXPECT_EQ(UserText(kUninstall, "DisplayName"), "Adquell Lite");
    EXPECT_EQ(UserText(kUninstall, "DisplayVersion"), "0.4");
    EXPECT_EQ(UserText(kUninstall, "DisplayIcon"), installed + ",0");
    EXPECT_EQ(UserText(kUninstall, "UninstallString"), "\"" + installed + "\" /remove");
}

TEST_F(Install, RemovalTakesAwayWhatTheInstallMadeAndNothingElse) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramUserKey);  // what earlier tests' programs kept
    RegDeleteKeyA(HKEY_CURRENT_USER, kProgramUserKey);
    const std::string users = Expanded("%SystemDrive%\\users"), shared = Expanded("%ProgramData%");
    const std::set<std::string> usersBefore = FilesBelow(users), sharedBefore = FilesBelow(shared);
    const std::set<std::string> registryBefore = UserRegistry();
    ASSERT_EQ(Run(Program(rig + "Downloads")), 420u);
    const std::string installed = install + "Adquell Lite.exe";
    ASSERT_TRUE(WaitForFile(installed + ".started", kDeadline));
    DeleteFileA((installed + ".started").c_str());  // the stand-in's mark, not the install's
    std::ofstream(install + "Options.ini", std::ios::binary) << " [Options]\r\n Mute=True\r\n";  // the user's
    DeleteFileA(messages.c_str());
    // As the list of installed apps runs it: the installed copy with its switch;
    // its last message is left open longer than a minute.
    constexpr DWORD kMessageOpenMs = 70000;
    ChildProcess removal(installed, "remove yn \"" + messages + "\" " + std::to_string(kMessageOpenMs));
    ASSERT_TRUE(removal.Started());
    ASSERT_TRUE(
        WaitUntil([&] { return ReadTextFile(messages).find("has been removed") != std::string::npos; }, kDeadline));
    EXPECT_EQ(UserText(kUninstall, "DisplayName"), "(none)");  // the entry goes at once, the program after
    EXPECT_EQ(removal.Wait(kMessageOpenMs + kDeadline), 0u);
    EXPECT_EQ(ReadTextFile(messages), "? Remove Adquell Lite from this computer?\nSpotify itself stays as it is. y\n---\n"
                                      "? Also delete your settings (" + install + "Options.ini)? n\n---\n"
                                      "Adquell Lite has been removed.\nYour settings stay in " + install +
                                      "Options.ini.\n---\n");
    // The running image goes once its process has ended, its helper after it.
    std::set<std::string> usersAfter = usersBefore;
    usersAfter.insert(install + "Options.ini");
    EXPECT_TRUE(WaitUntil([&] { return FilesBelow(users) == usersAfter; }, kDeadline))
        << Difference(usersAfter, FilesBelow(users));
    EXPECT_EQ(FilesBelow(shared), sharedBefore) << Difference(sharedBefore, FilesBelow(shared));
    EXPECT_EQ(UserRegistry(), registryBefore) << Difference(registryBefore, UserRegistry());
}

// Anyone may start the removal's helper with any handle and path: it deletes
// only a program file directly in the install folder, and only after the
// process it was handed (a handle of 0 would end its wait at once, and -1,
// the helper's own process, would never end it).
TEST_F(Install, TheRemovalHelperDeletesOnlyTheProgramAfterItsProcess) {
    const std::string installed = Installed();
    const std::string other = rig + "thesis.exe";
    std::ofstream(other, std::ios::binary) << "the user's";
    const struct {
        const char* handle;  // null: a real process's, inheritable
        std::string target;
        bool deleted;
    } cases[] = {{"0", installed, false}, {"-1", installed, false}, {nullptr, other, false}, {nullptr, installed, true}};
    for (const auto& c : cases) {
        // The process to wait for, as the removal hands it down: inheritable.
        HANDLE waitFor = nullptr;
        if (!c.handle) {
            ChildProcess brief("C:\\windows\\system32\\cmd.exe", "/c exit 0");
            ASSERT_TRUE(brief.Started());
            ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), brief.Handle(), GetCurrentProcess(), &waitFor,
                                        SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0));
            brief.Wait(kDeadline);
        }
        const std::string handle = c.handle ? c.handle : std::to_string(reinterpret_cast<std::uintptr_t>(waitFor));
        std::string command =
            "\"" + ExeFolder() + "install_driver.exe\" /delete-after " + handle + " \"" + c.target + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION helper = {};
        const bool started =
            CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &helper) != 0;
        if (waitFor) CloseHandle(waitFor);
        ASSERT_TRUE(started) << c.target;
        const DWORD waited = WaitForSingleObject(helper.hProcess, kDeadline);
        if (waited != WAIT_OBJECT_0) TerminateProcess(helper.hProcess, 1);
        EXPECT_EQ(waited, WAIT_OBJECT_0) << handle << " " << c.target;  // it never hangs
        CloseHandle(helper.hThread);
        CloseHandle(helper.hProcess);
        EXPECT_EQ(Exists(c.target), !c.deleted) << handle << " " << c.target;
    }
    EXPECT_TRUE(Exists(other));
}

// A user profile named outside the legacy code page (Cyrillic on a 1252
// system): the install lands in it, the shortcut and the list of installed
// apps carry its path whole (the shortcut in Unicode, as the shell, which
// runs in the legacy code page, must read it), and removal takes it away.
TEST_F(Install, AProfileNamedInCyrillicInstallsAndRemoves) {
    const std::string appdata = rig + "Пользователь\\AppData\\Roaming";
    for (size_t at = appdata.find('\\', rig.size()); at != std::string::npos; at = appdata.find('\\', at + 1))
        CreateDirectoryA(appdata.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(appdata.c_str(), nullptr);
    const std::string usual = Expanded("%APPDATA%");
    SetEnvironmentVariableA("APPDATA", appdata.c_str());
    const std::string installed = appdata + "\\Adquell\\Adquell Lite.exe";
    const DWORD installedCode = Run(Program(rig + "Downloads"));
    const std::string url = startMenu + "\\Adquell 0.4.url";
    EXPECT_EQ(installedCode, 420u);
    EXPECT_TRUE(WaitForFile(installed + ".started", kDeadline));
    EXPECT_EQ(ReadTextFile(url).substr(0, 2), "\xFF\xFE");
    wchar_t target[MAX_PATH] = {};
    GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", target, MAX_PATH, WidenAnsi(url).c_str());
    EXPECT_EQ(std::wstring(target), WidenAnsi(installed));
    EXPECT_EQ(UserText(kUninstall, "UninstallString"), "\"" + installed + "\" /remove");
    DeleteFileA((installed + ".started").c_str());
    ChildProcess removal(installed, "remove yy \"" + messages + "\"");
    EXPECT_EQ(removal.Wait(kDeadline), 0u);
    SetEnvironmentVariableA("APPDATA", usual.c_str());
    EXPECT_TRUE(WaitUntil([&] { return !Exists(installed); }, kDeadline));
    EXPECT_FALSE(Exists(url));
    EXPECT_EQ(UserText(kUninstall, "DisplayName"), "(none)");
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
    EXPECT_EQ(ReadTextFile(fresh), ReadTextFile(ExeFolder() + "install_driver.exe"));
    EXPECT_FALSE(Exists(fresh + ".part"));
    EXPECT_FALSE(Exists(fresh + ".sig.part"));
    EXPECT_NE(ReadTextFile(log).find("Updating to: 0.5\nDownloading "), std::string::npos) << ReadTextFile(log);
    EXPECT_NE(ReadTextFile(rig + "web\\requests.log").find("/Adquell/Adquell Lite 0.5.exe\n"), std::string::npos);
}

TEST_F(Install, OnlyASignedNewerVersionIsInstalled) {
    const std::string served = web + "\\Adquell\\Adquell Lite 0.5.exe";
    const std::string refused = "Adquell Lite 0.5 was not installed: ";
    struct Case {
        const char* name;
        void (*spoil)(const std::string& served);
        std::string error, message;
    };
    const Case cases[] = {
        {"bad signature",
         [](const std::string& exe) {
             std::string sig = ReadTextFile(exe + ".sig");
             sig[10] = static_cast<char>(sig[10] ^ 1);  // inside r: still a signature, not ours
             std::ofstream(exe + ".sig", std::ios::binary) << sig;
         },
         "Error:   the download does not match its signature (damaged, cut short or not ours); 0.5 not installed\n",
         refused + "the download does not match its signature (damaged, cut short or not ours)."},
        {"no signature", [](const std::string& exe) { DeleteFileA((exe + ".sig").c_str()); },
         "Error:   the server has no signature for it; 0.5 not installed\n",
         refused + "the server has no signature for it."},
        {"cut short",
         [](const std::string& exe) {
             const std::string bytes = ReadTextFile(exe);
             std::ofstream(exe, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
         },
         "Error:   the download does not match its signature (damaged, cut short or not ours); 0.5 not installed\n",
         refused + "the download does not match its signature (damaged, cut short or not ours)."},
        {"signature of another file",
         [](const std::string& exe) {
             CopyFileA((ExeFolder() + "tiny_http_server.exe.sig").c_str(), (exe + ".sig").c_str(), FALSE);
         },
         "Error:   the download does not match its signature (damaged, cut short or not ours); 0.5 not installed\n",
         refused + "the download does not match its signature (damaged, cut short or not ours)."},
    };
    for (const Case& c : cases) {
        SetUp();
        const std::string program = Installed();
        Serve("0.5");
        c.spoil(served);
        EXPECT_EQ(Run(program), 0u) << c.name;
        EXPECT_NE(ReadTextFile(log).find(c.error), std::string::npos) << c.name << ": " << ReadTextFile(log);
        EXPECT_EQ(ReadTextFile(messages), c.message + "\nAdquell Lite 0.4 keeps running.\n---\n") << c.name;
        // Nothing new but the answer to the check, which stays on disk.
        EXPECT_EQ(FilesIn(install), (std::set<std::string>{"Adquell Lite.exe", "Update.txt"})) << c.name;
        EXPECT_TRUE(FilesIn(startMenu).empty()) << c.name;
        server.reset();
    }
}

// The signature covers the bytes, not the version the server names: a signed
// older release, or a signed program that is none of ours, offered as 9.9.
TEST_F(Install, ASignedBuildOfferedAsAnotherVersionIsRefused) {
    const std::pair<std::string, std::string> cases[] = {
        {ExeFolder() + "..\\update-copies\\0.4\\bin\\Adquell Lite.exe", "it is version 0.4, not 9.9"},
        {ExeFolder() + "tiny_http_server.exe", "it states no version of its own"}};
    for (const auto& [exe, reason] : cases) {
        SetUp();
        const std::string program = Installed();
        Serve("9.9");
        const std::string served = web + "\\Adquell\\Adquell Lite 9.9.exe";
        ASSERT_TRUE(CopyFileA(exe.c_str(), served.c_str(), FALSE)) << exe;
        ASSERT_TRUE(CopyFileA((exe + ".sig").c_str(), (served + ".sig").c_str(), FALSE)) << exe;
        EXPECT_EQ(Run(program), 0u) << exe;
        EXPECT_NE(ReadTextFile(log).find("Error:   " + reason + "; 9.9 not installed\n"), std::string::npos)
            << ReadTextFile(log);
        EXPECT_EQ(ReadTextFile(messages),
                  "Adquell Lite 9.9 was not installed: " + reason + ".\nAdquell Lite 0.4 keeps running.\n---\n");
        // The tray keeps saying it, named and greyed; the message box was its
        // one notice.
        EXPECT_EQ(ReadTextFile(messages + ".tray"),
                  "Adquell 0.4: Adquell Lite 9.9 was not installed: " + reason + ".\ngreyed\nballoons 0\n");
        EXPECT_EQ(FilesIn(install), (std::set<std::string>{"Adquell Lite.exe", "Update.txt"})) << exe;
        EXPECT_TRUE(FilesIn(startMenu).empty()) << exe;
        server.reset();
    }
}

TEST_F(Install, AnOlderVersionOrAPlainHttpServerElsewhereIsNotEvenFetched) {
    const std::string program = Installed();
    Serve("0.3");  // signed like any release
    EXPECT_EQ(Run(program), 0u);
    EXPECT_EQ(ReadTextFile(log), "Update:     Checked, nothing newer (the server offers 0.3)\n");
    EXPECT_EQ(ReadTextFile(web + "\\requests.log"), "/Adquell/Update2.php?V=0.4\n");
    EXPECT_EQ(FilesIn(install), (std::set<std::string>{"Adquell Lite.exe", "Update.txt"}));

    // 0.0.0.0 reaches this machine's server, but is not written as this machine.
    server.reset();
    DeleteFileA((web + "\\requests.log").c_str());
    DeleteFileA((install + "Update.txt").c_str());
    Serve("0.5");
    std::string base(64, '\0');
    base.resize(GetEnvironmentVariableA("ADQUELL_UPDATE_BASE", &base[0], 64));
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", ("http://0.0.0.0" + base.substr(base.rfind(':'))).c_str());
    EXPECT_EQ(Run(program), 0u);
    EXPECT_EQ(ReadTextFile(log),
              "Error:   ADQUELL_UPDATE_BASE must be an https address, or http on this machine; no update checked\n");
    EXPECT_FALSE(Exists(web + "\\requests.log"));
    EXPECT_EQ(FilesIn(install), (std::set<std::string>{"Adquell Lite.exe"}));
    EXPECT_FALSE(Exists(messages));
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
    Serve("0.5");
    DeleteFileA((web + "\\Adquell\\Adquell Lite 0.5.exe").c_str());  // its signature is there
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
