#include <gtest/gtest.h>

#include "app/main_commands.h"
#include "base/health.h"
#include "blocking/detection_loop.h"
#include "blocking/mute_control.h"
#include "blocking/spotify_sequence.h"
#include "settings/hotkeys.h"
#include "settings/ini_file.h"
#include "sim_world.h"

namespace {

class NoChooser : public Mp3FolderDialogs {
public:
    std::string BrowseForMp3Folder() override { return std::string(); }
    void ShowNoMp3Message() override {}
};

struct MainCommands : SimWorld {
    NoChooser chooser;
    void SetUp() override {
        Connect("set volume 50\nadvert | Brand | Ad | 600000\ntrack | A | B | 600000\n");
        app.currentTitle = sim.player.title;
        app.muteAdverts = true;
        for (const wchar_t* f : {L"C:\\M\\one.mp3", L"C:\\M\\two.mp3"}) {
            app.mp3Files.push_back(f);
            graph.files[f] = Playable();
        }
        app.mp3Count = 2;
    }
};

TEST_F(MainCommands, ClearingMuteAdvertsWritesAtOnceAndMakesTheTitleNew) {
    SimClick(sim.player, 42, app.spotifyHeight - 21, 0);  // nothing plays
    controls.status = "Blocked: x";
    ReportTrouble(app, os, Trouble::KnobUnseen, "Adverts are not silenced.");
    OnMuteAdvertsBox(app, os, false);
    FinishSequence(app, os);
    EXPECT_FALSE(app.muteAdverts);
    EXPECT_EQ(app.previousTitle, "xyz");
    EXPECT_EQ(controls.status, "^__^");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", app.optionsPath), "False");
    EXPECT_FALSE(controls.trayGreyed);  // not silencing adverts, an unseen knob is no trouble
}

TEST_F(MainCommands, TheHotkeysBoxRegistersTheNineAndUnregistersAllButItsSwitch) {
    std::string file = " [Options]\r\n Mute=True\r\n[Hotkeys]\r\n";
    for (int f = 0; f < kHotkeyFunctionCount; ++f) file += std::to_string(f) + "=2|" + std::to_string(5 + f) + "\r\n";
    dir.Write("Options.ini", file);
    OnHotkeysBox(app, os, true);
    ASSERT_EQ(registrar.registered.size(), 10u);  // the nine and Alt+D
    for (int f = 0; f < kHotkeyFunctionCount; ++f)
        EXPECT_EQ(registrar.registered[f], std::make_pair(2, HotkeyKeys[5 + f].virtualKey)) << f;
    EXPECT_EQ(registrar.registered[kInstallHotkeyId], std::make_pair(1, 'D' + 0));
    EXPECT_EQ(CIniFile::GetValue("Hotkeys", "Options", app.optionsPath), "True");
    OnHotkeysBox(app, os, false);
    EXPECT_EQ(registrar.registered.size(), 2u);  // the switch to turn them on again, and Alt+D
    EXPECT_TRUE(registrar.registered.count(kHotkeysOnOff));
    EXPECT_TRUE(registrar.registered.count(kInstallHotkeyId));
    EXPECT_EQ(CIniFile::GetValue("Hotkeys", "Options", app.optionsPath), "False");
}

TEST_F(MainCommands, PlayMp3WithoutAFolderStaysOff) {
    Mp3FolderReading toRead;
    EXPECT_FALSE(OnPlayMp3Box(app, os, chooser, true, toRead));
    EXPECT_EQ(toRead.folder, "");
    EXPECT_FALSE(CIniFile::HasEntry("Play", "Options", app.optionsPath));
}

TEST_F(MainCommands, PlayMp3OnDuringASilencedAdvertStartsTheFiller) {
    app.mp3Folder = "C:\\M";
    app.advertBlocked = true;
    Mp3FolderReading toRead;
    EXPECT_TRUE(OnPlayMp3Box(app, os, chooser, true, toRead));
    EXPECT_TRUE(app.fillerPlaying);
    EXPECT_EQ(CIniFile::GetValue("Play", "Options", app.optionsPath), "True");
    EXPECT_FALSE(OnPlayMp3Box(app, os, chooser, false, toRead));
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(controls.status, "Blocked: Brand \xE2\x80\x93 Ad");
    app.currentTitle = "Spotify";
    OnPlayMp3Box(app, os, chooser, false, toRead);
    EXPECT_EQ(controls.status, "Blocked: ");
    EXPECT_EQ(toRead.folder, "");  // a folder there: nothing to read
}

class AnsweringChooser : public Mp3FolderDialogs {
public:
    std::vector<std::string> answers;  // in turn; cancelled once they run out
    int messages = 0;
    std::string BrowseForMp3Folder() override {
        if (answers.empty()) return std::string();
        const std::string a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    void ShowNoMp3Message() override { ++messages; }
};

// Ticked without a folder, the box waits for the chosen folder's reading,
// which comes back from another thread: a folder without MP3 asks again;
// cancelled then, the box goes off; a folder with MP3s turns Play on.
TEST_F(MainCommands, PlayMp3WithoutAFolderWaitsForTheChosenFoldersReading) {
    AnsweringChooser dialogs;
    dir.Write("empty/notes.txt", "x");
    dir.Write("music/a.mp3", "x");
    app.advertBlocked = true;
    auto read = [](Mp3FolderReading& r) { ListMp3Files(SystemFolderListing(), r.folder, r.files); };

    controls.playBox = true;  // ticked by the listener
    dialogs.answers = {dir / "empty"};
    Mp3FolderReading reading;
    EXPECT_TRUE(OnPlayMp3Box(app, os, dialogs, true, reading));
    EXPECT_EQ(reading.folder, dir / "empty");
    read(reading);
    EXPECT_EQ(OnMp3FolderRead(app, os, dialogs, reading).folder, "");  // the second chooser cancelled
    EXPECT_EQ(dialogs.messages, 1);
    EXPECT_FALSE(controls.playBox);
    EXPECT_FALSE(app.playMp3);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_FALSE(CIniFile::HasEntry("Play", "Options", app.optionsPath));
    EXPECT_EQ(app.mp3Folder, "");
    EXPECT_TRUE(app.mp3Files.empty());

    controls.playBox = true;
    dialogs.answers = {dir / "empty", dir / "music"};
    reading = Mp3FolderReading();
    EXPECT_TRUE(OnPlayMp3Box(app, os, dialogs, true, reading));
    read(reading);
    Mp3FolderReading next = OnMp3FolderRead(app, os, dialogs, reading);
    EXPECT_EQ(next.folder, dir / "music");
    EXPECT_FALSE(app.playMp3);  // still waiting, still ticked
    EXPECT_TRUE(controls.playBox);
    read(next);
    ASSERT_EQ(next.files.size(), 1u);
    graph.files[next.files[0]] = Playable();
    EXPECT_EQ(OnMp3FolderRead(app, os, dialogs, next).folder, "");
    EXPECT_TRUE(controls.playBox);
    EXPECT_TRUE(app.playMp3);
    EXPECT_EQ(CIniFile::GetValue("Play", "Options", app.optionsPath), "True");
    EXPECT_EQ(app.mp3Folder, dir / "music");
    EXPECT_TRUE(app.fillerPlaying);  // the advert under way is filled at once

    // Unticked while the chosen folder is read: the box stays off.
    PlayMp3(app, filler, controls, false);
    OnPlayMp3Box(app, os, dialogs, false, reading);
    app.mp3Folder.clear();
    dialogs.answers = {dir / "music"};
    reading = Mp3FolderReading();
    EXPECT_TRUE(OnPlayMp3Box(app, os, dialogs, true, reading));
    controls.playBox = false;  // the listener changes their mind
    read(reading);
    OnMp3FolderRead(app, os, dialogs, reading);
    EXPECT_FALSE(app.playMp3);
    EXPECT_FALSE(app.fillerPlaying);
}

TEST_F(MainCommands, PreviousThenNextDuringAnAdvertReturnsToTheFile) {
    controls.slider = 40;
    PlayMp3(app, filler, controls, true);
    app.currentMp3 = L"C:\\M\\one.mp3";
    app.previousMp3 = L"C:\\M\\two.mp3";
    OnPreviousButton(app, os);
    EXPECT_EQ(graph.current, L"C:\\M\\two.mp3");
    EXPECT_EQ(controls.status, "two.mp3");
    EXPECT_TRUE(app.replayingPrevious);
    OnNextButton(app, os);
    EXPECT_EQ(graph.current, L"C:\\M\\one.mp3");
    EXPECT_EQ(controls.status, "one.mp3");
    EXPECT_FALSE(app.replayingPrevious);
    EXPECT_TRUE(sim.clicks.empty());
    EXPECT_EQ(graph.volume, FillerVolumeFromSlider(40));  // each file at the slider's level
}

TEST_F(MainCommands, PreviousWithNothingToGoBackToLeavesTheFillerPlaying) {
    PlayMp3(app, filler, controls, true);
    const std::wstring playing = graph.current;
    OnPreviousButton(app, os);
    EXPECT_EQ(graph.current, playing);
    EXPECT_TRUE(graph.running);
    EXPECT_FALSE(app.replayingPrevious);
    // A previous file that no longer loads: said in the log, and the filler
    // counts as ended, so Spotify is not held back.
    app.previousMp3 = L"C:\\M\\gone.mp3";
    OnPreviousButton(app, os);
    EXPECT_NE(Log().find("Error:      gone.mp3\n"), std::string::npos);
    EXPECT_FALSE(filler.IsStillPlaying());
}

TEST_F(MainCommands, PlayTwiceDuringAFillerPausesThenResumes) {
    PlayMp3(app, filler, controls, true);
    OnPlayButton(app, os);
    EXPECT_FALSE(graph.running);
    EXPECT_EQ(controls.playCaption, "Play");
    OnPlayButton(app, os);
    EXPECT_TRUE(graph.running);
    EXPECT_EQ(controls.playCaption, "Pause");
}

TEST_F(MainCommands, PlayWithoutFillerGoesToSpotifyAndLogsTheOutcome) {
    OnPlayButton(app, os);
    EXPECT_EQ(Log(), "Spotify:    Pause\n");
    OnPlayButton(app, os);
    EXPECT_EQ(Log(), "Spotify:    Pause\nSpotify:    Play\n");
}

TEST_F(MainCommands, TheSliderClicksSpotifyOrSetsTheFillerVolume) {
    OnVolumeSlider(app, os, 100);  // a click on the thumb where it starts
    EXPECT_TRUE(sim.clicks.empty());
    OnVolumeSlider(app, os, 50);
    OnVolumeSlider(app, os, 50);
    OnVolumeSlider(app, os, 0);
    EXPECT_EQ(sim.Clicks(161, app.spotifyHeight - 20), 1);
    EXPECT_EQ(sim.Clicks(123, app.spotifyHeight - 20), 1);
    PlayMp3(app, filler, controls, true);
    OnVolumeSlider(app, os, 30);
    EXPECT_EQ(graph.volume, FillerVolumeFromSlider(30));
    EXPECT_EQ(sim.clicks.size(), 2u);
}

TEST_F(MainCommands, TheSliderAtTheListenersVolumeMovesNothing) {
    SetBlocked(app, os, true);  // the knob read at the mute: Spotify at 50 %
    FinishSequence(app, os);
    EXPECT_EQ(controls.slider, 50);
    const size_t clicks = sim.clicks.size();
    OnVolumeSlider(app, os, 50);
    EXPECT_EQ(sim.clicks.size(), clicks);
    EXPECT_EQ(sim.player.knobLeft, 124);  // the advert stays silent
}

TEST_F(MainCommands, LeavingWhileAnAdvertIsSilencedPutsTheVolumeBack) {
    SetBlocked(app, os, true);
    FinishSequence(app, os);
    ASSERT_EQ(sim.player.knobLeft, 124);
    LeaveSpotifyAsFound(app, os);
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(HasRestoreRecord());
}

TEST_F(MainCommands, ClearingMuteAdvertsDuringASilencedAdvertGivesTheVolumeBackAtOnce) {
    SetBlocked(app, os, true);
    FinishSequence(app, os);
    PlayMp3(app, filler, controls, true);
    OnMuteAdvertsBox(app, os, false);
    FinishSequence(app, os);
    EXPECT_FALSE(graph.running);  // no filler over the advert now heard
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_FALSE(HasRestoreRecord());
}

}  // namespace

// The tray says the first cause that holds; a balloon tells a cause when it
// starts to hold, not again while it holds; good again is quiet.
TEST_F(MainCommands, TheTrayNamesTheFirstTroubleAndABalloonTellsEachAsItStarts) {
    ReportTrouble(app, os, Trouble::HotkeyHeld, "Hotkey Alt+D is held. Choose another.");
    ReportTrouble(app, os, Trouble::HotkeyHeld, "Hotkey Alt+D is held. Choose another.");
    ReportTrouble(app, os, Trouble::KnobUnseen, "Knob unseen.");
    EXPECT_EQ(controls.trayTip, "Adquell 0.4: Knob unseen.");  // first in order, not in time
    EXPECT_TRUE(controls.trayGreyed);
    // The balloon says what to do too; the tip only what is wrong.
    EXPECT_EQ(controls.notices, (std::vector<std::string>{"Hotkey Alt+D is held. Choose another.", "Knob unseen."}));
    ReportTrouble(app, os, Trouble::HotkeyHeld, "Hotkeys Alt+D, Alt+F1 are held. Choose others.");  // still holds
    ClearTrouble(app, os, Trouble::KnobUnseen);
    EXPECT_EQ(controls.trayTip, "Adquell 0.4: Hotkeys Alt+D, Alt+F1 are held.");
    EXPECT_EQ(controls.notices.size(), 2u);
    ReportTrouble(app, os, Trouble::KnobUnseen, "Knob unseen.");  // it had ended: told again
    EXPECT_EQ(controls.notices.size(), 3u);
    ClearTrouble(app, os, Trouble::KnobUnseen);
    ClearTrouble(app, os, Trouble::HotkeyHeld);
    EXPECT_EQ(controls.trayTip, "Adquell 0.4");
    EXPECT_FALSE(controls.trayGreyed);
    EXPECT_EQ(controls.notices.size(), 3u);
    // Told already (the update's own message box): in the tray, no balloon.
    ReportTrouble(app, os, Trouble::UpdateRefused, "Adquell Lite 9.9 was not installed: no.\nIt keeps running.", true);
    EXPECT_EQ(controls.trayTip, "Adquell 0.4: Adquell Lite 9.9 was not installed: no.");
    EXPECT_EQ(controls.notices.size(), 3u);
    // The tip's field holds 127 bytes: cut there, between characters.
    ReportTrouble(app, os, Trouble::KnobUnseen, std::string(111, 'x') + "\xEC\x95\x84\xEC\x95\x84");
    EXPECT_EQ(controls.trayTip, "Adquell 0.4: " + std::string(111, 'x') + "\xEC\x95\x84");
    EXPECT_EQ(controls.trayTip.size(), kTrayTipMax);
}
