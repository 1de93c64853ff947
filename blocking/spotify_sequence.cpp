#include "blocking/spotify_sequence.h"

#include <utility>

bool PauseIsOver(ApplicationState& app) {
    return app.sequenceTries++ > 0;
}

void QueueStages(ApplicationState& app, std::initializer_list<SequenceStage> stages) {
    if (app.sequence.empty()) app.sequenceTries = 0;
    app.sequence.insert(app.sequence.end(), stages);
}

void EndSequence(ApplicationState& app) {
    app.sequence.clear();
    app.sequenceEnded = true;
}

bool EndTakenMeanwhile(const ApplicationState& app) {
    return app.sequence.empty();
}

bool SequenceRunning(const ApplicationState& app) {
    return !app.sequence.empty() || !app.waitingCommands.empty();
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

}  // namespace

void ContinueSequence(ApplicationState& app, Platform& os) {
    if (app.leaving) return;  // Spotify has been left as found
    if (!app.sequence.empty()) {
        if (os.clock.NowMs() < app.sequenceDueMs) return;
        app.sequenceDueMs = os.clock.NowMs() + RunDueStages(app, os);
        return;
    }
    if (app.waitingCommands.empty()) return;
    // One command a call: a burst of them (a slider dragged, a key held)
    // never holds the window longer than one of them takes.
    std::function<void()> command = std::move(app.waitingCommands.front());
    app.waitingCommands.pop_front();
    command();
}

int MsUntilNextStage(const ApplicationState& app, Platform& os) {
    if (app.sequence.empty()) return app.waitingCommands.empty() ? -1 : 0;
    const std::uint64_t now = os.clock.NowMs();
    return app.sequenceDueMs > now ? static_cast<int>(app.sequenceDueMs - now) : 0;
}

void FinishSequence(ApplicationState& app, Platform& os) {
    for (int pause; (pause = RunDueStages(app, os)) > 0 || !app.sequence.empty();) os.clock.Sleep(pause);
    app.sequenceDueMs = 0;
}

void WhenSpotifyIsFree(ApplicationState& app, std::function<void()> command) {
    if (!SequenceRunning(app)) command();
    else app.waitingCommands.push_back(std::move(command));
}

void DropSequence(ApplicationState& app) {
    app.sequence.clear();
    app.sequenceEnded = true;
    app.sequenceTries = 0;
    app.sequenceDueMs = 0;
}
