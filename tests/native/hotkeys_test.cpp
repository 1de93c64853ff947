#include <gtest/gtest.h>

#include "settings/hotkey_dialog.h"
#include "app/hotkey_commands.h"
#include "settings/hotkeys.h"
#include "settings/ini_file.h"
#include "settings/options.h"
#include "sim_world.h"

namespace {

struct Parsed {
    bool ok;
    int modifiers;
    int keyIndex;
};

Parsed Parse(const std::string& text) {
    Parsed p{false, -7, -7};
    p.ok = ParseHotkeyValue(text, p.modifiers, p.keyIndex);
    return p;
}

TEST(HotkeyValue, ParsesAsTheStoredFormSays) {
    const Parsed shift = Parse(" 4|x");
    EXPECT_TRUE(shift.ok);
    EXPECT_EQ(shift.modifiers, 4);
    EXPECT_EQ(shift.keyIndex, 0);
    const Parsed f12 = Parse("1|52");
    EXPECT_TRUE(f12.ok);
    EXPECT_EQ(HotkeyKeys[f12.keyIndex].virtualKey, 0x7B);
    const Parsed a = Parse("0|15");
    EXPECT_TRUE(a.ok);
    EXPECT_EQ(a.modifiers, 0);
    EXPECT_EQ(HotkeyKeys[a.keyIndex].virtualKey, 'A');
    const Parsed space = Parse("2|0");
    EXPECT_EQ(space.modifiers, 2);
    EXPECT_EQ(HotkeyKeys[space.keyIndex].virtualKey, 0x20);
    const Parsed bars = Parse("|||3|4");
    EXPECT_TRUE(bars.ok);
    EXPECT_EQ(bars.modifiers, 3);
    EXPECT_EQ(bars.keyIndex, 4);
}

TEST(HotkeyValue, ValuesNamingNoKeyAreSkipped) {
    for (const char* text : {"", "7", "7|", "|7", "1|53", "1|-1", "1|99999999999999999999"})
        EXPECT_FALSE(Parse(text).ok) << '"' << text << '"';
}

TEST(HotkeyValue, FormatAndTables) {
    EXPECT_EQ(FormatHotkeyValue(6, 52), "6|52");
    EXPECT_EQ(FormatHotkeyValue(0, 7), "0|7");
    EXPECT_STREQ(HotkeyKeys[3].name, "Right");
    EXPECT_STREQ(HotkeyKeys[40].name, "Z");
    EXPECT_STREQ(HotkeyKeys[52].name, "F12");
    EXPECT_STREQ(HotkeyFunctionNames[0], "Hotkeys On\\Off");
    EXPECT_STREQ(HotkeyFunctionNames[8], "Volume Up");
}

const char* kFirstRunFile =
    " [Options]\r\n Hotkeys=False\r\n Play=False\r\n Mute=True\r\n [Hotkeys]\r\n 8=1|2\r\n 7=1|4\r\n"
    " 6=1|37\r\n 5=1|33\r\n 4=1|32\r\n 3=1|1\r\n 2=2|0\r\n 1=1|3\r\n 0=1|41\r\n";

struct Hotkeys : SimWorld {
    void SetUp() override { dir.Write("Options.ini", kFirstRunFile); }
};

TEST_F(Hotkeys, StartUpWithHotkeysOffRegistersOnlyTheToggle) {
    app.hotkeysEnabled = false;
    RegisterStartUpHotkeys(app, os);
    ASSERT_EQ(registrar.registered.size(), 1u);
    EXPECT_EQ(registrar.registered[0], std::make_pair(1, 0x70));
    EXPECT_FALSE(controls.hotkeysBox);
    EXPECT_EQ(app.hotkeys[1].keyIndex, 0);  // not filled from the file
}

TEST_F(Hotkeys, StartUpWithHotkeysOnRegistersAltDAndEveryStoredBinding) {
    app.hotkeysEnabled = true;
    RegisterStartUpHotkeys(app, os);
    EXPECT_EQ(registrar.registered.size(), 10u);
    EXPECT_EQ(registrar.calls.front(), "register 9 1 68");
    EXPECT_EQ(registrar.registered[1], std::make_pair(1, 0x27));
    EXPECT_EQ(registrar.registered[2], std::make_pair(2, 0x20));
    EXPECT_TRUE(controls.hotkeysBox);
    EXPECT_TRUE(app.hotkeys[1].alt);
    EXPECT_EQ(app.hotkeys[1].keyIndex, 3);
}

TEST_F(Hotkeys, AnEmptyOrBrokenValueLeavesOnlyThatFunctionOut) {
    dir.Write("Options.ini", "[Hotkeys]\n0=1|41\n1=1|3\n3=\n4=7\n5=1|53\n");
    app.hotkeysEnabled = true;
    RegisterStartUpHotkeys(app, os);
    EXPECT_TRUE(registrar.registered.count(0));
    EXPECT_TRUE(registrar.registered.count(1));
    EXPECT_FALSE(registrar.registered.count(3));
    EXPECT_FALSE(registrar.registered.count(4));
    EXPECT_FALSE(registrar.registered.count(5));
    EXPECT_TRUE(registrar.registered.count(9));
}

TEST_F(Hotkeys, NoHotkeysSectionRegistersOnlyAltD) {
    dir.Write("Options.ini", "[Options]\nMute=True\n");
    RegisterAllHotkeys(app, os);
    ASSERT_EQ(registrar.registered.size(), 1u);
    EXPECT_TRUE(registrar.registered.count(9));
}

TEST_F(Hotkeys, TheToggleTwiceLeavesItselfAndAltD) {
    app.hotkeysEnabled = false;
    RegisterStartUpHotkeys(app, os);
    DispatchHotkey(app, os, 0);
    EXPECT_TRUE(app.hotkeysEnabled);
    EXPECT_TRUE(controls.hotkeysBox);
    EXPECT_EQ(registrar.registered.size(), 10u);
    DispatchHotkey(app, os, 0);
    EXPECT_FALSE(app.hotkeysEnabled);
    EXPECT_FALSE(controls.hotkeysBox);
    ASSERT_EQ(registrar.registered.size(), 2u);
    EXPECT_TRUE(registrar.registered.count(0));
    EXPECT_TRUE(registrar.registered.count(9));
    EXPECT_EQ(dir.Read("Options.ini"), kFirstRunFile);  // nothing written
    // Switched on again, the toggle and Alt+D it holds are no keys held
    // elsewhere, and a hand-over lets go of every one.
    DispatchHotkey(app, os, 0);
    sim.Sleep(6000);
    RetryHotkeys(app, os);
    EXPECT_EQ(Log(), "");
    LetGoOfHotkeys(app, os);
    EXPECT_TRUE(registrar.registered.empty());
}

TEST_F(Hotkeys, AHotkeyHeldAtStartIsTakenOnceTheOtherProgramLetsGo) {
    registrar.heldElsewhere = {{1, 0x70}};  // Alt+F1
    app.hotkeysEnabled = false;
    RegisterStartUpHotkeys(app, os);
    EXPECT_FALSE(registrar.registered.count(kHotkeysOnOff));
    for (int ms = 500; ms <= 4000; ms += 500) {
        sim.Sleep(500);
        RetryHotkeys(app, os);
    }
    EXPECT_FALSE(registrar.registered.count(kHotkeysOnOff));
    registrar.heldElsewhere.clear();  // four and a half seconds after the start
    sim.Sleep(500);
    RetryHotkeys(app, os);
    EXPECT_EQ(registrar.registered[kHotkeysOnOff], std::make_pair(1, 0x70));
    EXPECT_EQ(Log(), "");
    DispatchHotkey(app, os, kHotkeysOnOff);  // and it works as the switch
    EXPECT_TRUE(app.hotkeysEnabled);
}

TEST_F(Hotkeys, AHotkeyThatNeverFreesIsNamedInTheLogOnceAndTheRestWork) {
    registrar.heldElsewhere = {{2, 0x20}};  // Ctrl+Spacebar, Play
    app.hotkeysEnabled = true;
    RegisterStartUpHotkeys(app, os);
    const auto tries = [&] {
        int n = 0;
        for (const std::string& call : registrar.calls) n += call == "register 2 2 32";
        return n;
    };
    // The program's half-second timer for twenty seconds.
    int quickTries = 0;
    for (int i = 0; i < 40; ++i) {
        sim.Sleep(500);
        RetryHotkeys(app, os);
        if (i == 11) quickTries = tries();
    }
    EXPECT_EQ(Log(), "Error:      Hotkey Ctrl+Spacebar (Play) is held by another program\n");
    EXPECT_EQ(registrar.registered.size(), 9u);
    EXPECT_FALSE(registrar.registered.count(kHotkeyPlay));
    EXPECT_LE(quickTries, 12);
    // Asked for again, but at the slow pace: 14 s, every 1.5 s.
    EXPECT_GE(tries() - quickTries, 8);
    EXPECT_LE(tries() - quickTries, 10);
    // The tray says which, once, and is good again once it is taken.
    EXPECT_EQ(controls.trayTip, "Adquell 0.4: Hotkey Ctrl+Spacebar (Play) is held by another program.");
    ASSERT_EQ(controls.notices.size(), 1u);
    EXPECT_NE(controls.notices[0].find("choose another in Options > Set Hotkeys"), std::string::npos);
    registrar.heldElsewhere.clear();
    sim.Sleep(1500);
    RetryHotkeys(app, os);
    EXPECT_EQ(registrar.registered[kHotkeyPlay], std::make_pair(2, 0x20));
    EXPECT_FALSE(controls.trayGreyed);
    EXPECT_EQ(controls.notices.size(), 1u);
}

TEST_F(Hotkeys, AHotkeySwitchedOffWhileHeldElsewhereIsNotTakenLater) {
    registrar.heldElsewhere = {{1, 0x27}};  // Alt+Right, Next
    app.hotkeysEnabled = true;
    RegisterStartUpHotkeys(app, os);
    DispatchHotkey(app, os, kHotkeysOnOff);  // off
    registrar.heldElsewhere.clear();
    sim.Sleep(500);
    RetryHotkeys(app, os);
    EXPECT_FALSE(registrar.registered.count(kHotkeyNext));
    sim.Sleep(6000);
    RetryHotkeys(app, os);
    EXPECT_EQ(Log(), "");
}

// Two held past the quick tries are named together; switching the hotkeys
// off ends the trouble of those no longer wanted; while handed over to a new
// copy none is asked for again.
TEST_F(Hotkeys, HotkeysHeldElsewhereAreNamedTogetherUntilSwitchedOffOrHandedOver) {
    registrar.heldElsewhere = {{1, 0x27}, {2, 0x20}};  // Alt+Right (Next), Ctrl+Spacebar (Play)
    app.hotkeysEnabled = true;
    RegisterStartUpHotkeys(app, os);
    sim.Sleep(6000);
    RetryHotkeys(app, os);
    EXPECT_EQ(controls.trayTip,
              "Adquell 0.4: Hotkeys Alt+Right (Next), Ctrl+Spacebar (Play) are held by another program.");
    DispatchHotkey(app, os, kHotkeysOnOff);  // off: neither is wanted now
    EXPECT_FALSE(controls.trayGreyed);
    DispatchHotkey(app, os, kHotkeysOnOff);  // on: asked for again, named again after the quick tries
    sim.Sleep(6000);
    RetryHotkeys(app, os);
    EXPECT_TRUE(controls.trayGreyed);
    LetGoOfHotkeys(app, os);  // a new copy starts
    registrar.heldElsewhere.clear();
    sim.Sleep(3000);
    RetryHotkeys(app, os);
    EXPECT_TRUE(registrar.registered.empty());
}

TEST(HotkeyNames, ModifiersKeyAndFunctionAsTheLogShowsThem) {
    EXPECT_EQ(HotkeyText({0, 1, 0x70, false}), "Alt+F1 (Hotkeys On\\Off)");
    EXPECT_EQ(HotkeyText({8, 6, 0x7B, false}), "Ctrl+Shift+F12 (Volume Up)");
    EXPECT_EQ(HotkeyText({kInstallHotkeyId, 1, 'D', false}), "Alt+D (Install or update)");
}

struct Dispatch : SimWorld {
    void SetUp() override {
        Connect("set volume 50\nadvert | Brand | Ad | 600000\ntrack | A | B | 600000\n");
        app.currentTitle = sim.player.title;
        app.mp3Files = {L"C:\\M\\one.mp3"};
        app.mp3Count = 1;
        graph.files[L"C:\\M\\one.mp3"] = Playable();
        graph.files[L"C:\\M\\two.mp3"] = Playable();
    }
    void FillerOn() {
        PlayMp3(app, filler, controls, true);
        ASSERT_TRUE(app.fillerPlaying);
    }
};

TEST_F(Dispatch, WithoutFillerTheHotkeysDriveSpotify) {
    DispatchHotkey(app, os, 4);
    DispatchHotkey(app, os, 5);
    DispatchHotkey(app, os, 2);
    EXPECT_TRUE(sim.player.repeat);
    EXPECT_TRUE(sim.player.shuffle);
    EXPECT_FALSE(sim.player.playing);
    DispatchHotkey(app, os, 8);
    EXPECT_EQ(sim.player.knobLeft, 170);
    EXPECT_EQ(controls.slider, 60);
}

TEST_F(Dispatch, NextDuringAnAdvertPicksANewFillerFile) {
    FillerOn();
    app.currentMp3 = L"C:\\M\\one.mp3";
    const int loads = graph.loads[L"C:\\M\\one.mp3"];
    DispatchHotkey(app, os, 1);
    EXPECT_EQ(app.previousMp3, L"C:\\M\\one.mp3");
    EXPECT_EQ(graph.loads[L"C:\\M\\one.mp3"], loads + 1);
    EXPECT_TRUE(sim.clicks.empty());  // Spotify untouched
}

TEST_F(Dispatch, NextWithTheFillerAfterTheAdvertResumesSpotifysPlayButton) {
    FillerOn();
    SimClick(sim.player, 84, 0, 0);  // nothing: wrong row
    sim.player.entry = 1;            // the advert is over
    DispatchHotkey(app, os, 1);
    EXPECT_EQ(sim.Clicks(42, app.spotifyHeight - 21), 1);
}

TEST_F(Dispatch, PreviousWithTheFillerReplaysThePreviousFile) {
    FillerOn();
    app.previousMp3 = L"C:\\M\\two.mp3";
    controls.slider = 40;
    DispatchHotkey(app, os, 3);
    EXPECT_EQ(graph.current, L"C:\\M\\two.mp3");
    EXPECT_TRUE(graph.running);
    EXPECT_EQ(graph.volume, FillerVolumeFromSlider(40));
}

TEST_F(Dispatch, FillerVolumeStepsClampAtTheEnds) {
    FillerOn();
    controls.slider = 98;
    DispatchHotkey(app, os, 8);
    EXPECT_EQ(controls.slider, 100);
    EXPECT_EQ(graph.volume, 0);
    controls.slider = 3;
    DispatchHotkey(app, os, 7);
    EXPECT_EQ(controls.slider, 0);
    EXPECT_EQ(graph.volume, -10000);
    EXPECT_TRUE(sim.clicks.empty());
}

TEST_F(Dispatch, AltDRunsTheInstaller) {
    sim.environment["appdata"] = "C:\\AppData";
    installer.folders = {"C:", "C:\\AppData"};
    installer.files[installer.running] = "x";
    DispatchHotkey(app, os, 9);
    EXPECT_EQ(installer.exits, std::vector<int>{420});
    DispatchHotkey(app, os, 10);  // nothing
    EXPECT_EQ(installer.exits.size(), 1u);
}

// The window's lists and boxes, as data.
class FakeDialog : public HotkeyDialogControls {
public:
    int function = -1;
    int key = -1;
    bool boxes[4] = {false, false, false, false};
    int FunctionSelection() override { return function; }
    int KeySelection() override { return key; }
    void SelectKey(int position) override { key = position; }
    bool Checked(int box) override { return boxes[box]; }
    void SetChecked(int box, bool checked) override { boxes[box] = checked; }
};

struct Dialog : SimWorld {
    FakeDialog dialog;
};

TEST_F(Dialog, ChoosingAFunctionShowsItsBinding) {
    for (int f = 0; f < kHotkeyFunctionCount; ++f)
        app.hotkeys[f] = MakeBinding(f, kFirstRunHotkeys[f].modifiers, kFirstRunHotkeys[f].keyIndex);
    dialog.boxes[3] = true;
    dialog.function = 1;
    OnHotkeyFunctionChosen(app, dialog);
    EXPECT_STREQ(HotkeyKeys[dialog.key].name, "Right");
    EXPECT_TRUE(dialog.boxes[0]);
    EXPECT_FALSE(dialog.boxes[1] || dialog.boxes[2] || dialog.boxes[3]);
    dialog.function = 2;
    OnHotkeyFunctionChosen(app, dialog);
    EXPECT_STREQ(HotkeyKeys[dialog.key].name, "Spacebar");
    EXPECT_TRUE(dialog.boxes[1]);
    EXPECT_FALSE(dialog.boxes[0]);
}

TEST_F(Dialog, NeverRegisteredShowsSpacebarAndNoModifiers) {
    dialog.function = 1;
    dialog.boxes[0] = true;
    OnHotkeyFunctionChosen(app, dialog);
    EXPECT_EQ(dialog.key, 0);
    EXPECT_FALSE(dialog.boxes[0]);
}

TEST_F(Dialog, SetRegistersAtOnceAndStoresDirectlyAfterTheHeader) {
    dir.Write("Options.ini", " [Options]\r\n Mute=True\r\n [Hotkeys]\r\n 1=1|3\r\n");
    dialog.function = 8;
    dialog.key = 52;
    dialog.boxes[1] = dialog.boxes[2] = true;
    RegisterBinding(app, os, 8, 1, 2);  // Alt+Up before
    registrar.calls.clear();
    OnSetHotkey(app, os, dialog);
    EXPECT_EQ(registrar.registered[8], std::make_pair(6, 0x7B));
    // The old combination goes before the new one comes.
    EXPECT_EQ(registrar.calls, (std::vector<std::string>{"unregister 8", "register 8 6 123"}));
    EXPECT_TRUE(app.hotkeys[8].ctrl && app.hotkeys[8].shift);
    EXPECT_EQ(dir.Read("Options.ini"), " [Options]\r\n Mute=True\r\n [Hotkeys]\r\n 8=6|52\r\n 1=1|3\r\n");
    // Set again as it is: still held (Windows would refuse it asked for twice).
    OnSetHotkey(app, os, dialog);
    EXPECT_EQ(registrar.registered[8], std::make_pair(6, 0x7B));
    sim.Sleep(6000);
    RetryHotkeys(app, os);
    EXPECT_EQ(Log(), "");
}

TEST_F(Dialog, SetWithNoModifierStoresTheBareKey) {
    dialog.function = 4;
    dialog.key = 17;
    OnSetHotkey(app, os, dialog);
    EXPECT_EQ(CIniFile::GetValue("4", "Hotkeys", app.optionsPath), "0|17");
}

TEST_F(Dialog, SetWithoutAFunctionOrAKeyDoesNothing) {
    const std::string before = dir.Read("Options.ini");
    dialog.key = 3;
    OnSetHotkey(app, os, dialog);
    dialog.function = 2;
    dialog.key = -1;
    OnSetHotkey(app, os, dialog);
    EXPECT_TRUE(registrar.calls.empty());
    EXPECT_EQ(dir.Read("Options.ini"), before);
    dialog.function = -1;
    OnHotkeyFunctionChosen(app, dialog);
    EXPECT_EQ(dialog.key, -1);
}

}  // namespace
