// The real program, Adquell Lite.exe, beside the simulated client, observed
// only from outside: the client's record, the program's windows and their
// texts, Options.ini and exit codes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "base/application_state.h"
#include "base/command_ids.h"
#include "prefix_snapshot.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 20000;

const char* kFirstRunFile =
    " [Options]\r\n Hotkeys=False\r\n Play=False\r\n Mute=True\r\n [Hotkeys]\r\n 8=1|2\r\n 7=1|4\r\n"
    " 6=1|37\r\n 5=1|33\r\n 4=1|32\r\n 3=1|1\r\n 2=2|0\r\n 1=1|3\r\n 0=1|41\r\n";

struct Found {
    const char* cls;
    const char* textPrefix;
    HWND window;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param) {
    auto* f = reinterpret_cast<Found*>(param);
    char cls[64] = {}, text[256] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(cls, f->cls) == 0 && std::string(text).rfind(f->textPrefix, 0) == 0) {
        f->window = child;
        return FALSE;
    }
    return TRUE;
}

HWND Child(HWND parent, const char* cls, const char* textPrefix = "") {
    Found f{cls, textPrefix, nullptr};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&f));
    return f.window;
}

bool Eventually(const std::function<bool()>& condition) {
    return WaitUntil(condition, kDeadline);
}

RECT RectOf(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return r;
}

struct Program : ::testing::Test {
    std::string work = ExeFolder() + "program-work";
    std::string tested = ExeFolder() + "tested\\Adquell Lite.exe";
    std::string title = ProgramTitleOf(tested);  // "Adquell Lite" and the tested exe's version
    std::unique_ptr<ChildProcess> program;
    HWND main = nullptr;

    void SetUp() override {
        RemoveTree(work);
        CreateDirectoryA(work.c_str(), nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramUserKey);  // nothing owed from an earlier test
        RegDeleteKeyA(HKEY_CURRENT_USER, kProgramUserKey);
    }
    void TearDown() override { program.reset(); }
    HWND Start() {
        program = std::make_unique<ChildProcess>(tested, "", work);
        if (!program->Started()) return nullptr;
        main = WaitForWindow("Adquell", title.c_str(), kDeadline);
        // Start-up is complete once the main window is shown.
        if (main && !Eventually([&] { return IsWindowVisible(main) != 0; })) return nullptr;
        return main;
    }
    std::string Options() { return ReadTextFile(work + "\\Options.ini"); }
    std::string Text(HWND w) { return WindowTitle(w); }
};

TEST_F(Program, AFirstStartWritesTheDefaultOptionsAndShowsItsWindows) {
    SimRig rig("program-first");
    ASSERT_NE(rig.Start("track | A | B | 600000\n"), nullptr);
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(Options(), kFirstRunFile);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(RectOf(main).right - RectOf(main).left, 360);
    EXPECT_EQ(RectOf(main).bottom - RectOf(main).top, 210);
    HWND about = FindWindowA("Adquell", "About");
    HWND hotkeys = FindWindowA("Adquell", "Set Hotkeys");
    ASSERT_NE(about, nullptr);
    ASSERT_NE(hotkeys, nullptr);
    EXPECT_FALSE(IsWindowVisible(about));
    EXPECT_FALSE(IsWindowVisible(hotkeys));
    EXPECT_NE(FindWindowA("Adquell", "SpotifyContainer"), nullptr);
    EXPECT_NE(FindWindowA("Adquell", "SpotifyPopups"), nullptr);
    HWND slider = Child(main, "msctls_trackbar32");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 100);
    EXPECT_NE(Child(about, "static", title.c_str()), nullptr);
    EXPECT_NE(Child(about, "static", "Adquelled: 0"), nullptr);
    EXPECT_NE(Child(about, "static", "adquell-lite.org"), nullptr);
    HWND mute = Child(main, "Button", "Mute Adverts");
    ASSERT_NE(mute, nullptr);
    EXPECT_EQ(SendMessageA(mute, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Program, AdvertsAreSilencedShownCountedAndTheVolumeComesBack) {
    SimRig rig("program-adverts");
    ASSERT_NE(rig.Start("set volume 64\n"
                        "track  | One   | First  | 2500\n"
                        "advert | Brand | Ad one | 2500\n"
                        "track  | Two   | Second | 2500\n"
                        "advert | Brand | Ad two | 2500\n"
                        "track  | Three | Third  | 2500\n"),
              nullptr);
    ASSERT_NE(Start(), nullptr);
    HWND status = Child(main, "static");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(Eventually([&] { return Text(status) == "Blocked: Brand \xE2\x80\x93 Ad one"; }));
    ASSERT_GE(rig.WaitForEvent(" end", 30000).ms, 0);
    HWND about = FindWindowA("Adquell", "About");
    EXPECT_NE(Child(about, "static", "Adquelled: 2"), nullptr);
    ASSERT_TRUE(rig.Close());
    const std::string summary = rig.Summary();
    EXPECT_NE(summary.find("adverts 2\n"), std::string::npos);
    EXPECT_NE(summary.find("track entry=2 volume=64 after_advert=1 user_volume=64 knob=173 user_knob=173 restored=1"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("track entry=4 volume=64 after_advert=1 user_volume=64 knob=173 user_knob=173 restored=1"),
              std::string::npos)
        << summary;
}

TEST_F(Program, TheFillerPlaysThroughTheAdvertAndSpotifyWaitsForIt) {
    const std::string music = work + "\\music";
    CreateDirectoryA(music.c_str(), nullptr);
    CopyFileA((ExeFolder() + "media\\tone-c.mp3").c_str(), (music + "\\filler.mp3").c_str(), FALSE);
    std::ofstream(work + "\\Options.ini", std::ios::binary)
        << " [Options]\r\n MP3=" << music << "\r\n Play=True\r\n Mute=True\r\n";
    SimRig rig("program-filler");
    ASSERT_NE(rig.Start("set volume 50\ntrack | One | First | 2000\nadvert | Brand | Short | 800\n"
                        "track | Two | Second | 600000\n"),
              nullptr);
    ASSERT_NE(Start(), nullptr);
    HWND status = Child(main, "static");
    EXPECT_TRUE(Eventually([&] { return Text(status) == "filler.mp3"; }));
    // The advert ends while the 2 s filler plays: Spotify is paused, at its volume again...
    const SimEventLine paused = rig.WaitForEvent("entry index=2", kDeadline);
    ASSERT_GE(paused.ms, 0);
    const SimEventLine pausedAfter = rig.WaitForEvent("play state=paused reason=click", kDeadline);
    ASSERT_GE(pausedAfter.ms, 0);
    EXPECT_GE(rig.WaitForEvent("knob x=162", kDeadline).ms, 0);
    // ...and resumes when the filler has ended.
    size_t from = 0;
    const auto events = rig.Events();
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i].text.find("play state=paused reason=click") != std::string::npos) from = i + 1;
    const SimEventLine resumed = rig.WaitForEvent("play state=playing reason=click", kDeadline, from);
    ASSERT_GE(resumed.ms, 0);
    EXPECT_GE(resumed.ms - pausedAfter.ms, 800);
    ASSERT_TRUE(rig.Close());
}

// Titles in Unicode, as the real client sets them: the label holds each
// whole (read back in Unicode, no code page between), emoji included.
TEST_F(Program, TitlesInEveryScriptShowWholeInTheLabel) {
    SimRig rig("program-scripts");
    ASSERT_NE(rig.Start("track | 아이유 | 좋은 날 | 4000\n"
                        "track | 米津玄師 | Lemon | 4000\n"
                        "track | Кино | Группа крови 🎸 | 4000\n"
                        "track | Last | Song | 600000\n"),
              nullptr);
    ASSERT_NE(Start(), nullptr);
    HWND status = Child(main, "static");
    for (const std::wstring shown : {L"아이유\n좋은 날", L"米津玄師\nLemon", L"Кино\nГруппа крови 🎸"})
        EXPECT_TRUE(Eventually([&] { return WideText(status) == shown; })) << Text(status);
}

// A music folder and a file named outside the legacy code page: found at
// start, kept whole when the program rewrites Options.ini, found again by
// the next start.
TEST_F(Program, AMusicFolderInAnyScriptIsKeptAndFoundAgain) {
    const std::string music = work + "\\Музыка";
    CreateDirectoryA(music.c_str(), nullptr);
    CopyFileA((ExeFolder() + "media\\tone-c.mp3").c_str(), (music + "\\日本.mp3").c_str(), FALSE);
    std::ofstream(work + "\\Options.ini", std::ios::binary)
        << " [Options]\r\n MP3=" << music << "\r\n Play=True\r\n Mute=True\r\n";
    const char* playlist = "track | One | First | 1500\nadvert | Brand | Short | 1500\ntrack | Two | Second | 600000\n";
    for (int start = 0; start < 2; ++start) {
        SimRig rig("program-music-folder");
        ASSERT_NE(rig.Start(playlist), nullptr);
        ASSERT_NE(Start(), nullptr);
        HWND status = Child(main, "static");
        EXPECT_TRUE(Eventually([&] { return WideText(status) == L"日本.mp3"; })) << Text(status);
        HWND mute = Child(main, "Button", "Mute Adverts");
        // Options.ini rewritten twice (the box waits while Spotify is driven).
        for (const char* mutes : {" Mute=False\r\n", " Mute=True\r\n"}) {
            SendMessageA(mute, BM_CLICK, 0, 0);
            EXPECT_TRUE(Eventually([&] { return Options().find(mutes) != std::string::npos; })) << Options();
        }
        EXPECT_NE(Options().find(" MP3=" + music + "\r\n"), std::string::npos) << Options();
        PostMessageA(main, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program->Wait(kDeadline), 1u);
        ASSERT_TRUE(rig.Close());
    }
}

TEST_F(Program, TheMuteAdvertsBoxIsSavedAtOnce) {
    SimRig rig("program-mute");
    ASSERT_NE(rig.Start("track | A | B | 600000\n"), nullptr);
    ASSERT_NE(Start(), nullptr);
    HWND mute = Child(main, "Button", "Mute Adverts");
    ASSERT_NE(mute, nullptr);
    SendMessageA(mute, BM_CLICK, 0, 0);
    EXPECT_NE(Options().find(" Mute=False\r\n"), std::string::npos);
    SendMessageA(mute, BM_CLICK, 0, 0);
    EXPECT_NE(Options().find(" Mute=True\r\n"), std::string::npos);
}

TEST_F(Program, TheTrayIconHidesAndShowsTheMainWindow) {
    SimRig rig("program-tray");
    ASSERT_NE(rig.Start("track | A | B | 600000\n"), nullptr);
    ASSERT_NE(Start(), nullptr);
    SendMessageA(main, WM_USER + 1, 1001, WM_LBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(main));
    SendMessageA(main, WM_USER + 1, 1001, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(main));
    SendMessageA(main, WM_CLOSE, 0, 0);  // closing only hides it
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IsWindow(main));
    SendMessageA(main, WM_USER + 1, 1001, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(main));
    // A notice clicked shows the window it speaks for, and the next click on
    // the icon hides it again.
    SendMessageA(main, WM_CLOSE, 0, 0);
    SendMessageA(main, WM_USER + 1, 1001, NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(IsWindowVisible(main));
    SendMessageA(main, WM_USER + 1, 1001, WM_LBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(main));
}

TEST_F(Program, ExitGivesAParkedSpotifyBackAndEndsWithOne) {
    SimRig rig("program-exit");
    HWND spotify = rig.Start("set position 140,90\ntrack | A | B | 600000\n");
    ASSERT_NE(spotify, nullptr);
    ASSERT_NE(Start(), nullptr);
    ShowWindow(spotify, SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return RectOf(spotify).left == GetSystemMetrics(SM_CXSCREEN); }));
    PostMessageA(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program->Wait(kDeadline), 1u);
    EXPECT_EQ(RectOf(spotify).left, 140);
    EXPECT_EQ(RectOf(spotify).top, 90);
    ASSERT_TRUE(rig.Close());
}

TEST_F(Program, ExitDuringASilencedAdvertPutsTheVolumeBack) {
    SimRig rig("program-exit-muted");
    ASSERT_NE(rig.Start("set volume 40\ntrack | A | B | 1500\nadvert | Brand | Long | 600000\n"), nullptr);
    ASSERT_NE(Start(), nullptr);
    ASSERT_GE(rig.WaitForEvent("knob x=124", kDeadline).ms, 0);
    ASSERT_GE(rig.WaitForEvent("reason=click", kDeadline).ms, 0);
    PostMessageA(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program->Wait(kDeadline), 1u);
    EXPECT_GE(rig.WaitForEvent("knob x=154", kDeadline).ms, 0);
    EXPECT_EQ(UserText(kProgramUserKey, "Restore"), "(none)");
    ASSERT_TRUE(rig.Close());
}

TEST_F(Program, ZelmorEndsSpotifyAndTheProgram) {
    SimRig rig("program-zelmor");
    HWND spotify = rig.Start("track | A | B | 600000\n");
    ASSERT_NE(spotify, nullptr);
    ASSERT_NE(Start(), nullptr);
    PostMessageA(main, WM_COMMAND, kZelmorCommand, 0);
    EXPECT_EQ(program->Wait(kDeadline), 420u);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(spotify); }));
}

// The tray icon's right-click menu, worked from the keyboard: Exit (the first
// item) leaves Spotify running as found, Zelmor (the second) ends it too.
TEST_F(Program, TheTrayMenusExitLeavesSpotifyAndZelmorEndsIt) {
    for (int item : {1, 2}) {
        SimRig rig(item == 1 ? "program-tray-exit" : "program-tray-zelmor");
        HWND spotify = rig.Start("track | A | B | 600000\n");
        ASSERT_NE(spotify, nullptr);
        ASSERT_NE(Start(), nullptr);
        PostMessageA(main, WM_USER + 1, 1001, WM_RBUTTONUP);
        ASSERT_NE(WaitForWindow("#32768", nullptr, kDeadline), nullptr) << item;  // the menu is up
        for (int i = 0; i < item; ++i) ChildProcess(ExeFolder() + "hotkey_helper.exe", "inject 0x28").Wait(kDeadline);
        ChildProcess(ExeFolder() + "hotkey_helper.exe", "inject 0x0D").Wait(kDeadline);
        EXPECT_EQ(program->Wait(kDeadline), 420u) << item;
        if (item == 1) {
            EXPECT_TRUE(IsWindow(spotify));
            ASSERT_TRUE(rig.Close());
        } else {
            EXPECT_TRUE(Eventually([&] { return !IsWindow(spotify); }));
        }
    }
}

TEST_F(Program, AltF1SwitchesHotkeysOnAndAltRightSkipsTheTrack) {
    SimRig rig("program-hotkeys");
    ASSERT_NE(rig.Start("track | A | B | 600000\ntrack | C | D | 600000\n"), nullptr);
    ASSERT_NE(Start(), nullptr);
    HWND box = Child(main, "Button", "Hotkeys");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ChildProcess(ExeFolder() + "hotkey_helper.exe", "inject 0x12 0x70").Wait(kDeadline);
    EXPECT_TRUE(Eventually([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    ChildProcess(ExeFolder() + "hotkey_helper.exe", "inject 0x12 0x27").Wait(kDeadline);
    EXPECT_GE(rig.WaitForEvent("target=next", kDeadline).ms, 0);
    ASSERT_TRUE(rig.Close());
}

// The user's view of a whole life: installed with Alt+D from a download, set
// to start with Windows and back, then removed from the list of installed
// apps while it runs and holds Spotify's advert silent in a parked window.
struct InstallAndRemove : Program {
    const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adquell Lite";
    const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    std::string install = Expanded("%appdata%\\Adquell\\");

    void SetUp() override {
        Program::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstall);
        RegDeleteKeyA(HKEY_CURRENT_USER, kUninstall);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRun, "Adquell Lite");
        RemoveTree(install.substr(0, install.size() - 1));
        RemoveTree(Expanded("%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell"));
        RemoveTree(Expanded("%appdata%\\Microsoft\\Windows\\Start Menu\\Programs\\Adquell"));
    }
    // Presses a button of the message box with that caption.
    static bool Answer(const char* caption, int button) {
        HWND box = WaitForWindow("#32770", caption, kDeadline);
        if (!box) return false;
        PostMessageA(box, WM_COMMAND, button, 0);
        return WaitUntil([&] { return !IsWindow(box); }, kDeadline);
    }
    bool StartsWithWindows() const { return UserText(kRun, "Adquell Lite") != "(none)"; }
};

TEST_F(InstallAndRemove, RemovalEndsTheRunningCopyLeavesSpotifyAsFoundAndTakesAwayTheInstall) {
    SimRig rig("program-removal");
    HWND spotify = rig.Start("set volume 40\nset position 140,90\ntrack | A | B | 8000\nadvert | Brand | Long | 600000\n");
    ASSERT_NE(spotify, nullptr);
    const std::string users = Expanded("%SystemDrive%\\users"), shared = Expanded("%ProgramData%");
    const std::set<std::string> usersBefore = FilesBelow(users), sharedBefore = FilesBelow(shared);
    const std::set<std::string> registryBefore = UserRegistry();

    const std::string downloads = work + "\\Downloads";
    CreateDirectoryA(downloads.c_str(), nullptr);
    CopyFileA(tested.c_str(), (downloads + "\\Adquell Lite.exe").c_str(), FALSE);
    program = std::make_unique<ChildProcess>(downloads + "\\Adquell Lite.exe", "", work);
    main = WaitForWindow("Adquell", title.c_str(), kDeadline);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Eventually([&] { return IsWindowVisible(main) != 0; }));
    PostMessageA(main, WM_HOTKEY, kInstallHotkeyId, 0);  // Alt+D
    ASSERT_TRUE(Answer("", IDOK));                      // "Installed Adquell Lite 0.4 in: ..."
    EXPECT_EQ(program->Wait(kDeadline), 420u);
    const std::string installed = install + "Adquell Lite.exe";
    EXPECT_EQ(UserText(kUninstall, "UninstallString"), "\"" + installed + "\" /remove");

    // The installed copy runs now; its Options menu sets it to start with Windows.
    HWND running = nullptr;
    ASSERT_TRUE(Eventually([&] { return (running = FindWindowA("Adquell", title.c_str())) && running != main; }));
    for (bool on : {true, false, true}) {
        PostMessageA(running, WM_COMMAND, kStartWithWindowsCommand, 0);
        EXPECT_TRUE(Eventually([&] { return StartsWithWindows() == on; })) << on;
    }
    EXPECT_EQ(UserText(kRun, "Adquell Lite"), "\"" + installed + "\" /startup");
    // The installed copy keeps the settings carried beside it; the Run value alone says it starts with Windows.
    const std::string carried = ReadTextFile(install + "Options.ini");
    EXPECT_NE(carried.find(" 0=1|41\r\n"), std::string::npos) << carried;
    EXPECT_EQ(carried.find("StartWithWindows"), std::string::npos) << carried;

    // It silences the advert (Spotify playing on at 0 %) and parks the minimised window.
    ASSERT_GE(rig.WaitForEvent("kind=advert", kDeadline).ms, 0);
    ASSERT_GE(rig.WaitForEvent("knob x=124", kDeadline).ms, 0);
    ASSERT_GE(rig.WaitForEvent("reason=click", kDeadline).ms, 0);
    ShowWindow(spotify, SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return RectOf(spotify).left == GetSystemMetrics(SM_CXSCREEN); }));

    // Removed as the list of installed apps does it.
    const std::vector<SimEventLine> silenced = rig.Events();
    const size_t beforeRemoval = silenced.size();
    for (const SimEventLine& e : silenced) EXPECT_EQ(e.text.find("knob x=154"), std::string::npos) << e.ms;  // still silent
    ChildProcess removal(installed, "/remove", work);
    ASSERT_TRUE(Answer("Adquell Lite", IDYES));  // "Remove Adquell Lite from this computer?"
    ASSERT_TRUE(Answer("Adquell Lite", IDYES));  // "Also delete your settings (...)?"
    ASSERT_TRUE(Answer("", IDOK));               // "Adquell Lite has been removed."
    EXPECT_EQ(removal.Wait(kDeadline), 0u);
    EXPECT_FALSE(IsWindow(running));
    EXPECT_GE(rig.WaitForEvent("knob x=154", kDeadline, beforeRemoval).ms, 0);  // 40 % again
    EXPECT_EQ(RectOf(spotify).left, 140);
    EXPECT_EQ(RectOf(spotify).top, 90);
    EXPECT_TRUE(WaitUntil([&] { return FilesBelow(users) == usersBefore; }, kDeadline))
        << Difference(usersBefore, FilesBelow(users));
    EXPECT_EQ(FilesBelow(shared), sharedBefore) << Difference(sharedBefore, FilesBelow(shared));
    EXPECT_EQ(UserRegistry(), registryBefore) << Difference(registryBefore, UserRegistry());
    ASSERT_TRUE(rig.Close());
}

// Alt+D on the installed copy (one that takes updates signed with the
// tests' key) against a server that sends the new version slowly: the window
// answers throughout, the label names the download, a second Alt+D
// starts no second check, and leaving mid-download leaves nothing of it.
TEST_F(InstallAndRemove, AnUpdateFromASlowServerKeepsTheWindowAnsweringAndLeavesNothingWhenLeft) {
    SimRig rig("program-slow-update");
    ASSERT_NE(rig.Start("track | A | B | 600000\n"), nullptr);
    CreateDirectoryA(install.c_str(), nullptr);
    const std::string installed = install + "Adquell Lite.exe";
    ASSERT_TRUE(CopyFileA((ExeFolder() + "..\\update-copies\\0.4\\bin\\Adquell Lite.exe").c_str(), installed.c_str(),
                          FALSE));
    const std::string web = work + "\\web";
    CreateDirectoryA(web.c_str(), nullptr);
    CreateDirectoryA((web + "\\Adquell").c_str(), nullptr);
    std::ofstream(web + "\\Adquell\\Update2.php@V=0.4", std::ios::binary) << "0.5";
    std::ofstream(web + "\\Adquell\\Adquell Lite 0.5.exe", std::ios::binary) << std::string(2 << 20, 'x');
    // A signature that reads as one (made for another file): the download goes ahead.
    CopyFileA((ExeFolder() + "tiny_http_server.exe.sig").c_str(), (web + "\\Adquell\\Adquell Lite 0.5.exe.sig").c_str(),
              FALSE);
    const std::string port = std::to_string(20000 + GetCurrentProcessId() % 20000);
    ChildProcess server("tiny_http_server.exe", port + " \"" + web + "\" 250");  // 2 MB in about 30 s
    ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA((web + "\\ready").c_str()) != INVALID_FILE_ATTRIBUTES; },
                          kDeadline));
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", ("http://127.0.0.1:" + port).c_str());
    program = std::make_unique<ChildProcess>(installed, "", install);
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", nullptr);
    main = WaitForWindow("Adquell", "Adquell Lite 0.4", kDeadline);
    ASSERT_NE(main, nullptr);
    HWND status = nullptr;  // the window's controls come a moment after it
    ASSERT_TRUE(Eventually([&] { return (status = Child(main, "static")) != nullptr && IsWindowVisible(main); }));

    PostMessageA(main, WM_HOTKEY, kInstallHotkeyId, 0);  // Alt+D
    EXPECT_TRUE(Eventually([&] { return Text(status) == "Downloading Adquell Lite 0.5..."; })) << Text(status);
    PostMessageA(main, WM_HOTKEY, kInstallHotkeyId, 0);  // ignored while the first one runs
    // The window answers throughout: a download on its thread would hold it
    // for the whole 30 s. (How fast it answers is measured by
    // scripts/responsiveness.sh, not here.)
    int answered = 0;
    DWORD slowest = 0;
    for (int i = 0; i < 40; ++i) {  // two seconds of the download
        const DWORD start = GetTickCount();
        DWORD_PTR result = 0;
        answered += SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
        slowest = std::max(slowest, GetTickCount() - start);
        Sleep(50);
    }
    EXPECT_EQ(answered, 40) << "slowest answer " << slowest << " ms";
    EXPECT_EQ(Text(status), "Downloading Adquell Lite 0.5...");

    PostMessageA(main, WM_COMMAND, kExitCommand, 0);  // File > Exit mid-download
    EXPECT_EQ(program->Wait(kDeadline), 1u);
    const std::string requests = ReadTextFile(web + "\\requests.log");
    EXPECT_EQ(requests, "/Adquell/Update2.php?V=0.4\n/Adquell/Adquell Lite 0.5.exe.sig\n/Adquell/Adquell Lite 0.5.exe\n");
    WIN32_FIND_DATAA found;
    HANDLE left = FindFirstFileA((install + "Adquell Lite 0.5*").c_str(), &found);
    EXPECT_EQ(left, INVALID_HANDLE_VALUE) << found.cFileName;
    if (left != INVALID_HANDLE_VALUE) FindClose(left);
    ASSERT_TRUE(rig.Close());
}

}  // namespace
