// The seam to the platform's media framework: one playback graph at a time
// (DirectShow on Windows, a simulation in tests).
#pragma once
#include <cstdint>
#include <string>

class MediaGraph {
public:
    virtual ~MediaGraph() = default;
    // A new, empty graph with its control, audio and seeking parts; false
    // when the graph cannot be created.
    virtual bool Create() = 0;
    // Builds the decoding chain for a file; false when it cannot be played.
    virtual bool Render(const std::wstring& path) = 0;
    virtual bool Run() = 0;   // false when it did not start (or no control)
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // Volume in hundredths of a decibel, -10000 (silent) to 0 (full).
    virtual bool PutVolume(std::int32_t volume) = 0;
    // Duration and position in 100-ns units; false when they cannot be read.
    virtual bool ReadDuration(std::int64_t& duration) = 0;
    virtual bool ReadPosition(std::int64_t& position) = 0;
    // Whether the graph has reported that playback reached the end of the
    // file (the completion event); reads the events waiting, never blocks.
    virtual bool Completed() = 0;
    // Stops the graph if it can and lets go of every part of it.
    virtual void Release() = 0;
};
