// The one application object: a plain record of fields that every subsystem
// works on. Each group is described where it is used.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/program_version.h"
#include "client/spotify_contract.h"
#include "platform/types.h"
#include "settings/hotkey_binding.h"
#include "settings/ini_file.h"

struct Platform;

struct ApplicationState {
    // Screen and options.
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::string optionsPath;
    bool muteAdverts = false;
    bool playMp3 = false;
    bool hotkeysEnabled = false;
    CIniFile iniFile;

    // Hotkeys, indexed by function number.
    HotkeyBinding hotkeys[kHotkeyFunctionCount];
    // Every hotkey asked for. One another program holds is asked for again
    // until hotkeyRetryUntilMs, then named in the log and given up. While
    // handed over to a new copy, none is held or asked for.
    std::vector<WantedHotkey> wantedHotkeys;
    std::uint64_t hotkeyRetryUntilMs = 0;
    bool hotkeysHandedOver = false;

    // Detection loop.
    char titleBuffer[spotify::kTitleBufferSize] = {};
    std::string currentTitle;
    std::string displayTitle;
    std::string previousTitle;
    std::int32_t advertsBlocked = 0;
    // Ticks left in which a new title is judged again: Spotify may retitle
    // before it repaints its player bar.
    std::int32_t settleTicks = 0;
    // Leaving: Spotify has been left as found and no tick may silence it again.
    bool leaving = false;

    // Classifier and probes.
    std::int32_t spotifyVolume = 0;
    char probeTitleBuffer[spotify::kTitleBufferSize] = {};

    // Mute and volume.
    bool advertBlocked = false;
    std::int32_t savedKnobX = 0;
    // The main window's volume slider (0-100) as the program last set or saw
    // it: a slider message at this position moves nothing.
    std::int32_t volumeSlider = 100;

    // Spotify's main window and its rectangle. The login watcher writes these
    // from its own thread while the user-interface thread reads them, hence
    // atomics: each read sees a whole value, never a torn one.
    std::atomic<WindowHandle> spotifyWindow{nullptr};
    std::atomic<std::int32_t> spotifyLeft{0};
    std::atomic<std::int32_t> spotifyTop{0};
    std::atomic<std::int32_t> spotifyWidth{0};
    std::atomic<std::int32_t> spotifyHeight{0};
    std::atomic<bool> loggedIn{false};

    // Parking of Spotify's window.
    bool spotifyParked = false;
    bool spotifyReparented = false;
    WindowHandle previousForeground = nullptr;
    WindowHandle savedParent = nullptr;
    WindowHandle parkedWindow = nullptr;  // the window the parking flags speak of

    // MP3 library.
    std::string mp3Folder;
    std::vector<std::wstring> mp3Files;
    std::int32_t mp3Count = 0;

    // Filler music.
    bool fillerPlaying = false;
    bool fillerPaused = false;
    bool replayingPrevious = false;
    std::wstring currentMp3;   // wide from the folder listing to playback
    std::wstring previousMp3;

    // Update.
    std::string latestVersion;

    // A silenced advert's volume is still to be put back to savedKnobX (the
    // program ended meanwhile, or Spotify's window went away): done once a
    // logged-in main window is there; the record in the options file stays
    // until a re-scan shows the knob back.
    bool volumeRestorePending = false;
    std::uint64_t nextRestoreTryMs = 0;

    // Start values only (tests build the state field by field).
    ApplicationState() = default;
    // The program's one instance: reads or creates the options file, indexes
    // the MP3 folder and finds or starts Spotify.
    explicit ApplicationState(Platform& platform);
    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;
};
