#include "answer_probe.h"

namespace {

constexpr DWORD kPeriodMs = 20;
constexpr UINT kAnswerTimeoutMs = 5000;  // Windows calls a window "Not Responding" after this

long long Microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const long long frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return (to.QuadPart - from.QuadPart) * 1000000 / frequency;
}

}  // namespace

AnswerProbe::AnswerProbe(const std::string& windowClass, const std::string& title)
    : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_(&AnswerProbe::Run, this, windowClass, title) {}

AnswerProbe::~AnswerProbe() {
    Stop();
    CloseHandle(stop_);
}

void AnswerProbe::Stop() {
    SetEvent(stop_);
    if (thread_.joinable()) thread_.join();
}

void AnswerProbe::Run(std::string windowClass, std::string title) {
    while (WaitForSingleObject(stop_, kPeriodMs) == WAIT_TIMEOUT) {
        HWND window = FindWindowA(windowClass.c_str(), title.c_str());
        if (!window) continue;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &result);
        QueryPerformanceCounter(&end);
        ++asked_;
        const long long waited = Microseconds(start, end);
        if (waited > longestUs_) longestUs_ = waited;
    }
}
