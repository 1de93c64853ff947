// The seam to time: every pause the program makes goes through it, so tests
// run long retry loops on a virtual clock in no real time.
#pragma once
#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(int milliseconds) = 0;
    virtual std::uint64_t NowMs() = 0;
};
