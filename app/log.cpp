#include "app/log.h"

DebugLog& TheDebugLog() {
    static DebugLog log;
    return log;
}

void LogLine(std::string text) {
    DebugLog& log = TheDebugLog();
    std::lock_guard<std::mutex> hold(log.lock);
    if (!log.consoleShown) {
        log.logBacklog += text;
        log.logBacklog += '\n';
        return;
    }
    if (!text.empty()) {
        text += '\n';
        if (log.console) log.console->Write(text);
        return;
    }
    if (log.console) log.console->Write(log.logBacklog);
    log.logBacklog.clear();
}
