// One-line log messages, held back until the debug console is first shown.
#pragma once
#include <atomic>
#include <mutex>
#include <cstddef>
#include <string>

#include "platform/types.h"

// Where lines go while the console is shown: the debug console on Windows, any
// text sink elsewhere.
class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    virtual void Write(const std::string& text) = 0;
};

// The backlog keeps about this many of the most recent lines.
constexpr std::size_t kBacklogLines = 10000;

struct DebugLog {
    std::mutex lock;                     // one line at a time, from either thread
    std::string logBacklog;              // lines written while no console is shown
    std::size_t backlogLines = 0;        // lines in it
    // Lines for the console not written yet, and whether a thread is writing
    // them. The console is written outside the lock, by one thread at a time:
    // a console that blocks (a text selection in it) holds only the thread
    // writing to it, never the lock nor another thread that logs meanwhile.
    std::string consolePending;
    bool consoleWriting = false;
    std::atomic<bool> consoleShown{false};
    std::atomic<WindowHandle> consoleWindow{nullptr};  // read by the login watcher too
    ConsoleOutput* console = nullptr;    // null: lines for the console are lost
};

// The process's log, created on first use so that it exists before any
// static object that logs while it is constructed.
DebugLog& TheDebugLog();

// Writes text and a newline verbatim to the console, or to the backlog while
// no console is shown. An empty text writes out the backlog when the console
// is shown (and adds an empty line to the backlog when it is not). While
// another thread is writing to the console, the line is left for that thread
// to write after its own, and this call returns at once.
void LogLine(std::string text);

// The console-creating menu command; Windows only.
void OpenDebugConsole();
