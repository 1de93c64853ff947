// Natively: CPU time of detection ticks whose title does not change, against
// the simulated desktop. Prints figures; asserts nothing.
#include <cstdio>
#include <ctime>

#include "blocking/detection_loop.h"
#include "fake_main_controls.h"
#include "fake_media_graph.h"
#include "keys/key_sequence.h"
#include "fake_installer.h"
#include "recording_keyboard.h"
#include "recording_registrar.h"
#include "music/filler_player.h"
#include "sim_desktop.h"

int main() {
    SimDesktop sim;
    FakeMainControls controls;
    FakeMediaGraph graph;
    FillerPlayer filler(graph);
    RecordingKeyboard keyboard;
    KeySequence keys(keyboard, sim);
    RecordingRegistrar registrar;
    FakeInstaller installer;
    Platform os{sim, sim, sim, sim, SystemFolderListing(), controls, filler, keys, registrar, installer, ProgramWindows{}};
    ApplicationState app;
    app.spotifyWindow = sim.StartClient("track | Idle | Track | 6000000\n");
    app.spotifyWidth = 800;
    app.spotifyHeight = 600;
    DetectionTick(app, os);
    const int ticks = 10000;
    const std::clock_t start = std::clock();
    for (int i = 0; i < ticks; ++i) DetectionTick(app, os);
    const double ms = (std::clock() - start) * 1000.0 / CLOCKS_PER_SEC;
    std::printf("idle tick natively: %d ticks, %.1f ms CPU, %.4f ms each, %.3f %% of one core at 20 ticks/s\n", ticks,
                ms, ms / ticks, ms / ticks * 20 / 10);
    return 0;
}
