// Whether a window of another process keeps answering: every 20 ms a thread
// finds it by class and title and sends it WM_NULL with a 5 s timeout, as
// Windows does before it shows a window as "Not Responding". It keeps the
// longest wait. For benchmarks: it reports figures and judges nothing.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

class AnswerProbe {
public:
    // Starts asking at once; the window may appear later, or go and come back.
    AnswerProbe(const std::string& windowClass, const std::string& title);
    ~AnswerProbe();
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;

    // Stops asking and waits for the thread (at most one unanswered question,
    // 5 s). The figures stay readable.
    void Stop();
    // The longest wait for an answer, in milliseconds (an unanswered question
    // counts its whole 5 s), and how many questions were asked.
    double LongestMs() const { return longestUs_ / 1000.0; }
    long long Asked() const { return asked_; }

private:
    void Run(std::string windowClass, std::string title);

    HANDLE stop_;
    std::atomic<long long> longestUs_{0};
    std::atomic<long long> asked_{0};
    std::thread thread_;
};
