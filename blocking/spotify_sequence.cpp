#include "blocking/spotify_sequence.h"

#include <utility>

bool PauseIsOver(ApplicationState& app) {
    return app.sequenceTries++ > 0;
}

void QueueStages(ApplicationState& app, std::initializer_list<SequenceStage> stages) {
    if (app.sequence.empty()) app.sequenceTries = 0;
    app.sequence.insert(app.sequence.end(), stages);
}

void ThenRun(ApplicationState& app, std::initializer_list<SequenceStage> stages) {
    // The stage calling this is still at the front until it returns.
    app.sequence.insert(app.sequence.empty() ? app.sequence.end() : app.sequence.begin() + 1, stages);
}

void EndSequence(ApplicationState& app) {
    app.sequence.clear();
    app.sequenceEnded = true;
}

bool SequenceRunning(const ApplicationState& app) {
    return !app.sequence.empty();
}

namespace {

// Runs stages until one pauses; returns the pause, or 0 once none is left.
int RunDueStages(ApplicationState& app, Platform& os) {
    while (!app.sequence.empty()) {
        app.sequenceEnded = false;
        const int pause = app.sequence.front()(app, os);
        // Ended from inside the stage, or dropped by an end taken meanwhile.
        if (app.sequenceEnded || app.sequence.empty()) continue;
        if (pause != kNextStage) return pause;
        app.sequence.pop_front();
        app.sequenceTries = 0;
    }
    return 0;
}

void RunWaitingCommands(ApplicationState& app) {
    while (!app.waitingCommands.empty() && app.sequence.empty()) {
        std::function<void()> command = std::move(app.waitingCommands.front());
        app.waitingCommands.erase(app.waitingCommands.begin());
        command();
    }
}

}  // namespace

void ContinueSequence(ApplicationState& app, Platform& os) {
    if (!app.sequence.empty() && os.clock.NowMs() < app.sequenceDueMs) return;
    const int pause = RunDueStages(app, os);
    app.sequenceDueMs = os.clock.NowMs() + pause;
    if (app.sequence.empty()) RunWaitingCommands(app);
}

int MsUntilNextStage(const ApplicationState& app, Platform& os) {
    if (app.sequence.empty()) return -1;
    const std::uint64_t now = os.clock.NowMs();
    return app.sequenceDueMs > now ? static_cast<int>(app.sequenceDueMs - now) : 0;
}

void FinishSequence(ApplicationState& app, Platform& os) {
    for (int pause; (pause = RunDueStages(app, os)) > 0 || !app.sequence.empty();) os.clock.Sleep(pause);
    app.sequenceDueMs = 0;
}

void WhenSpotifyIsFree(ApplicationState& app, std::function<void()> command) {
    if (app.sequence.empty()) command();
    else app.waitingCommands.push_back(std::move(command));
}

void DropSequence(ApplicationState& app) {
    app.sequence.clear();
    app.sequenceEnded = true;
    app.waitingCommands.clear();
    app.sequenceDueMs = 0;
}
