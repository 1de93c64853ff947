// The login watcher: a background thread that follows the life of Spotify's
// main window, stops the advert timers while Spotify is logged out or closed,
// and starts them again after a login. Written as one step per round so that
// its states are exercised without threads.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// The two advert timers on the main window. The watcher's requests must take
// effect on the user-interface thread: the Win32 side forwards them there.
class AdvertTimers {
public:
    virtual ~AdvertTimers() = default;
    virtual void Stop() = 0;
    virtual void Start() = 0;
};

struct LoginWatcher {
    enum Phase { WaitingForSpotify, Watching, LoggedOut, Measuring, Ended };
    Phase phase = WaitingForSpotify;
};

// One round; returns the milliseconds to sleep before the next, 0 once the
// program's main window is gone (the thread then ends with exit code 420).
int LoginWatcherStep(ApplicationState& app, Platform& os, LoginWatcher& watcher, AdvertTimers& timers);

// The thread's whole life: rounds and sleeps until the main window is gone.
int RunLoginWatcher(ApplicationState& app, Platform& os, AdvertTimers& timers);
