// The MP3 player used while adverts are silenced, and the random start and
// stop of filler music.
#pragma once
#include <cstdint>
#include <string>

#include "base/application_state.h"
#include "platform/main_controls.h"
#include "platform/media_graph.h"

class FillerPlayer {
public:
    explicit FillerPlayer(MediaGraph& graph) : graph_(graph) {}

    bool Load(const std::wstring& path);
    bool Run();
    void Pause();
    void Stop();
    bool SetVolume(std::int32_t volume);
    // False once the file has ended: the graph reported its end, its position
    // reached the duration read at load, or nothing is loaded or the position
    // cannot be read (so a filler that stopped never holds Spotify back).
    bool IsStillPlaying();
    void Release();

    bool loaded = false;
    std::int64_t duration = 0;  // 100-ns units; kept across releases and failed reads

private:
    MediaGraph& graph_;
};

// The filler volume (hundredths of a dB, kFillerSilent to 0) for a
// main-window slider position 0-100.
constexpr std::int32_t kFillerSilent = -10000;
std::int32_t FillerVolumeFromSlider(int sliderPosition);

// The main window's slider at percent (held to 0-100), remembered as the
// position the program last set, and a playing filler at its level.
void ShowVolume(ApplicationState& app, FillerPlayer& filler, MainControls& controls, int percent);

// An MP3's file name as the label and the log show it (in the ANSI code page).
std::string Mp3Label(const std::wstring& path);

// The filler volume taken from the main window's slider.
void SetFillerVolumeFromSlider(FillerPlayer& filler, MainControls& controls);

// Plays a stored path from its start at the slider's volume; false (and an
// "Error:" line) when it no longer loads.
bool ReplayFillerFile(FillerPlayer& filler, MainControls& controls, const std::wstring& path);

// on: start a random file from the list at the slider's volume, dropping files
// that cannot be loaded; off: stop. The outcome is left in fillerPlaying.
void PlayMp3(ApplicationState& app, FillerPlayer& filler, MainControls& controls, bool on);
