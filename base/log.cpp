#include "base/log.h"

namespace {

// Drops the oldest lines once the backlog is a thousand over its size, so the
// cost of dropping comes once in a thousand lines.
void TrimBacklog(DebugLog& log) {
    if (log.backlogLines <= kBacklogLines + 1000) return;
    std::size_t at = 0;
    for (std::size_t dropped = 0; dropped < log.backlogLines - kBacklogLines; ++dropped) {
        const std::size_t end = log.logBacklog.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    log.logBacklog.erase(0, at);
    log.backlogLines = kBacklogLines;
}

}  // namespace

DebugLog& TheDebugLog() {
    static DebugLog log;
    return log;
}

void LogLine(std::string text) {
    DebugLog& log = TheDebugLog();
    std::unique_lock<std::mutex> hold(log.lock);
    if (!log.consoleShown) {
        log.logBacklog += text;
        log.logBacklog += '\n';
        ++log.backlogLines;
        TrimBacklog(log);
        return;
    }
    if (!text.empty()) {
        log.consolePending += text;
        log.consolePending += '\n';
    } else {
        log.consolePending += log.logBacklog;
        log.logBacklog.clear();
        log.backlogLines = 0;
    }
    if (!log.console) log.consolePending.clear();  // no console: lost
    if (log.consoleWriting) return;
    log.consoleWriting = true;
    while (!log.consolePending.empty() && log.console) {
        std::string lines;
        lines.swap(log.consolePending);
        ConsoleOutput* console = log.console;
        hold.unlock();
        console->Write(lines);
        hold.lock();
    }
    log.consoleWriting = false;
}
