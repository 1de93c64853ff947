// The program's surroundings, simulated: desktop, clock, Spotify, controls and
// media, with a private options file.
#pragma once
#include <gtest/gtest.h>

#include <sstream>

#include "base/application_state.h"
#include "base/log.h"
#include "fake_installer.h"
#include "fake_main_controls.h"
#include "fake_media_graph.h"
#include "keys/key_sequence.h"
#include "recording_keyboard.h"
#include "recording_registrar.h"
#include "music/filler_player.h"
#include "base/platform.h"
#include "sim_desktop.h"
#include "temp_folder.h"

struct SimWorld : ::testing::Test {
    SimDesktop sim;
    FakeMainControls controls;
    FakeMediaGraph graph;
    FillerPlayer filler{graph};
    RecordingKeyboard keyboard;
    KeySequence keys{keyboard, sim};
    RecordingRegistrar registrar;
    FakeInstaller installer;
    Platform os{sim, sim, sim, sim, SystemFolderListing(), controls, filler, keys, registrar, installer, ProgramWindows{}};
    TempFolder dir;
    ApplicationState app;

    SimWorld() {
        TheDebugLog().logBacklog.clear();
        app.optionsPath = dir / "Options.ini";
        dir.Write("Options.ini", " [Options]\r\n Mute=True\r\n");
        app.screenWidth = sim.screenWidth;
        app.screenHeight = sim.screenHeight;
        os.windows.main = sim.AddWindow(SimWindow{"Adquell", "Adquell Lite", {0, 0, 300, 200}});
        os.windows.container = sim.AddWindow(SimWindow{"Adquell", "SpotifyContainer", {1280, 1024, 2560, 2048}});
    }
    ~SimWorld() override { TheDebugLog().logBacklog.clear(); }

    // Starts the simulated client and points the program at its window.
    WindowHandle Connect(const std::string& script, int left = 100, int top = 50) {
        WindowHandle w = sim.StartClient(script, left, top);
        app.spotifyWindow = w;
        WindowRect r;
        sim.GetRect(w, r);
        app.spotifyLeft = r.left;
        app.spotifyTop = r.top;
        app.spotifyWidth = r.Width();
        app.spotifyHeight = r.Height();
        return w;
    }

    // The volume owed to the listener, as kept for the next start.
    bool HasRestoreRecord() { return installer.registry[kProgramUserKey].count("Restore") != 0; }
    std::string RestoreRecord() { return HasRestoreRecord() ? installer.registry[kProgramUserKey]["Restore"] : ""; }

    static std::string Log() { return TheDebugLog().logBacklog; }
    static int LogCount(const std::string& line) {
        std::istringstream in(Log());
        int n = 0;
        for (std::string l; std::getline(in, l);) n += l == line;
        return n;
    }
};
