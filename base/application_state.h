// The one application object: a plain record of fields that every subsystem
// works on. Each group is described where it is used.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/hotkey_binding.h"
#include "base/program_version.h"
#include "platform/types.h"

// What the program keeps for the user beside Options.ini (HKEY_CURRENT_USER).
inline constexpr char kProgramUserKey[] = "Software\\Adquell Lite";
// Room for a window title read from Spotify.
inline constexpr int kTitleBufferSize = 1024;
inline constexpr int kNoKnobAtVerdict = -1;
// The causes that keep the program from its job (base/health.h).
inline constexpr std::size_t kTroubleCount = 6;

struct Platform;
struct ApplicationState;

// One stage of what is being done to Spotify: returns the pause before it
// runs again, or kNextStage (blocking/spotify_sequence.h).
using SequenceStage = int (*)(ApplicationState&, Platform&);

struct ApplicationState {
    // Screen and options.
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::string optionsPath;
    bool muteAdverts = false;
    bool playMp3 = false;
    bool hotkeysEnabled = false;

    // Hotkeys, indexed by function number.
    HotkeyBinding hotkeys[kHotkeyFunctionCount];
    // Every hotkey asked for. One another program holds is asked for again
    // every half second until hotkeyRetryUntilMs (0 once those tries are
    // over), then named in the log and the tray and asked for every 1.5 s
    // (nextHeldHotkeyTryMs). While handed over to a new copy, none is held or
    // asked for.
    std::vector<WantedHotkey> wantedHotkeys;
    std::uint64_t hotkeyRetryUntilMs = 0;
    std::uint64_t nextHeldHotkeyTryMs = 0;
    bool hotkeysHandedOver = false;

    // Detection loop.
    char titleBuffer[kTitleBufferSize] = {};
    std::string currentTitle;
    std::string displayTitle;
    std::string previousTitle;
    std::int32_t advertsBlocked = 0;
    // Ticks left in which a new title is judged again: Spotify may retitle
    // before it repaints its player bar.
    std::int32_t settleTicks = 0;
    // Ticks since Spotify's window was last looked at (state, place, size).
    std::int32_t ticksSinceWindowLook = 0;
    // Leaving: Spotify has been left as found and no tick may silence it again.
    bool leaving = false;
    // What is being done to Spotify (a mute, a restore, an advert's end), a
    // stage per tick once its pause is over, and the user's commands that
    // wait for it to end.
    std::deque<SequenceStage> sequence;
    std::uint64_t sequenceDueMs = 0;
    std::int32_t sequenceTries = 0;  // of the stage at the front
    bool sequenceEnded = false;
    std::deque<std::function<void()>> waitingCommands;

    // Classifier and probes.
    std::int32_t spotifyVolume = 0;
    char probeTitleBuffer[kTitleBufferSize] = {};

    // Mute and volume.
    // Read by the login watcher too (a silenced Spotify that goes away owes
    // its volume to its next window).
    std::atomic<bool> advertBlocked{false};
    std::int32_t savedKnobX = 0;
    std::int32_t restoreClicks = 0;  // of the restore under way
    bool muteClickUnseen = false;    // a mute click sent, its knob not yet seen at 0 %
    bool playOnOwed = false;         // paused by a mute click, not yet seen playing again
    // The knob on the capture an advert was judged by, for the mute that
    // follows in the same tick; kNoKnobAtVerdict once used.
    std::int32_t knobAtVerdict = kNoKnobAtVerdict;
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
    bool spotifyTransparent = false;      // made invisible while being parked
    WindowHandle hiddenWindow = nullptr;  // seen hidden at the last tick

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

    // Starring a track: the window in front before, given the foreground back.
    WindowHandle starFront = nullptr;

    // Update.
    std::string latestVersion;

    // A silenced advert's volume still owed to the listener (savedKnobX): the
    // program ended meanwhile, Spotify's window went away or its knob could not
    // be seen. The record (under kProgramUserKey) stays until a scan shows the
    // knob back, or shows that the listener has set a volume of their own. The
    // login watcher reads the flag from its thread to look for a new window
    // more often.
    std::atomic<bool> volumeRestorePending{false};
    std::uint64_t nextRestoreTryMs = 0;
    WindowHandle restoreTriedWindow = nullptr;  // a window not tried yet is tried at once
    std::int32_t unseenRestoreScans = 0;        // scans of a playing client without its knob
    bool restoreLeftToListener = false;         // told to set it by hand; scanned at title changes only

    // What keeps the program from its job, by cause (base/health.h): the text
    // while it holds, empty otherwise.
    std::array<std::string, kTroubleCount> troubles;

    // Start values only (tests build the state field by field).
    ApplicationState() = default;
    // The program's one instance: reads or creates the options file and
    // finds or starts Spotify (the MP3 folder is read off the window's thread).
    explicit ApplicationState(Platform& platform);
    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;
};
