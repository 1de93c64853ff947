#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "settings/ini_file.h"
#include "music/mp3_index.h"
#include "settings/options.h"
#include "sim_world.h"

namespace {

const char* kFirstRunFile =
    " [Options]\r\n Hotkeys=False\r\n Play=False\r\n Mute=True\r\n [Hotkeys]\r\n 8=1|2\r\n 7=1|4\r\n"
    " 6=1|37\r\n 5=1|33\r\n 4=1|32\r\n 3=1|1\r\n 2=2|0\r\n 1=1|3\r\n 0=1|41\r\n";

class NoDialogs : public Mp3FolderDialogs {
public:
    int messages = 0;
    std::string BrowseForMp3Folder() override { return std::string(); }
    void ShowNoMp3Message() override { ++messages; }
};

struct Construction : SimWorld {
    TempFolder cwd;
    void SetUp() override {
        sim.workingDirectory = cwd.Path();
        sim.environment["appdata"] = "C:\\AppData";
    }
};

TEST_F(Construction, FirstRunWritesTheDefaultFileAndStartsSpotify) {
    ApplicationState state(os);
    EXPECT_EQ(state.optionsPath, cwd / "Options.ini");
    EXPECT_EQ(cwd.Read("Options.ini"), kFirstRunFile);
    EXPECT_TRUE(state.muteAdverts);
    EXPECT_FALSE(state.playMp3);
    EXPECT_FALSE(state.hotkeysEnabled);
    EXPECT_EQ(state.screenWidth, 1280);
    EXPECT_EQ(state.screenHeight, 1024);
    const HotkeyBinding& next = state.hotkeys[1];
    EXPECT_EQ(next.id, 1);
    EXPECT_EQ(next.modifiers, 1);
    EXPECT_EQ(next.keyIndex, 3);
    EXPECT_TRUE(next.alt);
    EXPECT_FALSE(next.ctrl);
    EXPECT_TRUE(state.hotkeys[2].ctrl);
    EXPECT_EQ(state.hotkeys[8].keyIndex, 2);
    EXPECT_EQ(sim.launched, std::vector<std::string>{"C:\\AppData\\Spotify\\spotify.exe"});
    EXPECT_EQ(Log(), "Spotify:    Started\n");
}

// Started from the Start menu or with Windows, the working directory is
// anything: the installed copy keeps its settings beside itself.
TEST_F(Construction, TheInstalledCopyUsesTheOptionsBesideItWhateverTheWorkingDirectory) {
    TempFolder appData;
    sim.environment["appdata"] = appData.Path() + "/";
    const std::string installed = appData.Path() + "/\\Adquell\\";
    appData.Write("\\Adquell\\Options.ini", " [Options]\r\n Hotkeys=True\r\n");
    installer.running = appData.Path() + "/\\ADQUELL\\Adquell Lite 0.5.exe";  // Windows ignores case
    ApplicationState state(os);
    EXPECT_EQ(state.optionsPath, installed + "Options.ini");
    EXPECT_TRUE(state.hotkeysEnabled);
    EXPECT_FALSE(cwd.Exists("Options.ini"));
}

TEST_F(Construction, AnOptionsFileThatCannotBeReadOrWrittenIsLoggedOncePerFailure) {
    std::filesystem::create_directory(cwd / "Options.ini");  // there, but no file to read
    ApplicationState state(os);
    SaveMuteAdverts(state, false);
    EXPECT_EQ(LogCount("Error:      Could not read " + (cwd / "Options.ini")), 1);
    EXPECT_EQ(LogCount("Error:      Could not save " + (cwd / "Options.ini") + ": it cannot be read"), 1);

    // A first run where nothing can be written: one line, and the defaults hold.
    TheDebugLog().logBacklog.clear();
    sim.workingDirectory = cwd / "gone";
    ApplicationState first(os);
    EXPECT_EQ(Log(), "Error:      Could not save " + (cwd / "gone/Options.ini") + "\nSpotify:    Started\n");
    EXPECT_TRUE(first.muteAdverts);
    EXPECT_EQ(first.hotkeys[1].keyIndex, 3);
}

TEST_F(Construction, AnEmptyExistingFileIsNoFirstRun) {
    cwd.Write("Options.ini", "");
    ApplicationState state(os);
    EXPECT_FALSE(state.muteAdverts);
    EXPECT_FALSE(state.playMp3);
    EXPECT_FALSE(state.hotkeysEnabled);
    EXPECT_EQ(state.hotkeys[1].modifiers, 0);
    EXPECT_EQ(cwd.Read("Options.ini"), "");
}

TEST_F(Construction, OnlyTheExactTextTrueIsTrue) {
    cwd.Write("Options.ini", "[Options]\nMute=true\nPlay=True\nHotkeys=1\n");
    ApplicationState state(os);
    EXPECT_FALSE(state.muteAdverts);
    EXPECT_TRUE(state.playMp3);
    EXPECT_FALSE(state.hotkeysEnabled);
}

TEST_F(Construction, TheSavedMp3FolderIsIndexedAndLogged) {
    cwd.Write("music/a.mp3", "x");
    cwd.Write("music/b.mp3", "x");
    cwd.Write("music/sub/c.mp3", "x");
    cwd.Write("Options.ini", "[Options]\nMP3=" + (cwd / "music") + "\n");
    ApplicationState state(os);
    EXPECT_EQ(state.mp3Folder, cwd / "music");
    EXPECT_EQ(state.mp3Count, 0);  // read once the window is up, off its thread
    Mp3FolderReading reading = StartUpMp3Reading(state);
    ListMp3Files(SystemFolderListing(), reading.folder, reading.files);
    NoDialogs dialogs;
    EXPECT_EQ(TakeMp3FolderReading(state, dialogs, reading).folder, "");
    EXPECT_EQ(state.mp3Count, 3);
    EXPECT_EQ(state.mp3Files.size(), 3u);
    EXPECT_EQ(Log(), "Spotify:    Started\nMP3:        Indexing\nMP3:        Found 3\n");
}

TEST_F(Construction, ASavedFolderWithoutMp3sFindsZero) {
    cwd.Write("empty/readme.txt", "x");
    cwd.Write("Options.ini", "[Options]\nMP3=" + (cwd / "empty") + "\n");
    ApplicationState state(os);
    Mp3FolderReading reading = StartUpMp3Reading(state);
    ListMp3Files(SystemFolderListing(), reading.folder, reading.files);
    NoDialogs dialogs;
    EXPECT_EQ(TakeMp3FolderReading(state, dialogs, reading).folder, "");
    EXPECT_EQ(state.mp3Folder, cwd / "empty");  // kept, and no message
    EXPECT_EQ(dialogs.messages, 0);
    EXPECT_EQ(Log(), "Spotify:    Started\nMP3:        Indexing\nMP3:        Found 0\n");
}

// Reading the options finds Spotify and measures it; a volume owed from an
// earlier run is the shell's start-up's to give back, not the options'.
TEST_F(Construction, ARunningClientIsMeasuredAndARestoreRecordLeftAlone) {
    sim.StartClient("set volume 20\ntrack | Artist | Song | 600000\n", 40, 30);
    cwd.Write("Options.ini", " [Options]\r\n Restore=162\r\n Mute=True\r\n");
    ApplicationState state(os);
    EXPECT_EQ(state.spotifyWindow.load(), sim.spotify);
    EXPECT_EQ(state.spotifyLeft, 40);
    EXPECT_TRUE(state.loggedIn);
    EXPECT_TRUE(sim.clicks.empty());
    EXPECT_FALSE(state.volumeRestorePending);
    EXPECT_EQ(cwd.Read("Options.ini"), " [Options]\r\n Restore=162\r\n Mute=True\r\n");
}

struct Writers : SimWorld {};

TEST_F(Writers, MuteBoxWritesAtOnce) {
    SaveMuteAdverts(app, false);
    EXPECT_FALSE(app.muteAdverts);
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", app.optionsPath), "False");
    SaveMuteAdverts(app, true);
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", app.optionsPath), "True");
}

TEST_F(Writers, PlayBoxWritesAtOnce) {
    SavePlayMp3(app, true);
    EXPECT_TRUE(app.playMp3);
    EXPECT_EQ(CIniFile::GetValue("Play", "Options", app.optionsPath), "True");
    SavePlayMp3(app, false);
    EXPECT_FALSE(app.playMp3);
    EXPECT_EQ(CIniFile::GetValue("Play", "Options", app.optionsPath), "False");
}

TEST_F(Writers, HotkeysBoxWritesOnlyTheFile) {
    app.hotkeysEnabled = false;
    SaveHotkeysOption(app, true);
    EXPECT_EQ(CIniFile::GetValue("Hotkeys", "Options", app.optionsPath), "True");
    EXPECT_FALSE(app.hotkeysEnabled);
}

}  // namespace
