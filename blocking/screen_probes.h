// Pixel probes on Spotify's window: single pixels and the volume knob scan.
#pragma once
#include "base/application_state.h"
#include "platform/spotify_screen.h"

// A fresh capture of Spotify's window read in 96-DPI units, whatever its scale.
std::unique_ptr<WindowCapture> CaptureSpotify(const ApplicationState& app, SpotifyScreen& screen);

// Colour at window point (x, y) of a fresh capture; kNoColour on failure.
Colour ProbePixel(const ApplicationState& app, SpotifyScreen& screen, int x, int y);

// Finds the volume knob's left edge on one capture, stores the volume it
// stands for in spotifyVolume and returns its x (kKnobNotFoundX when absent).
int LocateVolumeKnob(ApplicationState& app, SpotifyScreen& screen);
// The same on a capture already taken.
int LocateVolumeKnobIn(ApplicationState& app, const WindowCapture& capture);

// The knob position as a slider percentage, in the client's own single-precision
// arithmetic; no clamping.
float KnobPercent(int knobX);
int KnobVolume(int knobX);
