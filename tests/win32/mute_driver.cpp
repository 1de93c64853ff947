// Stands in for the program where a test needs one as a separate process:
//   mute_driver FOLDER mute    builds the application in FOLDER, silences the
//                              playing advert, then waits to be killed
//   mute_driver FOLDER start   builds the application in FOLDER, puts back a
//                              volume left silenced as start-up does, exits 0
#include <windows.h>

#include <cstring>
#include <memory>

#include "blocking/mute_control.h"
#include "blocking/spotify_sequence.h"
#include "app/win32_platform.h"

int main(int argc, char** argv) {
    if (argc < 3 || !SetCurrentDirectoryA(argv[1])) return 2;
    auto win = std::make_unique<Win32Platform>();
    ApplicationState app(win->platform);
    if (!app.spotifyWindow) return 3;
    if (std::strcmp(argv[2], "mute") == 0) {
        char title[1024] = {};
        GetWindowTextA(static_cast<HWND>(app.spotifyWindow.load()), title, sizeof title);
        app.currentTitle = title;
        SetBlocked(app, win->platform, true);
        FinishSequence(app, win->platform);
        for (;;) Sleep(1000);
    }
    LoadPendingRestore(app, win->platform);
    RestoreVolumeIfPending(app, win->platform);
    FinishSequence(app, win->platform);
    return app.volumeRestorePending ? 4 : 0;
}
